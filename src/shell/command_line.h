// The command-line words: each found as a plain substring of the lower-cased command line, so
// RUN counts as run and prune contains run.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace shell {

struct CommandLineWords {
    bool autorun = false;        // "run"
    bool autoloadEvents = false; // "event" or "load"
    bool autoTerminate = false;  // "terminate"
};

CommandLineWords ReadCommandLine(std::string_view commandLine);

// What "--help" or "--version" (whichever comes first among the arguments) prints before the
// program does anything else; nullopt when neither is given.
std::optional<std::string> InformationAnswer(const std::vector<std::string>& arguments);

// "--toggle": press the shared hot key from outside, for every running copy, and end.
bool AsksToToggle(const std::vector<std::string>& arguments);

} // namespace shell
