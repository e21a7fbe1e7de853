// End-to-end tests on a GNOME desktop: a headless mutter with the desktop's portals (
// xdg-desktop-portal with its GNOME backend, PipeWire for the screen-cast streams) on a private
// session bus, all run as the session's unprivileged user, with the test's eyes and hands there:
// AT-SPI to read the windows and a keyboard and a pointer of mutter's own.
#pragma once

#include "harness.h"
#include "session_user.h"

#include <QProcess>

#include <list>

namespace e2e {

class GnomeSession : public UserSession {
public:
    ~GnomeSession() override;
    // True once mutter runs and the remote-desktop portal answers.
    bool Start();
    QProcessEnvironment Environment() const override;
    // Over AT-SPI: the program's main window by its accessible name.
    QStringList FindWindows(const QString& caption) const override;
    // A command of the test's hands (see desktop_hands): "allow", "cancel", "find APP TEXT",
    // "press APP NAME"; true when it was done.
    bool Hands(const QString& command) const;

private:
    bool Run(const QString& program, const QStringList& arguments);

    QProcessEnvironment m_env;
    std::list<QProcess> m_processes; // ended in the reverse order of their start
    QProcess* m_hands = nullptr;
};

// The Wayland click recorder, full-screen on the virtual monitor: its positions are the
// desktop's.
class GnomeRecorder : public RecorderLog {
public:
    explicit GnomeRecorder(const GnomeSession& session) : m_session(session) {}
    bool Start();

private:
    const GnomeSession& m_session;
};

} // namespace e2e
