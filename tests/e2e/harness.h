// End-to-end harness: a virtual X server, the independent click recorder, the real program copied
// into a folder of its own, and xdotool as the user's hands. Every wait has a deadline.
#pragma once

#include <QProcess>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace e2e {

// Runs the event loop until `condition` holds or `timeoutMs` passes; answers the condition.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);

// Every process a test starts ends with the test, also when the test itself is killed.
void EndWithTheTest(QProcess& process);

// A display session the program runs in: an X server, or a Wayland compositor.
class Session {
public:
    virtual ~Session() = default;
    // The environment for a client of this session.
    virtual QProcessEnvironment Environment() const = 0;
    // The visible top-level windows whose caption is exactly `caption`.
    virtual QStringList FindWindows(const QString& caption) const = 0;
    // Starts a client of the session (as the session's user); it ends with the test.
    virtual bool Launch(QProcess& process, const QString& program, const QStringList& arguments,
                        const QProcessEnvironment& env) const;
    // Lets the session's user have a folder the test made, with all it holds.
    virtual bool Adopt(const QString& /*folder*/) const { return true; }
};

// An Xvfb server on a display number nobody uses.
class XServer : public Session {
public:
    explicit XServer(QSize size = {1024, 768});
    ~XServer() override;
    bool Start();
    QString Display() const { return m_display; }
    QProcessEnvironment Environment() const override;
    QStringList FindWindows(const QString& caption) const override;

private:
    QSize m_size;
    QString m_display;
    QProcess m_process;
};

struct ButtonEvent {
    bool press = false;
    int button = 0;
    int x = 0;
    int y = 0;
    qint64 time = 0; // the server's timestamp, ms
};

// What a click recorder (X or Wayland) writes: "ready ..." once, then a line per button event.
class RecorderLog {
public:
    virtual ~RecorderLog();
    std::vector<ButtonEvent> Events();
    std::vector<ButtonEvent> Presses();
    // Waits until `count` presses have arrived.
    bool WaitForPresses(size_t count, int timeoutMs);
    // Waits for the presses `from` to `from + count` and half a second more; true when just those
    // came, each a left press at `at`, none sooner than `gapMs` after the one before (less 10 ms:
    // timer ticks wander by a few milliseconds either way). Says what was wrong otherwise.
    bool PressesOnSchedule(size_t from, size_t count, QPoint at, qint64 gapMs);

protected:
    // Starts the recorder and waits for its "ready".
    bool StartRecorder(const Session& session, const QString& program,
                       const QStringList& arguments);
    // The words after "ready".
    QList<QByteArray> m_readyWords;

private:
    void ReadLines();
    QProcess m_process;
    QByteArray m_pending;
    std::vector<ButtonEvent> m_events;
    bool m_ready = false;
};

// The click recorder: an X client of its own that logs what it receives.
class Recorder : public RecorderLog {
public:
    explicit Recorder(const XServer& server) : m_server(server) {}
    // Maps its window over the given rectangle ("WxH+X+Y"; empty = whole screen).
    bool Start(const QString& geometry = {});
    // The recorder's own window.
    QString Window() const { return QString::fromLatin1(m_readyWords.value(0)); }

private:
    const XServer& m_server;
};

using SettingValues = std::vector<std::pair<std::string, std::string>>;
// The settings of a counted run of left clicks at a place, started at once by "run" or by START;
// every Start counts the clicks again.
SettingValues CountedRun(int x, int y, int interval, int count);

// The real program, copied into a temporary folder of its own with its files.
class Program {
public:
    explicit Program(const Session& session);
    ~Program();
    QString Folder() const { return m_folder.path(); }
    QString FilePath(const QString& name) const { return m_folder.filePath(name); }
    bool Start(const QStringList& arguments = {});
    // Copies the program into the folder (Start does it too).
    bool Install() const;
    // Starts another copy of the program in this folder, held by `process`.
    bool StartCopy(QProcess& process, const QStringList& arguments = {}) const;
    // Waits for a main window with exactly this caption; answers its X window id or 0.
    QString WaitForWindow(int timeoutMs = 10000, const QString& caption = "Zorvane 2.20");
    bool WaitForExit(int timeoutMs);
    // Waits until no process started from this folder runs any more (a restarted copy too).
    bool WaitForAllExited(int timeoutMs);
    bool Running() const { return m_process.state() != QProcess::NotRunning; }
    // Every process running the program copied into this folder.
    std::vector<qint64> Processes() const;
    // Writes the default settings file into the folder, then sets the given elements.
    bool WriteSettings(const SettingValues& values);
    QByteArray ReadFile(const QString& name) const;
    qint64 Pid() const { return m_process.processId(); }
    int ExitCode() const { return m_process.exitCode(); }
    QByteArray ErrorOutput() { return m_process.readAllStandardError(); }
    // Kills every process started from this folder.
    void Kill();

private:
    const Session& m_session;
    QTemporaryDir m_folder;
    QProcess m_process;
};

// The top-level windows whose caption is exactly `caption`, visible ones only.
inline QStringList FindWindows(const XServer& server, const QString& caption) {
    return server.FindWindows(caption);
}

// Runs xdotool with the arguments on the server's display; answers its standard output, or a
// null string when it failed.
QString Xdotool(const XServer& server, const QStringList& arguments, int timeoutMs = 10000);

// Presses and releases keys (xdotool key names) with the given window focused.
bool Keys(const XServer& server, const QString& window, const QStringList& keys);
// Types a text into the focused window.
bool Type(const XServer& server, const QString& window, const QString& text);

// Types click settings into the main window as a user would, from the keyboard: position,
// interval, left or right button, a counted run of `count` clicks; then presses START.
bool EnterClickRun(const XServer& server, const QString& window, int x, int y, int interval,
                   int count, bool right);
// The same with the x field's text as typed.
bool EnterClickRun(const XServer& server, const QString& window, const QString& x, int y,
                   int interval, int count, bool right);

// Saves a picture of the server's screen.
bool Screenshot(const XServer& server, const QString& file);

// CPU time (user and system) a process has used so far, in seconds; -1 when it is gone.
double ProcessCpuSeconds(qint64 pid);
// The most memory a process has held resident so far (VmHWM), in KiB; 0 when it is gone.
long ProcessPeakMemoryKb(qint64 pid);

// The position and size of a window, from xdotool; an empty rectangle when unknown.
QRect WindowGeometry(const XServer& server, const QString& window);

// Starts a helper client on the server (a window manager, a notification-area host); it ends
// with the test.
bool StartClient(const XServer& server, QProcess& process, const QString& program,
                 const QStringList& arguments);

// One window of the server's window tree: its id in decimal (as xdotool gives ids), its parent's
// ("" for the root's children) and its name.
struct TreeWindow {
    QString id;
    QString parent;
    QString name;
};
// Every window of the server, parents before their children.
std::vector<TreeWindow> WindowTree(const XServer& server);

// The viewable windows a process has, by their _NET_WM_PID.
QStringList ProcessWindows(const XServer& server, qint64 pid);

} // namespace e2e
