// The test's eyes and hands in a headless GNOME or KDE session: it reads the windows over AT-SPI
// and has a keyboard kept for its whole life like a user's devices. On GNOME (by default) the
// keyboard and a pointer are mutter's own remote-desktop devices (a headless session without them
// has no pointer at all, and each device that comes and goes makes the windows take a new one,
// losing the clicks in between); with --portal (KDE) the keyboard is the RemoteDesktop portal's,
// whose keys KWin takes as the user's, through its global shortcuts too.
//
// Runs as the session's user, on its bus; says "ready", then answers each command on its standard
// input with "ok", or "failed" when the window or the object did not appear within 30 seconds:
//   allow | cancel     answers the desktop's remote-desktop question (GNOME)
//   find APP TEXT      waits for an object of application APP whose name holds TEXT
//   press APP NAME     presses the button of application APP named NAME (not awaited)
//   end NAME           kills the process owning the bus name NAME, as when it crashes
//   keys CODE...       presses the keys of these evdev codes in order, then releases them in the
//                      reverse order
//   sessions NAME...   waits until the portal's sessions of other clients than the hands are
//                      those of these names (their handle tokens), each once, and no other
#include "platform/portal/portal_request.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr const char* kAccessible = "org.a11y.atspi.Accessible";
constexpr uint32_t kFocused = 1u << 12;
constexpr uint32_t kChecked = 1u << 4;
QDBusConnection a11y(QString{});

QVariantList Call(const QDBusConnection& bus, const QString& service, const QString& path,
                  const char* interface, const char* method, const QVariantList& arguments = {}) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, 3000).arguments();
}

// Visits the objects of the applications whose name holds `app`; stops when visit answers true.
using Visit = std::function<bool(const QString& name, uint32_t state, const QString& service,
                                 const QString& path)>;

bool Walk(const QString& service, const QString& path, const QString& app, int depth,
          const Visit& visit) {
    const QString name = Call(a11y, service, path, "org.freedesktop.DBus.Properties", "Get",
                              {kAccessible, QStringLiteral("Name")})
                             .value(0)
                             .value<QDBusVariant>()
                             .variant()
                             .toString();
    if (depth == 1 && !name.contains(app))
        return false;
    const QVariantList state = Call(a11y, service, path, kAccessible, "GetState");
    uint32_t low = 0;
    if (!state.isEmpty()) {
        QList<uint32_t> words;
        state.first().value<QDBusArgument>() >> words;
        low = words.value(0);
    }
    if (depth > 1 && visit(name, low, service, path))
        return true;
    const QVariantList children = Call(a11y, service, path, kAccessible, "GetChildren");
    if (children.isEmpty() || depth > 24)
        return false;
    const QDBusArgument list = children.first().value<QDBusArgument>();
    list.beginArray();
    bool found = false;
    while (!list.atEnd() && !found) {
        QString childService;
        QDBusObjectPath childPath;
        list.beginStructure();
        list >> childService >> childPath;
        list.endStructure();
        found = Walk(childService, childPath.path(), app, depth + 1, visit);
    }
    return found;
}

bool Seen(const QString& app, const Visit& visit, int timeoutMs = 30000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (Walk("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root", app, 0, visit))
            return true;
        QThread::msleep(100);
    }
    return false;
}

using platform::portal::kPortalPath;
using platform::portal::kRemoteDesktop;
constexpr const char* kPortal = platform::portal::kPortalService;

// Calls a method of the RemoteDesktop portal and waits up to 10 seconds for its answer: its
// results, or nothing when it failed or was refused.
std::optional<QVariantMap> Ask(const char* method, QVariantList arguments) {
    platform::portal::PortalRequest request(QDBusConnection::sessionBus());
    const platform::portal::PortalAnswer answer =
        request.Call(kRemoteDesktop, QString::fromLatin1(method), std::move(arguments), 10000);
    return answer.Succeeded() ? std::optional(answer.results) : std::nullopt;
}

