// The rules of the desktop portals' clients that need no toolkit: where a click lands on the
// session's monitor streams, which button events a mouse_event flag word makes, what the user is
// told when the desktop does not let the program click, the restore token's file and the session
// bus name of one settings folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::portal {

// A monitor stream of a remote-desktop session: its PipeWire node and the monitor's place and
// size in the desktop's layout (logical pixels).
struct Stream {
    uint32_t node = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// A position on one stream, as NotifyPointerMotionAbsolute takes it.
struct StreamPoint {
    uint32_t node = 0;
    double x = 0;
    double y = 0;
};

// The stream point of a layout position: on the stream whose monitor holds it, else on the
// nearest monitor, held at its edge (as X11 holds the pointer at the screen's edge). nullopt
// when no stream has an area.
std::optional<StreamPoint> MapToStream(const std::vector<Stream>& streams, int32_t x, int32_t y);

// The evdev button codes a session takes.
inline constexpr int32_t kBtnLeft = 0x110;
inline constexpr int32_t kBtnRight = 0x111;
inline constexpr int32_t kBtnMiddle = 0x112;

struct ButtonChange {
    int32_t code = 0;
    bool pressed = false;
    friend bool operator==(const ButtonChange&, const ButtonChange&) = default;
};

// The button changes a mouse_event flag word names, in the order Windows applies them.
std::vector<ButtonChange> ButtonChanges(uint32_t flags);

// Why the desktop does not let the program click now.
enum class Refusal {
    NoPortal,    // no remote-desktop portal on the session bus
    NoAnswer,    // the portal is there but did not answer in time
    Denied,      // the user answered no (or closed the question)
    NoPointer,   // the user shared the screen but not the pointer
    Failed,      // the portal answered with an error
    Closed,      // the desktop ended the session while it was being set up
    Ended,       // the desktop ended a session that was clicking
    StillAsking, // a Start while the desktop's question is still open
};

// The message a refused run shows: what happened and how to let the program click. A detail
// (the portal's own error text) is added where there is one.
std::string RefusalText(Refusal refusal, std::string_view detail = {});

// The restore token a remote-desktop session gives (RemoteDesktop version 2 and later) so that
// the next program run may skip the desktop's question. Kept in a file of its own in the
// settings folder.
inline constexpr std::string_view kRestoreTokenFileName = "remote_desktop_token.txt";

// Whether a portal of this RemoteDesktop version may be asked to keep sessions: version 1 answers
// "Remote desktop sessions cannot persist" to a session that asks.
inline bool PortalKeepsSessions(uint32_t version) {
    return version >= 2;
}

// The token a file's bytes hold: one line of at most 512 characters from the set tokens are made
// of (letters, digits and -_.:+/=), optionally ended by a line feed. Anything else holds none.
std::optional<std::string> ParseRestoreToken(std::string_view bytes);
// The token kept in the folder; nullopt when there is none or the file is not one (a FIFO, a
// folder, a huge or damaged file).
std::optional<std::string> ReadRestoreToken(const std::string& folder);
// Keeps the token in the folder (written atomically, a link replaced by a regular file), or
// removes the file when the token is empty (a used token is worth nothing). False when a token
// that is not one was given or the file could not be written.
bool KeepRestoreToken(const std::string& folder, const std::string& token);

// The well-known session bus name the first running copy of one settings folder owns:
// "org.zorvane.Zorvane.i" followed by 16 hexadecimal digits of the folder's hash.
std::string InstanceBusName(std::string_view configFolder);

// The GlobalShortcuts portal's preferred trigger for CTRL + ALT + the letter ('A'..'Z').
std::string PreferredTrigger(uint32_t virtualKey);

// The name of the shortcuts session of the letter ('A'..'Z'): "zorvane_" and the lower-case
// letter. KDE keeps a session's shortcuts under its name across sessions and program runs, and a
// key the user gave it in System Settings wins over the trigger asked for; so each letter has a
// name of its own, and a changed letter is not held to the key of the one before.
std::string ShortcutSessionToken(uint32_t virtualKey);

} // namespace platform::portal
