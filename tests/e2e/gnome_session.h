// End-to-end tests on a GNOME desktop: a headless mutter with xdg-desktop-portal's GNOME backend,
// and the test's hands there with a keyboard and a pointer of mutter's own.
#pragma once

#include "portal_session.h"

namespace e2e {

class GnomeSession : public PortalSession {
public:
    // True once mutter runs and the remote-desktop portal answers. The hands' commands: "allow",
    // "cancel" (the desktop's remote-desktop question), "find APP TEXT", "press APP NAME".
    bool Start();
};

using GnomeRecorder = PortalRecorder;

} // namespace e2e
