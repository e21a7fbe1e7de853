// Interval drawing, the countdown arithmetic and the timing that results.
#include "click/click_rules.h"

#include <QTest>

#include <climits>
#include <map>

class ClickRulesTest : public QObject {
    Q_OBJECT

private slots:
    void drawInterval_data();
    void drawInterval();
    void drawnIntervalsAreUniform();
    void splitInterval_data();
    void splitInterval();
    void secondsStep_data();
    void secondsStep();
    void nominalGap_data();
    void nominalGap();
    void countdownFollowsTheTimingRule();
    void runningTooltip();
};

void ClickRulesTest::drawInterval_data() {
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<bool>("range");
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("interval");
    QTest::newRow("range off") << 500 << 900 << false << 0.9 << 500;
    QTest::newRow("equal bounds") << 700 << 700 << true << 0.9 << 700;
    QTest::newRow("lower above upper") << 900 << 500 << true << 0.9 << 900;
    QTest::newRow("r 0 gives lower") << 1000 << 1002 << true << 0.0 << 1000;
    QTest::newRow("r middle") << 1000 << 1002 << true << 0.5 << 1001;
    QTest::newRow("r just below 1 gives upper") << 1000 << 1002 << true << 0.9999999 << 1002;
    QTest::newRow("widest range low") << INT_MIN << INT_MAX << true << 0.0 << INT_MIN;
    QTest::newRow("widest range high") << INT_MIN << INT_MAX << true << 0.9999999999 << INT_MAX;
}

void ClickRulesTest::drawInterval() {
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(bool, range);
    QFETCH(double, r);
    QFETCH(int, interval);
    QCOMPARE(click::DrawInterval(lower, upper, range, r), interval);
}

void ClickRulesTest::drawnIntervalsAreUniform() {
    constexpr int kDraws = 30000;
    std::map<int, int> counts;
    for (int i = 0; i < kDraws; ++i)
        ++counts[click::NextInterval(1000, 1002, true)];
    QCOMPARE(counts.size(), size_t{3});
    for (const auto& [interval, count] : counts) {
        QVERIFY2(interval >= 1000 && interval <= 1002, qPrintable(QString::number(interval)));
        // A third each; 3% either way is far outside chance at this many draws.
        QVERIFY2(count > kDraws * 0.30 && count < kDraws * 0.36,
                 qPrintable(QStringLiteral("%1 drawn %2 times").arg(interval).arg(count)));
    }
}

void ClickRulesTest::splitInterval_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("hours to milliseconds") << 3723456 << 1 << 2 << 3 << 456;
    QTest::newRow("zero") << 0 << 0 << 0 << 0 << 0;
    QTest::newRow("below a second") << 999 << 0 << 0 << 0 << 999;
    QTest::newRow("a day less 1 ms") << 86399999 << 23 << 59 << 59 << 999;
    QTest::newRow("negative keeps its sign") << -3723456 << -1 << -2 << -3 << -456;
    QTest::newRow("largest") << INT_MAX << 596 << 31 << 23 << 647;
}

void ClickRulesTest::splitInterval() {
    QFETCH(int, interval);
    const click::Countdown c = click::SplitInterval(interval);
    QTEST(c.hours, "hours");
    QTEST(c.minutes, "minutes");
    QTEST(c.seconds, "seconds");
    QTEST(c.milliseconds, "milliseconds");
}

void ClickRulesTest::secondsStep_data() {
    QTest::addColumn<double>("h");
    QTest::addColumn<double>("m");
    QTest::addColumn<double>("s");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("zero");
    QTest::newRow("1 2 3 gives 1 2 2") << 1.0 << 2.0 << 3.0 << 1 << 2 << 2 << false;
    QTest::newRow("borrows a minute") << 0.0 << 1.0 << 0.0 << 0 << 0 << 59 << false;
    QTest::newRow("borrows an hour") << 1.0 << 0.0 << 0.0 << 0 << 59 << 59 << false;
    QTest::newRow("last second") << 0.0 << 0.0 << 1.0 << 0 << 0 << 0 << true;
}

void ClickRulesTest::secondsStep() {
    QFETCH(double, h);
    QFETCH(double, m);
    QFETCH(double, s);
    const click::SecondsStep step = click::CountDownOneSecond(h, m, s);
    QTEST(step.hours, "hours");
    QTEST(step.minutes, "minutes");
    QTEST(step.seconds, "seconds");
    QTEST(step.reachedZero, "zero");
}

void ClickRulesTest::nominalGap_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<qint64>("gap");
    QTest::newRow("0") << 0 << qint64(100);
    QTest::newRow("negative") << -5000 << qint64(100);
    QTest::newRow("1") << 1 << qint64(100);
    QTest::newRow("100") << 100 << qint64(100);
    QTest::newRow("101") << 101 << qint64(200);
    QTest::newRow("500") << 500 << qint64(500);
    QTest::newRow("999") << 999 << qint64(1000);
    QTest::newRow("1000 gets 100 more") << 1000 << qint64(1100);
    QTest::newRow("1050") << 1050 << qint64(1100);
    QTest::newRow("1999") << 1999 << qint64(2000);
    QTest::newRow("2000") << 2000 << qint64(2100);
}

void ClickRulesTest::nominalGap() {
    QFETCH(int, interval);
    QTEST(qint64(click::NominalGap(interval)), "gap");
}

// Counting an interval down tick by tick, as the window's timers do, takes exactly the time the
// timing rule gives.
void ClickRulesTest::countdownFollowsTheTimingRule() {
    for (int interval :
         {-1000, 0, 1, 99, 100, 150, 999, 1000, 1001, 1050, 1999, 2000, 61234, 3723456}) {
        const click::Countdown c = click::SplitInterval(interval);
        double hours = c.hours, minutes = c.minutes, seconds = c.seconds, ms = c.milliseconds;
        int64_t elapsed = 0;
        if (interval >= click::kSecondTimerInterval) {
            for (bool zero = false; !zero;) {
                const click::SecondsStep step = click::CountDownOneSecond(hours, minutes, seconds);
                hours = step.hours;
                minutes = step.minutes;
                seconds = step.seconds;
                zero = step.reachedZero;
                elapsed += click::kSecondTimerInterval;
            }
        }
        for (bool due = false; !due;) {
            const click::TenthStep step = click::CountDownOneTenth(ms);
            ms = step.milliseconds;
            due = step.clickDue;
            elapsed += click::kClickTimerInterval;
        }
        QCOMPARE(elapsed, click::NominalGap(interval));
    }
}

void ClickRulesTest::runningTooltip() {
    QCOMPARE(QString::fromStdString(click::RunningTooltip("0", "0", "4", "500")),
             QStringLiteral("Zorvane: 0hr 0min 4sec 500ms to next click"));
    // Each field in its own place.
    QCOMPARE(QString::fromStdString(click::RunningTooltip("1", "2", "3", "456")),
             QStringLiteral("Zorvane: 1hr 2min 3sec 456ms to next click"));
    // The longest countdowns still fit the tray's 63 characters.
    for (int interval : {INT_MAX, INT_MIN, 999999999}) {
        const click::Countdown c = click::SplitInterval(interval);
        const std::string tip =
            click::RunningTooltip(std::to_string(c.hours), std::to_string(c.minutes),
                                  std::to_string(c.seconds), std::to_string(c.milliseconds));
        QVERIFY2(tip.size() <= 63, tip.c_str());
    }
}

QTEST_APPLESS_MAIN(ClickRulesTest)
#include "click_rules_test.moc"
