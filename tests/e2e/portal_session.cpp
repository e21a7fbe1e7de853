#include "portal_session.h"

#include <QFileInfo>

namespace e2e {

PortalSession::~PortalSession() {
    for (auto process = m_processes.rbegin(); process != m_processes.rend(); ++process)
        SessionUser::End(*process);
}

void PortalSession::SetEnvironment(const QString& desktop) {
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.remove(QStringLiteral("DISPLAY"));
    m_env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-0"));
    m_env.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), desktop);
    m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_user.RuntimeFolder());
    m_env.insert(QStringLiteral("HOME"), m_user.Home());
}

bool PortalSession::StartBus() {
    if (!m_user.Ready())
        return false;
    QProcess& bus = m_processes.emplace_back();
    if (!m_user.Launch(bus, QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"),
                        QStringLiteral("--print-address")},
                       m_env) ||
        !WaitUntil([&] { return bus.canReadLine(); }, 10000))
        return false;
    m_env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                 QString::fromUtf8(bus.readLine()).trimmed());
    return true;
}

bool PortalSession::Run(const QString& program, const QStringList& arguments) {
    QProcess& process = m_processes.emplace_back();
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return m_user.Launch(process, program, arguments, m_env);
}

bool PortalSession::StartCompositor(const QString& program, const QStringList& arguments) {
    const QString socket = m_user.RuntimeFolder() + QStringLiteral("/wayland-0");
    return Run(program, arguments) && WaitUntil([&] { return QFileInfo::exists(socket); }, 20000);
}

bool PortalSession::StartPortals(const QString& backend, const QStringList& handsArguments) {
    if (!Run(backend) || !Run(QStringLiteral("/usr/libexec/xdg-desktop-portal")))
        return false;
    m_hands = &m_processes.emplace_back();
    return m_user.Launch(*m_hands, m_user.Place(QStringLiteral(ZORVANE_DESKTOP_HANDS)),
                         handsArguments, m_env) &&
           WaitUntil([&] { return m_hands->canReadLine(); }, 40000) &&
           m_hands->readLine().trimmed() == "ready";
}

QProcessEnvironment PortalSession::Environment() const {
    QProcessEnvironment env = m_env;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    // The program's windows are read over AT-SPI.
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    return env;
}

QStringList PortalSession::FindWindows(const QString& caption) const {
    return Hands(QStringLiteral("find zorvane ") + caption) ? QStringList{caption} : QStringList{};
}

bool PortalSession::Hands(const QString& command) const {
    if (!m_hands || m_hands->write(command.toUtf8() + '\n') < 0 ||
        !WaitUntil([&] { return m_hands->canReadLine(); }, 40000))
        return false;
    return m_hands->readLine().trimmed() == "ok";
}

bool PortalRecorder::Start() {
    return StartRecorder(m_session,
                         m_session.User().Place(QStringLiteral(ZORVANE_WAYLAND_RECORDER)),
                         {QStringLiteral("--fullscreen")});
}

} // namespace e2e
