// Finding and activating toplevel windows on wlroots compositors: the list of every client's
// toplevels (zwlr_foreign_toplevel_manager_v1), matched by exact title. A window's handle is a
// number this program gives it when the compositor first tells of it. A compositor without the
// list finds nothing.
#pragma once

#include "platform/window_finder_service.h"

#include <memory>
#include <string>
#include <vector>

struct zwlr_foreign_toplevel_handle_v1;

namespace platform {

class WaylandConnection;

class WaylandWindowFinder final : public WindowFinder {
public:
    explicit WaylandWindowFinder(WaylandConnection& connection);
    ~WaylandWindowFinder() override;
    WaylandWindowFinder(const WaylandWindowFinder&) = delete;
    WaylandWindowFinder& operator=(const WaylandWindowFinder&) = delete;

    WindowHandle FindWindow(const std::string& caption) override;
    WindowHandle FindProgramWindow(const std::string& caption, const std::string& program) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    bool IsIconic(WindowHandle window) override;
    void Restore(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;

    struct Toplevel; // one window the compositor told of
    // The compositor tells of a new window.
    void Adopt(zwlr_foreign_toplevel_handle_v1* handle);

private:
    bool Listen();
    Toplevel* Find(WindowHandle window);

    WaylandConnection& m_connection;
    std::vector<std::unique_ptr<Toplevel>> m_toplevels;
    bool m_listening = false;
    WindowHandle m_lastId = 0;
};

} // namespace platform
