// The Help menu: the help text in the desktop's text viewer, and the about window.
#include "shell/about_window.h"
#include "shell/main_window.h"
#include "store/file_system.h"

void frmMain::mnHelp_Click() {
    const std::string helpFile = store::BuildPath(m_app.dataFolder, "Zorvane.txt");
    if (!store::FileExists(helpFile)) {
        m_services.dialogs->MessageBox(
            "\"Zorvane.txt\" not found.\r\nPls put this file in the same folder as this program",
            "Missing Help File", platform::MsgIcon::Information, platform::MsgButtons::Ok);
        return;
    }
    if (!m_services.shell->ShowTextFile(helpFile))
        m_services.dialogs->MessageBox("No text viewer could be started to show " + helpFile + ".",
                                       "Missing Help File", platform::MsgIcon::Information,
                                       platform::MsgButtons::Ok);
}

frmAbout& frmMain::AboutForm() {
    if (!m_about)
        m_about = std::make_unique<frmAbout>(*m_services.shell);
    return *m_about;
}

void frmMain::mnAbout_Click() {
    AboutForm().exec();
}
