#include "click_bench.h"

#include "click/click_rules.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench {

Timing Measure(const std::vector<e2e::ButtonEvent>& presses, qint64 nominal) {
    Timing t;
    t.clicks = presses.size();
    if (presses.size() < 2)
        return t;
    qint64 sum = 0;
    for (size_t i = 1; i < presses.size(); ++i) {
        const qint64 error = std::llabs(presses[i].time - presses[i - 1].time - nominal);
        sum += error;
        t.maxError = std::max(t.maxError, error);
    }
    t.meanError = double(sum) / double(presses.size() - 1);
    t.drift = presses.back().time - presses.front().time - qint64(presses.size() - 1) * nominal;
    return t;
}

bool OnSchedule(const Timing& timing) {
    return timing.meanError <= 1 && timing.maxError <= 5 && std::llabs(timing.drift) <= 5;
}

std::vector<e2e::ButtonEvent> Since(e2e::Recorder& recorder, size_t before) {
    const auto all = recorder.Presses();
    return {all.begin() + qsizetype(before), all.end()};
}

void PrintTimingHeading() {
    std::printf("%-36s %6s %8s %10s %9s %7s\n", "run", "clicks", "nominal", "mean|err|", "max|err|",
                "drift");
}

void PrintTiming(const char* name, const Timing& timing, qint64 nominal) {
    std::printf("%-36s %6zu %8lld %10.2f %9lld %7lld\n", name, timing.clicks,
                static_cast<long long>(nominal), timing.meanError,
                static_cast<long long>(timing.maxError), static_cast<long long>(timing.drift));
}

bool MeasureClickRun(const e2e::XServer& server, e2e::Recorder& recorder,
                     const e2e::Program& program, const QString& window, int interval, int count,
                     ClickRun& run) {
    const size_t before = recorder.Presses().size();
    if (!e2e::EnterClickRun(server, window, 700, 300, interval, count, false))
        return false;
    const qint64 gap = click::NominalGap(interval);
    if (!recorder.WaitForPresses(before + 1, 10000))
        return false;
    const double firstCpu = e2e::ProcessCpuSeconds(program.Pid());
    QElapsedTimer wall;
    wall.start();
    if (!recorder.WaitForPresses(before + size_t(count), int(gap) * count + 10000))
        return false;
    const double seconds = double(wall.elapsed()) / 1000.0;
    run.cpuPercent = 100.0 * (e2e::ProcessCpuSeconds(program.Pid()) - firstCpu) / seconds;
    run.peakKb = e2e::ProcessPeakMemoryKb(program.Pid());
    run.timing = Measure(Since(recorder, before), gap);
    return true;
}

} // namespace bench
