// The real program on a Wayland desktop (a headless sway): its clicks arrive in the Wayland
// recorder, its picker takes the place the user's pointer clicked, and a second start brings the
// running copy forward.
#include "wayland_session.h"

#include "store/settings_file.h"

#include <QTest>

#include <algorithm>
#include <memory>

namespace {

const QString kMainCaption = QStringLiteral("Zorvane 2.20");

// The program started with these settings, its main window shown and given the keyboard.
bool StartShown(const e2e::SwaySession& session, e2e::Program& program,
                const e2e::SettingValues& settings) {
    return program.WriteSettings(settings) && program.Start() &&
           !program.WaitForWindow(10000, kMainCaption).isEmpty() &&
           e2e::WaitUntil([&] { return session.Focused(kMainCaption); }, 5000);
}

} // namespace

class WaylandE2eTest : public QObject {
    Q_OBJECT

private slots:
    void countedRunClicksWhereAndWhenTold_data();
    void countedRunClicksWhereAndWhenTold();
    void pickerTakesThePlaceClicked();
    void toggleStartsAndStopsEveryCopy();
    void secondStartBringsTheFirstForward();
    void compositorGoingAwayKeepsTheSettings();
};

void WaylandE2eTest::countedRunClicksWhereAndWhenTold_data() {
    QTest::addColumn<bool>("xwayland");
    QTest::addColumn<int>("button"); // as the recorder numbers them: 1 left, 3 right
    QTest::addColumn<QString>("scale");
    QTest::newRow("Wayland alone, left") << false << 1 << "1";
    QTest::newRow("Xwayland beside (both displays set), right") << true << 3 << "1";
    QTest::newRow("an output at scale 2") << false << 1 << "2";
}

