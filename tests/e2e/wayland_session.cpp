#include "wayland_session.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace e2e {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;

void CollectWindows(const QJsonObject& node, std::vector<QJsonObject>& out) {
    if (node.value(QStringLiteral("pid")).toInt() > 0)
        out.push_back(node);
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node.value(QLatin1String(children)).toArray())
            CollectWindows(child.toObject(), out);
}

QRect RectOf(const QJsonObject& node) {
    const QJsonObject rect = node.value(QStringLiteral("rect")).toObject();
    return {rect.value(QStringLiteral("x")).toInt(), rect.value(QStringLiteral("y")).toInt(),
            rect.value(QStringLiteral("width")).toInt(),
            rect.value(QStringLiteral("height")).toInt()};
}

} // namespace

SwaySession::SwaySession(bool xwayland) : m_xwayland(xwayland) {}

SwaySession::~SwaySession() {
    SessionUser::End(m_sway);
}

bool SwaySession::Start() {
    if (!m_user.Ready())
        return false;
    const QString config = m_user.Home() + QStringLiteral("/sway.conf");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QStringLiteral("output HEADLESS-1 resolution %1x%2 position 0 0\n"
                              "default_border none\n"
                              "focus_follows_mouse no\n"
                              "xwayland %3\n")
                   .arg(kWidth)
                   .arg(kHeight)
                   .arg(m_xwayland ? QStringLiteral("force") : QStringLiteral("disable"))
                   .toUtf8());
    file.close();
    m_user.Adopt(m_user.Home());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SWAYSOCK"})
        env.remove(QLatin1String(name));
    env.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    env.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    env.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    // What sway says of itself (its missing DRM devices) is no concern of the tests.
    m_sway.setProcessChannelMode(QProcess::MergedChannels);
    m_sway.setStandardOutputFile(m_user.Home() + QStringLiteral("/sway.log"));
    if (!m_user.Launch(m_sway, QStringLiteral("sway"), {QStringLiteral("-c"), config}, env))
        return false;
    const QDir runtime(m_user.RuntimeFolder());
    const bool up = WaitUntil(
        [&] {
            const QStringList sockets =
                runtime.entryList({QStringLiteral("wayland-*")}, QDir::System);
            const QStringList ipc = runtime.entryList({QStringLiteral("sway-ipc.*")}, QDir::System);
            for (const QString& socket : sockets)
                if (!socket.endsWith(QLatin1String(".lock")))
                    m_display = socket;
            if (!ipc.isEmpty())
                m_socket = runtime.filePath(ipc.first());
            return m_sway.state() == QProcess::NotRunning ||
                   (!m_display.isEmpty() && !m_socket.isEmpty() &&
                    !Swaymsg({QStringLiteral("-t"), QStringLiteral("get_outputs")}).isNull());
        },
        15000);
    if (!up || m_sway.state() != QProcess::Running)
        return false;
    if (!m_xwayland)
        return true;
    // The X display sway made, as its own clients see it.
    const QString answer = m_user.Home() + QStringLiteral("/display");
    Swaymsg({QStringLiteral("exec"), QStringLiteral("printf %s \"$DISPLAY\" > ") + answer});
    return WaitUntil(
        [&] {
            QFile shown(answer);
            m_xDisplay =
                shown.open(QIODevice::ReadOnly) ? QString::fromLatin1(shown.readAll()) : QString();
            return !m_xDisplay.isEmpty();
        },
        10000);
}

QProcessEnvironment SwaySession::Environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    if (!m_xDisplay.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), m_xDisplay);
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_display);
    env.insert(QStringLiteral("SWAYSOCK"), m_socket);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_user.RuntimeFolder());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    // A window of the program and the recorder share the output side by side: no decorations.
    env.insert(QStringLiteral("QT_WAYLAND_DISABLE_WINDOWDECORATION"), QStringLiteral("1"));
    return env;
}

QString SwaySession::Swaymsg(const QStringList& arguments) const {
    QProcess swaymsg;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("SWAYSOCK"), m_socket);
    swaymsg.setProcessEnvironment(env);
    swaymsg.start(QStringLiteral("swaymsg"), arguments);
    if (!swaymsg.waitForFinished(5000) || swaymsg.exitCode() != 0)
        return {};
    const QString out = QString::fromUtf8(swaymsg.readAllStandardOutput());
    return out.isNull() ? QStringLiteral("") : out;
}

std::vector<QJsonObject> SwaySession::Windows() const {
    std::vector<QJsonObject> windows;
    const QString tree = Swaymsg({QStringLiteral("-t"), QStringLiteral("get_tree")});
    CollectWindows(QJsonDocument::fromJson(tree.toUtf8()).object(), windows);
    return windows;
}

QStringList SwaySession::FindWindows(const QString& caption) const {
    QStringList found;
    for (const QJsonObject& window : Windows())
        if (window.value(QStringLiteral("name")).toString() == caption &&
            window.value(QStringLiteral("visible")).toBool())
            found << QString::number(window.value(QStringLiteral("id")).toInt());
    return found;
}

QRect SwaySession::WindowRect(const QString& title) const {
    for (const QJsonObject& window : Windows())
        if (window.value(QStringLiteral("name")).toString() == title)
            return RectOf(window);
    return {};
}

bool SwaySession::Focused(const QString& title) const {
    for (const QJsonObject& window : Windows())
        if (window.value(QStringLiteral("name")).toString() == title)
            return window.value(QStringLiteral("focused")).toBool();
    return false;
}

bool SwaySession::RunTool(const QString& program, const QStringList& arguments) const {
    QProcess tool;
    return Launch(tool, program, arguments, Environment()) && tool.waitForFinished(10000) &&
           tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

bool SwaySession::ClickAt(int x, int y) const {
    return RunTool(m_user.Place(QStringLiteral(ZORVANE_WAYLAND_POINTER)),
                   {QString::number(kWidth), QString::number(kHeight), QString::number(x),
                    QString::number(y), QStringLiteral("click")});
}

// wtype's keyboard brings a keymap of its own: keys sent at once after it came may be lost, so
// it waits a little first.
bool SwaySession::Keys(const QString& wtypeArguments) const {
    return RunTool(QStringLiteral("wtype"),
                   QStringList{QStringLiteral("-s"), QStringLiteral("200"), QStringLiteral("-d"),
                               QStringLiteral("30")} +
                       wtypeArguments.split(QLatin1Char(' ')));
}

bool WaylandRecorder::Start() {
    const QString title = QStringLiteral("Click target");
    if (!StartRecorder(m_session, m_session.User().Place(QStringLiteral(ZORVANE_WAYLAND_RECORDER)),
                       {}))
        return false;
    // Tiled, the window fills what sway gives it once it has taken its size.
    return WaitUntil(
        [&] {
            const QRect rect = m_session.WindowRect(title);
            m_origin = rect.topLeft();
            return rect.width() > 0;
        },
        10000);
}

std::vector<ButtonEvent> WaylandRecorder::Presses() {
    std::vector<ButtonEvent> presses = RecorderLog::Presses();
    for (ButtonEvent& press : presses) {
        press.x += m_origin.x();
        press.y += m_origin.y();
    }
    return presses;
}

} // namespace e2e
