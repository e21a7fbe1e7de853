// How often an idle copy of the program wakes: the context switches of all its threads per
// second over 60 s (from /proc), the main window shown and nothing running, beside a plain window
// of the same toolkit in the same run as the floor.
// - On X11 (Xvfb, openbox and trayer as the notification area): one copy; two copies of one
//   folder (the hot key's owner and a watcher) with 1,000 signal files left by killed copies; a
//   copy with the still tray icon; a copy with the default theme's idle animation.
// - On a headless sway: one copy, and two copies with the stale files.
// Each folder has a letter of its own, so that the copies of one folder share the hot key only
// with each other. Targets: at most 1 wakeup a second for every copy; the animated icon wakes for
// its frames and nothing else: a frame, counted in context switches, costs the timer's wake and
// a round trip to the X server handed between the toolkit's threads (about 5), so at most 6 a
// frame.
#include "harness.h"
#include "wayland_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

// After the toolkit: it brings Xlib, whose macros the toolkit's headers trip on.
#include "tray_desktop.h"

#include <cstdio>
#include <list>
#include <memory>
#include <vector>

namespace {

constexpr int kSeconds = 60;
constexpr int kStaleFiles = 1000;
constexpr double kTarget = 1.0;                   // wakeups a second
constexpr double kIdleFrameRate = 1000.0 / 300.0; // the default theme's idle frames
constexpr double kPerFrame = 6.0;                 // context switches one frame costs at most

// Context switches of every thread of a process so far; -1 when it is gone.
long long ContextSwitches(qint64 pid) {
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    if (!tasks.exists())
        return -1;
    long long switches = 0;
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(tasks.filePath(task + QStringLiteral("/status")));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.contains("ctxt_switches:"))
                switches += line.split(':').value(1).trimmed().toLongLong();
    }
    return switches;
}

struct Measured {
    QString name;
    qint64 pid = 0;
    double limit = kTarget; // 0: the floor, no target
    long long before = 0;
    double perSecond = 0;
};

class Run {
public:
    explicit Run(const e2e::Session& session) : m_session(session) {}

    // A copy in a folder of its own; `copies` of them share it, with the stale signal files
    // beside them when there are two.
    bool StartCopies(const QString& name, char letter, int copies, e2e::SettingValues settings,
                     double limit = kTarget) {
        e2e::Program& program = m_programs.emplace_back(m_session);
        settings.insert(settings.end(), {{"XPStyle", "False"},
                                         {"PreventMultipleInstance", "False"},
                                         {"HotKey", std::string(1, letter)}});
        if (!program.WriteSettings(settings) || !CopyIconThemes(program) ||
            (copies > 1 && !LeaveStaleFiles(program)) || !program.Start() ||
            program.WaitForWindow(10000).isEmpty())
            return false;
        m_measured.push_back(
            {name + (copies > 1 ? QStringLiteral(", owner") : QString()), program.Pid(), limit});
        for (int copy = 1; copy < copies; ++copy) {
            QProcess& process = m_others.emplace_back();
            if (!program.StartCopy(process) || !process.waitForStarted(5000))
                return false;
            m_measured.push_back({name + QStringLiteral(", watcher"), process.processId(), limit});
        }
        return true;
    }

