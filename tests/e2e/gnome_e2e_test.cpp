// The real program on a GNOME desktop, where only the desktop's remote-desktop portal lets it
// click: the first run asks the user once (the test answers the desktop's own dialog), every later
// Start of that program run clicks without asking, a refusal refuses the run with its message, and
// a portal that goes away during a run ends the run with a message (the next Start asks again).
#include "gnome_session.h"

#include "click/click_rules.h"
#include "platform/portal/portal_rules.h"

#include <QTest>

#include <memory>

class GnomeE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void askedOnceThenEveryStartClicks();
    void refusalRefusesTheRun();
    void portalThatGoesAwayEndsTheRun_data();
    void portalThatGoesAwayEndsTheRun();

private:
    std::unique_ptr<e2e::GnomeSession> m_session;
    std::unique_ptr<e2e::GnomeRecorder> m_recorder;
};

void GnomeE2eTest::initTestCase() {
    m_session = std::make_unique<e2e::GnomeSession>();
    QVERIFY2(m_session->Start(), "mutter and the portals did not start");
    m_recorder = std::make_unique<e2e::GnomeRecorder>(*m_session);
    QVERIFY2(m_recorder->Start(), "the recorder did not start");
}

void GnomeE2eTest::askedOnceThenEveryStartClicks() {
    e2e::Program program(*m_session);
    QVERIFY(program.WriteSettings(e2e::CountedRun(1270, 1015, 500, 3)));
    QVERIFY(program.Start({QStringLiteral("run")}));
    QVERIFY2(m_session->Hands(QStringLiteral("allow")), "the desktop did not ask");
    QVERIFY(m_recorder->PressesOnSchedule(0, 3, {1270, 1015}, click::NominalGap(500)));
    // Nobody answers now: a question would hold the clicks back.
    QVERIFY(m_session->Hands(QStringLiteral("press zorvane START")));
    QVERIFY(m_recorder->PressesOnSchedule(3, 3, {1270, 1015}, click::NominalGap(500)));
    program.Kill();
}

void GnomeE2eTest::refusalRefusesTheRun() {
    const size_t before = m_recorder->Presses().size();
    e2e::Program program(*m_session);
    QVERIFY(program.WriteSettings(e2e::CountedRun(1220, 60, 500, 3)));
    QVERIFY(program.Start({QStringLiteral("run")}));
    QVERIFY2(m_session->Hands(QStringLiteral("cancel")), "the desktop did not ask");
    const std::string refusal = platform::portal::RefusalText(platform::portal::Refusal::Denied);
    QVERIFY2(m_session->Hands(QStringLiteral("find zorvane ") + QString::fromStdString(refusal)),
             "no refusal shown");
    QTest::qWait(1000);
    QCOMPARE(m_recorder->Presses().size(), before);
    program.Kill();
}

void GnomeE2eTest::portalThatGoesAwayEndsTheRun_data() {
    QTest::addColumn<QString>("killed"); // its name on the bus
    QTest::newRow("the portal") << "org.freedesktop.portal.Desktop";
    QTest::newRow("its GNOME backend") << "org.freedesktop.impl.portal.desktop.gnome";
}

// An endless run (a click every 1100 ms) when the portal process dies: the clicks stop, the run
// ends with the desktop's reason, and the next Start asks the desktop again and clicks.
void GnomeE2eTest::portalThatGoesAwayEndsTheRun() {
    QFETCH(QString, killed);
    e2e::Program program(*m_session);
    e2e::SettingValues endless = e2e::CountedRun(1200, 900, 1000, 1);
    endless.push_back({"RepeatClick", "0"});
    QVERIFY(program.WriteSettings(endless));
    QVERIFY(program.Start({QStringLiteral("run")}));
    QVERIFY2(m_session->Hands(QStringLiteral("allow")), "the desktop did not ask");
    const size_t before = m_recorder->Presses().size();
    QVERIFY(m_recorder->WaitForPresses(before + 1, 10000));
    QVERIFY(m_session->Hands(QStringLiteral("end ") + killed));
    const std::string ended =
        platform::portal::RefusalText(platform::portal::Refusal::Ended).substr(0, 60);
    QVERIFY2(m_session->Hands(QStringLiteral("find zorvane ") + QString::fromStdString(ended)),
             "the run did not end with the desktop's reason");
    const size_t stopped = m_recorder->Presses().size();
    QTest::qWait(2500);
    QCOMPARE(m_recorder->Presses().size(), stopped);
    QVERIFY(m_session->Hands(QStringLiteral("press zorvane OK")));
    QVERIFY(m_session->Hands(QStringLiteral("press zorvane START")));
    QVERIFY2(m_session->Hands(QStringLiteral("allow")), "the next Start did not ask again");
    QVERIFY(m_recorder->WaitForPresses(stopped + 1, 10000));
    program.Kill();
}

QTEST_MAIN(GnomeE2eTest)
#include "gnome_e2e_test.moc"
