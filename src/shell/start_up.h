// The program's initialisation before the main window exists: the settings file, the search for
// a running copy, the visual styles; and the recovery from a damaged settings file.
#pragma once

#include "shell/app_info.h"
#include "store/settings_file.h"

#include <functional>
#include <string>

namespace platform {
struct Services;
class Dialogs;
} // namespace platform

namespace shell {

enum class StartUp { Continue, End };

// Removes the temporary files of writers that were killed, takes away the manifest this copy was
// started with, creates a missing settings file (telling the user once), brings a running copy
// forward and ends when "Prevent Multiple Instance" is on and one runs, and applies the visual
// styles, which may restart the program through endProcess. A damaged settings file ends in the
// recovery; one that cannot be read is reported and left alone, and the program ends.
StartUp InitializeProgram(const AppInfo& app, platform::Services& services,
                          const std::function<void()>& endProcess);

// Keeps the damaged file's bytes as its backup, writes the default settings file and tells the
// user what was done; the program then ends without writing anything back. A file that cannot be
// read is not replaced, nor one whose bytes could not be kept.
void RecoverDamagedSettings(const std::string& settingsFile, platform::Dialogs& dialogs);

// The message for settings that could not be saved at the program's end.
std::string SettingsNotSavedText(store::SettingsWrite result, const std::string& settingsFile);

} // namespace shell
