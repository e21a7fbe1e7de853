// The real program on a KDE Plasma desktop (a headless KWin), where it clicks through the
// desktop's remote-desktop portal: KDE lets a program that is not sandboxed do so without asking.
#include "kde_session.h"

#include "click/click_rules.h"

#include <QTest>

#include <memory>

class KdeE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void runClicksWithoutAsking();

private:
    std::unique_ptr<e2e::KdeSession> m_session;
    std::unique_ptr<e2e::KdeRecorder> m_recorder;
};

void KdeE2eTest::initTestCase() {
    m_session = std::make_unique<e2e::KdeSession>();
    QVERIFY2(m_session->Start(), "KWin and the portals did not start");
    m_recorder = std::make_unique<e2e::KdeRecorder>(*m_session);
    QVERIFY2(m_recorder->Start(), "the recorder did not start");
}

// Nobody answers: a question would hold the clicks back.
void KdeE2eTest::runClicksWithoutAsking() {
    e2e::Program program(*m_session);
    QVERIFY(program.WriteSettings(e2e::CountedRun(1270, 1015, 500, 3)));
    QVERIFY(program.Start({QStringLiteral("run")}));
    QVERIFY(m_recorder->PressesOnSchedule(0, 3, {1270, 1015}, click::NominalGap(500)));
    program.Kill();
}

QTEST_MAIN(KdeE2eTest)
#include "kde_e2e_test.moc"
