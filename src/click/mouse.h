// cMouse: the program's only contact with the pointer. It holds no data; every read asks the
// system afresh.
#pragma once

#include "platform/mouse_service.h"

#include <cstdint>

namespace click {

// Button codes of Click.
enum MouseButton : int32_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

// Flag words of the button events: the button flag with MOUSEEVENTF_ABSOLUTE and the whole upper
// half set.
inline constexpr uint32_t kFlagsUpperHalf = 0xFFFF0000u | platform::kMouseEventAbsolute;
inline constexpr uint32_t kLeftDownFlags = kFlagsUpperHalf | platform::kMouseEventLeftDown;
inline constexpr uint32_t kLeftUpFlags = kFlagsUpperHalf | platform::kMouseEventLeftUp;
inline constexpr uint32_t kRightDownFlags = kFlagsUpperHalf | platform::kMouseEventRightDown;
inline constexpr uint32_t kRightUpFlags = kFlagsUpperHalf | platform::kMouseEventRightUp;
inline constexpr uint32_t kMiddleDownFlags = kFlagsUpperHalf | platform::kMouseEventMiddleDown;
inline constexpr uint32_t kMiddleUpFlags = kFlagsUpperHalf | platform::kMouseEventMiddleUp;

class cMouse {
public:
    explicit cMouse(platform::MouseInput& input) : m_input(input) {}

    int32_t x() const;        // one fresh read of the pointer position
    int32_t y() const;        // another fresh read
    void setX(int32_t value); // keeps y where the pointer is now
    void setY(int32_t value); // keeps x where the pointer is now

    void MoveTo(int32_t x, int32_t y);
    // Whether the system tells where the pointer is; where it does not, x and y answer the last
    // place known and "where the pointer is" means not moving it at all.
    bool KnowsPointer() const { return m_input.TracksPointer(); }
    // A window of this program saw the pointer there.
    void PointerSeenAt(int32_t x, int32_t y) { m_input.PointerSeenAt(x, y); }
    // Asked before a run starts: whether this session lets the program click.
    platform::ClickReadiness PrepareToClick() { return m_input.PrepareToClick(); }
    void WhenClickingStops(std::function<void(const std::string& why)> stopped) {
        m_input.WhenClickingStops(std::move(stopped));
    }
    // Presses and releases a button (1 left, 2 right, 4 middle; anything else is the left one)
    // where the pointer is, down then up with nothing between.
    void Click(int32_t eButton);

private:
    platform::MouseInput& m_input;
};

} // namespace click
