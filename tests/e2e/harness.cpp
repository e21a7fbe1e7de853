#include "harness.h"

#include "store/settings_file.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <sys/types.h>
#include <unistd.h>

namespace e2e {

// A stray X server would otherwise hold the test runner's output open.
void EndWithTheTest(QProcess& process) {
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

bool Session::Launch(QProcess& process, const QString& program, const QStringList& arguments,
                     const QProcessEnvironment& env) const {
    process.setProcessEnvironment(env);
    EndWithTheTest(process);
    process.start(program, arguments);
    return process.waitForStarted(5000);
}

namespace {

// Runs a tool on the server's display; answers its standard output, or a null string when it
// failed.
QString RunTool(const XServer& server, const QString& tool, const QStringList& arguments,
                int timeoutMs) {
    QProcess process;
    process.setProcessEnvironment(server.Environment());
    process.start(tool, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        return {};
    }
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    return out.isNull() ? QStringLiteral("") : out;
}

} // namespace

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

// --- XServer

XServer::XServer(QSize size) : m_size(size) {}

XServer::~XServer() {
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool XServer::Start() {
    // Display numbers from a random start, so that parallel test runs rarely meet.
    const int first = 100 + int(QRandomGenerator::global()->bounded(400));
    for (int n = first; n < first + 40; ++n) {
        if (QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) ||
            QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        m_display = QStringLiteral(":%1").arg(n);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        EndWithTheTest(m_process);
        m_process.start(QStringLiteral("Xvfb"),
                        {m_display, QStringLiteral("-screen"), QStringLiteral("0"),
                         QStringLiteral("%1x%2x24").arg(m_size.width()).arg(m_size.height()),
                         QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                         QStringLiteral("-noreset")});
        if (!m_process.waitForStarted(5000))
            return false;
        const QString socket = QStringLiteral("/tmp/.X11-unix/X%1").arg(n);
        const bool up = WaitUntil(
            [&] { return m_process.state() == QProcess::NotRunning || QFileInfo::exists(socket); },
            10000);
        if (up && m_process.state() == QProcess::Running &&
            !Xdotool(*this, {QStringLiteral("getdisplaygeometry")}).isNull())
            return true;
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    return false;
}

QProcessEnvironment XServer::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

// --- Recorders

RecorderLog::~RecorderLog() {
    m_process.kill();
    m_process.waitForFinished(3000);
}

bool RecorderLog::StartRecorder(const Session& session, const QString& program,
                                const QStringList& arguments) {
    if (!session.Launch(m_process, program, arguments, session.Environment()))
        return false;
    return WaitUntil(
        [this] {
            ReadLines();
            return m_ready;
        },
        10000);
}

void RecorderLog::ReadLines() {
    m_pending += m_process.readAllStandardOutput();
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QList<QByteArray> words = m_pending.left(end).split(' ');
        m_pending.remove(0, end + 1);
        if (words.value(0) == "ready") {
            m_ready = true;
            m_readyWords = words.mid(1);
        } else if (words.size() == 5) {
            m_events.push_back({words[0] == "press", words[1].toInt(), words[2].toInt(),
                                words[3].toInt(), words[4].toLongLong()});
        }
    }
}

std::vector<ButtonEvent> RecorderLog::Events() {
    ReadLines();
    return m_events;
}

bool Recorder::Start(const QString& geometry) {
    QStringList args;
    if (!geometry.isEmpty())
        args << QStringLiteral("--geometry") << geometry;
    return StartRecorder(m_server, QStringLiteral(ZORVANE_CLICK_RECORDER), args);
}

std::vector<ButtonEvent> RecorderLog::Presses() {
    std::vector<ButtonEvent> presses;
    for (const ButtonEvent& event : Events())
        if (event.press)
            presses.push_back(event);
    return presses;
}

bool RecorderLog::WaitForPresses(size_t count, int timeoutMs) {
    return WaitUntil([&] { return Presses().size() >= count; }, timeoutMs);
}

bool RecorderLog::PressesOnSchedule(size_t from, size_t count, QPoint at, qint64 gapMs) {
    const auto wrong = [](const QString& what) {
        qWarning("%s", qPrintable(what));
        return false;
    };
    if (!WaitForPresses(from + count, 20000))
        return wrong(QStringLiteral("%1 presses, not %2").arg(Presses().size()).arg(from + count));
    if (WaitForPresses(from + count + 1, 500))
        return wrong(QStringLiteral("more than %1 presses").arg(from + count));
    const std::vector<ButtonEvent> presses = Presses();
    for (size_t i = from; i < presses.size(); ++i) {
        const ButtonEvent& press = presses[i];
        if (press.button != 1 || QPoint(press.x, press.y) != at)
            return wrong(QStringLiteral("press %1 of button %2 at %3,%4")
                             .arg(i)
                             .arg(press.button)
                             .arg(press.x)
                             .arg(press.y));
        if (i > from && press.time - presses[i - 1].time < gapMs - 10)
            return wrong(QStringLiteral("press %1 came %2 ms after the one before")
                             .arg(i)
                             .arg(press.time - presses[i - 1].time));
    }
    return true;
}

// --- Program

Program::Program(const Session& session) : m_session(session) {}

Program::~Program() {
    Kill();
}

bool Program::Install() const {
    const QString installed = m_folder.filePath(QStringLiteral("zorvane"));
    return QFileInfo::exists(installed) ||
           QFile::copy(QStringLiteral(ZORVANE_EXECUTABLE), installed);
}

bool Program::Start(const QStringList& arguments) {
    const QString installed = m_folder.filePath(QStringLiteral("zorvane"));
    if (!Install())
        return false;
    QProcessEnvironment env = m_session.Environment();
    if (!env.contains(QStringLiteral("WAYLAND_DISPLAY")))
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder.path());
    m_process.setWorkingDirectory(m_folder.path());
    return m_session.Adopt(m_folder.path()) &&
           m_session.Launch(m_process, installed, arguments, env);
}

bool Program::StartCopy(QProcess& process, const QStringList& arguments) const {
    return m_session.Launch(process, FilePath(QStringLiteral("zorvane")), arguments,
                            m_session.Environment());
}

QString Program::WaitForWindow(int timeoutMs, const QString& caption) {
    QString found;
    WaitUntil(
        [&] {
            found = m_session.FindWindows(caption).value(0);
            return !found.isEmpty();
        },
        timeoutMs);
    return found;
}

bool Program::WaitForAllExited(int timeoutMs) {
    return WaitUntil([this] { return Processes().empty(); }, timeoutMs);
}

std::vector<qint64> Program::Processes() const {
    std::vector<qint64> pids;
    const QString installed =
        QFileInfo(m_folder.filePath(QStringLiteral("zorvane"))).canonicalFilePath();
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
        QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
        const bool zombie = status.open(QIODevice::ReadOnly) &&
                            status.readAll().split(')').value(1).trimmed().startsWith('Z');
        if (!installed.isEmpty() && exe == installed && !zombie)
            pids.push_back(pid);
    }
    return pids;
}

SettingValues CountedRun(int x, int y, int interval, int count) {
    return {{"XPStyle", "False"},
            {"PreventMultipleInstance", "False"},
            {"RepeatClick", "1"},
            {"Clicks", std::to_string(count)},
            {"Coordx", std::to_string(x)},
            {"Coordy", std::to_string(y)},
            {"KeepRepeatClick", "True"},
            {"InitialRepeatClicks", std::to_string(count)},
            {"ClickIntervalinms", std::to_string(interval)}};
}

bool Program::WriteSettings(const SettingValues& values) {
    const std::string file = store::SettingsPath(m_folder.path().toStdString());
    if (!store::WriteDefaultSettings(file))
        return false;
    for (const auto& [name, value] : values)
        if (!store::SetConfigValue(file, name, value))
            return false;
    return true;
}

QByteArray Program::ReadFile(const QString& name) const {
    QFile file(m_folder.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool Program::WaitForExit(int timeoutMs) {
    return WaitUntil([this] { return m_process.state() == QProcess::NotRunning; }, timeoutMs);
}

void Program::Kill() {
    for (const qint64 pid : Processes())
        ::kill(pid_t(pid), SIGKILL);
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    WaitForAllExited(3000);
}

// --- Tools

QStringList XServer::FindWindows(const QString& caption) const {
    const QString pattern =
        QLatin1Char('^') + QRegularExpression::escape(caption) + QLatin1Char('$');
    const QString out = Xdotool(*this,
                                {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                 QStringLiteral("--name"), pattern},
                                2000);
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString Xdotool(const XServer& server, const QStringList& arguments, int timeoutMs) {
    return RunTool(server, QStringLiteral("xdotool"), arguments, timeoutMs);
}

bool Keys(const XServer& server, const QString& window, const QStringList& keys) {
    if (Xdotool(server, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}).isNull())
        return false;
    return !Xdotool(server, QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                        QStringLiteral("30")} +
                                keys)
                .isNull();
}

bool Type(const XServer& server, const QString& window, const QString& text) {
    if (Xdotool(server, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}).isNull())
        return false;
    return !Xdotool(server,
                    {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text})
                .isNull();
}

bool EnterClickRun(const XServer& server, const QString& window, int x, int y, int interval,
                   int count, bool right) {
    return EnterClickRun(server, window, QString::number(x), y, interval, count, right);
}

bool EnterClickRun(const XServer& server, const QString& window, const QString& x, int y,
                   int interval, int count, bool right) {
    // The focus starts in the x field; the tab order runs x, y, Locate, interval, range, the
    // button choice, START, the repeat box and its count.
    return Keys(server, window, {QStringLiteral("ctrl+a")}) && Type(server, window, x) &&
           Keys(server, window, {QStringLiteral("Tab")}) &&
           Type(server, window, QString::number(y)) &&
           Keys(server, window, {QStringLiteral("Tab"), QStringLiteral("Tab")}) &&
           Type(server, window, QString::number(interval)) &&
           Keys(server, window, {QStringLiteral("Tab"), QStringLiteral("Tab")}) &&
           (!right || Keys(server, window, {QStringLiteral("Right")})) &&
           Keys(server, window,
                {QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("space"),
                 QStringLiteral("Tab")}) &&
           Type(server, window, QString::number(count)) &&
           Keys(server, window, {QStringLiteral("alt+s")});
}

bool Screenshot(const XServer& server, const QString& file) {
    QProcess process;
    process.setProcessEnvironment(server.Environment());
    process.start(QStringLiteral(ZORVANE_SCREENSHOT), {file});
    return process.waitForFinished(10000) && process.exitCode() == 0;
}

double ProcessCpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // After the command's closing parenthesis: the state is the first field, utime the 12th and
    // stime the 13th.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) /
           double(sysconf(_SC_CLK_TCK));
}

