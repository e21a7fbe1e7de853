// A mouse where nothing can click (a Wayland desktop that offers neither a virtual pointer nor a
// remote-desktop portal): every start is refused with the reason. Like every Wayland mouse it is
// not told where the pointer is, and answers the last place a window of the program saw it at.
#pragma once

#include "platform/mouse_service.h"

#include <string>
#include <utility>

namespace platform {

class RefusingMouse final : public MouseInput {
public:
    explicit RefusingMouse(std::string refusal) : m_refusal(std::move(refusal)) {}

    ClickReadiness PrepareToClick() override { return {false, m_refusal, {}}; }
    Point GetCursorPos() override { return m_seen; }
    void SetCursorPos(int32_t, int32_t) override {}
    void MouseEvent(uint32_t) override {}
    bool TracksPointer() const override { return false; }
    void PointerSeenAt(int32_t x, int32_t y) override { m_seen = {x, y}; }

private:
    std::string m_refusal;
    Point m_seen;
};

} // namespace platform
