// The click run: its states and transitions, the refused starts, counting, stopping and the
// hand-over between the rows of a sequence.
#include "click/mouse.h"
#include "events/sequence_window.h"
#include "main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class ClickRunTest : public QObject {
    Q_OBJECT

private slots:
    void startEntersItsState_data();
    void startEntersItsState();
    void countdownMovesBetweenStates();
    void stopEndsEveryRunningState_data();
    void stopEndsEveryRunningState();
    void refusedStarts_data();
    void refusedStarts();
    void safetyRefusalSelectsTheInterval();
    void sessionThatCannotClickIsTold_data();
    void sessionThatCannotClickIsTold();
    void countedRunEndsIdle_data();
    void countedRunEndsIdle();
    void fractionalCountClicksOnceMore();
    void endlessRunKeepsClicking();
    void clickPlaceAndButton_data();
    void clickPlaceAndButton();
    void countdownFields();
    void runningLocksTheSettings();
    void sequencePlaysRowsAndLoops();
    void rowThatCannotBeHandedOverStops();
};

namespace {

// Settings for a run that the checks accept.
void Accepting(frmMain& w, const QString& interval, const QString& count) {
    w.txtInterval->setText(interval);
    w.chkRepeatClick->setChecked(true);
    w.txtRepeatClick->setText(count);
}

void HyperClickWithDelay(frmMain& w, const QString& delay) {
    if (!w.mnHyperClick->isChecked())
        w.mnHyperClick_Click();
    w.txtDelay->setText(delay);
}

} // namespace

void ClickRunTest::startEntersItsState_data() {
    QTest::addColumn<bool>("hyper");
    QTest::addColumn<QString>("delay");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QString>("timer");
    QTest::addColumn<int>("delayInterval");
    QTest::newRow("seconds for 1000 ms") << false << "0"
                                         << "1000"
                                         << "seconds" << 0;
    QTest::newRow("tenths below 1000 ms") << false << "0"
                                          << "999"
                                          << "tenths" << 0;
    QTest::newRow("tenths for 0") << false << "0"
                                  << "0"
                                  << "tenths" << 0;
    QTest::newRow("delay ignored without Hyper-Click") << false << "99"
                                                       << "500"
                                                       << "tenths" << 0;
    QTest::newRow("Hyper-Click delay") << true << "5"
                                       << "500"
                                       << "delay" << 5000;
    QTest::newRow("Hyper-Click longest delay") << true << "60"
                                               << "500"
                                               << "delay" << 60000;
    QTest::newRow("Hyper-Click fractional delay") << true << "1.5"
                                                  << "500"
                                                  << "delay" << 1500;
    QTest::newRow("Hyper-Click without delay") << true << "0"
                                               << "2000"
                                               << "seconds" << 0;
    QTest::newRow("Hyper-Click negative delay") << true << "-3"
                                                << "500"
                                                << "tenths" << 0;
}

void ClickRunTest::startEntersItsState() {
    QFETCH(bool, hyper);
    QFETCH(QString, delay);
    QFETCH(QString, interval);
    QFETCH(int, delayInterval);
    MainWindowFixture f;
    frmMain& w = *f.window;
    Accepting(w, interval, QStringLiteral("3"));
    if (hyper)
        HyperClickWithDelay(w, delay);
    else
        w.txtDelay->setText(delay);
    w.btnStartStop_Click();
    QCOMPARE(w.btnStartStop->text(), QStringLiteral("&STOP!"));
    QTEST(f.RunningTimer(), "timer");
    if (delayInterval > 0)
        QCOMPARE(w.tmrDelay->interval(), delayInterval);
    QVERIFY(f.dialogs.shown().empty());
    QCOMPARE(f.Presses(), size_t{0});
}

