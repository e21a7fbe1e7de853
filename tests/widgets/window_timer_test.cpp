// The window timer after the window thread was held up: missed ticks are skipped, never fired
// back to back, so clicks are never closer together than the run's interval allows.
#include "ui/window_timer.h"

#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>
#include <vector>

class WindowTimerTest : public QObject {
    Q_OBJECT

private slots:
    void noCatchingUpAfterAStall_data();
    void noCatchingUpAfterAStall();
};

void WindowTimerTest::noCatchingUpAfterAStall_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("stall");
    QTest::newRow("held up most of a second tick") << 100 << 190;
    QTest::newRow("held up several ticks") << 100 << 450;
    QTest::newRow("short interval") << 50 << 120;
}

void WindowTimerTest::noCatchingUpAfterAStall() {
    QFETCH(int, interval);
    QFETCH(int, stall);
    using Clock = std::chrono::steady_clock;
    ui::WindowTimer timer(interval);
    std::vector<Clock::time_point> ticks;
    connect(&timer, &ui::WindowTimer::Timer, this, [&] {
        ticks.push_back(Clock::now());
        if (ticks.size() == 1) // something else holds the thread up right after the first tick
            QTimer::singleShot(
                0, [stall] { std::this_thread::sleep_for(std::chrono::milliseconds(stall)); });
    });
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.size() >= 5, 10000);
    timer.setEnabled(false);
    for (size_t i = 1; i < ticks.size(); ++i) {
        const auto gap =
            std::chrono::duration_cast<std::chrono::milliseconds>(ticks[i] - ticks[i - 1]);
        // A timer may round its wait to the millisecond: one more of slack than the rule's five.
        QVERIFY2(
            gap.count() >= interval - 6,
            qPrintable(
                QStringLiteral("tick %1 came %2 ms after the one before").arg(i).arg(gap.count())));
    }
}

QTEST_MAIN(WindowTimerTest)
#include "window_timer_test.moc"
