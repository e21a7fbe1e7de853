// The notification-area icon of the real program in a real host (trayer, under openbox), seen
// from outside: the icon embedded in the host, also in one that starts later; its menu starting
// and stopping clicking; its tip following a run; the main window closed into the tray and
// brought back.
#include "click/click_rules.h"
#include "harness.h"

#include <QElapsedTimer>
#include <QImage>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <memory>

namespace {

// Where the runs click: on the recorder, away from the main window, the host and the menu.
constexpr int kX = 800;
constexpr int kY = 120;

struct Tip {
    QRect place;
    QImage picture;
};

} // namespace

class TrayE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void iconComesToAHostStartedLater();
    void menuStartsAndStopsClicking();
    void tipFollowsTheRun();
    void closedWindowWaitsInTheTray();
    void signalEndsTheProgramInTheTray();

private:
    bool StartHost();
    bool StartProgram(std::vector<std::pair<std::string, std::string>> settings);
    QString EmbeddedIcon() const;
    bool WaitForIcon();
    QString PopUp(bool menu, int waitMs = 0) const;
    bool PointAt(QPoint at, const QStringList& then = {}) const;
    bool Choose(const QStringList& keys);
    Tip Hover();
    bool MainWindowShown() const;
    std::vector<e2e::ButtonEvent> PressesSince(size_t first);

    std::unique_ptr<e2e::XServer> m_server;
    QProcess m_windowManager;
    std::unique_ptr<e2e::Recorder> m_recorder;
    std::unique_ptr<QProcess> m_host;
    std::unique_ptr<e2e::Program> m_program;
    QString m_window;
    QString m_icon;
    int m_moves = 0;
    QTemporaryDir m_shots;
};

