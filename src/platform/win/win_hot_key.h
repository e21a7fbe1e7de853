// The system-wide hot key on Windows: RegisterHotKey for a message-only window of the backend's
// own.
//
// Windows posts WM_HOTKEY to the window a key is registered for, and whichever loop reads the
// thread's queue first dispatches it: the toolkit's loop takes most of them. So the backend
// registers every key for its own message-only window, whose window procedure queues each press
// whoever dispatches it, and a poll hands out one queued press without ever waiting. The keys are
// registered with MOD_NOREPEAT, so a held chord is one press.
#pragma once

#include "platform/hot_key_service.h"

#include <functional>
#include <vector>

struct HWND__;

namespace platform {

class WinHotKeyService final : public HotKeyService {
public:
    WinHotKeyService();
    ~WinHotKeyService() override;
    WinHotKeyService(const WinHotKeyService&) = delete;
    WinHotKeyService& operator=(const WinHotKeyService&) = delete;

    // The window and identifier name the registration; the key is registered for the backend's
    // own window. Registering again under the same window and identifier replaces the key.
    int32_t RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                           uint32_t virtualKey) override;
    void UnregisterHotKey(WindowHandle window, int32_t id) override;
    // Never blocks: reads the messages waiting for the backend's window, then hands out one press.
    bool PollHotKey(WindowHandle window, int32_t id) override;
    // WM_HOTKEY reaches the backend's window as a message: each press is told as it comes.
    void WhenPressed(std::function<void()> pressed) override { m_pressed = std::move(pressed); }

    // Called by the window procedure for each WM_HOTKEY.
    void OnHotKey(int nativeId);

private:
    struct Registration {
        WindowHandle window = 0;
        int32_t id = 0;
        int nativeId = 0; // the identifier the key is registered under for our window
        int pendingPresses = 0;
    };

    Registration* Find(WindowHandle window, int32_t id);
    int FreeNativeId() const;

    HWND__* m_sink = nullptr; // our message-only window; null when it could not be created
    std::vector<Registration> m_registrations;
    std::function<void()> m_pressed;
    bool m_polling = false;
};

} // namespace platform
