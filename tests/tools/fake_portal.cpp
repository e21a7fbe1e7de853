// A remote-desktop portal of the test's own, standing for a desktop the tests cannot run: it owns
// org.freedesktop.portal.Desktop on the session bus, offers RemoteDesktop at the version given,
// answers every request at once as a user who agrees, and shares the pointer or not. It prints
// the restore token each SelectDevices brings ("restore_token TOKEN", "-" for none).
//   fake_portal VERSION POINTER(0|1)
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

struct Stream {
    uint node;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Stream& stream) {
    argument.beginStructure();
    argument << stream.node << stream.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Stream&) {
    return argument;
}

QVariant Pair(int first, int second) {
    QDBusArgument pair;
    pair.beginStructure();
    pair << first << second;
    pair.endStructure();
    return QVariant::fromValue(pair);
}

} // namespace

Q_DECLARE_METATYPE(Stream)

namespace {

class FakePortal final : public QDBusVirtualObject {
public:
    FakePortal(uint version, bool pointer) : m_version(version), m_pointer(pointer) {}
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& call, const QDBusConnection& bus) override {
        const QString method = call.member();
        if (method == QLatin1String("Get")) {
            bus.send(call.createReply(QVariant::fromValue(QDBusVariant(m_version))));
            return true;
        }
        const QVariantList arguments = call.arguments();
        const QVariantMap options = qdbus_cast<QVariantMap>(arguments.value(arguments.size() - 1));
        if (!options.contains(QStringLiteral("handle_token"))) { // Notify..., Close
            bus.send(call.createReply());
            return true;
        }
        QString sender = call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                    .arg(sender, options.value("handle_token").toString());
        bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
        QVariantMap results;
        if (method == QLatin1String("CreateSession"))
            results.insert("session_handle", "/org/freedesktop/portal/desktop/session/1/fake");
        if (method == QLatin1String("SelectDevices"))
            std::printf("restore_token %s\n",
                        qPrintable(options.value("restore_token", "-").toString()));
        if (method == QLatin1String("Start")) {
            results.insert("devices", uint(m_pointer ? 2 : 0));
            results.insert("streams",
                           QVariant::fromValue(QList<Stream>{
                               {7, {{"position", Pair(0, 0)}, {"size", Pair(800, 600)}}}}));
            if (m_version >= 2)
                results.insert("restore_token", "fake-token-2");
        }
        std::fflush(stdout);
        QDBusMessage response = QDBusMessage::createSignal(
            request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << uint(0) << results;
        bus.send(response);
        return true;
    }

private:
    uint m_version;
    bool m_pointer;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    qDBusRegisterMetaType<Stream>();
    qDBusRegisterMetaType<QList<Stream>>();
    const QStringList words = application.arguments();
    FakePortal portal(words.value(1).toUInt(), words.value(2) == QLatin1String("1"));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                   QDBusConnection::SubPath) ||
        !bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")))
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    return application.exec();
}
