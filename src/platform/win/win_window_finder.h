// Finding and activating top-level windows on Windows: FindWindowW (the UTF-8 caption as UTF-16),
// IsIconic, ShowWindow(SW_RESTORE) and SetForegroundWindow.
#pragma once

#include "platform/window_finder_service.h"

namespace platform {

class WinWindowFinder final : public WindowFinder {
public:
    WindowHandle FindWindow(const std::string& caption) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    bool IsIconic(WindowHandle window) override;
    void Restore(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;
};

} // namespace platform
