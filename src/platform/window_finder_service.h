// Finding a top-level window by its caption and bringing it forward: FindWindowA, IsIconic,
// ShowWindow(SW_RESTORE), SetForegroundWindow.
#pragma once

#include "platform/hot_key_service.h"

#include <string>
#include <vector>

namespace platform {

// windows.h defines FindWindow as a macro (FindWindowA or FindWindowW); a file that includes it
// and uses this class says #undef FindWindow after the include.
class WindowFinder {
public:
    virtual ~WindowFinder() = default;
    // A top-level window whose caption is exactly `caption`, of any class; 0 when none.
    virtual WindowHandle FindWindow(const std::string& caption) = 0;
    // The same among the windows of one program, where the system tells which program owns a
    // window (X11's WM_CLASS class, the Wayland app id): another program's window of that
    // caption is not found. Where nothing more is known (Win32), the caption alone decides.
    virtual WindowHandle FindProgramWindow(const std::string& caption, const std::string& program) {
        (void)program;
        return FindWindow(caption);
    }
    // True when the window is minimized.
    virtual bool IsIconic(WindowHandle window) = 0;
    // Restores a minimized window to its normal or maximized state and shows it.
    virtual void Restore(WindowHandle window) = 0;
    // Brings the window to the front and gives it the focus.
    virtual void SetForegroundWindow(WindowHandle window) = 0;
    // Every top-level window there is now, hidden ones included where the system lists them.
    virtual std::vector<WindowHandle> TopLevelWindows() = 0;
};

} // namespace platform
