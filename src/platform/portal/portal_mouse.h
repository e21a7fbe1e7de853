// Clicks on desktops without the wlroots input protocols (GNOME, KDE): through the desktop's
// remote-desktop portal, with a monitor stream of the ScreenCast portal for absolute positions.
// The desktop asks the user once, at the first Start; the session then stays open for the
// program's life. Where the portal keeps sessions across runs (RemoteDesktop version 2 and later)
// the restore token is kept in the settings folder so that the next run need not ask.
#pragma once

#include "platform/mouse_service.h"

#include <memory>
#include <string>

namespace platform {

class PortalMouseInput final : public MouseInput {
public:
    // settingsFolder: where the restore token is kept.
    explicit PortalMouseInput(std::string settingsFolder);
    ~PortalMouseInput() override;
    PortalMouseInput(const PortalMouseInput&) = delete;
    PortalMouseInput& operator=(const PortalMouseInput&) = delete;

    // Opens the session when none is open: the desktop shows its question and this waits (in a
    // local event loop) for the answer. Not ready, with the reason, when the user refused, the
    // desktop ended the session or there is no portal; the next call asks again.
    ClickReadiness PrepareToClick() override;
    // Wayland tells no program where the pointer is: the last place this backend moved it to or
    // a window of the program saw it at.
    Point GetCursorPos() override;
    bool TracksPointer() const override { return false; }
    void PointerSeenAt(int32_t x, int32_t y) override;
    // Moves the pointer over the desktop's layout, held at its edge; nothing without a session.
    void SetCursorPos(int32_t x, int32_t y) override;
    // The buttons' changes follow the last move by about 50 ms: a press sent at once after a
    // move onto a window can be lost. They are queued, never waited for, so the click run's
    // tick is not held up; the order of moves and buttons is kept.
    void MouseEvent(uint32_t flags) override;
    // The desktop ends the session (its Closed signal, the portal leaving the bus, a call that
    // fails) while it lets the program click.
    void WhenClickingStops(std::function<void(const std::string& why)> stopped) override;

    class Session;

private:
    std::unique_ptr<Session> m_session;
};

} // namespace platform
