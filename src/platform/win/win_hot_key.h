// The system-wide hot key on Windows: RegisterHotKey, UnregisterHotKey, and WaitMessage followed
// by PeekMessageA for WM_HOTKEY.
#pragma once

#include "platform/hot_key.h"

namespace platform {

class WinHotKeyService final : public HotKeyService {
public:
    int32_t RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                           uint32_t virtualKey) override;
    void UnregisterHotKey(WindowHandle window, int32_t id) override;
    // Sleeps until a message reaches the thread's queue, then removes one WM_HOTKEY of the window.
    bool PollHotKey(WindowHandle window, int32_t id) override;
};

} // namespace platform
