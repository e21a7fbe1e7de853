// The main window's side of the global hot key: its polling timer, this copy's signal file, the
// relay of a press to the other running copies, and the menu item that changes the letter.
#include "click/hot_key_rules.h"
#include "click/signal_relay.h"
#include "shell/main_window.h"
#include "store/file_system.h"
#include "store/settings_values.h"
#include "store/xml_document.h"
#include "ui/window_timer.h"

#include <QAction>
#include <QFileSystemWatcher>

// The 50 ms poll runs from the start.
void frmMain::CreateHotKeyTimer() {
    tmrHotKey = new ui::WindowTimer(50, this);
    connect(tmrHotKey, &ui::WindowTimer::Timer, this, [this] { tmrHotKey_Timer(); });
    tmrHotKey->setEnabled(true);
}

void frmMain::LoadHotKey(const store::SettingsReader& settings) {
    if (!m_hotKey->SetHotKeyLetter(std::string(1, settings.HotKey("HotKey"))))
        m_hotKey->SetHotKeyLetter("C");
    m_hotKey->SetWindow(static_cast<platform::WindowHandle>(winId()));
    m_hotKey->RegisterGlobalHotKey();
    // The owner has one too, so that a press from outside (zorvane --toggle) reaches it.
    CreateHotKeySignalFile();
}

void frmMain::CreateHotKeySignalFile() {
    strHotKeyFile = m_hotKey->SignalFilePath();
    m_hotKey->CreateSignalFile();
    WatchSignalFolder();
}

// Besides the 50 ms poll, a watcher looks at its signal file as soon as the folder changes, so
// that it follows the owner within a few milliseconds whatever the phase of the two timers. A
// stamp is acted on once however often it is looked at.
void frmMain::WatchSignalFolder() {
    if (m_signalFolderWatcher)
        return;
    m_signalFolderWatcher = new QFileSystemWatcher(this);
    m_signalFolderWatcher->addPath(QString::fromStdString(m_app.configFolder));
    connect(m_signalFolderWatcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (tmrHotKey->isEnabled() && !m_hotKey->Owner())
            tmrHotKey_Timer();
    });
}

// A failing step is passed over and the next one runs. A press that comes while a box of the
// click run is open is not served: it would open another box inside the first. The owner hears
// the key and relays it; its own signal file brings presses from outside, which every copy got.
void frmMain::tmrHotKey_Timer() {
    bool key = false;
    bool fromOutside = false;
    try {
        key = m_hotKey->PollHotKey();
        fromOutside = m_hotKey->Owner() && !strHotKeyFile.empty() && m_hotKey->PollSignalFile();
    } catch (const std::exception&) {
        return;
    }
    if (m_runBoxesOpen > 0)
        return;
    for (const bool press : {key, fromOutside}) {
        try {
            if (press)
                btnStartStop_Click();
        } catch (const std::exception&) {
        }
    }
    if (key && m_hotKey->Owner())
        RelayHotKeyPress();
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
