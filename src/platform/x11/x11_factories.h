// The X11 backends, made for the backend plan.
#pragma once

#include "platform/hot_key_service.h"
#include "platform/mouse_service.h"
#include "platform/window_finder_service.h"

#include <memory>

namespace platform {

// Whether the X server DISPLAY names answers.
bool X11DisplayAnswers();

std::unique_ptr<MouseInput> CreateX11Mouse();
std::unique_ptr<HotKeyService> CreateX11HotKey();
std::unique_ptr<WindowFinder> CreateX11WindowFinder();

} // namespace platform
