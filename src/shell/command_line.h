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

// The display servers the toolkit will try, in its order: those its "-platform" argument or
// QT_QPA_PLATFORM (`qpaPlatform`, null when unset) name, else a Wayland compositor, then an X
// server. nullopt where one of them needs no display server (offscreen, vnc, ...): nothing to
// check beforehand.
enum class DisplayServer { Wayland, X11 };
std::optional<std::vector<DisplayServer>>
DisplayServersToTry(const std::vector<std::string>& arguments, const char* qpaPlatform);

// No display server answered: what the user is told, naming where the program looked.
std::string NoDisplayText(const char* waylandDisplay, const char* xDisplay);

} // namespace shell
