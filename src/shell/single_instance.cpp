#include "shell/single_instance.h"

#include "platform/window_finder_service.h"
#include "shell/app_info.h"

namespace shell {

int16_t ActivateMainWindow(platform::WindowFinder& windows) {
    const platform::WindowHandle window = windows.FindProgramWindow(MainCaption(), kProgramId);
    if (window == 0)
        return 0;
    if (windows.IsIconic(window))
        windows.Restore(window);
    windows.SetForegroundWindow(window);
    return 1;
}

} // namespace shell
