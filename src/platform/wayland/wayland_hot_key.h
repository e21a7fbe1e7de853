// The hot key on a Wayland desktop without a shortcuts portal: Wayland lets no client grab a key
// for the whole desktop, so no copy owns the hot key. Every copy watches its signal file, and the
// user binds a key of the compositor to `zorvane --toggle`, which stamps them all.
#pragma once

#include "platform/hot_key_service.h"

namespace platform {

class WaylandHotKey final : public HotKeyService {
public:
    int32_t RegisterHotKey(WindowHandle, int32_t, uint32_t, uint32_t) override { return 0; }
    void UnregisterHotKey(WindowHandle, int32_t) override {}
    bool PollHotKey(WindowHandle, int32_t) override { return false; }
};

} // namespace platform
