// No hot key of the system's: where the desktop lets no program take a key for itself (Wayland
// without a shortcuts portal), no copy owns the hot key. Every copy watches its signal file, and
// the user binds a key of the compositor to `zorvane --toggle`, which stamps them all.
#pragma once

#include "platform/hot_key_service.h"

namespace platform {

class NoHotKey final : public HotKeyService {
public:
    int32_t RegisterHotKey(WindowHandle, int32_t, uint32_t, uint32_t) override { return 0; }
    void UnregisterHotKey(WindowHandle, int32_t) override {}
    bool PollHotKey(WindowHandle, int32_t) override { return false; }
};

} // namespace platform
