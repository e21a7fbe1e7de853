#include "shell/command_line.h"

#include "runtime/conversions.h"
#include "shell/app_info.h"

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

} // namespace shell
