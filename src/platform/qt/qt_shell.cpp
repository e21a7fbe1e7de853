#include "platform/qt/qt_shell.h"

#include "platform/native.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace platform {

bool QtShell::Open(const std::string& target, int /*showCommand*/) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(target)));
}

bool QtShell::ShowTextFile(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtShell::StartProcess(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList args;
    for (const std::string& argument : arguments)
        args << QString::fromStdString(argument);
    return QProcess::startDetached(QString::fromStdString(program), args);
}

#ifndef Q_OS_WIN
std::unique_ptr<Shell> CreateNativeShell() {
    return std::make_unique<QtShell>();
}
#endif

} // namespace platform
