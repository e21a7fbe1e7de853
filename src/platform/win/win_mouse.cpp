#include "platform/win/win_mouse.h"

#include "platform/win/win_factories.h"

#include <windows.h>

namespace platform {

Point WinMouseInput::GetCursorPos() {
    POINT point{};
    ::GetCursorPos(&point); // the result code is not examined
    return {point.x, point.y};
}

void WinMouseInput::SetCursorPos(int32_t x, int32_t y) {
    ::SetCursorPos(x, y);
}

void WinMouseInput::MouseEvent(uint32_t flags) {
    ::mouse_event(flags, 0, 0, 0, 0);
}

std::unique_ptr<MouseInput> CreateWin32Mouse() {
    return std::make_unique<WinMouseInput>();
}

} // namespace platform
