// The main window's options that govern the windows themselves: always on top, start minimized,
// one running copy only, visual styles, and the tray with its close and minimize behaviour.
#include "shell/about_window.h"
#include "shell/main_window.h"
#include "shell/window_on_top.h"
#include "tray/tray_window.h"

#include <QAction>
#include <QPushButton>

#include <exception>
#include <string>

namespace {

void Flip(QAction* item) {
    item->setChecked(!item->isChecked());
}

} // namespace

void frmMain::mnTop_Click() {
    Flip(mnTop);
    shell::SetTopMost(this, mnTop->isChecked());
    if (m_about)
        shell::SetTopMost(m_about.get(), mnTop->isChecked());
}

void frmMain::mnStartMinimized_Click() {
    Flip(mnStartMinimized);
}

void frmMain::mnPrevInstance_Click() {
    Flip(mnPrevInstance);
}

void frmMain::mnXPStyle_Click() {
    Flip(mnXPStyle);
}

void frmMain::mnCloseMeansClose_Click() {
    Flip(mnCloseMeansClose);
}

void frmMain::mnHideOnMinimize_Click() {
    Flip(mnHideOnMinimize);
}

void frmMain::mnSysTray_Click() {
    Flip(mnSysTray);
    if (mnSysTray->isChecked()) {
        UseTrayFromMenu();
        return;
    }
    // A main window hidden in the tray comes back before the icon goes.
    if (FormSys)
        FormSys->ShowMainWindow();
    RemoveTrayWindow(true);
}

// Tray settings that cannot be read leave the tray off and the settings file as it is; the user
// is told which one to mend.
void frmMain::UseTrayFromMenu() {
    try {
        CreateTrayWindow();
    } catch (const std::exception& problem) {
        mnSysTray->setChecked(false);
        m_services.dialogs->MessageBox(
            std::string(problem.what()) + ". The tray cannot be used until it is mended.",
            "Configuration File Error", platform::MsgIcon::Warning, platform::MsgButtons::Ok);
    }
}

void frmMain::CreateTrayWindow() {
    if (!trayWindowFactory || m_tray)
        return;
    m_tray = trayWindowFactory(*this);
    FormSys = m_tray.get();
}

void frmMain::RemoveTrayWindow(bool writeSettings) {
    if (!m_tray)
        return;
    m_tray->FSys_Unload(writeSettings);
    FormSys = nullptr;
    m_tray.reset();
}

QString frmMain::StartStopCaption() const {
    return btnStartStop->text();
}

bool frmMain::MouseEventsTicked() const {
    return mnMouseEvents->isChecked();
}

bool frmMain::HideOnMinimize() const {
    return mnHideOnMinimize->isChecked();
}

void frmMain::Form_Resize() {
    if (FormSys)
        FormSys->FSys_Resize();
    if (mnSysTray->isChecked() && mnHideOnMinimize->isChecked() && FormSys)
        FormSys->MeResize(this);
}
