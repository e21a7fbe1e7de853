// The rules of the Win32 backends that need neither windows.h nor a toolkit: the command lines
// they start and the modifier word they register a hot key with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// RegisterHotKey's modifier flags beyond MOD_ALT and MOD_CONTROL.
inline constexpr uint32_t kModShift = 0x0004;    // MOD_SHIFT
inline constexpr uint32_t kModWin = 0x0008;      // MOD_WIN
inline constexpr uint32_t kModNoRepeat = 0x4000; // MOD_NOREPEAT

// The modifier word a hot key is registered with: the caller's modifiers with MOD_NOREPEAT, so
// that holding the keys reports one press. nullopt when the caller's word holds a flag that
// RegisterHotKey does not know.
std::optional<uint32_t> HotKeyRegistrationModifiers(uint32_t modifiers);

// One argument of a command line, quoted where CommandLineToArgvW would otherwise split or alter
// it: blanks, tabs, double quotes, the backslashes before a quote, the empty argument.
std::string QuoteArgument(std::string_view argument);

// A command line that starts `program` (quoted, so a path with blanks is one word) with exactly
// these arguments as CommandLineToArgvW reads them.
std::string CommandLine(std::string_view program, const std::vector<std::string>& arguments);

} // namespace platform
