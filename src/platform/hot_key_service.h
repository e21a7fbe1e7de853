// A system-wide hot key: RegisterHotKey, UnregisterHotKey, and polling for its presses.
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

// A native top-level window: an X11 window id or an HWND, as a number.
using WindowHandle = uint64_t;

inline constexpr uint32_t kModAlt = 1;     // MOD_ALT
inline constexpr uint32_t kModControl = 2; // MOD_CONTROL

class HotKeyService {
public:
    virtual ~HotKeyService() = default;
    // Registers modifiers + virtualKey (an upper-case letter 'A'..'Z') for the window under the
    // identifier. Answers 1 when this process now owns the hot key, 0 when it could not (another
    // program holds it, or no display).
    virtual int32_t RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                                   uint32_t virtualKey) = 0;
    virtual void UnregisterHotKey(WindowHandle window, int32_t id) = 0;
    // True when a press of the registered hot key arrived since the last poll. Each physical
    // press is reported once: key repeat and the other keys of the chord do not count.
    virtual bool PollHotKey(WindowHandle window, int32_t id) = 0;
    // `pressed` is called on the window thread when a press has arrived, so that nothing polls
    // while idle: the program then polls until no press is left.
    virtual void WhenPressed(std::function<void()> pressed) { (void)pressed; }
};

} // namespace platform
