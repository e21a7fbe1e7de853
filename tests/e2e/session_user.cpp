#include "session_user.h"

#include "harness.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace e2e {
namespace {

bool MakeUser() {
    if (::getpwnam(kSessionUserName))
        return true;
    QProcess add;
    add.start(QStringLiteral("useradd"),
              {QStringLiteral("--system"), QStringLiteral("--no-create-home"),
               QStringLiteral("--shell"), QStringLiteral("/usr/sbin/nologin"),
               QString::fromLatin1(kSessionUserName)});
    // Another test may have made it meanwhile.
    return (add.waitForFinished(20000) && add.exitCode() == 0) || ::getpwnam(kSessionUserName);
}

} // namespace

SessionUser::SessionUser()
    : m_folder(QDir::tempPath() + QStringLiteral("/zorvane-session-XXXXXX")) {
    if (!m_folder.isValid())
        return;
    m_uid = ::getuid();
    m_gid = ::getgid();
    if (m_uid == 0) {
        if (!MakeUser())
            return;
        const passwd* user = ::getpwnam(kSessionUserName);
        m_uid = user->pw_uid;
        m_gid = user->pw_gid;
        m_switch = true;
    }
    const QDir folder(m_folder.path());
    if (!folder.mkdir(QStringLiteral("runtime")) || !folder.mkdir(QStringLiteral("home")) ||
        ::chmod(QFile::encodeName(RuntimeFolder()).constData(), 0700) != 0)
        return;
    ::chmod(QFile::encodeName(m_folder.path()).constData(), 0755);
    m_ready = Adopt(RuntimeFolder()) && Adopt(Home());
}

bool SessionUser::Adopt(const QString& folder) const {
    if (!m_switch)
        return true;
    bool adopted = ::chown(QFile::encodeName(folder).constData(), m_uid, m_gid) == 0;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        adopted = ::lchown(QFile::encodeName(it.next()).constData(), m_uid, m_gid) == 0 && adopted;
    return adopted;
}

QString SessionUser::Place(const QString& program) const {
    const QString bin = m_folder.filePath(QStringLiteral("bin"));
    const QString placed = bin + QLatin1Char('/') + QFileInfo(program).fileName();
    if (QFileInfo::exists(placed))
        return placed;
    if (!QDir().mkpath(bin) || !QFile::copy(program, placed))
        return {};
    ::chmod(QFile::encodeName(bin).constData(), 0755);
    ::chmod(QFile::encodeName(placed).constData(), 0755);
    return placed;
}

bool SessionUser::Launch(QProcess& process, const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& env) const {
    QProcessEnvironment own = env;
    own.insert(QStringLiteral("HOME"), Home());
    own.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeFolder());
    process.setProcessEnvironment(own);
    EndWithTheTest(process);
    if (!m_switch) {
        process.start(program, arguments);
    } else {
        process.start(
            QStringLiteral("setpriv"),
            QStringList{QStringLiteral("--reuid=%1").arg(m_uid),
                        QStringLiteral("--regid=%1").arg(m_gid), QStringLiteral("--clear-groups"),
                        QStringLiteral("--pdeathsig=KILL"), QStringLiteral("--"), program} +
                arguments);
    }
    return process.waitForStarted(5000);
}

void SessionUser::End(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace e2e