void ClickRunTest::countdownMovesBetweenStates() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    Accepting(w, QStringLiteral("2050"), QStringLiteral("2"));
    HyperClickWithDelay(w, QStringLiteral("2"));
    w.btnStartStop_Click();
    QCOMPARE(f.RunningTimer(), QStringLiteral("delay"));
    w.tmrDelay_Timer();
    QCOMPARE(f.RunningTimer(), QStringLiteral("seconds"));
    w.tmr1sec_Timer();
    QCOMPARE(f.RunningTimer(), QStringLiteral("seconds"));
    w.tmr1sec_Timer();
    QCOMPARE(f.RunningTimer(), QStringLiteral("tenths"));
    w.tmrClick_Timer(); // 50 ms left becomes -50: the click
    QCOMPARE(f.Presses(), size_t{1});
    QCOMPARE(f.RunningTimer(), QStringLiteral("seconds")); // the next interval
    QCOMPARE(f.TickUntilIdle(), 3);
    QCOMPARE(f.Presses(), size_t{2});
    QCOMPARE(f.RunningTimer(), QStringLiteral("none"));
}

void ClickRunTest::stopEndsEveryRunningState_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("ticksFirst");
    QTest::newRow("delaying") << "delay" << 0;
    QTest::newRow("counting seconds") << "seconds" << 1;
    QTest::newRow("counting tenths") << "tenths" << 3;
}

void ClickRunTest::stopEndsEveryRunningState() {
    QFETCH(QString, state);
    QFETCH(int, ticksFirst);
    MainWindowFixture f;
    frmMain& w = *f.window;
    Accepting(w, QStringLiteral("1500"), QStringLiteral("4"));
    HyperClickWithDelay(w, QStringLiteral("5"));
    w.btnStartStop_Click();
    for (int i = 0; i < ticksFirst; ++i) {
        if (w.tmrDelay->isEnabled())
            w.tmrDelay_Timer();
        else
            w.tmr1sec_Timer();
    }
    QCOMPARE(f.RunningTimer(), state);
    w.btnStartStop_Click();
    QVERIFY(f.Idle());
    QCOMPARE(f.RunningTimer(), QStringLiteral("none"));
    QCOMPARE(f.Presses(), size_t{0});
    QVERIFY(w.txtInterval->isEnabled());
    QCOMPARE(w.Sequence().numTotalEventsToRun, int16_t{0});
    QCOMPARE(w.Sequence().numEventsExecuted, int16_t{0});
}

void ClickRunTest::refusedStarts_data() {
    QTest::addColumn<bool>("hyper");
    QTest::addColumn<QString>("delay");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<bool>("range");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("delayAfter");
    QTest::addColumn<QString>("countAfter");

    const QString delayMessage = "Are you sure you want a delay longer than 1 min?";
    const QString repeatMessage = "Number of clicks should be at least 1, right?";
    const QString safetyMessage =
        "In case you are unable to stop the mouse clicking, you must either set the minimum "
        "click interval to at least 1000ms, OR set a specific numbers of clicks.";
    const QString invalid = "Invalid Setting";
    const QString safety = "Safety Mechanism triggered!";
    QTest::newRow("delay 61") << true << "61"
                              << "1000" << false << true << "5" << delayMessage << invalid << "0"
                              << "5";
    QTest::newRow("delay 60.5") << true << "60.5"
                                << "1000" << false << true << "5" << delayMessage << invalid << "0"
                                << "5";
    QTest::newRow("repeat 0 ticked")
        << false << "0"
        << "1000" << false << true << "0" << repeatMessage << invalid << "0"
        << "1";
    QTest::newRow("repeat 0.9 ticked")
        << false << "0"
        << "1000" << false << true << "0.9" << repeatMessage << invalid << "0"
        << "1";
    QTest::newRow("repeat text unticked")
        << false << "0"
        << "1000" << false << false << "abc" << repeatMessage << invalid << "0"
        << "1";
    const QString mostMessage = "Number of clicks should be at most 999999999999999.";
    QTest::newRow("repeat 1E16: could never count down")
        << false << "0"
        << "0" << false << true << "1E16" << mostMessage << invalid << "0"
        << "1";
    QTest::newRow("repeat 1e400") << false << "0"
                                  << "0" << false << true << "1e400" << mostMessage << invalid
                                  << "0"
                                  << "1";
    QTest::newRow("safety 500 unticked")
        << false << "0"
        << "500" << false << false << "1" << safetyMessage << safety << "0"
        << "1";
    QTest::newRow("safety lower bound only")
        << false << "0"
        << "500" << true << false << "1" << safetyMessage << safety << "0"
        << "1";
    QTest::newRow("safety 999.9") << false << "0"
                                  << "999.9" << false << false << "1" << safetyMessage << safety
                                  << "0"
                                  << "1";
    QTest::newRow("accepted: delay 60") << true << "60"
                                        << "1000" << false << true << "5"
                                        << ""
                                        << ""
                                        << "60"
                                        << "5";
    QTest::newRow("accepted: safety 1000") << false << "0"
                                           << "1000" << false << false << "1"
                                           << ""
                                           << ""
                                           << "0"
                                           << "1";
    QTest::newRow("accepted: largest count") << false << "0"
                                             << "0" << false << true << "999999999999999"
                                             << ""
                                             << ""
                                             << "0"
                                             << "999999999999999";
    QTest::newRow("accepted: 500 counted") << false << "0"
                                           << "500" << false << true << "5"
                                           << ""
                                           << ""
                                           << "0"
                                           << "5";
}

