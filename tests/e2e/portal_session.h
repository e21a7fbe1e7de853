// End-to-end tests on a desktop whose programs click through xdg-desktop-portal (GNOME, KDE): a
// headless compositor with the desktop's portals (PipeWire for the screen-cast streams) on a
// private session bus, all run as the session's unprivileged user, with the test's eyes and hands
// there (desktop_hands: AT-SPI to read the windows, a keyboard of the desktop's).
#pragma once

#include "harness.h"
#include "session_user.h"

#include <QProcess>

#include <list>

namespace e2e {

class PortalSession : public UserSession {
public:
    ~PortalSession() override;
    QProcessEnvironment Environment() const override;
    // Over AT-SPI: the program's main window by its accessible name.
    QStringList FindWindows(const QString& caption) const override;
    // A command of the test's hands (see desktop_hands); true when it was done.
    bool Hands(const QString& command) const;

protected:
    // The session's environment, for the desktop of that name on the Wayland socket wayland-0.
    void SetEnvironment(const QString& desktop);
    // The private bus, first: the services it starts on demand take the session's environment.
    bool StartBus();
    // Starts a process of the session; it ends with the session, in the reverse order of starts.
    bool Run(const QString& program, const QStringList& arguments = {});
    // Starts the compositor and waits for its socket.
    bool StartCompositor(const QString& program, const QStringList& arguments);
    // Starts the desktop's portal backend, then the portal itself, then the hands (with their
    // arguments), and waits until the hands say the remote-desktop portal answers.
    bool StartPortals(const QString& backend, const QStringList& handsArguments);

    QProcessEnvironment m_env;

private:
    std::list<QProcess> m_processes;
    QProcess* m_hands = nullptr;
};

// The Wayland click recorder, full-screen on the virtual monitor: its positions are the
// desktop's.
class PortalRecorder : public RecorderLog {
public:
    explicit PortalRecorder(const PortalSession& session) : m_session(session) {}
    bool Start();

private:
    const PortalSession& m_session;
};

} // namespace e2e
