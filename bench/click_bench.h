// What the click benchmarks share: the gaps between the recorder's presses against a nominal gap,
// timed by the server's timestamps, and a counted click run typed into the real program's main
// window with the program's CPU use and peak memory while it clicks.
#pragma once

#include "harness.h"

#include <vector>

namespace bench {

// Each gap between successive presses against the nominal gap: the mean and largest absolute
// error, and the drift of the last press against the nominal schedule from the first.
struct Timing {
    size_t clicks = 0;
    double meanError = 0;
    qint64 maxError = 0;
    qint64 drift = 0;
};
Timing Measure(const std::vector<e2e::ButtonEvent>& presses, qint64 nominal);

// The schedule targets: mean error at most 1 ms, largest at most 5 ms, drift at most 5 ms.
bool OnSchedule(const Timing& timing);
inline constexpr const char* kScheduleTargets = "mean <= 1 ms, max <= 5 ms, drift <= 5 ms";

// The presses the recorder logged after the first `before` ones.
std::vector<e2e::ButtonEvent> Since(e2e::Recorder& recorder, size_t before);

// A table of timings in ms: its heading, then a row per run.
void PrintTimingHeading();
void PrintTiming(const char* name, const Timing& timing, qint64 nominal);

struct ClickRun {
    Timing timing;
    long peakKb = 0;       // the program's VmHWM at the end of the run
    double cpuPercent = 0; // of one core, from the first click to the last
};

// Types a counted run of `count` clicks at `interval` into the program's main window, aimed at
// (700, 300), and measures it; false when the run was not entered or did not make its clicks.
bool MeasureClickRun(const e2e::XServer& server, e2e::Recorder& recorder,
                     const e2e::Program& program, const QString& window, int interval, int count,
                     ClickRun& run);

} // namespace bench
