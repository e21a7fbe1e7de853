// Ending the program in order when the system asks a process to end (the session closing, a
// service manager stopping it): the request becomes the application's quit.
#pragma once

namespace platform {

// On POSIX systems SIGTERM, SIGHUP and SIGINT quit the application's event loop, so that the
// program's normal shut-down runs. Elsewhere the toolkit's own session handling does it.
void QuitOnTermination();

} // namespace platform
