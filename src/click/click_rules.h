// The arithmetic of a click run: drawing intervals, splitting them into the countdown fields,
// the one-second and tenth-second countdown steps, and the timing that results. Toolkit-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace click {

constexpr int kSecondTimerInterval = 1000; // tmr1sec
constexpr int kClickTimerInterval = 100;   // tmrClick, never changed
// The largest click count a run takes: beyond it a double no longer steps down by one reliably.
constexpr double kMostClicks = 999999999999999.0;

// The four countdown fields.
struct Countdown {
    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
    int32_t milliseconds = 0;
};

// An interval split into hours, minutes, seconds and milliseconds; division truncates toward
// zero and remainders take the sign of the interval.
Countdown SplitInterval(int32_t interval);

// The whole-seconds step: the fields' values (read from their texts) lose one second.
// reachedZero tells that the seconds are used up and the tenths take over.
struct SecondsStep {
    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
    bool reachedZero = false;
};
SecondsStep CountDownOneSecond(double hours, double minutes, double seconds);

// The tenth-second step: the milliseconds left after one more tick of the click timer, and
// whether the click is due.
struct TenthStep {
    double milliseconds = 0;
    bool clickDue = false;
};
TenthStep CountDownOneTenth(double milliseconds);

// lower + floor(r * (upper - lower + 1)) for 0 <= r < 1 when range is on and lower < upper:
// every whole millisecond from lower to upper inclusive equally likely. Otherwise lower.
int32_t DrawInterval(int32_t lower, int32_t upper, bool range, double r);

// A number 0 <= r < 1 from a generator freshly seeded from the clock.
double RandomUnitFromClock();

// The interval for the next click: DrawInterval with a fresh draw when one is needed.
int32_t NextInterval(int32_t lower, int32_t upper, bool range);

// Milliseconds from one click to the next for an interval, with the timers' nominal periods:
// whole seconds on the one-second timer, then whole tenths (at least one) on the click timer.
int64_t NominalGap(int32_t interval);

// The safety mechanism's refusal of a run that could click faster than once a second without end.
inline constexpr const char* kSafetyTitle = "Safety Mechanism triggered!";
inline constexpr const char* kSafetyText =
    "In case you are unable to stop the mouse clicking, you must either set the minimum click "
    "interval to at least 1000ms, OR set a specific numbers of clicks.";

// Whether the safety mechanism refuses a sequence: with it on, a sequence that loops without end
// (the loop box ticked and a count that rounds to 0 or less, or holds no number) may not have a
// row whose interval, its lower bound, is below 1000 ms. Each row's click count runs out, the
// loop does not. A finite loop count is never refused.
bool EndlessSequenceTooFast(bool safetyOn, bool loopTicked, std::string_view loopText,
                            const std::vector<std::string>& rowIntervals);

// The tray tip while a run is going: the four countdown field texts as they stand.
std::string RunningTooltip(const std::string& hours, const std::string& minutes,
                           const std::string& seconds, const std::string& milliseconds);
inline constexpr const char* kIdleTooltip = "Zorvane: idle";

} // namespace click
