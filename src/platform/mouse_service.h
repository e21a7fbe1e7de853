// Pointer position and button injection: GetCursorPos, SetCursorPos and mouse_event.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

// Button flags of mouse_event; callers combine them with kMouseEventAbsolute and the upper half.
inline constexpr uint32_t kMouseEventLeftDown = 0x0002;
inline constexpr uint32_t kMouseEventLeftUp = 0x0004;
inline constexpr uint32_t kMouseEventRightDown = 0x0008;
inline constexpr uint32_t kMouseEventRightUp = 0x0010;
inline constexpr uint32_t kMouseEventMiddleDown = 0x0020;
inline constexpr uint32_t kMouseEventMiddleUp = 0x0040;
inline constexpr uint32_t kMouseEventAbsolute = 0x8000;

// Whether the session lets this program click now; when not, why, in words for the user.
struct ClickReadiness {
    bool ready = true;
    std::string problem;
    // Something the user should know once although clicking works (ready stays true).
    std::string notice;
};

class MouseInput {
public:
    virtual ~MouseInput() = default;
    // Called before a run starts. A backend that needs the desktop's leave asks for it here (the
    // run waits for the user's answer); one that cannot click in this session says why.
    virtual ClickReadiness PrepareToClick() { return {}; }
    // The pointer position in screen pixels, origin at the top left of the primary screen.
    virtual Point GetCursorPos() = 0;
    // Moves the pointer there.
    virtual void SetCursorPos(int32_t x, int32_t y) = 0;
    // Injects the button event(s) named by flags at the pointer's current position
    // (mouse_event with dx, dy, data and extra information 0).
    virtual void MouseEvent(uint32_t flags) = 0;
    // False where the system tells no program where the pointer is (Wayland): GetCursorPos then
    // answers the last place this program moved it to or saw it at in a window of its own.
    virtual bool TracksPointer() const { return true; }
    // A window of this program saw the pointer there (in screen pixels).
    virtual void PointerSeenAt(int32_t /*x*/, int32_t /*y*/) {}
    // `stopped` is called, with the reason in words for the user, when the session stops
    // letting this program click after a start let it (the desktop ended a portal session); the
    // next start prepares again.
    virtual void WhenClickingStops(std::function<void(const std::string& why)> stopped) {
        (void)stopped;
    }
};

} // namespace platform
