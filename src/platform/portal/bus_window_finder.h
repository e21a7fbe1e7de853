// Finding the running copy on desktops that let no program see the others' windows (GNOME, KDE):
// the first copy of a settings folder answers for its main window under the folder's name on the
// session bus (bus_instance_service.h); a second copy finds it by that name and asks it to come
// forward, passing on the activation token its launcher gave it so that the desktop lets the
// window take the focus.
#pragma once

#include "platform/window_finder_service.h"

#include <string>

namespace platform {

// Finds the main window of the copy that owns the folder's name, or one of this process's own
// windows, by its exact caption.
class BusWindowFinder final : public WindowFinder {
public:
    explicit BusWindowFinder(std::string configFolder);
    WindowHandle FindWindow(const std::string& caption) override;
    bool IsIconic(WindowHandle window) override;
    void Restore(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;
    // This process's own top-level windows (their ids), and the other copy's when one answers.
    std::vector<WindowHandle> TopLevelWindows() override;

    // The handle that stands for the other copy's main window.
    static constexpr WindowHandle kOtherCopy = ~WindowHandle{0};

private:
    std::string m_name;
};

} // namespace platform