long ProcessPeakMemoryKb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

QRect WindowGeometry(const XServer& server, const QString& window) {
    const QString out =
        Xdotool(server, {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    QMap<QString, int> values;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        values[line.section(QLatin1Char('='), 0, 0)] = line.section(QLatin1Char('='), 1).toInt();
    if (!values.contains(QStringLiteral("WIDTH")))
        return {};
    return {values[QStringLiteral("X")], values[QStringLiteral("Y")],
            values[QStringLiteral("WIDTH")], values[QStringLiteral("HEIGHT")]};
}

bool StartClient(const XServer& server, QProcess& process, const QString& program,
                 const QStringList& arguments) {
    process.setProcessEnvironment(server.Environment());
    EndWithTheTest(process);
    process.start(program, arguments);
    return process.waitForStarted(5000);
}

std::vector<TreeWindow> WindowTree(const XServer& server) {
    // Each line of the tree names a window indented by its depth: `0x400010 "name": (...)`, or
    // `0x400004 (has no name): ()`.
    static const QRegularExpression line(QStringLiteral(R"re(^( *)0x([0-9a-f]+) (?:"(.*?)":)?)re"));
    std::vector<TreeWindow> windows;
    std::vector<std::pair<qsizetype, QString>> ancestors; // indent and id
    const QString out = RunTool(server, QStringLiteral("xwininfo"),
                                {QStringLiteral("-root"), QStringLiteral("-tree")}, 10000);
    for (const QString& text : out.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = line.match(text);
        if (!match.hasMatch())
            continue;
        const qsizetype indent = match.capturedLength(1);
        while (!ancestors.empty() && ancestors.back().first >= indent)
            ancestors.pop_back();
        const QString id = QString::number(match.captured(2).toULongLong(nullptr, 16));
        windows.push_back(
            {id, ancestors.empty() ? QString() : ancestors.back().second, match.captured(3)});
        ancestors.emplace_back(indent, id);
    }
    return windows;
}

QStringList ProcessWindows(const XServer& server, qint64 pid) {
    return Xdotool(server,
                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--pid"), QString::number(pid)},
                   2000)
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace e2e
