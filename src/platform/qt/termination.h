// Ending the program in order when the system asks a process to end (the session closing, a
// service manager stopping it).
#pragma once

#include <functional>

namespace platform {

// On POSIX systems SIGTERM, SIGHUP and SIGINT run `end` on the window thread, which ends the
// program through its normal shut-down (the toolkit's own quit would ask each window to close,
// and a window that only hides itself on a close would keep the program running). Elsewhere the
// toolkit's own session handling does it.
void QuitOnTermination(std::function<void()> end);

} // namespace platform
