#include "events/mouse_events_window.h"
#include "platform/qt/termination.h"
#include "platform/qt/tray_host.h"
#include "platform/services.h"
#include "shell/app_info.h"
#include "shell/command_line.h"
#include "shell/folders.h"
#include "shell/main_window.h"
#include "shell/start_up.h"
#include "shell/visual_styles.h"
#include "tray/sys_tray_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // The arguments exactly as received, before the toolkit takes its own options out.
    shell::AppInfo app;
    app.arguments.assign(argv + 1, argv + argc);
    // Answered before anything else: no window, no file.
    if (const auto answer = shell::InformationAnswer(app.arguments)) {
        std::fputs(answer->c_str(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
#ifndef _WIN32
    // A closed pipe on standard error (a script that stopped reading, a copy restarted from it)
    // makes a warning's write fail instead of ending the program.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zorvane-256.png")));
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    app.folder = exe.absolutePath().toStdString();
    app.exeName = exe.completeBaseName().toStdString();
    app.exePath = exe.absoluteFilePath().toStdString();
    const auto folders = shell::DecideFolders(shell::ReadFolderFacts(app.folder));
    if (!folders || !shell::MakeConfigFolder(folders->config)) {
        std::fprintf(stderr, "zorvane: no folder for the settings: %s\n",
                     folders ? ("cannot make " + folders->config).c_str()
                             : "set HOME (or XDG_CONFIG_HOME) to an absolute path");
        return 1;
    }
    app.configFolder = folders->config;
    app.dataFolder = folders->data;

    // A process started with the manifest beside it runs with the modern look.
    app.startedWithManifest = shell::ChooseToolkitStyle(app);
    // The toolkit's platform ("wayland" where both a compositor and an X server are there) picks
    // the backends.
    platform::NativeServices native(QGuiApplication::platformName().toStdString(),
                                    app.configFolder);
    const auto endNow = [] {
        std::fflush(nullptr);
        std::_Exit(0);
    };
    if (shell::InitializeProgram(app, native.services(), endNow) == shell::StartUp::End)
        return 0;

    frmMain window(native.services(), app);
    window.mouseEventsWindowFactory =
        frmMouseEvents::Opener(*native.services().dialogs, app.configFolder);
    window.trayWindowFactory = FrmSysTray::Opener(native.services(), app.dataFolder, app.exeName,
                                                  platform::MakeSystemTrayHost);
    if (!window.Form_Load())
        return 0;
    native.AnswerForMainWindow(window);
    platform::QuitOnTermination([&window] { window.UnloadForSession(); });
    // A compositor that goes away ends the program through its shut-down, as a signal does.
    native.OnSessionLost([&window](const std::string& why) {
        std::fprintf(stderr, "zorvane: %s; ending.\n", why.c_str());
        window.UnloadForSession();
    });
    // The session or a signal ends the program: nobody is there to read a message.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
                     [&window] { window.UnloadForSession(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &window,
                     [&window] { window.UnloadForSession(); });
    return QApplication::exec();
}
