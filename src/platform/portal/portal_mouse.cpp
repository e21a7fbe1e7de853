#include "platform/portal/portal_mouse.h"

#include "platform/portal/portal_factories.h"

#include "platform/portal/portal_request.h"
#include "platform/portal/portal_rules.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <deque>

namespace platform {

using portal::PortalAnswer;
using portal::PortalRequest;
using portal::Refusal;

namespace {

constexpr uint32_t kPointerDevice = 2;
constexpr uint32_t kMonitorSource = 1;
constexpr uint32_t kPersistUntilRevoked = 2;
constexpr int kQuickAnswerMs = 25000;
constexpr qint64 kMoveToPressMs = 50;
// After the desktop's answer its question goes away and the session's devices appear; clicks
// sent in that time can be lost (seen for up to half a second in GNOME).
constexpr int kSettleMs = 500;

ClickReadiness Refused(Refusal refusal, const QString& detail = {}) {
    return {false, portal::RefusalText(refusal, detail.toStdString()), {}};
}

// The monitor streams of a Start answer: a(ua{sv}), each with its place and size.
std::vector<portal::Stream> ReadStreams(const QVariantMap& results) {
    std::vector<portal::Stream> streams;
    const auto pair = [](const QVariant& value, int32_t& first, int32_t& second) {
        if (!value.canConvert<QDBusArgument>())
            return;
        const QDBusArgument argument = value.value<QDBusArgument>();
        argument.beginStructure();
        argument >> first >> second;
        argument.endStructure();
    };
    const QVariant value = results.value(QStringLiteral("streams"));
    if (!value.canConvert<QDBusArgument>())
        return streams;
    const QDBusArgument argument = value.value<QDBusArgument>();
    argument.beginArray();
    while (!argument.atEnd()) {
        portal::Stream stream;
        QVariantMap properties;
        argument.beginStructure();
        argument >> stream.node >> properties;
        argument.endStructure();
        pair(properties.value(QStringLiteral("position")), stream.x, stream.y);
        pair(properties.value(QStringLiteral("size")), stream.width, stream.height);
        streams.push_back(stream);
    }
    argument.endArray();
    return streams;
}

} // namespace

class PortalMouseInput::Session final : public QObject {
    Q_OBJECT
public:
    explicit Session(std::string folder) : m_folder(std::move(folder)) {
        m_sendTimer.setSingleShot(true);
        m_sendTimer.setTimerType(Qt::PreciseTimer);
        connect(&m_sendTimer, &QTimer::timeout, this, &Session::Send);
        m_sinceMove.start();
        // A portal that goes away or restarts has lost every session it had.
        m_portalWatcher.setConnection(m_bus);
        m_portalWatcher.addWatchedService(portal::kPortalService);
        m_portalWatcher.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
        connect(&m_portalWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString&, const QString& before, const QString&) {
                    if (!before.isEmpty())
                        Lost(QStringLiteral("the portal left the session bus"));
                });
        m_backendWatcher.setConnection(m_bus);
        m_backendWatcher.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
        connect(&m_backendWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
                [this](const QString& name, const QString& before, const QString&) {
                    if (!before.isEmpty())
                        Lost(name + QStringLiteral(" left the session bus"));
                });
    }
    ~Session() override { portal::CloseSession(m_bus, m_handle); }

    ClickReadiness Open();
    void Move(int32_t x, int32_t y);
    void Buttons(uint32_t flags);
    Point Position() const { return m_position; }
    void Seen(int32_t x, int32_t y) { m_position = {x, y}; }
    std::function<void(const std::string&)> stopped;

private slots:
    void OnClosed() { Lost({}); }
    void Send();

private:
    struct Pending {
        bool motion = false;
        int32_t x = 0, y = 0;
        portal::ButtonChange button;
    };

    ClickReadiness Ask(uint32_t version);
    // The session ended under the program: a run that was clicking is told why.
    void Lost(const QString& why);
    PortalAnswer Request(const char* interface, const char* method, QVariantList arguments,
                         int timeoutMs);
    void Forget();

