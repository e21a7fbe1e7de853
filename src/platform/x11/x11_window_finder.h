// Finding and activating top-level windows on X11, through a connection of our own.
//
// The candidates are the client windows: first those a running window manager lists in
// _NET_CLIENT_LIST, then the root's children, looking down into frames without WM_STATE for the
// client a reparenting window manager put there. The caption is _NET_WM_NAME, else
// WM_NAME. A shown or minimized window wins over a hidden one; a hidden (unmapped) window is still
// found, as Windows finds hidden windows, so that a window hidden in the tray can be brought back.
// With a window manager that supports _NET_ACTIVE_WINDOW the window is activated through it (after
// switching to its desktop); without one it is mapped, raised and given the input focus directly.
#pragma once

#include "platform/window_finder_service.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;

namespace platform {

class X11WindowFinder final : public WindowFinder {
public:
    X11WindowFinder();
    ~X11WindowFinder() override;
    X11WindowFinder(const X11WindowFinder&) = delete;
    X11WindowFinder& operator=(const X11WindowFinder&) = delete;

    WindowHandle FindWindow(const std::string& caption) override;
    WindowHandle FindProgramWindow(const std::string& caption, const std::string& program) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    // True when WM_STATE says IconicState.
    bool IsIconic(WindowHandle window) override;
    // Maps and raises the window (which also ends the iconic state), and asks the window manager
    // to activate it where there is one.
    void Restore(WindowHandle window) override;
    // Asks the window manager to activate the window; without one, raises it and gives it the
    // input focus. A hidden window is mapped first: X cannot focus an unmapped window.
    void SetForegroundWindow(WindowHandle window) override;

private:
    enum class Shown { Yes, Hidden, No }; // No: not a window a user sees (override-redirect...)

    std::vector<unsigned long> Candidates();
    std::vector<unsigned long> ManagedClients();
    void AddTreeClients(std::vector<unsigned long>& out);
    std::optional<unsigned long> ClientWithin(unsigned long window, int depth);
    std::optional<std::string> Caption(unsigned long window);
    // WM_CLASS's class part.
    std::optional<std::string> ProgramClass(unsigned long window);
    Shown ShownState(unsigned long window);
    std::optional<long> WmState(unsigned long window);
    bool WindowManagerActivates();
    void RequestActivation(unsigned long window);
    void SendToWindowManager(unsigned long window, const char* type,
                             std::initializer_list<long> data);
    void MapIfHidden(unsigned long window);
    unsigned long Intern(const char* name);

    _XDisplay* m_display = nullptr; // a connection of our own; null without a display
};

} // namespace platform