void ClickRunTest::refusedStarts() {
    QFETCH(bool, hyper);
    QFETCH(QString, delay);
    QFETCH(QString, interval);
    QFETCH(bool, range);
    QFETCH(bool, repeat);
    QFETCH(QString, count);
    QFETCH(QString, message);
    MainWindowFixture f;
    frmMain& w = *f.window;
    if (hyper) {
        HyperClickWithDelay(w, delay);
        w.btnHideFrame_Click();
    }
    w.txtInterval->setText(interval);
    w.txtInterval2->setText(QStringLiteral("5000"));
    w.chkRange->setChecked(range);
    w.chkRepeatClick->setChecked(repeat);
    w.txtRepeatClick->setText(count);
    w.btnStartStop_Click();

    QTEST(w.txtDelay->text(), "delayAfter");
    QTEST(w.txtRepeatClick->text(), "countAfter");
    if (message.isEmpty()) {
        QVERIFY(f.dialogs.shown().empty());
        QVERIFY(!f.Idle());
        return;
    }
    QVERIFY(f.Idle());
    QCOMPARE(f.RunningTimer(), QStringLiteral("none"));
    QCOMPARE(f.dialogs.shown().size(), size_t{1});
    const auto& shown = f.dialogs.shown().front();
    QCOMPARE(QString::fromStdString(shown.text), message);
    QTEST(QString::fromStdString(shown.title), "title");
    QCOMPARE(shown.icon, platform::MsgIcon::Information);
    QCOMPARE(shown.buttons, platform::MsgButtons::Ok);
    QCOMPARE(w.txtInterval->text(), interval);
    // The delay check shows the Hyper-Click frame again, even after "Hide Frame".
    QCOMPARE(!w.Frame3->isHidden(), hyper && message.startsWith(QLatin1String("Are you")));
    // Nothing was locked.
    QVERIFY(w.txtInterval->isEnabled());
}

void ClickRunTest::safetyRefusalSelectsTheInterval() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.txtInterval->setText(QStringLiteral("500"));
    w.btnStartStop_Click();
    QCOMPARE(QApplication::focusWidget(), w.txtInterval);
    QCOMPARE(w.txtInterval->selectedText(), QStringLiteral("500"));
    QCOMPARE(w.txtInterval->selectionStart(), 0);

    w.txtInterval->setText(QStringLiteral("999.99"));
    w.btnStartStop_Click();
    QVERIFY(f.Idle());
    QCOMPARE(w.txtInterval->selectedText(), QStringLiteral("999."));

    // The keep-initial-value count is taken before the safety check refuses.
    w.mnKeepRepeatClick_Click();
    w.txtRepeatClick->setText(QStringLiteral("8"));
    w.btnStartStop_Click();
    QVERIFY(f.Idle());
    QCOMPARE(w.InitialRepeatClicks(), 8);
}

// A session where nothing can click refuses the run with its reason; a notice is told and the
// run goes on.
void ClickRunTest::sessionThatCannotClickIsTold_data() {
    QTest::addColumn<bool>("ready");
    QTest::addColumn<QString>("title");
    QTest::newRow("nothing can click") << false << "Cannot click";
    QTest::newRow("clicks reach X11 programs only") << true << "Clicking in this session";
}

