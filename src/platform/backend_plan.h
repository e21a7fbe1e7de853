// Which backend serves each native service in the session the program runs in, and what the user
// is told when nothing can click. Toolkit-free: the native services build exactly this plan once
// the toolkit has chosen its platform.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// What the program finds out about the session it runs in.
struct SessionFacts {
    bool windowsSystem = false;     // Windows: its own services, whatever the toolkit's platform
    std::string toolkitPlatform;    // the toolkit's platform: "xcb", "wayland", "windows", ...
    bool waylandSession = false;    // a Wayland compositor is there (WAYLAND_DISPLAY)
    bool compositorReached = false; // our own connection to it works
    std::string compositorProblem;  // why it broke, when it did
    bool virtualPointer = false;    // it offers zwlr_virtual_pointer_manager_v1
    bool foreignToplevels = false;  // it offers zwlr_foreign_toplevel_manager_v1
    bool desktopPortals = false;    // the desktop's portals answer on the session bus
};

// Where a service comes from.
enum class Backend {
    X11,        // an X server (also under Xwayland)
    Win32,      // the Windows API
    Wlroots,    // the wlroots protocols of our own Wayland connection
    Portal,     // the desktop's portals over the session bus
    SessionBus, // a name of our own on the session bus
    Toolkit,    // what the toolkit does the same everywhere
    None,       // nothing: a mouse that refuses every start, a hot key no copy owns
};

// One backend per service.
struct BackendPlan {
    Backend mouse = Backend::None;
    // With no mouse: why every start is refused, in words for the user.
    std::string refusal;
    // Said once, at the first start of a run, although clicking works.
    std::string_view notice;
    // With none, every copy watches its signal file and `zorvane --toggle` presses the key.
    Backend hotKey = Backend::None;
    Backend windowFinder = Backend::None;
    Backend screenCapture = Backend::Toolkit;
};

// On Wayland the compositor's own protocols come first, then the portals; an X11 program in a
// Wayland session reaches only other X11 programs and is told so.
BackendPlan PlanBackends(const SessionFacts& facts);

inline constexpr std::string_view kCannotClickTitle = "Cannot click";
inline constexpr std::string_view kNoticeTitle = "Clicking in this session";

inline constexpr std::string_view kNoInputSynthesisText =
    "This desktop does not let programs click for you: its compositor offers no virtual pointer "
    "and no remote-desktop portal answers. Nothing was started.\n\nOn GNOME or KDE, install "
    "xdg-desktop-portal with your desktop's portal (xdg-desktop-portal-gnome or "
    "xdg-desktop-portal-kde) and start Zorvane again; elsewhere, log in to an X11 session.";

// Zorvane's own connection to the compositor broke (`why`; empty when it never connected).
std::string CompositorGoneText(const std::string& why);

inline constexpr std::string_view kNoDisplayText =
    "Zorvane cannot reach the X display, so it cannot click. Nothing was started.";

inline constexpr std::string_view kXwaylandNotice =
    "Zorvane runs as an X11 program in a Wayland session (through Xwayland): its clicks reach "
    "only other X11 programs, not Wayland windows.\n\nTo click in every window, start Zorvane "
    "without \"-platform xcb\" and without QT_QPA_PLATFORM=xcb.";

} // namespace platform
