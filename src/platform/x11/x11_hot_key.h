// The system-wide hot key on X11: passive key grabs on the root window of a connection of our own.
//
// A registration grabs the letter with its modifiers, and the same with CapsLock, with NumLock and
// with both, so that the lock keys do not matter. Another client's grab of any of these makes the
// registration fail (the server answers BadAccess); what we did grab is then given back. The poll
// reads whatever events have arrived without waiting and counts each physical press once: key
// repeat is made detectable (repeated presses without releases) and a press counts only when the
// key was up before it.
#pragma once

#include "platform/hot_key_service.h"

#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;
struct _XDisplay;

namespace platform {

class X11HotKeyService final : public HotKeyService {
public:
    X11HotKeyService();
    ~X11HotKeyService() override;
    X11HotKeyService(const X11HotKeyService&) = delete;
    X11HotKeyService& operator=(const X11HotKeyService&) = delete;

    // Supports the modifiers MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN (Mod4) and MOD_NOREPEAT
    // (repeat is never reported anyway) and the letters 'A'..'Z'; answers 0 for anything else.
    // The same key and modifiers registered under another window or identifier answer 0, as
    // Windows does. Registering again under the same window and identifier replaces the key.
    int32_t RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                           uint32_t virtualKey) override;
    void UnregisterHotKey(WindowHandle window, int32_t id) override;
    // Never blocks. Presses are queued like WM_HOTKEY messages: each poll hands out one.
    bool PollHotKey(WindowHandle window, int32_t id) override;
    // The connection's socket is watched: what the server sends is read as it comes, and a
    // press is told at once.
    void WhenPressed(std::function<void()> pressed) override;

private:
    struct Registration {
        WindowHandle window = 0;
        int32_t id = 0;
        unsigned int keycode = 0;
        unsigned int modifiers = 0; // X modifier mask without the lock modifiers
        bool keyDown = false;       // the key is held since a counted press
        int pendingPresses = 0;
    };

    Registration* Find(WindowHandle window, int32_t id);
    bool Conflicts(unsigned int keycode, unsigned int modifiers) const;
    bool Grab(unsigned int keycode, unsigned int modifiers);
    void Ungrab(const Registration& registration);
    std::vector<unsigned int> LockVariants() const;
    void Drain();
    void OnReadable();
    void OnKeyPress(unsigned int keycode, unsigned int state);
    void OnKeyRelease(unsigned int keycode);
    bool IsRepeatRelease(unsigned int keycode, unsigned long time);

    _XDisplay* m_display = nullptr; // a connection of our own; null without a display
    unsigned int m_numLockMask = 0; // the modifier that holds Num_Lock; 0 when none does
    bool m_detectableRepeat = false;
    std::vector<Registration> m_registrations;
    std::function<void()> m_pressed;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace platform
