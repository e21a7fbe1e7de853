#include "click/hot_key_rules.h"

#include "runtime/conversions.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <ctime>

namespace click {

std::optional<int16_t> HotKeyCode(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    const char letter = runtime::ToUpperAscii(text.substr(0, 1)).front();
    if (letter < 'A' || letter > 'Z')
        return std::nullopt;
    return static_cast<int16_t>(letter);
}

namespace {

std::string SignalHostName(std::string_view hostName) {
    std::string kept;
    for (const char byte : hostName) {
        const unsigned char c = static_cast<unsigned char>(byte);
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '-';
        // A character of several UTF-8 bytes becomes one '-'.
        if (plain || (c & 0xC0) != 0x80)
            kept += plain ? char(c) : '-';
    }
    return kept.empty() ? "-" : kept;
}

// The decimal number leading the text, taken off it; nullopt when there is none or it is too
// large.
template <typename Number> std::optional<Number> TakeNumber(std::string_view& text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || text.front() == '-')
        return std::nullopt;
    text.remove_prefix(std::size_t(end - text.data()));
    return value;
}

} // namespace

std::string SignalFileName(uint64_t windowHandle, long processId, std::string_view hostName) {
    return std::to_string(windowHandle) + "-" + std::to_string(processId) + "-" +
           SignalHostName(hostName) + std::string(kSignalFileMark) + ".xml";
}

std::optional<SignalFileOwner> ReadSignalFileName(std::string_view name) {
    const std::size_t mark = name.find(kSignalFileMark);
    if (mark == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = name.substr(0, mark);
    SignalFileOwner owner;
    const auto window = TakeNumber<uint64_t>(rest);
    if (!window)
        return std::nullopt;
    owner.window = *window;
    if (rest.empty())
        return owner;
    if (rest.front() != '-')
        return std::nullopt;
    rest.remove_prefix(1);
    const auto process = TakeNumber<long>(rest);
    if (!process || *process <= 0 || rest.size() < 2 || rest.front() != '-' ||
        SignalHostName(rest.substr(1)) != rest.substr(1))
        return std::nullopt;
    owner.processId = process;
    owner.host = std::string(rest.substr(1));
    return owner;
}

bool RunningCopysFile(const SignalFileOwner& owner, std::string_view thisHost,
                      const std::vector<uint64_t>& windows,
                      const std::function<bool(long)>& processRunning) {
    if (owner.processId && owner.host == SignalHostName(thisHost))
        return processRunning(*owner.processId);
    return std::find(windows.begin(), windows.end(), owner.window) != windows.end();
}

std::vector<std::string> SignalFileLines(const PressState& from) {
    const bool number =
        !from.stamp.empty() && from.stamp.find_first_not_of("0123456789.,-") == std::string::npos;
    // Appended piece by piece: GCC 12 misreads a literal plus a string at -O3 (-Wrestrict).
    std::string root = "<HotKey Check=\"";
    root.append(number ? from.stamp : "0").append("\"");
    if (from.presses)
        root.append(" ")
            .append(kPressesAttribute)
            .append("=\"")
            .append(std::to_string(*from.presses))
            .append("\"");
    return {"<?xml version=\"1.0\"?>",
            "<!-- Do not change this file yourself, or else you may cause the application to "
            "malfunction! -->",
            root + ">", "</HotKey>"};
}

std::string PressStamp(double secondsSinceMidnight) {
    return runtime::FormatSingle(static_cast<float>(secondsSinceMidnight));
}

double SecondsSinceMidnight() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    const double fraction =
        double(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000) / 1000.0;
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

namespace {

std::optional<uint64_t> PressCount(const SignalAttributes& rootAttributes) {
    for (const auto& [name, value] : rootAttributes) {
        if (name != kPressesAttribute)
            continue;
        if (value.empty() || value.size() > 18 ||
            value.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        return std::stoull(value);
    }
    return std::nullopt;
}

} // namespace

uint64_t NewPresses(const SignalAttributes& rootAttributes, PressState& last) {
    if (rootAttributes.empty())
        return 0;
    const auto& [name, stamp] = rootAttributes.front();
    if (name != "Check" || stamp == "0")
        return 0;
    const std::optional<uint64_t> presses = PressCount(rootAttributes);
    uint64_t count = 0;
    if (presses && last.presses && *presses > *last.presses)
        count = *presses - *last.presses;
    else if (presses && !last.presses && stamp != last.stamp)
        count = *presses;
    else if (stamp != last.stamp)
        count = 1;
    last.stamp = stamp;
    last.presses = presses;
    return count;
}

std::string NextPressCount(const SignalAttributes& rootAttributes, uint64_t presses) {
    return std::to_string(PressCount(rootAttributes).value_or(0) + presses);
}

} // namespace click