// Mutter's own remote-desktop keyboard and pointer, or (portal) the RemoteDesktop portal's
// keyboard.
class Keyboard {
public:
    explicit Keyboard(bool portal) : m_portal(portal) {
        if (portal) {
            const auto session =
                Ask("CreateSession", {QVariantMap{{"session_handle_token", "hands"}}});
            const QDBusObjectPath path(
                session.value_or(QVariantMap()).value(QStringLiteral("session_handle")).toString());
            constexpr uint kKeyboard = 1;
            if (!path.path().isEmpty() &&
                Ask("SelectDevices",
                    {QVariant::fromValue(path), QVariantMap{{"types", kKeyboard}}}) &&
                Ask("Start", {QVariant::fromValue(path), QString(), QVariantMap()}))
                m_session = path.path();
            return;
        }
        m_session = Call(m_bus, kMutter, "/org/gnome/Mutter/RemoteDesktop",
                         "org.gnome.Mutter.RemoteDesktop", "CreateSession")
                        .value(0)
                        .value<QDBusObjectPath>()
                        .path();
        Call(m_bus, kMutter, m_session, kSession, "Start");
        Call(m_bus, kMutter, m_session, kSession, "NotifyPointerMotionRelative", {1.0, 1.0});
        Press(0xffe1); // Shift
    }
    ~Keyboard() {
        if (!m_portal)
            Call(m_bus, kMutter, m_session, kSession, "Stop");
    }
    bool Ready() const { return !m_session.isEmpty(); }
    void Press(uint32_t keysym) {
        for (const bool down : {true, false})
            Notify("NotifyKeyboardKeysym", keysym, down);
    }
    // A key by its evdev code, pressed or released; true when the desktop took it.
    bool Key(uint32_t code, bool down) { return Notify("NotifyKeyboardKeycode", code, down); }

private:
    bool Notify(const char* method, uint32_t value, bool down) {
        QDBusMessage call =
            m_portal ? QDBusMessage::createMethodCall(kPortal, kPortalPath, kRemoteDesktop, method)
                     : QDBusMessage::createMethodCall(kMutter, m_session, kSession, method);
        if (m_portal)
            call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariantMap()
                 << int32_t(value) << uint32_t(down);
        else
            call << value << down;
        // Each key once the last is handed on: the desktop takes them in order.
        return m_bus.call(call, QDBus::Block, 3000).type() == QDBusMessage::ReplyMessage;
    }

    static constexpr const char* kMutter = "org.gnome.Mutter.RemoteDesktop";
    static constexpr const char* kSession = "org.gnome.Mutter.RemoteDesktop.Session";
    QDBusConnection m_bus = QDBusConnection::sessionBus();
    bool m_portal;
    QString m_session;
};

// Kills the process that owns the bus name, as when it crashes, and waits until the name is free.
bool End(const QString& name) {
    QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
    const QDBusReply<uint> pid = bus->servicePid(name);
    if (!pid.isValid() || ::kill(pid_t(pid.value()), SIGKILL) != 0)
        return false;
    const QDeadlineTimer deadline(5000);
    while (bus->isServiceRegistered(name).value())
        if (deadline.hasExpired())
            return false;
    return true;
}

// The handle tokens of the portal's sessions of other clients than the hands, sorted: the portal
// keeps each at session/<its client's bus name>/<its token>.
QStringList OtherSessions(const QString& path = QStringLiteral("%1/session").arg(kPortalPath)) {
    static const QString hands =
        QDBusConnection::sessionBus().baseService().mid(1).replace(QLatin1Char('.'), '_');
    const QString xml = Call(QDBusConnection::sessionBus(), kPortal, path,
                             "org.freedesktop.DBus.Introspectable", "Introspect")
                            .value(0)
                            .toString();
    QStringList names;
    for (const auto& node : QRegularExpression("<node name=\"(\\w+)\"").globalMatch(xml))
        if (!path.endsWith("/session"))
            names << node.captured(1);
        else if (node.captured(1) != hands)
            names << OtherSessions(path + '/' + node.captured(1));
    names.sort();
    return names;
}

