#include "shell/command_line.h"

#include "runtime/conversions.h"
#include "shell/app_info.h"

#include <algorithm>
#include <string>

namespace shell {

CommandLineWords ReadCommandLine(std::string_view commandLine) {
    const std::string text = runtime::ToLowerAscii(commandLine);
    const auto has = [&text](std::string_view word) {
        return text.find(word) != std::string::npos;
    };
    return {has("run"), has("event") || has("load"), has("terminate")};
}

std::optional<std::string> InformationAnswer(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--version")
            return std::string(kAppTitle) + " " + std::to_string(kVersionMajor) + "." +
                   std::to_string(kVersionMinor) + "\n";
        if (argument == "--help")
            return "Usage: zorvane [WORD]...\n"
                   "Clicks the mouse for you: at a point or wherever the pointer is, at a\n"
                   "fixed or random interval, a counted number of times or until stopped.\n"
                   "CTRL + ALT + C (or the letter chosen in Options) starts and stops it from\n"
                   "any program.\n"
                   "\n"
                   "Words, anywhere on the command line and in any case:\n"
                   "  run        start clicking at once with the saved settings\n"
                   "  event      open the Mouse Events window with the saved events (load says\n"
                   "             the same); with run, play them at once\n"
                   "  terminate  with run and event, end the program when they have played\n"
                   "  --toggle   press the hot key for every running copy (they all start or\n"
                   "             stop), then end; for a key of the desktop where programs get no\n"
                   "             global hot key (Wayland). Ends with status 1 when none runs.\n"
                   "  --help     show this help and end\n"
                   "  --version  show the version and end\n"
                   "\n"
                   "Files: config.xml (the settings), events.xml and the hot key's signal files\n"
                   "live beside the program when its folder may be written to; otherwise in\n"
                   "$XDG_CONFIG_HOME/zorvane (~/.config/zorvane when unset). See zorvane(1).\n";
    }
    return std::nullopt;
}

bool AsksToToggle(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments)
        if (argument == "--toggle")
            return true;
    return false;
}

std::optional<std::vector<DisplayServer>>
DisplayServersToTry(const std::vector<std::string>& arguments, const char* qpaPlatform) {
    std::string names = qpaPlatform ? qpaPlatform : "";
    for (size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == "-platform" || arguments[i] == "--platform")
            names = arguments[i + 1];
    if (names.empty())
        return std::vector<DisplayServer>{DisplayServer::Wayland, DisplayServer::X11};
    std::vector<DisplayServer> servers;
    for (size_t start = 0; start <= names.size();) {
        const size_t end = std::min(names.find(';', start), names.size());
        // The toolkit's options follow the name after a colon ("xcb:dpi=96").
        const std::string part = names.substr(start, end - start);
        const std::string name = part.substr(0, part.find(':'));
        if (name.rfind("wayland", 0) == 0)
            servers.push_back(DisplayServer::Wayland);
        else if (name == "xcb")
            servers.push_back(DisplayServer::X11);
        else
            return std::nullopt;
        start = end + 1;
    }
    return servers;
}

std::string NoDisplayText(const char* waylandDisplay, const char* xDisplay) {
    const auto named = [](const char* variable, const char* value) {
        return std::string(variable) +
               (value && *value ? " is \"" + std::string(value) + "\"" : " is not set");
    };
    return "no display could be reached: " + named("WAYLAND_DISPLAY", waylandDisplay) + " and " +
           named("DISPLAY", xDisplay) +
           ", and no Wayland compositor or X server answers there. Start Zorvane in a desktop "
           "session, or set WAYLAND_DISPLAY or DISPLAY to one that runs.";
}

} // namespace shell
