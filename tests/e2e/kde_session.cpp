#include "kde_session.h"

namespace e2e {

bool KdeSession::Start() {
    SetEnvironment(QStringLiteral("KDE"));
    // The desktop's portal is a Qt program: on the session's display also when the bus starts it.
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    // Debian's kwin_wayland carries a file capability (cap_sys_resource) that a machine without it
    // in its bounding set refuses to execute, root too; a plain copy carries none.
    const QString kwin = m_user.Place(QStringLiteral("/usr/bin/kwin_wayland"));
    return !kwin.isEmpty() && StartBus() && Run(QStringLiteral("pipewire")) &&
           Run(QStringLiteral("wireplumber")) &&
           StartCompositor(kwin, {QStringLiteral("--virtual"), QStringLiteral("--socket"),
                                  QStringLiteral("wayland-0"), QStringLiteral("--no-lockscreen"),
                                  QStringLiteral("--width"), QStringLiteral("1280"),
                                  QStringLiteral("--height"), QStringLiteral("1024")}) &&
           StartPortals(QStringLiteral(ZORVANE_KDE_PORTAL), {QStringLiteral("--portal")});
}

} // namespace e2e
