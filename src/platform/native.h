// Factories of the native backends; each backend folder (x11/, win/) defines them.
#pragma once

#include "platform/mouse_input.h"

#include <memory>

namespace platform {

std::unique_ptr<MouseInput> CreateNativeMouseInput();

} // namespace platform
