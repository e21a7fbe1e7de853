#include "click/click_rules.h"

#include "runtime/conversions.h"

#include <algorithm>
#include <chrono>
#include <random>

namespace click {

Countdown SplitInterval(int32_t interval) {
    return {interval / 3'600'000, (interval % 3'600'000) / 60'000, (interval % 60'000) / 1000,
            interval % 1000};
}

SecondsStep CountDownOneSecond(double hours, double minutes, double seconds) {
    const int32_t total = runtime::WholeValue(hours * 3600 + minutes * 60 + seconds);
    const int32_t left = total == INT32_MIN ? total : total - 1;
    return {left / 3600, (left % 3600) / 60, left % 60, left <= 0};
}

TenthStep CountDownOneTenth(double milliseconds) {
    const double left = milliseconds - kClickTimerInterval;
    return {left, !(left > 0)};
}

int32_t DrawInterval(int32_t lower, int32_t upper, bool range, double r) {
    if (!range || lower >= upper)
        return lower;
    const int64_t span = static_cast<int64_t>(upper) - lower + 1;
    const auto offset = static_cast<int64_t>(r * static_cast<double>(span));
    return static_cast<int32_t>(std::clamp<int64_t>(lower + offset, lower, upper));
}

double RandomUnitFromClock() {
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    const auto ticks = static_cast<uint64_t>(now);
    std::seed_seq seed{static_cast<uint32_t>(ticks), static_cast<uint32_t>(ticks >> 32)};
    std::mt19937_64 generator(seed);
    return static_cast<double>(generator() >> 11) * 0x1.0p-53;
}

int32_t NextInterval(int32_t lower, int32_t upper, bool range) {
    if (!range || lower >= upper)
        return lower;
    return DrawInterval(lower, upper, range, RandomUnitFromClock());
}

int64_t NominalGap(int32_t interval) {
    const auto tenths = [](int64_t ms) {
        return std::max<int64_t>(1, (ms + kClickTimerInterval - 1) / kClickTimerInterval) *
               kClickTimerInterval;
    };
    if (interval >= kSecondTimerInterval)
        return (interval / kSecondTimerInterval) * int64_t{kSecondTimerInterval} +
               tenths(interval % kSecondTimerInterval);
    return tenths(std::max(interval, 0));
}

std::string RunningTooltip(const std::string& hours, const std::string& minutes,
                           const std::string& seconds, const std::string& milliseconds) {
    return "Zorvane: " + hours + "hr " + minutes + "min " + seconds + "sec " + milliseconds +
           "ms to next click";
}

bool EndlessSequenceTooFast(bool safetyOn, bool loopTicked, std::string_view loopText,
                            const std::vector<std::string>& rowIntervals) {
    if (!safetyOn || !loopTicked || runtime::WholeValueOf(loopText) >= 1)
        return false;
    return std::any_of(rowIntervals.begin(), rowIntervals.end(), [](const std::string& interval) {
        return runtime::Val(interval) < kSecondTimerInterval;
    });
}

} // namespace click
