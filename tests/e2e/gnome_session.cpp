#include "gnome_session.h"

namespace e2e {

bool GnomeSession::Start() {
    SetEnvironment(QStringLiteral("GNOME"));
    m_env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
    return StartBus() && Run(QStringLiteral("pipewire")) && Run(QStringLiteral("wireplumber")) &&
           StartCompositor(QStringLiteral("mutter"),
                           {QStringLiteral("--headless"), QStringLiteral("--wayland"),
                            QStringLiteral("--no-x11"), QStringLiteral("--virtual-monitor"),
                            QStringLiteral("1280x1024")}) &&
           StartPortals(QStringLiteral("/usr/libexec/xdg-desktop-portal-gnome"), {});
}

} // namespace e2e