void WaylandE2eTest::countedRunClicksWhereAndWhenTold() {
    QFETCH(bool, xwayland);
    QFETCH(int, button);
    QFETCH(QString, scale);
    e2e::SwaySession session(xwayland);
    QVERIFY2(session.Start(), "sway did not start");
    QVERIFY(!session
                 .Swaymsg({QStringLiteral("output"), QStringLiteral("*"), QStringLiteral("scale"),
                           scale})
                 .isNull());
    QCOMPARE(session.Environment().contains(QStringLiteral("DISPLAY")), xwayland);
    e2e::WaylandRecorder recorder(session);
    QVERIFY2(recorder.Start(), "the recorder did not start");

    e2e::Program program(session);
    // In the recorder's half of the output, also at scale 2 (640 wide).
    e2e::SettingValues settings = e2e::CountedRun(100, 300, 200, 5);
    settings.push_back({"Button", button == 3 ? "2" : "1"});
    QVERIFY(program.WriteSettings(settings));
    QVERIFY(program.Start({QStringLiteral("run")}));
    QVERIFY(recorder.WaitForPresses(5, 15000));
    QVERIFY(program.Running());
    const std::vector<e2e::ButtonEvent> presses = recorder.Presses();
    QCOMPARE(presses.size(), size_t{5});
    for (size_t i = 0; i < presses.size(); ++i) {
        QCOMPARE(presses[i].button, button);
        QCOMPARE(QPoint(presses[i].x, presses[i].y), QPoint(100, 300));
        // No two clicks closer than the interval allows: a tick may catch up on a late one by up
        // to 5 ms, and times are whole milliseconds.
        if (i > 0)
            QVERIFY2(presses[i].time - presses[i - 1].time >= 194,
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
    QVERIFY(StartShown(session, program, e2e::CountedRun(0, 0, 0, 1)));

    // From the x field: Tab, Tab to Locate, space presses it.
    QVERIFY(session.Keys(QStringLiteral("-k Tab -k Tab -k space")));
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
    QVERIFY(session.Keys(QStringLiteral("-M alt -k s -m alt")));
    QVERIFY(recorder.WaitForPresses(1, 10000));
    QCOMPARE(QPoint(recorder.Presses().at(0).x, recorder.Presses().at(0).y), QPoint(333, 444));
}

// No copy owns a key on Wayland: `zorvane --toggle`, bound to a key of the compositor, presses it
// for every copy of the settings folder. Two copies click at places of their own.
void WaylandE2eTest::toggleStartsAndStopsEveryCopy() {
    e2e::SwaySession session;
    QVERIFY2(session.Start(), "sway did not start");
    e2e::WaylandRecorder recorder(session);
    QVERIFY(recorder.Start());
    e2e::Program first(session);
    QProcess toggle;
    const auto pressToggle = [&] {
        return first.StartCopy(toggle, {QStringLiteral("--toggle")}) &&
               toggle.waitForFinished(10000);
    };
    QVERIFY(first.WriteSettings(e2e::CountedRun(200, 300, 200, 1000)));
    QVERIFY(first.Start()); // places the program in its folder
    first.Kill();
    QVERIFY(pressToggle());
    QCOMPARE(toggle.exitCode(), 1); // none runs
    QVERIFY(toggle.readAllStandardError().contains("no running copy"));

    QVERIFY(StartShown(session, first, e2e::CountedRun(200, 300, 200, 1000)));
    const std::string settings = store::SettingsPath(first.Folder().toStdString());
    QVERIFY(store::SetConfigValue(settings, "Coordx", "400") && session.Adopt(first.Folder()));
    QProcess second;
    QVERIFY(first.StartCopy(second));
    QVERIFY(e2e::WaitUntil([&] { return session.FindWindows(kMainCaption).size() == 2; }, 10000));
    QVERIFY(pressToggle());
    QCOMPARE(toggle.exitCode(), 0);
    const auto clickedAt = [&](int x) {
        const auto presses = recorder.Presses();
        return std::count_if(presses.begin(), presses.end(),
                             [x](const e2e::ButtonEvent& p) { return p.x == x && p.y == 300; });
    };
    QVERIFY(e2e::WaitUntil([&] { return clickedAt(200) > 0 && clickedAt(400) > 0; }, 10000));
    QVERIFY(pressToggle());
    QCOMPARE(toggle.exitCode(), 0);
    const size_t stopped = recorder.Presses().size() + 2; // a click of each may be under way
    QVERIFY(!recorder.WaitForPresses(stopped + 1, 1500));
    e2e::SessionUser::End(second);
}

void WaylandE2eTest::secondStartBringsTheFirstForward() {
    e2e::SwaySession session;
    QVERIFY2(session.Start(), "sway did not start");
    e2e::Program first(session);
    QVERIFY(
        StartShown(session, first, {{"XPStyle", "False"}, {"PreventMultipleInstance", "True"}}));
    // Another window takes the focus.
    e2e::WaylandRecorder recorder(session);
    QVERIFY(recorder.Start());
    QVERIFY(e2e::WaitUntil([&] { return session.Focused(QStringLiteral("Click target")); }, 5000));

    QProcess second;
    QVERIFY(first.StartCopy(second));
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(session.FindWindows(kMainCaption).size(), qsizetype(1));
    QVERIFY(e2e::WaitUntil([&] { return session.Focused(kMainCaption); }, 5000));
    QCOMPARE(first.Processes().size(), size_t{1});
}

// The session ends under the program: it writes back what the user typed, and ends.
void WaylandE2eTest::compositorGoingAwayKeepsTheSettings() {
    e2e::SwaySession session;
    QVERIFY2(session.Start(), "sway did not start");
    e2e::Program program(session);
    QVERIFY(StartShown(session, program, {{"XPStyle", "False"}, {"Coordx", "5"}}));
    QVERIFY(session.Keys(QStringLiteral("-M ctrl a -m ctrl 77")));
    session.Stop();
    QVERIFY(program.WaitForAllExited(10000));
    const std::string file = store::SettingsPath(program.Folder().toStdString());
    QCOMPARE(store::GetConfigValue(file, "Coordx").value_or(""), std::string("77"));
}

QTEST_GUILESS_MAIN(WaylandE2eTest)
#include "wayland_e2e_test.moc"
