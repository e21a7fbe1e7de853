// The rules of the global hot key and its signal files. Toolkit-free.
#pragma once

#include <cstdint>
#include <functional>
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
// Whoever stamps a signal file (the owner's relay, zorvane --toggle) holds the lock on this file
// of the same folder meanwhile, so that no press is lost between two stampers. A rename replaces
// a signal file, so the lock lives beside the files, not on them.
inline constexpr std::string_view kSignalLockName = "signal_files.lock";

// The key code of a hot-key text: its first character upper-cased, when that is a letter A to Z.
// nullopt for anything else, the empty text included.
std::optional<int16_t> HotKeyCode(std::string_view text);

// A copy's signal file name: its main window's handle, its process id and the host name, then
// "_HotKey.xml" ("1049612-4711-desk.example_HotKey.xml"). The handle alone would not do: window
// ids repeat across displays and servers, and some platforms give every window the same one (0
// where there are none). The host name keeps only A-Z, a-z, 0-9, '.' and '-'; any other
// character becomes '-', and a name with no character at all is "-".
std::string SignalFileName(uint64_t windowHandle, long processId, std::string_view hostName);

// Whose signal file a name is. Older copies name theirs by the window handle alone
// ("1049612_HotKey.xml"): no process id and no host.
struct SignalFileOwner {
    uint64_t window = 0;
    std::optional<long> processId;
    std::optional<std::string> host;
};
// The owner of a name holding "_HotKey"; nullopt when what comes before it is neither form (a file
// named so by hand).
std::optional<SignalFileOwner> ReadSignalFileName(std::string_view name);

// Whether a signal file is a running copy's: one of this host with a process id is, while that
// process runs; any other (an older copy's, another host's) while its window is among `windows`.
bool RunningCopysFile(const SignalFileOwner& owner, std::string_view thisHost,
                      const std::vector<uint64_t>& windows,
                      const std::function<bool(long)>& processRunning);

// The stamp of a press: the time of day in seconds since midnight, as a single-precision number
// (up to 7 significant digits, 45296.52).
std::string PressStamp(double secondsSinceMidnight);

// Seconds since local midnight now, with the fraction.
double SecondsSinceMidnight();

// The second attribute the owner keeps in every signal file: how many presses it has stamped into
// that file. Older copies read only the first attribute, "Check", and still see each stamp.
inline constexpr std::string_view kPressesAttribute = "Presses";

using SignalAttributes = std::vector<std::pair<std::string, std::string>>;

// What a watcher has acted on so far: the last stamp and the press count that came with it.
struct PressState {
    std::string stamp;
    std::optional<uint64_t> presses;
};

// The four lines a new signal file holds, "Check" 0: no press yet. A file made again (it was
// deleted while its copy ran) holds the stamp and the press count its copy last acted on; a
// stamp that is not a number is not written there.
std::vector<std::string> SignalFileLines(const PressState& from = {});

// How many presses a watcher's signal file tells of since `last`, which is brought up to date.
// The first attribute must be named exactly "Check" with a stamp other than "0". The press count,
// when it grew, says how many presses there were; a new stamp without a grown count (an older
// owner, or a file made afresh) is one press. A watcher held up across several presses thus
// still ends in the state it would have reached by seeing each.
uint64_t NewPresses(const SignalAttributes& rootAttributes, PressState& last);

// The press count the owner writes for new presses: the count in the file (none counts 0) and
// their number.
std::string NextPressCount(const SignalAttributes& rootAttributes, uint64_t presses = 1);

} // namespace click
