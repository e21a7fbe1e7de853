// End-to-end tests on a KDE Plasma desktop: a headless KWin (llvmpipe, one virtual 1280x1024
// output) with xdg-desktop-portal's KDE backend, and the test's hands there with the
// RemoteDesktop portal's keyboard, whose keys KWin takes as the user's (global shortcuts too).
// KDE lets a program that is not sandboxed use that portal without asking.
#pragma once

#include "portal_session.h"

namespace e2e {

class KdeSession : public PortalSession {
public:
    // True once KWin runs and the hands' portal keyboard is there.
    bool Start();
    // Presses keys by their evdev codes ("29 56 46": Ctrl, Alt, C) in order, then releases them
    // in the reverse order.
    bool Keys(const QString& codes) const { return Hands(QStringLiteral("keys ") + codes); }
    // Where the desktop saves its screenshots.
    QString Pictures() const { return m_user.Home() + QStringLiteral("/Pictures"); }
};

using KdeRecorder = PortalRecorder;

} // namespace e2e
