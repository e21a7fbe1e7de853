#include "platform/win/win_rules.h"

#include "platform/hot_key_service.h"

namespace platform {

std::optional<uint32_t> HotKeyRegistrationModifiers(uint32_t modifiers) {
    constexpr uint32_t known = kModAlt | kModControl | kModShift | kModWin | kModNoRepeat;
    if (modifiers & ~known)
        return std::nullopt;
    return modifiers | kModNoRepeat;
}

std::string QuoteArgument(std::string_view argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos)
        return std::string(argument);
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count as themselves unless a quote follows: then each is doubled and the
        // quote escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // The closing quote follows: the backslashes before it are doubled.
    quoted.append(2 * backslashes, '\\');
    return quoted + '"';
}

// The program's name is read up to the next quote, without escapes; a path holds no quote.
std::string CommandLine(std::string_view program, const std::vector<std::string>& arguments) {
    std::string line = "\"" + std::string(program) + "\"";
    for (const std::string& argument : arguments)
        line += " " + QuoteArgument(argument);
    return line;
}

} // namespace platform
