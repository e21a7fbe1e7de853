// The user a test's desktop session runs as. Compositors such as sway refuse to run as root, and
// the tests run as root in CI: the session then runs as an unprivileged user made for the tests,
// with folders of its own (a runtime folder of mode 0700, a home). Every process of the session
// is started as that user by setpriv, which executes the program in its own place, so the process
// the test holds is the program itself: signals reach it and it ends with the test. Run by
// anybody else, the session runs as the test's own user.
#pragma once

#include "harness.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace e2e {

class SessionUser {
public:
    SessionUser();
    // Whether the user and its folders are there.
    bool Ready() const { return m_ready; }
    QString RuntimeFolder() const { return m_folder.filePath(QStringLiteral("runtime")); }
    QString Home() const { return m_folder.filePath(QStringLiteral("home")); }
    // Starts a program as the user with that environment; it ends with the test.
    bool Launch(QProcess& process, const QString& program, const QStringList& arguments,
                const QProcessEnvironment& env) const;
    // Gives the user a folder (and all it holds) the test made.
    bool Adopt(const QString& folder) const;
    // A copy of an executable the user may run wherever the build lies; its path, or an empty
    // string when it cannot be copied.
    QString Place(const QString& program) const;
    // Ends a process of the session: asked to end, then killed if it does not.
    static void End(QProcess& process);

private:
    bool m_ready = false;
    bool m_switch = false; // running as root: processes change to the user
    unsigned m_uid = 0;
    unsigned m_gid = 0;
    QTemporaryDir m_folder;
};

// The name of the user made for the tests.
inline constexpr const char* kSessionUserName = "zorvane-test";

// A desktop session whose every process runs as the session's user.
class UserSession : public Session {
public:
    bool Launch(QProcess& process, const QString& program, const QStringList& arguments,
                const QProcessEnvironment& env) const override {
        return m_user.Launch(process, program, arguments, env);
    }
    bool Adopt(const QString& folder) const override { return m_user.Adopt(folder); }
    const SessionUser& User() const { return m_user; }

protected:
    SessionUser m_user;
};

} // namespace e2e
