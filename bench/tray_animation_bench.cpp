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
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <set>
#include <sys/prctl.h>

namespace {

constexpr int kAnimatedIdleSeconds = 60;
constexpr int kStillIdleSeconds = 20;
constexpr int kClicks = 50;
constexpr double kIdleCpuTarget = 0.5;      // percent of one core
constexpr double kUnchangedByTheTray = 0.5; // ms of mean error more than without the tray

// --- The notification area as an X client of our own sees it.

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

class TrayView {
public:
    explicit TrayView(const e2e::XServer& server)
        : m_display(XOpenDisplay(server.Display().toLocal8Bit().constData())) {
        XSetErrorHandler(IgnoreErrors);
    }
    ~TrayView() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    TrayView(const TrayView&) = delete;
    TrayView& operator=(const TrayView&) = delete;

    bool Open() const { return m_display != nullptr; }

    bool WindowManagerRuns() const {
        const Atom check = XInternAtom(m_display, "_NET_SUPPORTING_WM_CHECK", False);
        return Property(DefaultRootWindow(m_display), check, XA_WINDOW) != 0;
    }

    // trayer's panel window, or 0.
    Window Panel() const { return Find(DefaultRootWindow(m_display), "panel", "trayer", 0); }

    // The window of process `pid` embedded anywhere under `panel`, or 0.
    Window IconOf(Window panel, qint64 pid) const {
        return panel ? Find(panel, "zorvane", "zorvane", pid) : 0;
    }

    // The window's picture as the server shows it; empty when it cannot be read.
    QByteArray Picture(Window window) const {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, window, &attributes))
            return {};
        XImage* image = XGetImage(m_display, window, 0, 0, unsigned(attributes.width),
                                  unsigned(attributes.height), AllPlanes, ZPixmap);
        if (!image)
            return {};
        QByteArray bytes(image->data, image->bytes_per_line * image->height);
        XDestroyImage(image);
        return bytes;
    }

private:
    unsigned long Property(Window window, Atom name, Atom type) const {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long left = 0;
        unsigned char* data = nullptr;
        unsigned long value = 0;
        if (XGetWindowProperty(m_display, window, name, 0, 1, False, type, &actual, &format, &count,
                               &left, &data) == Success &&
            data && count == 1 && format == 32)
            value = *reinterpret_cast<unsigned long*>(data);
        if (data)
            XFree(data);
        return value;
    }

    bool Matches(Window window, const char* name, const char* kind, qint64 pid) const {
        XClassHint hint{};
        if (!XGetClassHint(m_display, window, &hint))
            return false;
        const bool match =
            std::strcmp(hint.res_name, name) == 0 && std::strcmp(hint.res_class, kind) == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        return match && (pid == 0 || Property(window, pidAtom, XA_CARDINAL) == quint64(pid));
    }

    // The first window under `top` (depth first) with this class and, unless 0, process id.
    Window Find(Window top, const char* name, const char* kind, qint64 pid) const {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_display, top, &root, &parent, &children, &count))
            return 0;
        Window found = 0;
        for (unsigned int i = 0; i < count && !found; ++i)
            found = Matches(children[i], name, kind, pid) ? children[i]
                                                          : Find(children[i], name, kind, pid);
        if (children)
            XFree(children);
        return found;
    }

    Display* m_display;
};

// --- openbox and trayer on the server.

class Desktop {
public:
    explicit Desktop(const e2e::XServer& server) : m_server(server) {}
    ~Desktop() {
        for (QProcess* process : {&m_panel, &m_windowManager}) {
            process->kill();
            process->waitForFinished(3000);
        }
    }

    bool Start(const TrayView& view) {
        Launch(m_windowManager, QStringLiteral("openbox"), {});
        if (!e2e::WaitUntil([&] { return view.WindowManagerRuns(); }, 10000))
            return false;
        Launch(
            m_panel, QStringLiteral("trayer"),
            {"--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "32"});
        return e2e::WaitUntil([&] { return view.Panel() != 0; }, 10000);
    }

private:
    void Launch(QProcess& process, const QString& program, const QStringList& arguments) {
        process.setProcessEnvironment(m_server.Environment());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process.start(program, arguments);
    }

    const e2e::XServer& m_server;
    QProcess m_windowManager;
    QProcess m_panel;
};

// --- The program.

// The icon themes the build placed beside the program, copied beside the program's copy.
bool CopyIconThemes(const e2e::Program& program) {
    const QDir from(QStringLiteral(ZORVANE_PROGRAM_FOLDER "/IconThemes"));
    const QDir to(program.FilePath(QStringLiteral("IconThemes")));
    QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories);
    bool copied = false;
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to.filePath(from.relativeFilePath(file));
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            return false;
        copied = true;
    }
    return copied;
}

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