    QDBusConnection m_bus = QDBusConnection::sessionBus();
    std::string m_folder;
    QString m_handle; // the open session, empty when none
    bool m_started = false;
    PortalRequest* m_asking = nullptr;
    std::vector<portal::Stream> m_streams;
    Point m_position;
    std::deque<Pending> m_pending;
    QTimer m_sendTimer;
    QElapsedTimer m_sinceMove;
    bool m_inFlight = false;
    QDBusServiceWatcher m_portalWatcher;
    QDBusServiceWatcher m_backendWatcher; // the backends serving the session
};

ClickReadiness PortalMouseInput::Session::Open() {
    if (m_started)
        return {};
    if (m_asking)
        return Refused(Refusal::StillAsking);
    const uint32_t version = portal::InterfaceVersion(m_bus, portal::kRemoteDesktop);
    if (version == 0 || !m_bus.isConnected())
        return Refused(m_bus.isConnected() && portal::PortalOffered(m_bus) ? Refusal::NoAnswer
                                                                           : Refusal::NoPortal);
    const ClickReadiness readiness = Ask(version);
    if (!readiness.ready)
        Forget();
    return readiness;
}

PortalAnswer PortalMouseInput::Session::Request(const char* interface, const char* method,
                                                QVariantList arguments, int timeoutMs) {
    PortalRequest request(m_bus);
    m_asking = &request;
    PortalAnswer answer = request.Call(interface, method, std::move(arguments), timeoutMs);
    m_asking = nullptr;
    return answer;
}

ClickReadiness PortalMouseInput::Session::Ask(uint32_t version) {
    const auto refusal = [](const PortalAnswer& answer) {
        if (answer.outcome == PortalAnswer::Outcome::Error)
            return Refused(Refusal::Failed, answer.error);
        if (answer.outcome == PortalAnswer::Outcome::Ended)
            return Refused(Refusal::Closed);
        return Refused(answer.response == 1 ? Refusal::Denied : Refusal::Failed);
    };
    const QVariantMap noOptions;
    static int sessions = 0;
    const QString token = QStringLiteral("zorvane%1").arg(++sessions);
    PortalAnswer answer = Request(portal::kRemoteDesktop, "CreateSession",
                                  {QVariantMap{{"session_handle_token", token}}}, kQuickAnswerMs);
    if (!answer.Succeeded())
        return refusal(answer);
    m_handle = answer.results.value(QStringLiteral("session_handle")).toString();
    m_bus.connect(portal::kPortalService, m_handle, portal::kSessionInterface,
                  QStringLiteral("Closed"), this, SLOT(OnClosed()));

    QVariantMap devices{{"types", kPointerDevice}};
    if (portal::PortalKeepsSessions(version)) {
        devices.insert(QStringLiteral("persist_mode"), kPersistUntilRevoked);
        if (const auto token = portal::ReadRestoreToken(m_folder))
            devices.insert(QStringLiteral("restore_token"), QString::fromStdString(*token));
    }
    const QDBusObjectPath session(m_handle);
    answer = Request(portal::kRemoteDesktop, "SelectDevices",
                     {QVariant::fromValue(session), devices}, kQuickAnswerMs);
    if (answer.Succeeded())
        answer = Request(portal::kScreenCast, "SelectSources",
                         {QVariant::fromValue(session),
                          QVariantMap{{"types", kMonitorSource}, {"multiple", true}}},
                         kQuickAnswerMs);
    // The user's answer: no time limit.
    if (answer.Succeeded())
        answer = Request(portal::kRemoteDesktop, "Start",
                         {QVariant::fromValue(session), QString(), noOptions}, -1);
    if (!answer.Succeeded() || m_handle.isEmpty())
        return refusal(answer);
    if (!(answer.results.value(QStringLiteral("devices")).toUInt() & kPointerDevice))
        return Refused(Refusal::NoPointer);
    m_streams = ReadStreams(answer.results);
    if (!portal::MapToStream(m_streams, 0, 0))
        return Refused(Refusal::Failed, QStringLiteral("no monitor was shared"));
    if (portal::PortalKeepsSessions(version))
        portal::KeepRestoreToken(
            m_folder,
            answer.results.value(QStringLiteral("restore_token")).toString().toStdString());
    m_started = true;
    // The backend that answered for the desktop may go away without a word to the portal's
    // sessions: it is watched too.
    m_backendWatcher.setWatchedServices(portal::BackendsServing(
        m_bus, QStringLiteral("org.freedesktop.impl.portal.RemoteDesktop")));
    return {};
}

