// Ending the program in order when the system asks a process to end (the session closing, a
// service manager stopping it).
#pragma once

#include <functional>
#include <string>

namespace platform {

// On POSIX systems SIGTERM, SIGHUP and SIGINT run `end` on the window thread, which ends the
// program through its normal shut-down (the toolkit's own quit would ask each window to close,
// and a window that only hides itself on a close would keep the program running). Elsewhere the
// toolkit's own session handling does it.
void QuitOnTermination(std::function<void()> end);

// When the toolkit loses its display server (an X server or a Wayland compositor that went away),
// it tells so and ends the process at once. `end` runs first, on the window thread, with the
// toolkit's words: the last moment to keep what must not be lost. Nothing of the display may be
// touched then.
void EndOnDisplayLoss(std::function<void(const std::string& why)> end);

} // namespace platform
