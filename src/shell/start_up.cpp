#include "shell/start_up.h"

#include "platform/services.h"
#include "shell/manifest.h"
#include "shell/single_instance.h"
#include "shell/visual_styles.h"
#include "store/atomic_write.h"
#include "store/file_system.h"
#include "store/settings_values.h"

namespace shell {
namespace {

constexpr const char* kErrorTitle = "Configuration File Error";
constexpr const char* kMeddled = "Told you not to meddle around with the configuration file.";

void Warn(platform::Dialogs& dialogs, const std::string& text, const char* title) {
    dialogs.MessageBox(text, title, platform::MsgIcon::Warning, platform::MsgButtons::Ok);
}

// Why a write did not happen, to follow "The configuration file PATH".
std::string Reason(store::SettingsWrite result, const std::string& settingsFile) {
    using W = store::SettingsWrite;
    switch (result) {
    case W::Unreadable:
        return " cannot be read";
    case W::BackupFailed:
        return " is damaged, and its contents could not be kept as " +
               store::SettingsBackupPath(settingsFile);
    case W::NotRegularFile:
        return " is not a regular file (a device, a FIFO, a folder or a link leading nowhere)";
    case W::ReadOnly:
        return " is read-only";
    case W::ForeignLink:
        return " is a link another user owns, which is never written through";
    case W::Failed:
    case W::Saved:
        break;
    }
    const std::string why = store::LastWriteFailure();
    return " cannot be written (" +
           (why.empty() ? "the folder may not be writable, or the disk may be full" : why) + ")";
}

std::string CannotReadText(const std::string& settingsFile) {
    return "The configuration file " + settingsFile +
           " cannot be read. It was left as it is; make sure it is a file you may read.";
}

// A missing settings file is created with the defaults. False when it cannot be written (a
// read-only folder, a full disk): the user is told and the program cannot go on.
bool CreateSettingsFile(const std::string& settingsFile, platform::Dialogs& dialogs) {
    const store::SettingsWrite written =
        store::ToSettingsWrite(store::ReplaceFile(settingsFile, store::DefaultSettingsText()));
    if (written != store::SettingsWrite::Saved) {
        Warn(dialogs,
             "The configuration file " + settingsFile + Reason(written, settingsFile) +
                 ". Make sure its folder can be written to.",
             kErrorTitle);
        return false;
    }
    Warn(dialogs, "Created new configuration file and settings restored to defaults.",
         "Configuration File");
    return true;
}

// The copy started with the manifest beside it (the restarted one) runs styled; it takes the
// manifest away before anything else can end it, so that no way out of the start leaves one.
void TakeAwayManifest(const AppInfo& app, platform::VisualStyles& styles) {
    const std::string manifest = ManifestPath(app.configFolder, app.exeName);
    styles.ClearAttributes(manifest);
    store::DeleteFile(manifest);
}

// Temporary files of killed writers: in the settings folder, and beside the files config.xml and
// events.xml lead to where they are links (a save through a link writes there).
void SweepTemporaryFiles(const std::string& folder) {
    store::SweepStaleTemporaryFiles(folder);
    for (const char* name : {"config.xml", "events.xml"})
        if (const auto linked = store::WriteThroughFolder(store::BuildPath(folder, name)))
            store::SweepStaleTemporaryFiles(*linked);
}

} // namespace

StartUp InitializeProgram(const AppInfo& app, platform::Services& services,
                          const std::function<void()>& endProcess) {
    SweepTemporaryFiles(app.configFolder);
    if (app.startedWithManifest)
        TakeAwayManifest(app, *services.visualStyles);
    const std::string settingsFile = store::SettingsPath(app.configFolder);
    switch (store::ExamineSettingsFile(settingsFile)) {
    case store::SettingsState::Missing:
        if (!CreateSettingsFile(settingsFile, *services.dialogs))
            return StartUp::End;
        break;
    case store::SettingsState::Unreadable:
        Warn(*services.dialogs, CannotReadText(settingsFile), kErrorTitle);
        return StartUp::End;
    case store::SettingsState::Damaged:
        RecoverDamagedSettings(settingsFile, *services.dialogs);
        return StartUp::End;
    case store::SettingsState::Loads:
        break;
    }
    try {
        const store::SettingsReader settings(settingsFile);
        if (settings.Boolean("PreventMultipleInstance") &&
            ActivateMainWindow(*services.windows) == 1)
            return StartUp::End;
        if (settings.Boolean("XPStyle") && !app.startedWithManifest) {
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
    const store::SettingsState state = store::ExamineSettingsFile(settingsFile);
    if (state == store::SettingsState::Unreadable) {
        Warn(dialogs, CannotReadText(settingsFile), kErrorTitle);
        return;
    }
    const std::string backup = store::SettingsBackupPath(settingsFile);
    const bool keep = state != store::SettingsState::Missing;
    if (keep && store::KeepSettingsBackup(settingsFile) != store::WriteResult::Written) {
        Warn(dialogs,
             std::string(kMeddled) + " Its contents could not be kept as " + backup +
                 ", so it was left as it is and the defaults were not written.",
             kErrorTitle);
        return;
    }
    const std::string kept = keep ? " The damaged file is kept as " + backup + "." : "";
    const store::SettingsWrite written =
        store::ToSettingsWrite(store::ReplaceFile(settingsFile, store::DefaultSettingsText()));
    if (written != store::SettingsWrite::Saved) {
        Warn(dialogs,
             std::string(kMeddled) + " The defaults could not be written: the configuration file " +
                 settingsFile + Reason(written, settingsFile) + "." + kept,
             kErrorTitle);
        return;
    }
    Warn(dialogs, std::string(kMeddled) + " Settings restored to defaults." + kept, kErrorTitle);
}

std::string SettingsNotSavedText(store::SettingsWrite result, const std::string& settingsFile) {
    return "The settings of this session were not saved: the configuration file " + settingsFile +
           Reason(result, settingsFile) + ". The file was left as it was.";
}

} // namespace shell