    // A plain window of the toolkit, which only waits: the wayland recorder, not full-screen.
    bool StartPlainWindow(const QString& platform) {
        QProcess& process = m_others.emplace_back();
        QProcessEnvironment env = m_session.Environment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(ZORVANE_WAYLAND_RECORDER), {});
        m_measured.push_back({QStringLiteral("plain toolkit window"), 0, 0});
        return process.waitForReadyRead(10000) && (m_measured.back().pid = process.processId()) > 0;
    }

    // Settles (a caret in a focused field rests after 10 s), then counts over kSeconds; false
    // when a process went away.
    bool Measure() {
        QTest::qWait(15000);
        for (Measured& measured : m_measured)
            measured.before = ContextSwitches(measured.pid);
        QElapsedTimer elapsed;
        elapsed.start();
        QTest::qWait(kSeconds * 1000);
        const double seconds = double(elapsed.elapsed()) / 1000.0;
        for (Measured& measured : m_measured) {
            const long long after = ContextSwitches(measured.pid);
            if (after < 0 || measured.before < 0)
                return false;
            measured.perSecond = double(after - measured.before) / seconds;
        }
        return true;
    }

    // Prints the figures; true when every target is met.
    bool Report(const char* where) const {
        bool met = true;
        for (const Measured& measured : m_measured) {
            const bool ok = measured.limit == 0 || measured.perSecond <= measured.limit;
            met = met && ok;
            std::printf("%s, %s: %.2f wakeups/s%s\n", where, qPrintable(measured.name),
                        measured.perSecond,
                        measured.limit == 0 ? "" : (ok ? "" : "  (over the target)"));
        }
        return met;
    }

private:
    static bool LeaveStaleFiles(const e2e::Program& program) {
        for (int i = 0; i < kStaleFiles; ++i) {
            QFile file(program.FilePath(QStringLiteral("%1_HotKey.xml").arg(900000000 + i)));
            if (!file.open(QIODevice::WriteOnly) || file.write("<HotKey Check=\"0\"/>") < 0)
                return false;
        }
        return true;
    }

    const e2e::Session& m_session;
    std::list<e2e::Program> m_programs;
    std::list<QProcess> m_others;
    std::vector<Measured> m_measured;
};

int Fail(const char* why) {
    std::fprintf(stderr, "idle_wakeups: %s\n", why);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    bool met = true;
    {
        e2e::XServer server;
        if (!server.Start())
            return Fail("cannot start Xvfb");
        TrayView view(server);
        Desktop desktop(server);
        if (!view.Open() || !desktop.Start(view))
            return Fail("cannot start openbox and trayer");
        Run run(server);
        if (!run.StartCopies(QStringLiteral("one copy"), 'C', 1, {}) ||
            !run.StartCopies(QStringLiteral("two copies, 1,000 stale signal files"), 'D', 2, {}) ||
            !run.StartCopies(QStringLiteral("still tray icon"), 'E', 1,
                             {{"SysTray", "True"}, {"TrayIconMode", "1"}}) ||
            !run.StartCopies(
                QStringLiteral("animated tray icon (idle frames every 300 ms)"), 'F', 1,
                {{"SysTray", "True"}, {"TrayIconMode", "2"}, {"TrayIconIdleAnimate", "True"}},
                kTarget + kPerFrame * kIdleFrameRate) ||
            !run.StartPlainWindow(QStringLiteral("xcb")))
            return Fail("the copies did not start on X11");
        if (!run.Measure())
            return Fail("a process went away on X11");
        met = run.Report("X11") && met;
    }
    {
        e2e::SwaySession session;
        if (!session.Start())
            return Fail("cannot start sway");
        Run run(session);
        if (!run.StartCopies(QStringLiteral("one copy"), 'C', 1, {}) ||
            !run.StartCopies(QStringLiteral("two copies, 1,000 stale signal files"), 'D', 2, {}) ||
            !run.StartPlainWindow(QStringLiteral("wayland")) ||
            !e2e::WaitUntil(
                [&] {
                    return !session.Swaymsg({QStringLiteral("[title=\"Click target\"] focus")})
                                .isNull();
                },
                5000))
            return Fail("the copies did not start on sway");
        if (!run.Measure())
            return Fail("a process went away on sway");
        met = run.Report("sway") && met;
    }
    std::printf("targets (every copy at most %.0f wakeup a second, the animated icon %.0f a frame "
                "more): %s\n",
                kTarget, kPerFrame, met ? "met" : "MISSED");
    return met ? 0 : 1;
}
