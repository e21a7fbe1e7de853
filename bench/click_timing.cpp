// Click timing of the real program under Xvfb against its nominal schedule, with xdotool's
// repeated click as a peer in the same run; and the program's peak memory and CPU use while it
// clicks. The clicks are timed by the server (the recorder logs the server's timestamps).
//
//   click_timing            prints a table; exit code 0 when the targets are met
#include "click/click_rules.h"
#include "harness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Timing {
    size_t clicks = 0;
    double meanError = 0;
    qint64 maxError = 0;
    qint64 drift = 0;
};

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

struct ProcessUse {
    double cpuSeconds = 0;
    long peakKb = 0;
};

ProcessUse ReadProcess(qint64 pid) {
    return {e2e::ProcessCpuSeconds(pid), e2e::ProcessPeakMemoryKb(pid)};
}

std::vector<e2e::ButtonEvent> Since(e2e::Recorder& recorder, size_t before) {
    const auto all = recorder.Presses();
    return {all.begin() + qsizetype(before), all.end()};
}

void Print(const char* name, const Timing& t, qint64 nominal) {
    std::printf("%-36s %6zu %8lld %10.2f %9lld %7lld\n", name, t.clicks,
                static_cast<long long>(nominal), t.meanError, static_cast<long long>(t.maxError),
                static_cast<long long>(t.drift));
}

struct ProgramRun {
    Timing timing;
    ProcessUse use;
    double wallSeconds = 0;
    double cpuSecondsClicking = 0;
};

bool RunProgram(e2e::XServer& server, e2e::Recorder& recorder, int interval, int count,
                ProgramRun& run) {
    e2e::Program program(server);
    if (!program.WriteSettings({{"XPStyle", "False"}}) || !program.Start())
        return false;
    const QString window = program.WaitForWindow();
    if (window.isEmpty())
        return false;
    const size_t before = recorder.Presses().size();
    if (!e2e::EnterClickRun(server, window, 700, 300, interval, count, false))
        return false;
    const qint64 gap = click::NominalGap(interval);
    if (!recorder.WaitForPresses(before + 1, 10000))
        return false;
    const ProcessUse first = ReadProcess(program.Pid());
    QElapsedTimer wall;
    wall.start();
    if (!recorder.WaitForPresses(before + size_t(count), int(gap) * count + 10000))
        return false;
    run.wallSeconds = double(wall.elapsed()) / 1000.0;
    run.use = ReadProcess(program.Pid());
    run.cpuSecondsClicking = run.use.cpuSeconds - first.cpuSeconds;
    run.timing = Measure(Since(recorder, before), gap);
    program.Kill();
    return true;
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

    ProgramRun fast;
    ProgramRun slow;
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
    const Timing peer = Measure(Since(recorder, before), 100);

    std::printf("Click timing under Xvfb, from the server's timestamps (ms)\n");
    std::printf("%-36s %6s %8s %10s %9s %7s\n", "run", "clicks", "nominal", "mean|err|", "max|err|",
                "drift");
    Print("zorvane, interval 0", fast.timing, 100);
    Print("zorvane, interval 1000", slow.timing, 1100);
    Print("xdotool click --repeat 50 --delay 100", peer, 100);
    std::printf("\nzorvane while clicking: peak memory %.1f MB; CPU %.2f%% of one core "
                "(interval 0), %.2f%% (interval 1000)\n",
                double(std::max(fast.use.peakKb, slow.use.peakKb)) / 1024.0,
                100.0 * fast.cpuSecondsClicking / fast.wallSeconds,
                100.0 * slow.cpuSecondsClicking / slow.wallSeconds);

    const bool met = fast.timing.clicks == 50 && slow.timing.clicks == 10 &&
                     fast.timing.meanError <= 1 && slow.timing.meanError <= 1 &&
                     fast.timing.maxError <= 5 && slow.timing.maxError <= 5 &&
                     std::llabs(fast.timing.drift) <= 5 && std::llabs(slow.timing.drift) <= 5;
    std::printf("targets (mean <= 1 ms, max <= 5 ms, drift <= 5 ms): %s\n", met ? "met" : "MISSED");
    return met ? 0 : 1;
}
