// Turning on the system's visual styles: they take effect only for a process started with the
// application manifest beside the executable, so the first start writes the manifest, starts a
// fresh copy with the same arguments and ends at once; the fresh copy deletes the manifest again
// and runs styled.
#pragma once

#include "shell/app_info.h"

#include <functional>

namespace platform {
class Shell;
class VisualStyles;
} // namespace platform

namespace shell {

struct VisualStylesServices {
    platform::VisualStyles& styles;
    platform::Shell& shell;
    // Ends the process at once: nothing is unloaded or saved.
    std::function<void()> endProcess;
};

// Chooses the look of every window before the first is made: the modern style for a process
// started with the manifest beside the executable (the restarted copy), the classic one otherwise.
// Answers whether the manifest was there.
bool ChooseToolkitStyle(const AppInfo& app);

// Answers true when the manifest was present (this process runs styled), false otherwise. With
// restartIfWritten it restarts the program once the manifest is written, and never returns.
// Failing file operations are passed over. A restart happens only when the manifest really is
// on disk, so a folder where it cannot be written does not restart the program again and again.
bool ApplyVisualStyles(bool& restartIfWritten, bool& deleteIfPresent, bool& forceRewrite,
                       const AppInfo& app, const VisualStylesServices& services);

} // namespace shell
