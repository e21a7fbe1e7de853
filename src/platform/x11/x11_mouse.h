// Pointer and buttons on X11: XQueryPointer, XTest motion and button events.
#pragma once

#include "platform/mouse_service.h"

struct _XDisplay;

namespace platform {

class X11MouseInput final : public MouseInput {
public:
    X11MouseInput();
    ~X11MouseInput() override;
    X11MouseInput(const X11MouseInput&) = delete;
    X11MouseInput& operator=(const X11MouseInput&) = delete;

    // Without a display nothing can click: every start is refused with the reason.
    ClickReadiness PrepareToClick() override;
    Point GetCursorPos() override;
    void SetCursorPos(int32_t x, int32_t y) override;
    void MouseEvent(uint32_t flags) override;

private:
    _XDisplay* m_display = nullptr; // a connection of our own; null without a display
};

} // namespace platform
