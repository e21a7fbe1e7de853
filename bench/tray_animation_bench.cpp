// The notification-area icon's animation, on the real program under Xvfb with openbox as the
// window manager and trayer as the notification area; the icon from the default theme (idle
// frames every 300 ms, running frames every 120 ms), both animations on:
// - the program's CPU use while idle over 60 s with the idle animation running, and over 20 s
//   with the still icon of the main window as a reference;
// - 50 clicks at interval 0 with the running animation, timed by the server against the nominal
//   schedule, beside the same run without the tray; the CPU use and peak memory while clicking.
// Before measuring, the icon is looked for inside trayer's panel (embedded there by XEmbed) and
// its frames are seen changing.
#include "click_bench.h"
#include "harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

// After the toolkit: it brings Xlib, whose macros the toolkit's headers trip on.
#include "tray_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <set>

namespace {

constexpr int kAnimatedIdleSeconds = 60;
constexpr int kStillIdleSeconds = 20;
constexpr int kClicks = 50;
constexpr double kIdleCpuTarget = 0.5;      // percent of one core
constexpr double kUnchangedByTheTray = 0.5; // ms of mean error more than without the tray

// Starts the program with the tray on or off and the icon mode; answers its main window, or an
// empty text when it did not start.
QString StartProgram(e2e::Program& program, const char* sysTray, const char* iconMode) {
    const bool started = program.WriteSettings({{"XPStyle", "False"},
                                                {"SysTray", sysTray},
                                                {"TrayIconMode", iconMode},
                                                {"TrayIconIdleAnimate", "True"},
                                                {"TrayIconRunningAnimate", "True"}}) &&
                         CopyIconThemes(program) && program.Start();
    return started ? program.WaitForWindow() : QString();
}

// Waits for the program's icon in trayer's panel; 0 when it does not come.
Window WaitForIcon(const TrayView& view, const e2e::Program& program) {
    Window icon = 0;
    e2e::WaitUntil(
        [&] {
            icon = view.IconOf(view.Panel(), program.Pid());
            return icon != 0;
        },
        10000);
    return icon;
}

// Whether the icon shows several pictures within a few idle frame intervals.
bool Animates(const TrayView& view, Window icon) {
    std::set<QByteArray> pictures;
    e2e::WaitUntil(
        [&] {
            const QByteArray picture = view.Picture(icon);
            if (!picture.isEmpty())
                pictures.insert(picture);
            return pictures.size() >= 3;
        },
        3000);
    return pictures.size() >= 3;
}

// The program's CPU use while it sits idle for `seconds`, in percent of one core.
double IdleCpu(const e2e::Program& program, int seconds) {
    const double before = e2e::ProcessCpuSeconds(program.Pid());
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(seconds * 1000);
    const double after = e2e::ProcessCpuSeconds(program.Pid());
    return 100.0 * (after - before) / (double(wall.elapsed()) / 1000.0);
}

int Fail(const char* problem) {
    std::fprintf(stderr, "tray_animation: %s\n", problem);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    e2e::XServer server;
    if (!server.Start())
        return Fail("cannot start Xvfb");
    const TrayView view(server);
    Desktop desktop(server);
    if (!view.Open() || !desktop.Start(view))
        return Fail("cannot start openbox and trayer (its panel did not appear)");
    // Clear of trayer's panel at the bottom right; the clicks at (700, 300) land beside the main
    // window, which the window manager places in the free space on the left.
    e2e::Recorder recorder(server);
    if (!recorder.Start(QStringLiteral("600x600+424+0")))
        return Fail("cannot start the click recorder");

    bench::ClickRun animated;
    double animatedIdleCpu = 0;
    {
        e2e::Program program(server);
        const QString window = StartProgram(program, "True", "2");
        if (window.isEmpty())
            return Fail("the program with the tray did not start");
        const Window icon = WaitForIcon(view, program);
        if (!icon)
            return Fail("the program's icon is not embedded in trayer's panel");
        if (!Animates(view, icon))
            return Fail("the icon in the panel does not animate (theme not loaded?)");
        animatedIdleCpu = IdleCpu(program, kAnimatedIdleSeconds);
        if (!bench::MeasureClickRun(server, recorder, program, window, 0, kClicks, animated))
            return Fail("the program with the tray did not make its clicks");
    }
    bench::ClickRun plain;
    {
        e2e::Program program(server);
        const QString window = StartProgram(program, "False", "2");
        if (window.isEmpty() ||
            !bench::MeasureClickRun(server, recorder, program, window, 0, kClicks, plain))
            return Fail("the program without the tray did not make its clicks");
    }
    double stillIdleCpu = 0;
    {
        e2e::Program program(server);
        if (StartProgram(program, "True", "1").isEmpty())
            return Fail("the program with the still icon did not start");
        if (!WaitForIcon(view, program))
            return Fail("the still icon is not embedded in trayer's panel");
        stillIdleCpu = IdleCpu(program, kStillIdleSeconds);
    }

    std::printf("Tray icon under Xvfb with openbox and trayer, default theme (idle frames every "
                "300 ms, running every 120 ms)\n");
    std::printf("idle CPU: %.2f%% of one core over %d s animating; %.2f%% over %d s with the "
                "still icon (reference)\n",
                animatedIdleCpu, kAnimatedIdleSeconds, stillIdleCpu, kStillIdleSeconds);
    std::printf("\nClick timing at interval 0, from the server's timestamps (ms)\n");
    bench::PrintTimingHeading();
    bench::PrintTiming("zorvane, tray icon animating", animated.timing, 100);
    bench::PrintTiming("zorvane, no tray", plain.timing, 100);
    std::printf("\nzorvane while clicking: CPU %.2f%% of one core, peak memory %.1f MB with the "
                "tray; %.2f%%, %.1f MB without\n",
                animated.cpuPercent, double(animated.peakKb) / 1024.0, plain.cpuPercent,
                double(plain.peakKb) / 1024.0);

    const bool met = animatedIdleCpu <= kIdleCpuTarget && animated.timing.clicks == kClicks &&
                     plain.timing.clicks == kClicks && bench::OnSchedule(animated.timing) &&
                     animated.timing.meanError <= plain.timing.meanError + kUnchangedByTheTray;
    std::printf("targets (idle CPU animating <= %.1f%%; with the tray %s, mean within %.1f ms of "
                "no tray): %s\n",
                kIdleCpuTarget, bench::kScheduleTargets, kUnchangedByTheTray,
                met ? "met" : "MISSED");
    return met ? 0 : 1;
}
