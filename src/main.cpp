#include "platform/qt/termination.h"
#include "platform/qt/toolkit_style.h"
#include "platform/services.h"
#include "shell/app_info.h"
#include "shell/main_window.h"
#include "shell/manifest.h"
#include "shell/start_up.h"
#include "store/file_system.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // The arguments exactly as received, before the toolkit takes its own options out.
    shell::AppInfo app;
    app.arguments.assign(argv + 1, argv + argc);
    QApplication application(argc, argv);
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    app.folder = exe.absolutePath().toStdString();
    app.exeName = exe.completeBaseName().toStdString();
    app.exePath = exe.absoluteFilePath().toStdString();

    // A process started with the manifest beside it runs with the modern look.
    app.startedWithManifest = store::FileExists(shell::ManifestPath(app.folder, app.exeName));
    platform::UseToolkitStyle(app.startedWithManifest);
    platform::NativeServices native;
    const auto endNow = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    if (shell::InitializeProgram(app, native.services(), endNow) == shell::StartUp::End)
        return 0;

    frmMain window(native.services(), app);
    if (!window.Form_Load())
        return 0;
    platform::QuitOnTermination();
    // The session or a signal ends the program: nobody is there to read a message.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
                     [&window] { window.UnloadForSession(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &window,
                     [&window] { window.UnloadForSession(); });
    return QApplication::exec();
}
