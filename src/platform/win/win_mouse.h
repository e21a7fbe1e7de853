// Pointer and buttons on Windows: GetCursorPos, SetCursorPos and mouse_event.
#pragma once

#include "platform/mouse_service.h"

namespace platform {

class WinMouseInput final : public MouseInput {
public:
    Point GetCursorPos() override;
    void SetCursorPos(int32_t x, int32_t y) override;
    void MouseEvent(uint32_t flags) override;
};

} // namespace platform
