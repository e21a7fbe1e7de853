// The main window's load: the caption and command line, the window options and click settings
// from the settings file, the hot key, the tray, showing the window, and what the command line
// asks for. Any failure ends in the recovery.
#include "events/sequence_window.h"
#include "shell/about_window.h"
#include "shell/command_line.h"
#include "shell/main_window.h"
#include "shell/start_up.h"
#include "shell/window_on_top.h"
#include "store/settings_values.h"
#include "tray/tray_window.h"
#include "ui/check_state.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

bool frmMain::Form_Load() {
    try {
        setWindowTitle(QString::fromStdString(shell::MainCaption()));
        const std::string commandLine = shell::CommandLineText(m_app.arguments);
        if (!commandLine.empty()) {
            const shell::CommandLineWords words = shell::ReadCommandLine(commandLine);
            m_sequence.bAutorun = words.autorun;
            m_sequence.bAutoloadEvents = words.autoloadEvents;
            m_sequence.bAutoTerminate = words.autoTerminate;
        }
        const store::SettingsReader settings(m_settingsFile);
        LoadWindowOptions(settings);
        LoadClickSettings(settings);
        LoadHotKey(settings);
        m_settingsLoaded = true;
        if (mnSysTray->isChecked())
            CreateTrayWindow();
        show();
        mnStartMinimized->setChecked(settings.Boolean("StartMinimized"));
        if (mnStartMinimized->isChecked() && FormSys)
            FormSys->mMinimize_Click(); // into the tray with "Hide on minimize"
        else if (mnStartMinimized->isChecked())
            setWindowState(windowState() | Qt::WindowMinimized);
        RunCommandLine();
    } catch (const std::exception&) {
        // Nothing is written back; the signal file, if one was made, goes.
        m_settingsLoaded = false;
        UnloadHotKey();
        shell::RecoverDamagedSettings(m_settingsFile, *m_services.dialogs);
        return false;
    }
    return true;
}

void frmMain::LoadWindowOptions(const store::SettingsReader& settings) {
    mnPrevInstance->setChecked(settings.Boolean("PreventMultipleInstance"));
    mnXPStyle->setChecked(settings.Boolean("XPStyle"));
    mnSysTray->setChecked(settings.Boolean("SysTray"));
    mnCloseMeansClose->setChecked(settings.Boolean("CloseMeansClose"));
    mnHideOnMinimize->setChecked(settings.Boolean("HideOnMinimize"));
    mnTop->setChecked(settings.Boolean("AlwaysonTop"));
    shell::SetTopMost(this, mnTop->isChecked());
    shell::SetTopMost(&AboutForm(), mnTop->isChecked());
    mnSafetyMechanism->setChecked(settings.Boolean("SafetyMechanism"));
    mnHyperClick->setChecked(settings.Boolean("HyperClick"));
    Frame3->setVisible(mnHyperClick->isChecked());
}

void frmMain::LoadClickSettings(const store::SettingsReader& settings) {
    ui::SetCheckValue(chkRepeatClick, settings.CheckState("RepeatClick"));
    txtDelay->setText(QString::fromStdString(settings.Text("Delay")));
    txtInterval->setText(QString::fromStdString(settings.Text("ClickIntervalinms")));
    txtX->setText(QString::fromStdString(settings.Text("Coordx")));
    txtY->setText(QString::fromStdString(settings.Text("Coordy")));
    mnKeepRepeatClick->setChecked(settings.Boolean("KeepRepeatClick"));
    if (mnKeepRepeatClick->isChecked()) {
        numInitialRepeatClicks = settings.LongInteger("InitialRepeatClicks");
        txtRepeatClick->setText(QString::number(numInitialRepeatClicks));
    } else {
        txtRepeatClick->setText(QString::fromStdString(settings.Text("Clicks")));
    }
    ui::SetCheckValue(chkRange, settings.CheckState("Range"));
    txtInterval2->setText(QString::fromStdString(settings.Text("ClickInterval2inms")));
    const bool right = settings.Button("Button") == store::MouseButton::Right;
    optButton[1]->setChecked(right);
    optButton[0]->setChecked(!right);
}

// Opens and plays the event file, or starts a click run with the saved settings.
void frmMain::RunCommandLine() {
    if (m_sequence.bAutoloadEvents) {
        if (!mnMouseEvents->isChecked())
            mnMouseEvents_Click();
        if (frmMouseEvents) {
            frmMouseEvents->btnLoad_Click();
            if (m_sequence.bAutorun)
                frmMouseEvents->btnEventStart_Click();
        }
        return;
    }
    if (m_sequence.bAutorun)
        btnStartStop_Click();
}
