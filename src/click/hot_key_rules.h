// The rules of the global hot key and its signal files. Toolkit-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace click {

inline constexpr int32_t kHotKeyId = 0xBFFF;
inline constexpr uint32_t kHotKeyModifiers = 3; // MOD_ALT + MOD_CONTROL
inline constexpr char kDefaultHotKey = 'C';
// Every signal file's name contains this; the owner stamps every such file in the folder.
inline constexpr std::string_view kSignalFileMark = "_HotKey";

// The key code of a hot-key text: its first character upper-cased, when that is a letter A to Z.
// nullopt for anything else, the empty text included.
std::optional<int16_t> HotKeyCode(std::string_view text);

// A copy's signal file name: its main window's handle in decimal, then "_HotKey.xml".
std::string SignalFileName(uint64_t windowHandle);

// The four lines a new signal file holds, "Check" 0: no press yet.
std::vector<std::string> SignalFileLines();

// The stamp of a press: the time of day in seconds since midnight, as a single-precision number
// (up to 7 significant digits, 45296.52).
std::string PressStamp(double secondsSinceMidnight);

// Seconds since local midnight now, with the fraction.
double SecondsSinceMidnight();

// What a watcher makes of its signal file's root attributes (in document order): the new stamp to
// act on, when the first attribute is named exactly "Check", its text is not "0" and differs from
// the last stamp acted on; nullopt otherwise.
std::optional<std::string>
NewPressStamp(const std::vector<std::pair<std::string, std::string>>& rootAttributes,
              const std::string& lastStamp);

} // namespace click
