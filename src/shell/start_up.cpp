#include "shell/start_up.h"

#include "platform/services.h"
#include "shell/single_instance.h"
#include "shell/visual_styles.h"
#include "store/file_system.h"
#include "store/settings_file.h"
#include "store/settings_values.h"

namespace shell {
namespace {

void Warn(platform::Dialogs& dialogs, const std::string& text, const char* title) {
    dialogs.MessageBox(text, title, platform::MsgIcon::Warning, platform::MsgButtons::Ok);
}

// A missing settings file is created with the defaults. False when it cannot be written (a
// read-only folder, a full disk): the user is told and the program cannot go on.
bool EnsureSettingsFile(const std::string& settingsFile, platform::Dialogs& dialogs) {
    if (store::FileExists(settingsFile))
        return true;
    if (!store::WriteDefaultSettings(settingsFile)) {
        Warn(dialogs,
             "The configuration file " + settingsFile +
                 " cannot be written. Make sure the program's folder can be written to.",
             "Configuration File Error");
        return false;
    }
    Warn(dialogs, "Created new configuration file and settings restored to defaults.",
         "Configuration File");
    return true;
}

} // namespace

StartUp InitializeProgram(const AppInfo& app, platform::Services& services,
                          const std::function<void()>& endProcess) {
    const std::string settingsFile = store::SettingsPath(app.configFolder);
    if (!EnsureSettingsFile(settingsFile, *services.dialogs))
        return StartUp::End;
    try {
        const store::SettingsReader settings(settingsFile);
        if (settings.Boolean("PreventMultipleInstance") &&
            ActivateMainWindow(*services.windows) == 1)
            return StartUp::End;
        if (settings.Boolean("XPStyle")) {
            bool restartIfWritten = true;
            bool deleteIfPresent = true;
            bool forceRewrite = false;
            ApplyVisualStyles(restartIfWritten, deleteIfPresent, forceRewrite, app,
                              {*services.visualStyles, *services.shell, endProcess});
        }
    } catch (const std::exception&) {
        RecoverDamagedSettings(settingsFile, *services.dialogs);
        return StartUp::End;
    }
    return StartUp::Continue;
}

void RecoverDamagedSettings(const std::string& settingsFile, platform::Dialogs& dialogs) {
    store::WriteDefaultSettings(settingsFile);
    Warn(dialogs,
         "Told you not to meddle around with the configuration file. Settings restored to "
         "defaults.",
         "Configuration File Error");
}

} // namespace shell
