// The real program on a Wayland desktop (a headless sway): its clicks arrive in the Wayland
// recorder, its picker takes the place the user's pointer clicked, and a second start brings the
// running copy forward.
#include "wayland_session.h"

#include "store/settings_file.h"

#include <QTest>

#include <memory>

namespace {

const QString kMainCaption = QStringLiteral("Zorvane 2.20");

// A counted run of left clicks at that place, started by the command line.
std::vector<std::pair<std::string, std::string>> CountedRun(int x, int y, int interval, int count) {
    return {{"XPStyle", "False"},
            {"PreventMultipleInstance", "False"},
            {"RepeatClick", "1"},
            {"Clicks", std::to_string(count)},
            {"Coordx", std::to_string(x)},
            {"Coordy", std::to_string(y)},
            {"ClickIntervalinms", std::to_string(interval)}};
}

} // namespace

class WaylandE2eTest : public QObject {
    Q_OBJECT

private slots:
    void countedRunClicksWhereAndWhenTold_data();
    void countedRunClicksWhereAndWhenTold();
    void pickerTakesThePlaceClicked();
    void secondStartBringsTheFirstForward();
};

void WaylandE2eTest::countedRunClicksWhereAndWhenTold_data() {
    QTest::addColumn<bool>("xwayland");
    QTest::newRow("Wayland alone") << false;
    QTest::newRow("Xwayland beside (both displays set)") << true;
}

void WaylandE2eTest::countedRunClicksWhereAndWhenTold() {
    QFETCH(bool, xwayland);
    e2e::SwaySession session(xwayland);
    QVERIFY2(session.Start(), "sway did not start");
    QCOMPARE(session.Environment().contains(QStringLiteral("DISPLAY")), xwayland);
    e2e::WaylandRecorder recorder(session);
    QVERIFY2(recorder.Start(), "the recorder did not start");

    e2e::Program program(session);
    QVERIFY(program.WriteSettings(CountedRun(300, 400, 200, 5)));
    QVERIFY(program.Start({QStringLiteral("run")}));
    QVERIFY(recorder.WaitForPresses(5, 15000));
    QVERIFY(program.Running());
    const std::vector<e2e::ButtonEvent> presses = recorder.Presses();
    QCOMPARE(presses.size(), size_t{5});
    for (size_t i = 0; i < presses.size(); ++i) {
        QCOMPARE(presses[i].button, 1);
        QCOMPARE(QPoint(presses[i].x, presses[i].y), QPoint(300, 400));
        // No two clicks closer than the interval allows (times are whole milliseconds).
        if (i > 0)
            QVERIFY2(presses[i].time - presses[i - 1].time >= 199,
                     qPrintable(QString::number(presses[i].time - presses[i - 1].time)));
    }
}

// The user's own pointer clicks in the picker: the main window's fields take that place, and the
// run started afterwards clicks there.
void WaylandE2eTest::pickerTakesThePlaceClicked() {
    e2e::SwaySession session;
    QVERIFY2(session.Start(), "sway did not start");
    e2e::WaylandRecorder recorder(session);
    QVERIFY(recorder.Start());
    e2e::Program program(session);
    QVERIFY(program.WriteSettings(CountedRun(0, 0, 0, 1)));
    QVERIFY(program.Start());
    QVERIFY(!program.WaitForWindow(10000, kMainCaption).isEmpty());
    QVERIFY(e2e::WaitUntil([&] { return session.Focused(kMainCaption); }, 5000));

    // From the x field: Tab, Tab to Locate, space presses it.
    QVERIFY(session.Keys({QStringLiteral("-k"), QStringLiteral("Tab"), QStringLiteral("-k"),
                          QStringLiteral("Tab"), QStringLiteral("-k"), QStringLiteral("space")}));
    QVERIFY2(
        e2e::WaitUntil(
            [&] { return session.WindowRect(QStringLiteral("Locate")) == QRect(0, 0, 1280, 1024); },
            10000),
        "the picker did not cover the output");
    QVERIFY(session.ClickAt(333, 444));
    QVERIFY(
        e2e::WaitUntil([&] { return !program.WaitForWindow(200, kMainCaption).isEmpty(); }, 10000));
    QVERIFY(recorder.Presses().empty());

    // ALT+S starts the counted run of one click.
    QVERIFY(e2e::WaitUntil([&] { return session.Focused(kMainCaption); }, 5000));
    QVERIFY(session.Keys({QStringLiteral("-M"), QStringLiteral("alt"), QStringLiteral("-k"),
                          QStringLiteral("s"), QStringLiteral("-m"), QStringLiteral("alt")}));
    QVERIFY(recorder.WaitForPresses(1, 10000));
    QCOMPARE(QPoint(recorder.Presses().at(0).x, recorder.Presses().at(0).y), QPoint(333, 444));
}

void WaylandE2eTest::secondStartBringsTheFirstForward() {
    e2e::SwaySession session;
    QVERIFY2(session.Start(), "sway did not start");
    e2e::Program first(session);
    QVERIFY(first.WriteSettings({{"XPStyle", "False"}, {"PreventMultipleInstance", "True"}}));
    QVERIFY(first.Start());
    QVERIFY(!first.WaitForWindow(10000, kMainCaption).isEmpty());
    // Another window takes the focus.
    e2e::WaylandRecorder recorder(session);
    QVERIFY(recorder.Start());
    QVERIFY(e2e::WaitUntil([&] { return session.Focused(QStringLiteral("Click target")); }, 5000));

    QProcess second;
    QVERIFY(session.Launch(second, first.FilePath(QStringLiteral("zorvane")), {},
                           session.Environment()));
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(session.FindWindows(kMainCaption).size(), qsizetype(1));
    QVERIFY(e2e::WaitUntil([&] { return session.Focused(kMainCaption); }, 5000));
    QCOMPARE(first.Processes().size(), size_t{1});
}

QTEST_GUILESS_MAIN(WaylandE2eTest)
#include "wayland_e2e_test.moc"
