// The real program, driven from the keyboard as a user would, clicks exactly as told: the right
// number of presses of the right button at the right place, never closer than the timing rule.
#include "click/click_rules.h"
#include "harness.h"

#include <QTest>

#include <memory>

class ClickRunE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void typedSettingsClickExactly_data();
    void typedSettingsClickExactly();

private:
    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<e2e::Recorder> m_recorder;
};

void ClickRunE2eTest::initTestCase() {
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY2(m_server->Start(), "Xvfb did not start");
    // The recorder covers the right part of the screen; the program's window opens at the left.
    m_recorder = std::make_unique<e2e::Recorder>(*m_server);
    QVERIFY2(m_recorder->Start(QStringLiteral("600x768+424+0")), "the recorder did not start");
}

void ClickRunE2eTest::typedSettingsClickExactly_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("typedX");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("5 left clicks at 500 ms") << 500 << 5 << false << "700" << 700 << 300;
    QTest::newRow("3 right clicks at 1000 ms") << 1000 << 3 << true << "900" << 900 << 650;
    QTest::newRow("6 left clicks at 0 ms") << 0 << 6 << false << "500" << 500 << 100;
    // A long run: every click arrives, and none too soon.
    QTest::newRow("40 left clicks at 0 ms") << 0 << 40 << false << "800" << 800 << 200;
    // Beyond the 16 bits X takes: held at the screen's edge, not wrapped round to 464.
    QTest::newRow("x beyond the screen") << 0 << 2 << false << "66e3" << 1023 << 400;
}

void ClickRunE2eTest::typedSettingsClickExactly() {
    QFETCH(int, interval);
    QFETCH(int, count);
    QFETCH(bool, right);
    QFETCH(QString, typedX);
    QFETCH(int, x);
    QFETCH(int, y);
    const size_t before = m_recorder->Presses().size();

    e2e::Program program(*m_server);
    QVERIFY(program.WriteSettings({{"XPStyle", "False"}}));
    QVERIFY(program.Start());
    const QString window = program.WaitForWindow();
    QVERIFY2(!window.isEmpty(), "no main window");

    QVERIFY(e2e::EnterClickRun(*m_server, window, typedX, y, interval, count, right));

    const int64_t gap = click::NominalGap(interval);
    QVERIFY2(m_recorder->WaitForPresses(before + size_t(count), int(gap) * count + 10000),
             "the clicks did not all arrive");
    // And no more than those.
    QTest::qWait(int(gap) * 2 + 300);
    const auto all = m_recorder->Presses();
    const std::vector<e2e::ButtonEvent> presses(all.begin() + qsizetype(before), all.end());
    QCOMPARE(presses.size(), size_t(count));

    for (size_t i = 0; i < presses.size(); ++i) {
        QCOMPARE(presses[i].button, right ? 3 : 1);
        QCOMPARE(presses[i].x, x);
        QCOMPARE(presses[i].y, y);
        // No two clicks closer than the timing rule allows: a tick may come a few milliseconds
        // late and keep the schedule, so the next gap is as much shorter. A busy machine makes
        // gaps longer, never shorter; how close they keep to the rule is the benchmark's matter.
        if (i > 0) {
            const qint64 measured = presses[i].time - presses[i - 1].time;
            QVERIFY2(
                measured >= gap - 8,
                qPrintable(QStringLiteral("gap %1 ms, at least %2 ms").arg(measured).arg(gap - 8)));
        }
    }
    // Each press was followed by its release before the next press.
    const auto events = m_recorder->Events();
    size_t pressesSeen = 0;
    for (size_t i = 0; i < events.size(); ++i)
        if (events[i].press && ++pressesSeen > before) {
            QVERIFY(i + 1 < events.size());
            QVERIFY(!events[i + 1].press);
            QCOMPARE(events[i + 1].button, events[i].button);
        }
    program.Kill();
}

QTEST_GUILESS_MAIN(ClickRunE2eTest)
#include "click_run_e2e_test.moc"
