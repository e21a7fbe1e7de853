#include "kde_session.h"

#include <QDir>

namespace e2e {

bool KdeSession::Start() {
    SetEnvironment(QStringLiteral("KDE"));
    // The desktop's portal is a Qt program: on the session's display also when the bus starts it.
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    // Debian's kwin_wayland carries a file capability (cap_sys_resource) that a machine without it
    // in its bounding set refuses to execute, root too; a plain copy carries none.
    const QString kwin = m_user.Place(QStringLiteral("/usr/bin/kwin_wayland"));
    if (kwin.isEmpty() || !StartBus() || !Run(QStringLiteral("pipewire")) ||
        !Run(QStringLiteral("wireplumber")) ||
        !StartCompositor(kwin, {QStringLiteral("--virtual"), QStringLiteral("--socket"),
                                QStringLiteral("wayland-0"), QStringLiteral("--no-lockscreen"),
                                QStringLiteral("--width"), QStringLiteral("1280"),
                                QStringLiteral("--height"), QStringLiteral("1024")}))
        return false;
    // The Screenshot portal builds its dialog from a few files of the workspace (placed by
    // scripts/kde_screenshot_files.sh) and leaves its picture among the user's pictures.
    const QString files = QStringLiteral(ZORVANE_KDE_SCREENSHOT_FILES);
    m_env.insert(QStringLiteral("QML2_IMPORT_PATH"), files + QStringLiteral("/qml"));
    m_env.insert(QStringLiteral("QT_PLUGIN_PATH"), files + QStringLiteral("/plugins"));
    m_env.insert(QStringLiteral("XDG_DATA_DIRS"), files + QStringLiteral("/share:/usr/share"));
    return QDir().mkpath(Pictures()) && m_user.Adopt(Pictures()) &&
           StartPortals(QStringLiteral(ZORVANE_KDE_PORTAL), {QStringLiteral("--portal")});
}

} // namespace e2e
