// The Win32 backends, made for the backend plan.
#pragma once

#include "platform/hot_key_service.h"
#include "platform/mouse_service.h"
#include "platform/shell_service.h"
#include "platform/visual_styles_service.h"
#include "platform/window_finder_service.h"

#include <memory>

namespace platform {

std::unique_ptr<MouseInput> CreateWin32Mouse();
std::unique_ptr<HotKeyService> CreateWin32HotKey();
std::unique_ptr<WindowFinder> CreateWin32WindowFinder();
std::unique_ptr<Shell> CreateWin32Shell();
std::unique_ptr<VisualStyles> CreateWin32VisualStyles();

} // namespace platform
