// Finding the program's main window by its exact caption and bringing it forward.
#pragma once

#include <cstdint>

namespace platform {
class WindowFinder;
}

namespace shell {

// 1 when a main window was found (restored if minimized, then brought to the front), 0 when none.
int16_t ActivateMainWindow(platform::WindowFinder& windows);

} // namespace shell
