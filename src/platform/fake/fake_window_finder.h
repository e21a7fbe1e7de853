// A window finder for widget tests: a table of windows by caption, and a record of the lookups
// and of the windows brought forward.
#pragma once

#include "platform/window_finder_service.h"

#include <vector>

namespace platform {

class FakeWindowFinder final : public WindowFinder {
public:
    enum class Kind { Restore, SetForeground };
    struct Call {
        Kind kind;
        WindowHandle window;
    };
    struct Window {
        std::string caption;
        WindowHandle handle;
        bool iconic;
    };

    // The first window whose caption matches exactly; 0 when none does.
    WindowHandle FindWindow(const std::string& caption) override;
    bool IsIconic(WindowHandle window) override;
    // Recorded; the window is no longer iconic.
    void Restore(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;
    // The handles of the table's windows.
    std::vector<WindowHandle> TopLevelWindows() override;

    void addWindow(const std::string& caption, WindowHandle handle, bool iconic = false) {
        m_windows.push_back({caption, handle, iconic});
    }
    const std::vector<Window>& windows() const { return m_windows; }
    // The captions looked for, in order.
    const std::vector<std::string>& lookups() const { return m_lookups; }
    const std::vector<Call>& calls() const { return m_calls; }
    // Forgets the lookups and calls; the windows stay.
    void clear();

private:
    Window* Find(WindowHandle handle);

    std::vector<Window> m_windows;
    std::vector<std::string> m_lookups;
    std::vector<Call> m_calls;
};

} // namespace platform