void TrayE2eTest::initTestCase() {
    for (const char* tool : {"openbox", "trayer", "xwininfo"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("openbox, trayer or xwininfo is missing (scripts/packages.sh installs them)");
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY(m_server->Start());
    m_recorder = std::make_unique<e2e::Recorder>(*m_server);
    QVERIFY(m_recorder->Start(QStringLiteral("600x560+424+0")));
    QVERIFY(e2e::StartClient(*m_server, m_windowManager, "openbox", {"--sm-disable"}));
    const auto managed = [this] {
        const auto tree = e2e::WindowTree(*m_server);
        return std::any_of(tree.begin(), tree.end(),
                           [](const auto& w) { return w.name == "Openbox"; });
    };
    QVERIFY(e2e::WaitUntil(managed, 10000));
}

void TrayE2eTest::cleanupTestCase() {
    m_windowManager.terminate();
    m_windowManager.waitForFinished(5000);
}

void TrayE2eTest::cleanup() {
    m_program.reset();
    if (m_host) {
        m_host->kill();
        m_host->waitForFinished(3000);
        m_host.reset();
    }
    m_icon.clear();
}

bool TrayE2eTest::StartHost() {
    m_host = std::make_unique<QProcess>();
    return e2e::StartClient(
        *m_server, *m_host, "trayer",
        {"--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "32"});
}

bool TrayE2eTest::StartProgram(std::vector<std::pair<std::string, std::string>> settings) {
    settings.insert(settings.begin(), {{"XPStyle", "False"},
                                       {"SysTray", "True"},
                                       {"Coordx", std::to_string(kX)},
                                       {"Coordy", std::to_string(kY)}});
    m_program = std::make_unique<e2e::Program>(*m_server);
    if (!m_program->WriteSettings(settings) || !m_program->Start())
        return false;
    m_window = m_program->WaitForWindow();
    return !m_window.isEmpty();
}

// The program's icon: a window of its own inside the host's panel.
QString TrayE2eTest::EmbeddedIcon() const {
    QSet<QString> inPanel;
    for (const e2e::TreeWindow& window : e2e::WindowTree(*m_server)) {
        if (inPanel.contains(window.parent) && window.name == "zorvane")
            return window.id;
        if (window.name == "panel" || inPanel.contains(window.parent))
            inPanel.insert(window.id);
    }
    return {};
}

bool TrayE2eTest::WaitForIcon() {
    return e2e::WaitUntil(
        [this] {
            m_icon = EmbeddedIcon();
            return !m_icon.isEmpty() &&
                   e2e::ProcessWindows(*m_server, m_program->Pid()).contains(m_icon);
        },
        10000);
}

// A window of the program that pops up, the menu (tall) or the tip (one line), waited for.
QString TrayE2eTest::PopUp(bool menu, int waitMs) const {
    QString found;
    e2e::WaitUntil(
        [&] {
            for (const QString& window : e2e::ProcessWindows(*m_server, m_program->Pid())) {
                const int height = e2e::WindowGeometry(*m_server, window).height();
                if (window != m_window && window != m_icon &&
                    (menu ? height >= 150 : height > 0 && height < 60))
                    found = window;
            }
            return !found.isEmpty();
        },
        waitMs);
    return found;
}

// Moves the pointer there, then runs the further xdotool commands (a click).
bool TrayE2eTest::PointAt(QPoint at, const QStringList& then) const {
    const QStringList move{"mousemove", QString::number(at.x()), QString::number(at.y())};
    return !e2e::Xdotool(*m_server, move + then).isNull();
}

// Opens the icon's menu with the right button and presses the keys in it. A menu that opens
// while the window manager hands the focus over, or when a click of the run lands beside it,
// closes at once: then it is opened again.
bool TrayE2eTest::Choose(const QStringList& keys) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!PointAt(e2e::WindowGeometry(*m_server, m_icon).center(), {"click", "3"}))
            return false;
        const QString menu = PopUp(true, 2000);
        QTest::qWait(100);
        if (menu.isEmpty() || !e2e::ProcessWindows(*m_server, m_program->Pid()).contains(menu))
            continue;
        return !e2e::Xdotool(*m_server, QStringList{"key", "--delay", "30"} + keys).isNull() &&
               e2e::WaitUntil([&] { return PopUp(true).isEmpty(); }, 3000);
    }
    return false;
}

// Moves the pointer onto the icon and waits for the tip; answers its place and its picture. A tip
// shows only for a pointer that comes onto the icon from elsewhere, so every try starts from
// another spot.
Tip TrayE2eTest::Hover() {
    const QPoint at = e2e::WindowGeometry(*m_server, m_icon).center();
    for (int attempt = 0; attempt < 3; ++attempt) {
        ++m_moves;
        PointAt(at - QPoint(120 + 15 * (m_moves % 8), 150));
        e2e::WaitUntil([this] { return PopUp(false).isEmpty(); }, 3000);
        PointAt(at + QPoint(m_moves % 3 - 1, 0));
        const QString tip = PopUp(false, 3000);
        if (tip.isEmpty())
            continue;
        QTest::qWait(200); // drawn
        const QRect place = e2e::WindowGeometry(*m_server, tip);
        const QString shot = m_shots.filePath(QStringLiteral("tip%1.png").arg(m_moves));
        if (!place.isEmpty() && e2e::Screenshot(*m_server, shot))
            return {place, QImage(shot).copy(place)};
    }
    return {};
}

bool TrayE2eTest::MainWindowShown() const {
    return e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).contains(m_window);
}

std::vector<e2e::ButtonEvent> TrayE2eTest::PressesSince(size_t first) {
    const auto all = m_recorder->Presses();
    return {all.begin() + qsizetype(first), all.end()};
}

void TrayE2eTest::iconComesToAHostStartedLater() {
    QVERIFY(StartProgram({}));
    // Without a notification area the program works as ever.
    const size_t before = m_recorder->Presses().size();
    QVERIFY(e2e::EnterClickRun(*m_server, m_window, kX, kY, 100, 3, false));
    QVERIFY(m_recorder->WaitForPresses(before + 3, 5000));
    QTest::qWait(500);
    const auto presses = PressesSince(before);
    QCOMPARE(presses.size(), size_t{3});
    for (const e2e::ButtonEvent& press : presses)
        QCOMPARE(QPoint(press.x, press.y), QPoint(kX, kY));
    QVERIFY(EmbeddedIcon().isEmpty());
    // A host that starts now takes the icon in.
    QVERIFY(StartHost());
    QVERIFY2(WaitForIcon(), "the icon did not come to the host");
    const QRect icon = e2e::WindowGeometry(*m_server, m_icon);
    QVERIFY(icon.width() >= 16 && icon.height() >= 16);
    QVERIFY(QRect(0, 736, 1024, 32).contains(icon)); // the host's bar at the bottom
    QVERIFY(m_program->Running());
}

