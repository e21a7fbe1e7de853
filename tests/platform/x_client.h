// A plain X client for the platform tests: it makes top-level windows the way other programs and
// window managers do, and reads back what the server says about them.
#pragma once

#include <optional>
#include <string>

struct _XDisplay;

namespace xtest {

enum class MapState { Unmapped, Unviewable, Viewable, Gone };

struct WindowSpec {
    std::optional<std::string> netName; // _NET_WM_NAME, UTF-8
    std::optional<std::string> name;    // WM_NAME, Latin-1 (type STRING)
    bool overrideRedirect = false;
    bool inputOnly = false;
};

class XClient {
public:
    // Connects to the display named, e.g. ":123".
    explicit XClient(const std::string& display);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;
    bool Connected() const { return m_display != nullptr; }
    // X errors that reached the process's handler from connections other than the tests' own,
    // which the code under test should have caught itself.
    static int ForeignErrors();

    // A window at the root, not mapped yet.
    unsigned long CreateWindow(const WindowSpec& spec, unsigned long parent = 0);
    // WM_CLASS, the instance named as the class.
    void SetClass(unsigned long window, const std::string& name);
    void Map(unsigned long window);
    void Unmap(unsigned long window);
    void Destroy(unsigned long window);
    void Reparent(unsigned long window, unsigned long parent);
    // Sets WM_STATE as a window manager does (1 normal, 3 iconic).
    void SetWmState(unsigned long window, long state);
    // Asks the window manager to iconify the window (ICCCM WM_CHANGE_STATE).
    void Iconify(unsigned long window);
    // Asks the window manager to show another desktop (workspace), counted from 0.
    void SwitchDesktop(long desktop);
    // Hides the window as toolkits do: unmapped and withdrawn from the window manager.
    void Withdraw(unsigned long window);

    MapState State(unsigned long window);
    std::optional<long> WmState(unsigned long window);
    unsigned long FocusWindow();
    unsigned long Parent(unsigned long window);
    // The topmost shown child of the root (override-redirect ones aside): a window, or its frame
    // under a window manager.
    unsigned long TopmostTopLevel();
    // The root's _NET_ACTIVE_WINDOW; 0 when unset.
    unsigned long ActiveWindow();
    // A window manager has set _NET_SUPPORTING_WM_CHECK on the root.
    bool WindowManagerRuns();

    // Grabs the letter with Control+Alt only (no lock variants), as a careless program would;
    // answers false when the server refused.
    bool GrabControlAlt(char letter);
    void UngrabControlAlt(char letter);
    // The server's key repeat: delay and interval in ms; false when unknown.
    bool RepeatRate(unsigned int& delay, unsigned int& interval);
    // The lock modifiers now on, as an X modifier mask.
    unsigned int LockedModifiers();

private:
    _XDisplay* m_display = nullptr;
};

} // namespace xtest