void ClickRunTest::sessionThatCannotClickIsTold() {
    QFETCH(bool, ready);
    MainWindowFixture f;
    frmMain& w = *f.window;
    Accepting(w, QStringLiteral("0"), QStringLiteral("3"));
    f.mouse.readiness = {ready, ready ? "" : "why not", ready ? "what to know" : ""};
    w.btnStartStop_Click();
    QCOMPARE(f.dialogs.shown().size(), size_t{1});
    QTEST(QString::fromStdString(f.dialogs.shown().front().title), "title");
    QCOMPARE(f.dialogs.shown().front().text, std::string(ready ? "what to know" : "why not"));
    QCOMPARE(f.Idle(), !ready);
    QCOMPARE(f.RunningTimer() == QStringLiteral("none"), !ready);
}

void ClickRunTest::countedRunEndsIdle_data() {
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QString>("countAfter");
    QTest::newRow("count used up") << false << "1";
    QTest::newRow("initial value kept") << true << "5";
}

void ClickRunTest::countedRunEndsIdle() {
    QFETCH(bool, keep);
    MainWindowFixture f;
    frmMain& w = *f.window;
    if (keep)
        w.mnKeepRepeatClick_Click();
    Accepting(w, QStringLiteral("500"), QStringLiteral("5"));
    w.txtX->setText(QStringLiteral("120"));
    w.txtY->setText(QStringLiteral("80"));
    w.btnStartStop_Click();
    f.TickUntilIdle();
    QVERIFY(f.Idle());
    QCOMPARE(f.Presses(), size_t{5});
    QTEST(w.txtRepeatClick->text(), "countAfter");
    QVERIFY(w.txtRepeatClick->isEnabled());
    QCOMPARE(w.txtMilliSec->text(), QStringLiteral("0"));
    QCOMPARE(f.RunningTimer(), QStringLiteral("none"));
    for (const auto& event : f.mouse.events()) {
        QCOMPARE(event.x, 120);
        QCOMPARE(event.y, 80);
    }
}

void ClickRunTest::fractionalCountClicksOnceMore() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    Accepting(w, QStringLiteral("0"), QStringLiteral("2.5"));
    w.btnStartStop_Click();
    QStringList seen;
    while (!f.Idle()) {
        f.TickUntilClicks(1);
        seen << w.txtRepeatClick->text();
    }
    QCOMPARE(f.Presses(), size_t{3});
    QCOMPARE(seen, (QStringList{"1.5", "0.5", "0.5"}));
}

void ClickRunTest::endlessRunKeepsClicking() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    w.mnSafetyMechanism_Click(); // off: an endless fast run is allowed
    w.txtInterval->setText(QStringLiteral("0"));
    w.btnStartStop_Click();
    QCOMPARE(f.TickUntilClicks(20), 20); // one click per tenth
    QVERIFY(!f.Idle());
    QCOMPARE(f.RunningTimer(), QStringLiteral("tenths"));
}

void ClickRunTest::clickPlaceAndButton_data() {
    QTest::addColumn<bool>("right");
    QTest::addColumn<bool>("hyper");
    QTest::addColumn<uint>("down");
    QTest::addColumn<uint>("up");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("pointerKnown");
    QTest::newRow("left at the fields")
        << false << false << 0xFFFF8002u << 0xFFFF8004u << 300 << 200 << true;
    QTest::newRow("right at the fields")
        << true << false << 0xFFFF8008u << 0xFFFF8010u << 300 << 200 << true;
    QTest::newRow("left at the pointer")
        << false << true << 0xFFFF8002u << 0xFFFF8004u << 33 << 44 << true;
    // Wayland: where the pointer is not known, it is left where it is, and the fields too.
    QTest::newRow("left where an unknown pointer is")
        << false << true << 0xFFFF8002u << 0xFFFF8004u << 300 << 200 << false;
}