void TrayE2eTest::menuStartsAndStopsClicking() {
    QVERIFY(StartHost());
    // Half a second apart: time enough to open the menu between two clicks, each of which
    // closes a menu that is open.
    QVERIFY(StartProgram({{"ClickIntervalinms", "500"}, {"SafetyMechanism", "False"}}));
    QVERIFY(WaitForIcon());
    const size_t before = m_recorder->Presses().size();
    QVERIFY(Choose({"s"})); // &START
    QVERIFY2(m_recorder->WaitForPresses(before + 4, 5000), "the menu did not start clicking");
    const auto presses = PressesSince(before);
    const int64_t gap = click::NominalGap(500);
    for (size_t i = 0; i < presses.size(); ++i) {
        QCOMPARE(QPoint(presses[i].x, presses[i].y), QPoint(kX, kY));
        QCOMPARE(presses[i].button, 1);
        if (i > 0)
            QVERIFY2(
                std::abs(presses[i].time - presses[i - 1].time - gap) <= 15,
                qPrintable(QStringLiteral("gap %1 ms").arg(presses[i].time - presses[i - 1].time)));
    }
    // Right after a click, so that the next one does not close the menu first.
    QVERIFY(m_recorder->WaitForPresses(m_recorder->Presses().size() + 1, 2000));
    QVERIFY(Choose({"s"})); // &STOP!
    QTest::qWait(300);
    const size_t stopped = m_recorder->Presses().size();
    QTest::qWait(int(gap) * 3);
    QCOMPARE(m_recorder->Presses().size(), stopped);
    // Exit ends the program, and its icon leaves the host.
    QVERIFY(Choose({"e"}));
    QVERIFY(m_program->WaitForExit(5000));
    QVERIFY2(m_program->ExitCode() == 0, m_program->ErrorOutput().right(3000).constData());
    QVERIFY(e2e::WaitUntil([this] { return EmbeddedIcon().isEmpty(); }, 5000));
}

void TrayE2eTest::tipFollowsTheRun() {
    QVERIFY(StartHost());
    QVERIFY(StartProgram({{"ClickIntervalinms", "9000"}}));
    QVERIFY(WaitForIcon());
    const size_t clicks = m_recorder->Presses().size();
    // Before any run the tip is the program's name; the same text shows the same picture.
    const Tip named = Hover();
    QVERIFY(!named.picture.isNull());
    QCOMPARE(Hover().picture, named.picture);
    QVERIFY(Choose({"s"}));
    // While the run counts down, the tip says how long until the next click: a far longer text,
    // changing as the time passes.
    QElapsedTimer clock;
    clock.start();
    const Tip running = Hover();
    QVERIFY(!running.picture.isNull());
    QVERIFY2(running.place.width() > 3 * named.place.width(),
             qPrintable(QStringLiteral("%1 against %2 pixels")
                            .arg(running.place.width())
                            .arg(named.place.width())));
    QVERIFY(e2e::WaitUntil([&] { return clock.elapsed() > 1200; }, 2000));
    const Tip later = Hover();
    QVERIFY(later.place.width() > 3 * named.place.width());
    QVERIFY(later.picture != running.picture);
    QVERIFY(Choose({"s"}));
    QCOMPARE(m_recorder->Presses().size(), clicks); // stopped before its first click
    // Stopped, the tip says the program is idle: longer than its name, far shorter than the
    // countdown.
    const Tip idle = Hover();
    QVERIFY(idle.place.width() > named.place.width());
    QVERIFY(idle.place.width() * 2 < running.place.width());
}

