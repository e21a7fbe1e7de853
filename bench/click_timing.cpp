// Click timing of the real program under Xvfb against its nominal schedule, with xdotool's
// repeated click as a peer in the same run; and the program's peak memory and CPU use while it
// clicks. The clicks are timed by the server (the recorder logs the server's timestamps).
//
//   click_timing            prints a table; exit code 0 when the targets are met
#include "click_bench.h"
#include "harness.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace {

bool RunProgram(e2e::XServer& server, e2e::Recorder& recorder, int interval, int count,
                bench::ClickRun& run) {
    e2e::Program program(server);
    if (!program.WriteSettings({{"XPStyle", "False"}}) || !program.Start())
        return false;
    const QString window = program.WaitForWindow();
    return !window.isEmpty() &&
           bench::MeasureClickRun(server, recorder, program, window, interval, count, run);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    e2e::XServer server;
    e2e::Recorder recorder(server);
    if (!server.Start() || !recorder.Start(QStringLiteral("600x768+424+0"))) {
        std::fprintf(stderr, "click_timing: cannot start Xvfb or the recorder\n");
        return 2;
    }

    bench::ClickRun fast;
    bench::ClickRun slow;
    if (!RunProgram(server, recorder, 0, 50, fast) ||
        !RunProgram(server, recorder, 1000, 10, slow)) {
        std::fprintf(stderr, "click_timing: the program did not make its clicks\n");
        return 2;
    }
    const size_t before = recorder.Presses().size();
    e2e::Xdotool(server,
                 {"mousemove", "700", "300", "click", "--repeat", "50", "--delay", "100", "1"},
                 30000);
    recorder.WaitForPresses(before + 50, 5000);
    const bench::Timing peer = bench::Measure(bench::Since(recorder, before), 100);

    std::printf("Click timing under Xvfb, from the server's timestamps (ms)\n");
    bench::PrintTimingHeading();
    bench::PrintTiming("zorvane, interval 0", fast.timing, 100);
    bench::PrintTiming("zorvane, interval 1000", slow.timing, 1100);
    bench::PrintTiming("xdotool click --repeat 50 --delay 100", peer, 100);
    std::printf("\nzorvane while clicking: peak memory %.1f MB; CPU %.2f%% of one core "
                "(interval 0), %.2f%% (interval 1000)\n",
                double(std::max(fast.peakKb, slow.peakKb)) / 1024.0, fast.cpuPercent,
                slow.cpuPercent);

    const bool met = fast.timing.clicks == 50 && slow.timing.clicks == 10 &&
                     bench::OnSchedule(fast.timing) && bench::OnSchedule(slow.timing);
    std::printf("targets (%s): %s\n", bench::kScheduleTargets, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
