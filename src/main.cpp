#include "click/signal_relay.h"
#include "events/mouse_events_window.h"
#include "platform/native_services.h"
#include "platform/qt/qt_factories.h"
#include "platform/qt/termination.h"
#include "shell/app_info.h"
#include "shell/command_line.h"
#include "shell/folders.h"
#include "shell/main_window.h"
#include "shell/start_up.h"
#include "shell/visual_styles.h"
#include "tray/sys_tray_window.h"
#include "ui/caret_rest.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// A problem that stops the program before it starts: on standard error, and in a box where there
// is a screen to show one.
void TellBeforeStart(const std::string& text) {
    std::fprintf(stderr, "zorvane: %s\n", text.c_str());
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        platform::CreateToolkitDialogs()->MessageBox(
            text, "Configuration File Error", platform::MsgIcon::Warning, platform::MsgButtons::Ok);
}

// The program's own place, and the folders it keeps its files in.
std::optional<shell::Folders> FindFolders(shell::AppInfo& app) {
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    app.folder = exe.absolutePath().toStdString();
    app.exeName = exe.completeBaseName().toStdString();
    app.exePath = exe.absoluteFilePath().toStdString();
    return shell::DecideFolders(shell::ReadFolderFacts(app.folder));
}

constexpr const char* kNoHome = "set HOME (or XDG_CONFIG_HOME) to an absolute path";

// The toolkit ends the process, advising to reinstall it, when no display server it tries
// answers: that is said plainly first.
bool DisplayServerAnswers(const std::vector<std::string>& arguments) {
    const auto servers = shell::DisplayServersToTry(arguments, std::getenv("QT_QPA_PLATFORM"));
    if (!servers)
        return true;
    for (const shell::DisplayServer server : *servers)
        if (server == shell::DisplayServer::Wayland
                ? platform::NativeServices::WaylandDisplayAnswers()
                : platform::NativeServices::X11DisplayAnswers())
            return true;
    std::fprintf(
        stderr, "zorvane: %s\n",
        shell::NoDisplayText(std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY")).c_str());
    return false;
}

// An installed copy's settings folder that another user could change is refused.
std::optional<std::string> RefusedFolder(const std::optional<shell::Folders>& folders) {
    return folders && !folders->portable ? shell::UntrustedConfigFolder(folders->config)
                                         : std::nullopt;
}

// zorvane --toggle: one press of the shared hot key for every copy that runs with this settings
// folder (the copies watch their signal files).
int Toggle(shell::AppInfo& app) {
    const auto folders = FindFolders(app);
    const std::optional<std::string> problem = folders ? RefusedFolder(folders) : kNoHome;
    if (problem) {
        std::fprintf(stderr, "zorvane: %s\n", problem->c_str());
        return 1;
    }
    const std::optional<click::Pressed> pressed = click::PressForEveryCopy(folders->config);
    if (pressed && pressed->locked > 0) {
        std::fprintf(stderr,
                     "zorvane: another process held the lock on the signal files in %s for two "
                     "seconds (is one stopped?); %zu running copies were not toggled.\n",
                     folders->config.c_str(), pressed->locked);
        return 1;
    }
    if (pressed && pressed->stamped > 0)
        return 0;
    std::fprintf(stderr, "zorvane: %s; nothing was toggled.\n",
                 pressed ? ("no running copy uses " + folders->config).c_str()
                         : (folders->config + " cannot be read").c_str());
    return 1;
}

} // namespace

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
    if (shell::AsksToToggle(app.arguments)) {
        QCoreApplication core(argc, argv); // no display needed
        return Toggle(app);
    }
    if (!DisplayServerAnswers(app.arguments))
        return 1;
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/zorvane-256.png")));
    QApplication::setApplicationName(QString::fromLatin1(shell::kProgramId));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(shell::kProgramId));
    ui::RestCaretWhenIdle(application);
    const auto folders = FindFolders(app);
    if (const auto problem = RefusedFolder(folders)) {
        TellBeforeStart(*problem);
        return 1;
    }
    if (!folders || !shell::MakeConfigFolder(folders->config)) {
        TellBeforeStart(std::string("no folder for the settings: ") +
                        (folders ? "cannot make " + folders->config : kNoHome));
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
    // A signal ends the program in order from here on, also while a box of the start is open:
    // until the main window has read its settings there is nothing to put in order; from then on
    // its shut-down runs (the signal file goes, the settings are written back), and every event
    // loop ends, an open box's too (quit() would not end a box open before the main loop runs).
    frmMain* loading = nullptr;
    bool terminated = false;
    platform::QuitOnTermination([&] {
        terminated = true;
        if (loading && loading->SettingsLoaded()) {
            loading->UnloadForSession();
            QCoreApplication::exit(0);
        } else {
            endNow();
        }
    });
    if (shell::InitializeProgram(app, native.services(), endNow) == shell::StartUp::End)
        return 0;

    frmMain window(native.services(), app);
    window.mouseEventsWindowFactory =
        frmMouseEvents::Opener(*native.services().dialogs, app.configFolder);
    window.trayWindowFactory = FrmSysTray::Opener(native.services(), app.dataFolder, app.exeName,
                                                  platform::NativeServices::MakeTrayHost);
    loading = &window;
    if (!window.Form_Load() || terminated)
        return 0;
    native.AnswerForMainWindow(window);
    // A display server that goes away ends the program, its settings written back first: the
    // toolkit's own connection tells of it, or the Wayland services' connection notices first.
    platform::EndOnDisplayLoss(
        [&window](const std::string& why) { window.EndForLostSession(why); });
    native.OnSessionLost([&window](const std::string& why) {
        window.EndForLostSession(why);
        std::_Exit(1);
    });
    // The session or a signal ends the program: nobody is there to read a message.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
                     [&window] { window.UnloadForSession(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &window,
                     [&window] { window.UnloadForSession(); });
    return QApplication::exec();
}