void TrayE2eTest::closedWindowWaitsInTheTray() {
    QVERIFY(StartHost());
    QVERIFY(StartProgram({{"CloseMeansClose", "False"}}));
    QVERIFY(WaitForIcon());
    // Closing the main window hides it in the tray; the program goes on.
    QVERIFY(e2e::Keys(*m_server, m_window, {"alt+F4"}));
    QVERIFY(e2e::WaitUntil([this] { return !MainWindowShown(); }, 5000));
    QTest::qWait(300);
    QVERIFY(m_program->Running());
    QVERIFY(Choose({"r"})); // &Restore
    QVERIFY(e2e::WaitUntil([this] { return MainWindowShown(); }, 5000));
    // A double click on the icon minimizes the window into the tray, the next brings it back;
    // every time (a window the program minimized once came back minimized and hid again).
    const QPoint icon = e2e::WindowGeometry(*m_server, m_icon).center();
    for (int round = 0; round < 5; ++round) {
        QVERIFY(PointAt(icon, {"click", "--repeat", "2", "--delay", "60", "1"}));
        QVERIFY(e2e::WaitUntil([this] { return !MainWindowShown(); }, 5000));
        QVERIFY(PointAt(icon, {"click", "--repeat", "2", "--delay", "60", "1"}));
        QVERIFY(e2e::WaitUntil([this] { return MainWindowShown(); }, 5000));
        QTest::qWait(500); // not brought back minimized and hidden again
        QVERIFY2(MainWindowShown(), qPrintable(QString("round %1").arg(round)));
    }
    // Hidden again, and the tray turned off from its menu ("Use System Tray", the fourth item):
    // the window comes back and the icon leaves the host.
    QVERIFY(e2e::Keys(*m_server, m_window, {"alt+F4"}));
    QVERIFY(e2e::WaitUntil([this] { return !MainWindowShown(); }, 5000));
    // A second start brings the hidden window forward; closed, it goes into the tray again.
    QProcess second;
    second.setProcessEnvironment(m_server->Environment());
    second.start(m_program->FilePath(QStringLiteral("zorvane")), {});
    QVERIFY(second.waitForFinished(10000));
    QVERIFY(e2e::WaitUntil([this] { return MainWindowShown(); }, 5000));
    QVERIFY(e2e::Keys(*m_server, m_window, {"alt+F4"}));
    QVERIFY(e2e::WaitUntil([this] { return !MainWindowShown(); }, 5000));
    QVERIFY(Choose({"Down", "Down", "Down", "Down", "Return"}));
    QVERIFY(e2e::WaitUntil([this] { return MainWindowShown(); }, 5000));
    QVERIFY(e2e::WaitUntil([this] { return EmbeddedIcon().isEmpty(); }, 5000));
    QTest::qWait(300);
    QVERIFY(m_program->Running());
}

// The system ends the program while the tray holds the close box: it ends all the same, its
// settings written, whether its window is shown or waits in the tray.
void TrayE2eTest::signalEndsTheProgramInTheTray() {
    for (const bool hidden : {false, true}) {
        QVERIFY(StartHost());
        QVERIFY(StartProgram({{"CloseMeansClose", "False"}, {"HideOnMinimize", "1"}}));
        QVERIFY(WaitForIcon());
        if (hidden) {
            QVERIFY(e2e::Keys(*m_server, m_window, {"alt+F4"}));
            QVERIFY(e2e::WaitUntil([this] { return !MainWindowShown(); }, 5000));
        }
        QVERIFY(::kill(static_cast<pid_t>(m_program->Pid()), SIGTERM) == 0);
        QVERIFY(m_program->WaitForExit(5000));
        QCOMPARE(m_program->ExitCode(), 0);
        QVERIFY(m_program->ReadFile("config.xml").contains("<HideOnMinimize>True</"));
        cleanup();
    }
}

QTEST_GUILESS_MAIN(TrayE2eTest)
#include "tray_e2e_test.moc"
