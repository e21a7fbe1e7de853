// The program's initialisation before the main window exists: the settings file, the search for
// a running copy, the visual styles; and the recovery from a damaged settings file.
#pragma once

#include "shell/app_info.h"

#include <functional>
#include <string>

namespace platform {
struct Services;
class Dialogs;
} // namespace platform

namespace shell {

enum class StartUp { Continue, End };

// Creates a missing settings file (telling the user once), brings a running copy forward and ends
// when "Prevent Multiple Instance" is on and one runs, and applies the visual styles, which may
// restart the program through endProcess. A damaged settings file ends in the recovery.
StartUp InitializeProgram(const AppInfo& app, platform::Services& services,
                          const std::function<void()>& endProcess);

// Writes the default settings file and tells the user that the settings were damaged; the
// program then ends without writing anything back.
void RecoverDamagedSettings(const std::string& settingsFile, platform::Dialogs& dialogs);

} // namespace shell
