// The command-line words: each found as a plain substring of the lower-cased command line, so
// RUN counts as run and prune contains run.
#pragma once

#include <string_view>

namespace shell {

struct CommandLineWords {
    bool autorun = false;        // "run"
    bool autoloadEvents = false; // "event" or "load"
    bool autoTerminate = false;  // "terminate"
};

CommandLineWords ReadCommandLine(std::string_view commandLine);

} // namespace shell
