// The main window's side of the global hot key: serving a press when one wakes the window, this
// copy's signal file, the relay of a press to the other running copies, and the menu item that
// changes the letter. Nothing polls while idle: the owner's key wakes the window through its
// backend, a signal file through its folder's notifications (or, where the file system gives
// none, a slow poll).
#include "click/hot_key_rules.h"
#include "click/signal_relay.h"
#include "shell/main_window.h"
#include "store/file_system.h"
#include "store/settings_values.h"
#include "store/xml_document.h"
#include "ui/window_timer.h"

#include <QAction>
#include <QFileSystemWatcher>

namespace {

// Where the signal files' folder tells nothing of changes (a network folder), it is looked at
// this often.
constexpr int kSlowSignalPoll = 2000;

// The tests' stand-in for such a folder.
bool FolderNotificationsOff() {
    return qEnvironmentVariableIsSet("ZORVANE_NO_FOLDER_NOTIFICATIONS");
}

} // namespace

// The hot key's switch: presses are served while it is on. It never ticks: presses wake the
// window.
void frmMain::CreateHotKeyTimer() {
    tmrHotKey = new ui::WindowTimer(0, this);
    tmrHotKey->setEnabled(true);
}

void frmMain::LoadHotKey(const store::SettingsReader& settings) {
    if (!m_hotKey->SetHotKeyLetter(std::string(1, settings.HotKey("HotKey"))))
        m_hotKey->SetHotKeyLetter("C");
    m_hotKey->SetWindow(static_cast<platform::WindowHandle>(winId()));
    m_hotKey->WhenPressed([this] { ServeHotKey(); });
    m_hotKey->RegisterGlobalHotKey();
    // The owner has one too, so that a press from outside (zorvane --toggle) reaches it.
    CreateHotKeySignalFile();
}

void frmMain::CreateHotKeySignalFile() {
    strHotKeyFile = m_hotKey->SignalFilePath();
    m_hotKey->CreateSignalFile();
    WatchSignalFolder();
}

// Every copy looks at its signal file as soon as the folder changes (a stamp renamed into place
// is a change of the folder): a watcher follows the owner, the owner hears zorvane --toggle. A
// stamp is acted on once however often it is looked at.
void frmMain::WatchSignalFolder() {
    if (m_signalFolderWatcher)
        return;
    m_signalFolderWatcher = new QFileSystemWatcher(this);
    connect(m_signalFolderWatcher, &QFileSystemWatcher::directoryChanged, this,
            [this] { ServeHotKey(); });
    const QString folder = QString::fromStdString(m_app.configFolder);
    if (!FolderNotificationsOff() && m_signalFolderWatcher->addPath(folder) &&
        !store::OnNetworkFileSystem(m_app.configFolder))
        return;
    auto* slowPoll = new ui::WindowTimer(kSlowSignalPoll, this);
    connect(slowPoll, &ui::WindowTimer::Timer, this, [this] { ServeHotKey(); });
    slowPoll->setEnabled(true);
}

// Every press that woke the window is served, one after the other; while the hot key is not
// served (the picker is open), they are dropped.
void frmMain::ServeHotKey() {
    if (!tmrHotKey->isEnabled()) {
        m_hotKey->DiscardPresses();
        return;
    }
    for (int press = 0; press < 64 && tmrHotKey_Timer(); ++press) {
    }
}

// A failing step is passed over and the next one runs. A press that comes while a box of the
// click run is open is not served: it would open another box inside the first. The owner hears
// the key and relays it; its own signal file brings presses from outside, which every copy got.
// True when a press was found, served or not.
bool frmMain::tmrHotKey_Timer() {
    bool key = false;
    bool fromOutside = false;
    try {
        key = m_hotKey->PollHotKey();
        fromOutside = m_hotKey->Owner() && !strHotKeyFile.empty() && m_hotKey->PollSignalFile();
    } catch (const std::exception&) {
        return false;
    }
    if (m_runBoxesOpen > 0)
        return key || fromOutside;
    for (const bool press : {key, fromOutside}) {
        try {
            if (press)
                btnStartStop_Click();
        } catch (const std::exception&) {
        }
    }
    if (key && m_hotKey->Owner())
        RelayHotKeyPress();
    return key || fromOutside;
}

// Presses made while the hot key was not served (the picker open) are dropped, not acted on late.
void frmMain::ServeHotKeyAgain() {
    m_hotKey->DiscardPresses();
    tmrHotKey->setEnabled(true);
}

void frmMain::WaitForHotKeyRelay() {
    if (m_relay)
        m_relay->Wait();
}

// Stamps every signal file in the folder with the time of the press; each watcher toggles itself
// when it sees a new stamp. A file left by a copy that was killed is stamped too and harms no one,
// after the files of the copies that run.
void frmMain::RelayHotKeyPress() {
    auto files = click::ListSignalFiles(m_app.configFolder, m_services.windows->TopLevelWindows());
    if (!files)
        return;
    std::erase(files->running, strHotKeyFile); // this copy has toggled already
    if (!m_relay)
        m_relay = std::make_unique<click::SignalRelay>();
    m_relay->Relay(files->running, files->others, click::PressStamp(click::SecondsSinceMidnight()));
}

void frmMain::mnHotKey_Click() {
    const auto answer = m_services.dialogs->InputBox("CTRL + ALT + ", "Select your HotKey",
                                                     std::string(1, HotKeyLetter()));
    if (!answer || answer->empty())
        return;
    if (m_hotKey->SetHotKeyLetter(*answer)) {
        m_hotKey->UnregisterGlobalHotKey();
        m_hotKey->RegisterGlobalHotKey();
        return;
    }
    m_services.dialogs->MessageBox("Please choose a key from A to Z.", "Invalid Setting",
                                   platform::MsgIcon::Information, platform::MsgButtons::Ok);
}

void frmMain::UnloadHotKey() {
    tmrHotKey->setEnabled(false);
    m_hotKey->UnregisterGlobalHotKey();
    if (!strHotKeyFile.empty())
        m_hotKey->DeleteSignalFile();
}

char frmMain::HotKeyLetter() const {
    return m_hotKey->Letter();
}
