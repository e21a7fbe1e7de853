#include "click/hot_key_rules.h"

#include "runtime/conversions.h"

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

std::string SignalFileName(uint64_t windowHandle) {
    return std::to_string(windowHandle) + std::string(kSignalFileMark) + ".xml";
}

std::vector<std::string> SignalFileLines() {
    return {"<?xml version=\"1.0\"?>",
            "<!-- Do not change this file yourself, or else you may cause the application to "
            "malfunction! -->",
            "<HotKey Check=\"0\">", "</HotKey>"};
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
