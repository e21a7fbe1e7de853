// The real program on a GNOME desktop, where only the desktop's remote-desktop portal lets it
// click: the first run asks the user once (the test answers the desktop's own dialog), every later
// Start of that program run clicks without asking, and a refusal refuses the run with its message.
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

QTEST_MAIN(GnomeE2eTest)
#include "gnome_e2e_test.moc"
