// The hot key on desktops that offer the GlobalShortcuts portal (KDE Plasma 5.27 and later,
// GNOME 48 and later): "Start or stop clicking", with CTRL + ALT + the letter as the trigger the
// program prefers (the desktop, or the user, has the last word). Where the portal is missing the
// registration answers 0, and the copy watches its signal file like every other copy.
#pragma once

#include "platform/hot_key_service.h"

#include <memory>

namespace platform {

class PortalHotKey final : public HotKeyService {
public:
    PortalHotKey();
    ~PortalHotKey() override;
    PortalHotKey(const PortalHotKey&) = delete;
    PortalHotKey& operator=(const PortalHotKey&) = delete;

    // 1 when this copy bound the shortcut; 0 when the desktop has no GlobalShortcuts portal, it
    // refused the session or the shortcut, or another copy of this user already holds the same
    // letter (the portal, like a key grab, serves one copy; the others hear the press through
    // the relay). A changed letter is bound in a new session, named after the letter.
    int32_t RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                           uint32_t virtualKey) override;
    void UnregisterHotKey(WindowHandle window, int32_t id) override;
    // True once for each activation of the shortcut since the last poll.
    bool PollHotKey(WindowHandle window, int32_t id) override;
    // Each activation is told as the desktop's signal brings it.
    void WhenPressed(std::function<void()> pressed) override;

    class Session;

private:
    std::unique_ptr<Session> m_session;
};

} // namespace platform
