// Pointer and buttons on wlroots compositors: one virtual pointer (zwlr_virtual_pointer_v1) made
// when the program starts and kept, moved with absolute motion over the whole output layout, and
// buttons sent with their evdev codes. Wayland tells no client where the pointer is: the position
// answered is the last one this program moved to or saw in a window of its own.
#pragma once

#include "platform/mouse_service.h"

struct zwlr_virtual_pointer_v1;

namespace platform {

class WaylandConnection;

class WaylandMouseInput final : public MouseInput {
public:
    explicit WaylandMouseInput(WaylandConnection& connection);
    ~WaylandMouseInput() override;
    WaylandMouseInput(const WaylandMouseInput&) = delete;
    WaylandMouseInput& operator=(const WaylandMouseInput&) = delete;

    ClickReadiness PrepareToClick() override;
    Point GetCursorPos() override { return m_known; }
    // A place beyond the layout is held at its edge, as on X11.
    void SetCursorPos(int32_t x, int32_t y) override;
    void MouseEvent(uint32_t flags) override;
    bool TracksPointer() const override { return false; }
    void PointerSeenAt(int32_t x, int32_t y) override { m_known = {x, y}; }

private:
    void Button(uint32_t code, bool press);

    WaylandConnection& m_connection;
    zwlr_virtual_pointer_v1* m_pointer = nullptr;
    Point m_known;
};

} // namespace platform