void ClickRunTest::clickPlaceAndButton() {
    QFETCH(bool, right);
    QFETCH(bool, hyper);
    QFETCH(int, x);
    QFETCH(int, y);
    MainWindowFixture f;
    frmMain& w = *f.window;
    Accepting(w, QStringLiteral("100"), QStringLiteral("1"));
    w.txtX->setText(QStringLiteral("300"));
    w.txtY->setText(QStringLiteral("200"));
    w.optButton[right ? 1 : 0]->setChecked(true);
    if (hyper)
        HyperClickWithDelay(w, QStringLiteral("0"));
    QFETCH(bool, pointerKnown);
    f.mouse.tracksPointer = pointerKnown;
    f.mouse.PlacePointer(33, 44);
    w.btnStartStop_Click();
    f.TickUntilIdle();
    auto calls = f.mouse.calls();
    if (pointerKnown) { // a move, then down and up with nothing between
        QCOMPARE(calls.size(), size_t{3});
        QCOMPARE(calls[0].kind, platform::FakeMouseInput::Kind::Move);
        QCOMPARE(calls[0].x, x);
        QCOMPARE(calls[0].y, y);
        calls.erase(calls.begin());
    }
    QCOMPARE(calls.size(), size_t{2});
    QTEST(uint(calls[0].flags), "down");
    QTEST(uint(calls[1].flags), "up");
    QCOMPARE(w.txtX->text(), QString::number(x)); // Hyper-Click shows where it clicked
    QCOMPARE(w.txtY->text(), QString::number(y));
}

void ClickRunTest::countdownFields() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    Accepting(w, QStringLiteral("3723456"), QStringLiteral("1"));
    w.btnStartStop_Click();
    const auto fields = [&w] {
        return QStringList{w.txtHr->text(), w.txtMin->text(), w.txtSec->text(),
                           w.txtMilliSec->text()};
    };
    QCOMPARE(fields(), (QStringList{"1", "2", "3", "456"}));
    // Side by side from hours to milliseconds, on one line, none covering another.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QLineEdit* order[] = {w.txtHr, w.txtMin, w.txtSec, w.txtMilliSec};
    QVERIFY(order[0]->isVisible() && order[0]->width() > 10);
    for (int i = 1; i < 4; ++i) {
        QCOMPARE(order[i]->y(), order[0]->y());
        QVERIFY(order[i]->x() >= order[i - 1]->geometry().right());
    }
    w.tmr1sec_Timer();
    QCOMPARE(fields(), (QStringList{"1", "2", "2", "456"}));
    // The milliseconds count down only in the last second.
    while (w.tmr1sec->isEnabled())
        w.tmr1sec_Timer();
    QCOMPARE(fields(), (QStringList{"0", "0", "0", "456"}));
    w.tmrClick_Timer();
    QCOMPARE(w.txtMilliSec->text(), QStringLiteral("356"));
}

void ClickRunTest::runningLocksTheSettings() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    w.chkRange->setChecked(true);
    Accepting(w, QStringLiteral("1000"), QStringLiteral("3"));
    w.txtInterval2->setText(QStringLiteral("2000"));
    w.btnStartStop_Click();
    for (QWidget* control : std::initializer_list<QWidget*>{
             w.txtX, w.txtY, w.btnLocate, w.txtInterval, w.chkRange, w.txtInterval2, w.optButton[0],
             w.optButton[1], w.chkRepeatClick, w.txtRepeatClick, w.txtDelay})
        QVERIFY2(!control->isEnabled(), qPrintable(control->metaObject()->className()));
    QVERIFY(!w.mnHyperClick->isEnabled());
    QVERIFY(w.mnSafetyMechanism->isEnabled());
    QVERIFY(w.mnKeepRepeatClick->isEnabled());
    QVERIFY(w.btnStartStop->isEnabled());
    w.btnStartStop_Click();
    QVERIFY(w.txtInterval2->isEnabled());
    QVERIFY(w.txtRepeatClick->isEnabled());
    QVERIFY(w.mnHyperClick->isEnabled());
    w.chkRange->setChecked(false);
    w.chkRepeatClick->setChecked(false);
    w.btnStartStop_Click(); // interval 1000, endless, allowed
    w.btnStartStop_Click();
    QVERIFY(!w.txtInterval2->isEnabled());
    QVERIFY(!w.txtRepeatClick->isEnabled());
}