// Tab until the object named `what` has the focus, then the key.
bool TabTo(Keyboard& keys, const QString& what, uint32_t keysym) {
    constexpr uint32_t kTab = 0xff09;
    for (int tabs = 0; tabs < 10; ++tabs) {
        // The focus follows a key press a moment later.
        if (Seen(
                "xdg-desktop-portal-gnome",
                [&](const QString& name, uint32_t state, const QString&, const QString&) {
                    return (state & kFocused) && name.contains(what);
                },
                1000)) {
            keys.Press(keysym);
            return true;
        }
        keys.Press(kTab);
    }
    return false;
}

bool Answer(Keyboard& keys, const QString& command) {
    const QStringList words = command.split(QLatin1Char(' '));
    if (words.value(0) == QLatin1String("find") && words.size() >= 3) {
        const QString text = words.mid(2).join(QLatin1Char(' '));
        return Seen(words[1], [&](const QString& name, uint32_t, const QString&, const QString&) {
            return name.contains(text);
        });
    }
    if (words.value(0) == QLatin1String("keys") && words.size() >= 2) {
        bool done = true;
        for (qsizetype i = 1; i < words.size(); ++i)
            done = keys.Key(words[i].toUInt(), true) && done;
        for (qsizetype i = words.size() - 1; i >= 1; --i)
            done = keys.Key(words[i].toUInt(), false) && done;
        return done;
    }
    if (words.value(0) == QLatin1String("end") && words.size() == 2)
        return End(words[1]);
    if (words.value(0) == QLatin1String("sessions")) {
        QStringList expected = words.mid(1);
        expected.sort();
        const QDeadlineTimer deadline(30000);
        while (OtherSessions() != expected && !deadline.hasExpired())
            QThread::msleep(100);
        return OtherSessions() == expected;
    }
    if (words.value(0) == QLatin1String("press") && words.size() == 3) {
        return Seen(words[1], [&](const QString& name, uint32_t, const QString& service,
                                  const QString& path) {
            if (name != words[2])
                return false;
            QDBusMessage press =
                QDBusMessage::createMethodCall(service, path, "org.a11y.atspi.Action", "DoAction");
            press << 0;
            // The program answers once the press is handled, which may wait for the desktop.
            return a11y.send(press);
        });
    }
    if (!Seen("xdg-desktop-portal-gnome",
              [](const QString& name, uint32_t, const QString&, const QString&) {
                  return name == QLatin1String("Remote desktop");
              }))
        return false;
    constexpr uint32_t kSpace = 0x20, kReturn = 0xff0d;
    const auto allowed = [](const QString& name, uint32_t state, const QString&, const QString&) {
        return name == QLatin1String("Allow remote interaction") && (state & kChecked);
    };
    if (command == QLatin1String("allow"))
        return TabTo(keys, "Allow remote interaction", kSpace) &&
               Seen("xdg-desktop-portal-gnome", allowed, 2000) && TabTo(keys, "Share", kReturn);
    return command == QLatin1String("cancel") && TabTo(keys, "Cancel", kReturn);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    a11y = QDBusConnection::connectToBus(Call(QDBusConnection::sessionBus(), "org.a11y.Bus",
                                              "/org/a11y/bus", "org.a11y.Bus", "GetAddress")
                                             .value(0)
                                             .toString(),
                                         QStringLiteral("a11y"));
    const QDeadlineTimer deadline(30000);
    while (Call(QDBusConnection::sessionBus(), kPortal, kPortalPath,
                "org.freedesktop.DBus.Properties", "Get", {kRemoteDesktop, "version"})
               .isEmpty()) {
        if (deadline.hasExpired())
            return 1;
        QThread::msleep(100);
    }
    Keyboard keys(application.arguments().contains(QStringLiteral("--portal")));
    if (!keys.Ready())
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
        std::printf("%s\n", Answer(keys, QString::fromStdString(line)) ? "ok" : "failed");
        std::fflush(stdout);
    }
    return 0;
}
