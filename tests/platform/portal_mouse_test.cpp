// The portal's mouse against a portal of the test's own on a private bus, standing for desktops
// the tests cannot run: a desktop that shares the screen but not the pointer is refused with its
// reason, and where the portal keeps sessions (version 2) the token is kept for the next run.
#include "platform/portal/portal_factories.h"
#include "platform/portal/portal_rules.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class PortalMouseTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void desktopsAnswer_data();
    void desktopsAnswer();
    void cleanupTestCase();

private:
    QProcess m_bus;
};

void PortalMouseTest::initTestCase() {
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"),
                 QStringLiteral("--print-address")});
    QVERIFY(m_bus.waitForReadyRead(10000));
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.readLine().trimmed());
}

void PortalMouseTest::cleanupTestCase() {
    m_bus.kill();
    m_bus.waitForFinished();
}

void PortalMouseTest::desktopsAnswer_data() {
    QTest::addColumn<QString>("portal"); // its version, and whether it shares the pointer
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("tokenAsked"); // what the next run's session brings
    QTest::newRow("the screen, not the pointer")
        << "1 0"
        << QString::fromStdString(
               platform::portal::RefusalText(platform::portal::Refusal::NoPointer))
        << "";
    QTest::newRow("version 2 keeps the token") << "2 1"
                                               << ""
                                               << "restore_token fake-token-2";
}

void PortalMouseTest::desktopsAnswer() {
    QFETCH(QString, portal);
    QFETCH(QString, refusal);
    QFETCH(QString, tokenAsked);
    QProcess fake;
    const auto said = [&fake] {
        while (!fake.canReadLine() && fake.waitForReadyRead(10000)) {
        }
        return QString::fromUtf8(fake.readLine().trimmed());
    };
    fake.start(QStringLiteral(ZORVANE_FAKE_PORTAL), portal.split(' '));
    QCOMPARE(said(), QStringLiteral("ready"));
    QTemporaryDir settings;
    for (const QString& run : {QStringLiteral("first"), QStringLiteral("next")}) {
        const auto mouse = platform::CreatePortalMouse(settings.path().toStdString());
        const platform::ClickReadiness readiness = mouse->PrepareToClick();
        QCOMPARE(QString::fromStdString(readiness.problem), refusal);
        const QString asked = said();
        if (run == QLatin1String("next"))
            QCOMPARE(asked, tokenAsked);
        if (!refusal.isEmpty())
            break;
    }
    fake.kill();
    fake.waitForFinished();
}

QTEST_GUILESS_MAIN(PortalMouseTest)
#include "portal_mouse_test.moc"