void PortalMouseInput::Session::Lost(const QString& why) {
    const bool clicking = m_started;
    Forget();
    if (clicking && stopped)
        stopped(portal::RefusalText(Refusal::Ended, why.toStdString()));
}

// The session is gone (closed by the desktop, refused, or the portal went away): nothing clicks
// until the next Start opens a new one.
void PortalMouseInput::Session::Forget() {
    if (m_asking)
        m_asking->End();
    if (!m_handle.isEmpty()) {
        m_bus.disconnect(portal::kPortalService, m_handle, portal::kSessionInterface,
                         QStringLiteral("Closed"), this, SLOT(OnClosed()));
        portal::CloseSession(m_bus, m_handle);
    }
    m_handle.clear();
    m_started = false;
    m_backendWatcher.setWatchedServices({});
    m_streams.clear();
    m_pending.clear();
    m_sendTimer.stop();
}

void PortalMouseInput::Session::Move(int32_t x, int32_t y) {
    m_position = {x, y};
    if (!m_started)
        return;
    m_pending.push_back({true, x, y, {}});
    Send();
}

void PortalMouseInput::Session::Buttons(uint32_t flags) {
    if (!m_started)
        return;
    for (const portal::ButtonChange& change : portal::ButtonChanges(flags))
        m_pending.push_back({false, 0, 0, change});
    Send();
}

// One notification at a time, the next after the portal's answer to the last: the portal passes
// them on through threads of its own, and notifications sent back to back reach the desktop out
// of order (a release after the next move, a press swallowed). Nothing waits on the window
// thread meanwhile.
void PortalMouseInput::Session::Send() {
    if (m_pending.empty() || m_inFlight)
        return;
    const Pending next = m_pending.front();
    QVariantList arguments;
    const char* method = "NotifyPointerButton";
    if (next.motion) {
        const auto point = portal::MapToStream(m_streams, next.x, next.y);
        if (!point)
            return; // no session: Forget empties the queue
        method = "NotifyPointerMotionAbsolute";
        arguments = {point->node, point->x, point->y};
        m_sinceMove.restart();
    } else {
        const qint64 wait = kMoveToPressMs - m_sinceMove.elapsed();
        if (wait > 0) {
            m_sendTimer.start(int(wait));
            return;
        }
        arguments = {next.button.code, uint32_t(next.button.pressed ? 1 : 0)};
    }
    m_pending.pop_front();
    QDBusMessage message = QDBusMessage::createMethodCall(
        portal::kPortalService, portal::kPortalPath, portal::kRemoteDesktop, method);
    message.setArguments(
        QVariantList{QVariant::fromValue(QDBusObjectPath(m_handle)), QVariantMap()} + arguments);
    m_inFlight = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                m_inFlight = false;
                // A portal whose backend went away answers with an error, and sends no Closed.
                if (call->isError())
                    Lost(call->error().message());
                else
                    Send();
            });
}

PortalMouseInput::PortalMouseInput(std::string settingsFolder)
    : m_session(std::make_unique<Session>(std::move(settingsFolder))) {}

PortalMouseInput::~PortalMouseInput() = default;

ClickReadiness PortalMouseInput::PrepareToClick() {
    return m_session->Open();
}

Point PortalMouseInput::GetCursorPos() {
    return m_session->Position();
}

void PortalMouseInput::PointerSeenAt(int32_t x, int32_t y) {
    m_session->Seen(x, y);
}

void PortalMouseInput::SetCursorPos(int32_t x, int32_t y) {
    m_session->Move(x, y);
}

void PortalMouseInput::MouseEvent(uint32_t flags) {
    m_session->Buttons(flags);
}

void PortalMouseInput::WhenClickingStops(std::function<void(const std::string&)> stopped) {
    m_session->stopped = std::move(stopped);
}

std::unique_ptr<MouseInput> CreatePortalMouse(const std::string& settingsFolder) {
    return std::make_unique<PortalMouseInput>(settingsFolder);
}

} // namespace platform

#include "portal_mouse.moc"
