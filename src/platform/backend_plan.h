// Which way of clicking a session gets, and what the user is told when there is none. Toolkit-free;
// the native services decide by these once the toolkit has chosen its platform.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// What the program finds out about the session it runs in.
struct SessionFacts {
    std::string toolkitPlatform;      // the toolkit's platform: "xcb", "wayland", "windows", ...
    bool waylandSession = false;      // a Wayland compositor is there (WAYLAND_DISPLAY)
    bool virtualPointer = false;      // it offers zwlr_virtual_pointer_manager_v1
    bool remoteDesktopPortal = false; // the desktop's RemoteDesktop portal answers
};

enum class ClickBackend {
    X11,      // XTest, on an X server or under Xwayland
    Win32,    // SetCursorPos and mouse_event
    Wlroots,  // a virtual pointer of the compositor's
    Portal,   // the desktop's RemoteDesktop portal, with the user's leave
    Refusing, // nothing can click here: every start is refused with kNoInputSynthesisText
};

struct ClickBackendChoice {
    ClickBackend backend = ClickBackend::Refusing;
    // Said once, at the first start of a run, although clicking works.
    std::string_view notice;
};

// On Wayland the compositor's own virtual pointer comes first, then the portal; an X11 program
// in a Wayland session reaches only other X11 programs and is told so.
ClickBackendChoice ChooseClickBackend(const SessionFacts& facts);

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
