#include "platform/portal/portal_request.h"

#include "platform/portal/portal_factories.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>

namespace platform::portal {
namespace {

constexpr const char* kRequestInterface = "org.freedesktop.portal.Request";
constexpr int kQuickCallMs = 5000;

} // namespace

bool PortalOffered(const QDBusConnection& bus) {
    if (!bus.isConnected())
        return false;
    if (bus.interface()->isServiceRegistered(kPortalService).value())
        return true;
    const QDBusReply<QStringList> activatable =
        bus.interface()->call(QDBus::Block, QStringLiteral("ListActivatableNames"));
    return activatable.isValid() && activatable.value().contains(kPortalService);
}

QStringList BackendsServing(const QDBusConnection& bus, const QString& implInterface) {
    QStringList serving;
    const QDBusReply<QStringList> names = bus.interface()->registeredServiceNames();
    for (const QString& name : names.value()) {
        if (!name.startsWith(QLatin1String("org.freedesktop.impl.portal.")))
            continue;
        QDBusMessage introspect = QDBusMessage::createMethodCall(
            name, kPortalPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
            QStringLiteral("Introspect"));
        introspect.setAutoStartService(false);
        const QDBusReply<QString> xml = bus.call(introspect, QDBus::Block, kQuickCallMs);
        if (xml.isValid() && xml.value().contains(QLatin1String("\"") + implInterface + '"'))
            serving << name;
    }
    return serving;
}

uint32_t InterfaceVersion(const QDBusConnection& bus, const QString& interface) {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << interface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, kQuickCallMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().first().value<QDBusVariant>().variant().toUInt();
}

void CloseSession(const QDBusConnection& bus, const QString& session) {
    if (session.isEmpty())
        return;
    bus.send(QDBusMessage::createMethodCall(kPortalService, session, kSessionInterface,
                                            QStringLiteral("Close")));
}

PortalRequest::PortalRequest(QDBusConnection bus) : m_bus(std::move(bus)) {}

// The portal names the Request object after the caller's unique bus name and the handle token;
// listening there before the call means an answer given at once is not missed.
QString PortalRequest::RequestPath(const QString& token) const {
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

PortalAnswer PortalRequest::Call(const QString& interface, const QString& method,
                                 QVariantList arguments, int timeoutMs) {
    static int counter = 0;
    const QString token = QStringLiteral("zorvane%1").arg(++counter);
    QVariantMap options = arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);

    QString path = RequestPath(token);
    const auto listen = [this](const QString& at, bool on) {
        const QString signal = QStringLiteral("Response");
        const char* slot = SLOT(OnResponse(uint, QVariantMap));
        if (on)
            m_bus.connect(kPortalService, at, kRequestInterface, signal, this, slot);
        else
            m_bus.disconnect(kPortalService, at, kRequestInterface, signal, this, slot);
    };
    listen(path, true);
    m_answer = {};
    QDBusMessage call =
        QDBusMessage::createMethodCall(kPortalService, kPortalPath, interface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kQuickCallMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        listen(path, false);
        return {PortalAnswer::Outcome::Error, 2, {}, reply.errorMessage()};
    }
    // Portals older than the handle token's convention name the object themselves.
    const QString handle = reply.arguments().value(0).value<QDBusObjectPath>().path();
    if (!handle.isEmpty() && handle != path) {
        listen(path, false);
        path = handle;
        listen(path, true);
    }

    QEventLoop loop;
    m_loop = &loop;
    QDBusServiceWatcher watcher(kPortalService, m_bus, QDBusServiceWatcher::WatchForUnregistration);
    connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, this, &PortalRequest::End);
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, this, &PortalRequest::End);
    if (timeoutMs >= 0)
        timer.start(timeoutMs);
    loop.exec();
    m_loop = nullptr;
    listen(path, false);
    if (m_answer.outcome != PortalAnswer::Outcome::Answered)
        m_bus.send(QDBusMessage::createMethodCall(kPortalService, path, kRequestInterface,
                                                  QStringLiteral("Close")));
    return m_answer;
}

void PortalRequest::End() {
    if (m_loop)
        m_loop->quit();
}

void PortalRequest::OnResponse(uint response, const QVariantMap& results) {
    if (!m_loop)
        return;
    m_answer = {PortalAnswer::Outcome::Answered, response, results, {}};
    m_loop->quit();
}

} // namespace platform::portal

namespace platform {

bool DesktopPortalsOffered() {
    return portal::PortalOffered(QDBusConnection::sessionBus());
}

} // namespace platform
