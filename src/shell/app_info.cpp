#include "shell/app_info.h"

namespace shell {

std::string MainCaption() {
    return std::string(kAppTitle) + " " + std::to_string(kVersionMajor) + "." +
           std::to_string(kVersionMinor);
}

std::string VersionText() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor);
}

std::string CommandLineText(const std::vector<std::string>& arguments) {
    std::string text;
    for (const std::string& argument : arguments) {
        if (!text.empty())
            text += ' ';
        text += argument;
    }
    return text;
}

} // namespace shell
