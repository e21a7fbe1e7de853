// The main window's close request and unload: the tray may keep the window, otherwise the hot
// key is given up, the settings are written back and the other windows close. The unload itself
// is never cancelled.
#include "events/sequence_window.h"
#include "shell/about_window.h"
#include "shell/main_window.h"
#include "shell/start_up.h"
#include "store/file_system.h"
#include "store/settings_file.h"
#include "store/settings_values.h"
#include "tray/tray_window.h"
#include "ui/check_state.h"
#include "ui/window_timer.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRadioButton>

#include <cstdio>
#include <map>

namespace {

// How a close was asked for.
constexpr int kUnloadByUser = 0; // close box, system menu, ALT+F4
constexpr int kUnloadByCode = 1;

} // namespace

void frmMain::Unload() {
    m_unloadingByCode = true;
    close();
    if (!m_unloaded) // a hidden window may not see its close request
        Form_Unload();
}

void frmMain::UnloadForSession() {
    m_unloadingForSession = true;
    Unload();
}

void frmMain::EndForLostSession(const std::string& why) {
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_unloadingForSession = true;
    std::fprintf(stderr, "zorvane: the display is gone (%s); writing the settings back.\n",
                 why.c_str());
    if (!strHotKeyFile.empty())
        store::DeleteFile(strHotKeyFile);
    WriteSettingsBack();
    std::fflush(nullptr);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (m_unloaded) {
        event->accept();
        return;
    }
    bool cancel = false;
    Form_QueryUnload(cancel, m_unloadingByCode ? kUnloadByCode : kUnloadByUser);
    m_unloadingByCode = false;
    if (cancel) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMain::Form_QueryUnload(bool& cancel, int unloadMode) {
    if (mnSysTray->isChecked() && !mnCloseMeansClose->isChecked() && FormSys)
        FormSys->MeQueryUnload(this, cancel, unloadMode);
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmMain::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    tmrDelay->setEnabled(false);
    tmr1sec->setEnabled(false);
    tmrClick->setEnabled(false);
    UnloadHotKey();
    WriteSettingsBack();
    if (m_sequence.bFormMouseEventsLoaded && frmMouseEvents) {
        frmMouseEvents->Unload(true);
        frmMouseEvents = nullptr;
    }
    UnloadPicker();
    if (m_about)
        m_about->Unload();
    RemoveTrayWindow(false); // its settings joined the save above
    QCoreApplication::quit();
}

// All values in one save of the settings file. A file deleted or damaged while the program ran
// is made anew (a damaged one kept as its backup first), so that the settings of this session are
// not lost. When they are, the user is told: in a message box when the user ends the program, on
// standard error when the session, a signal or an unattended run ends it.
void frmMain::WriteSettingsBack() {
    const auto boolean = [](const QAction* item) { return store::BooleanText(item->isChecked()); };
    const auto number = [](const QLineEdit* box) {
        return store::NumberBoxText(box->text().toStdString());
    };
    const std::map<std::string_view, std::string> values{
        {"PreventMultipleInstance", boolean(mnPrevInstance)},
        {"XPStyle", boolean(mnXPStyle)},
        {"SysTray", boolean(mnSysTray)},
        {"CloseMeansClose", boolean(mnCloseMeansClose)},
        {"HideOnMinimize", boolean(mnHideOnMinimize)},
        {"AlwaysonTop", boolean(mnTop)},
        {"SafetyMechanism", boolean(mnSafetyMechanism)},
        {"HyperClick", boolean(mnHyperClick)},
        {"RepeatClick", store::IntegerText(ui::CheckValue(chkRepeatClick))},
        {"Delay", number(txtDelay)},
        {"ClickIntervalinms", number(txtInterval)},
        {"Coordx", number(txtX)},
        {"Coordy", number(txtY)},
        {"Clicks", number(txtRepeatClick)},
        {"Button", store::ButtonText(optButton[1]->isChecked() ? store::MouseButton::Right
                                                               : store::MouseButton::Left)},
        {"HotKey", store::HotKeyText(HotKeyLetter())},
        {"KeepRepeatClick", boolean(mnKeepRepeatClick)},
        {"InitialRepeatClicks", store::IntegerText(numInitialRepeatClicks)},
        {"StartMinimized", boolean(mnStartMinimized)},
        {"Range", store::IntegerText(ui::CheckValue(chkRange))},
        {"ClickInterval2inms", number(txtInterval2)},
    };
    store::SettingValues ordered;
    for (std::string_view name :
         store::MainWindowWriteBackOrder(mnKeepRepeatClick->isChecked(), numInitialRepeatClicks))
        ordered.emplace_back(name, values.at(name));
    if (m_sequence.bFormMouseEventsLoaded && frmMouseEvents)
        for (auto& value : frmMouseEvents->ClosingSettings())
            ordered.push_back(std::move(value));
    if (FormSys)
        for (auto& value : FormSys->ClosingSettings())
            ordered.push_back(std::move(value));
    const store::SettingsWrite result = store::SaveSettings(m_settingsFile, ordered);
    if (result == store::SettingsWrite::Saved)
        return;
    const std::string text = shell::SettingsNotSavedText(result, m_settingsFile);
    if (m_unloadingForSession || m_sequence.bAutoTerminate)
        std::fprintf(stderr, "zorvane: %s\n", text.c_str());
    else
        m_services.dialogs->MessageBox(text, "Configuration File Error", platform::MsgIcon::Warning,
                                       platform::MsgButtons::Ok);
}