namespace {

// A table of rows, each a position and a count, played through the main window.
class FakeSequence : public SequenceWindow {
public:
    FakeSequence(frmMain& w, std::vector<std::pair<int, QString>> rows)
        : m_window(w), m_rows(std::move(rows)) {}

    bool PassEvent(int16_t row) override {
        passed.push_back(row);
        if (row < 0 || row >= int16_t(m_rows.size()))
            return false;
        m_window.txtX->setText(QString::number(m_rows[size_t(row)].first));
        m_window.txtInterval->setText(QStringLiteral("200"));
        m_window.txtRepeatClick->setText(m_rows[size_t(row)].second);
        m_window.chkRepeatClick->setChecked(true);
        return true;
    }
    void btnLoad_Click() override {}
    void Unload(bool) override {}
    void ShowWindow() override {}
    void SetRowPosition(int, const QString&, const QString&) override {}
    void btnEventStart_Click() override {
        ++starts;
        m_window.Sequence().numTotalEventsToRun = int16_t(m_rows.size());
        m_window.btnStartStop_Click();
    }
    bool LoopEventsTicked() const override { return loop; }
    QString LoopText() const override { return loopText; }
    void SetLoopText(const QString& text) override { loopText = text; }
    void SetRows(int16_t) override {}
    void MarkRowPlayed(int row) override { played.push_back(row); }
    void SetIdleControls(bool idle) override { idleStates.push_back(idle); }

    bool loop = false;
    QString loopText = QStringLiteral("1");
    std::vector<int> passed;
    std::vector<int> played;
    std::vector<bool> idleStates;
    int starts = 0;

private:
    frmMain& m_window;
    std::vector<std::pair<int, QString>> m_rows;
};

} // namespace

void ClickRunTest::sequencePlaysRowsAndLoops() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    FakeSequence sequence(w, {{10, "1"}, {20, "2"}, {30, "1"}});
    sequence.loop = true;
    sequence.loopText = QStringLiteral("2");
    w.frmMouseEvents = &sequence;
    w.Sequence().bFormMouseEventsLoaded = true;
    HyperClickWithDelay(w, QStringLiteral("30")); // a sequence switches Hyper-Click off
    sequence.btnEventStart_Click();
    QVERIFY(!w.mnHyperClick->isChecked());
    QVERIFY(w.Frame3->isHidden());
    f.TickUntilIdle();
    QVERIFY(f.Idle());
    QCOMPARE(sequence.passed, (std::vector<int>{0, 1, 2, 0, 1, 2}));
    QCOMPARE(sequence.starts, 2);
    QCOMPARE(sequence.loopText, QStringLiteral("1"));
    QCOMPARE(sequence.played, (std::vector<int>{2}));
    QCOMPARE(sequence.idleStates.back(), true);
    std::vector<int> xs;
    for (const auto& event : f.mouse.events())
        if (event.flags == click::kLeftDownFlags)
            xs.push_back(event.x);
    QCOMPARE(xs, (std::vector<int>{10, 20, 20, 30, 10, 20, 20, 30}));
    QCOMPARE(w.Sequence().numTotalEventsToRun, int16_t{0});
    QCOMPARE(w.Sequence().numEventsExecuted, int16_t{0});
}

void ClickRunTest::rowThatCannotBeHandedOverStops() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    FakeSequence sequence(w, {{10, "1"}});
    w.frmMouseEvents = &sequence;
    w.Sequence().bFormMouseEventsLoaded = true;
    w.Sequence().numTotalEventsToRun = 3; // more rows than the table holds
    w.Sequence().numEventsExecuted = 1;
    w.btnStartStop_Click();
    QVERIFY(f.Idle());
    QCOMPARE(f.RunningTimer(), QStringLiteral("none"));
    QCOMPARE(w.Sequence().numTotalEventsToRun, int16_t{0});
    QCOMPARE(w.Sequence().numEventsExecuted, int16_t{0});
    QCOMPARE(f.Presses(), size_t{0});
}

QTEST_MAIN(ClickRunTest)
#include "click_run_test.moc"
