// Factories of the native backends; each backend folder (x11/, win/) defines them.
#pragma once

#include "platform/hot_key_service.h"
#include "platform/mouse_service.h"
#include "platform/shell_service.h"
#include "platform/visual_styles_service.h"
#include "platform/window_finder_service.h"

#include <memory>

namespace platform {

std::unique_ptr<MouseInput> CreateNativeMouseInput();
std::unique_ptr<HotKeyService> CreateNativeHotKeyService();
std::unique_ptr<WindowFinder> CreateNativeWindowFinder();
std::unique_ptr<Shell> CreateNativeShell();
std::unique_ptr<VisualStyles> CreateNativeVisualStyles();

} // namespace platform
