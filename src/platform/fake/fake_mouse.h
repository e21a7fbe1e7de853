// A mouse that records what it is asked to do and keeps a pointer position of its own.
#pragma once

#include "platform/mouse_service.h"

#include <vector>

namespace platform {

class FakeMouseInput final : public MouseInput {
public:
    enum class Kind { Move, Event };
    struct Call {
        Kind kind;
        int32_t x; // the pointer position after a move, or where an event was injected
        int32_t y;
        uint32_t flags; // mouse_event flags; 0 for a move
    };

    ClickReadiness PrepareToClick() override { return readiness; }
    Point GetCursorPos() override;
    void SetCursorPos(int32_t x, int32_t y) override;
    void MouseEvent(uint32_t flags) override;
    bool TracksPointer() const override { return tracksPointer; }
    void PointerSeenAt(int32_t x, int32_t y) override { m_position = {x, y}; }

    // What the next starts are told, and whether the pointer is known.
    ClickReadiness readiness;
    bool tracksPointer = true;

    // Moves the pointer as the user would, without recording a call.
    void PlacePointer(int32_t x, int32_t y) { m_position = {x, y}; }

    const std::vector<Call>& calls() const { return m_calls; }
    // The injected events only, in order.
    std::vector<Call> events() const;
    int positionReads() const { return m_positionReads; }
    void clear();

private:
    Point m_position;
    std::vector<Call> m_calls;
    int m_positionReads = 0;
};

} // namespace platform
