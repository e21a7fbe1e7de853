#include "platform/qt/qt_shell.h"

#include "platform/qt/qt_factories.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#ifndef Q_OS_WIN
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace platform {

bool QtShell::Open(const std::string& target, int /*showCommand*/) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(target)));
}

bool QtShell::ShowTextFile(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

#ifndef Q_OS_WIN
namespace {

// Starts the program detached, its arguments passed on as the very bytes given: a restart hands
// on arguments that are no UTF-8 text unchanged. A grandchild runs it, so that no zombie is left
// behind, and a pipe closed on exec tells whether the exec worked. Between fork and exec only
// calls that are safe there.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        setsid();
        const pid_t grandchild = fork();
        if (grandchild != 0)
            _exit(grandchild < 0 ? 1 : 0);
        signal(SIGPIPE, SIG_DFL); // as a program started from a shell has it
        execvp(argv[0], argv.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t told = write(pipeEnds[1], &error, sizeof error);
        _exit(127);
    }
    close(pipeEnds[1]);
    int status = -1;
    while (child > 0 && waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got = 0;
    do
        got = read(pipeEnds[0], &error, sizeof error);
    while (got < 0 && errno == EINTR);
    close(pipeEnds[0]);
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

} // namespace
#endif

bool QtShell::StartProcess(const std::string& program, const std::vector<std::string>& arguments) {
#ifndef Q_OS_WIN
    return StartDetached(program, arguments);
#else
    QStringList args;
    for (const std::string& argument : arguments)
        args << QString::fromStdString(argument);
    return QProcess::startDetached(QString::fromStdString(program), args);
#endif
}

std::unique_ptr<Shell> CreateToolkitShell() {
    return std::make_unique<QtShell>();
}

} // namespace platform
