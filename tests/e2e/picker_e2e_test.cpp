// The location picker in the real program: Locate, point, click or ESC, and the position is the
// one the next run clicks at; while it is open the screen is a still picture with the main window
// showing through a hole.
#include "harness.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

class PickerE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pickedPointIsWhereTheRunClicks_data();
    void pickedPointIsWhereTheRunClicks();
    void pictureIsStillAndTheMainWindowShowsThrough();
    void clickThroughTheHoleReachesTheMainWindow();
    void movedWindowStaysWhereTheUserLeftIt(); // last: starts a window manager

private:
    bool OpenPicker();
    bool PickerOpen() const;

    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<e2e::Recorder> m_recorder;
    std::unique_ptr<e2e::Program> m_program;
    QString m_window;
    QTemporaryDir m_shots;
};

void PickerE2eTest::initTestCase() {
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY(m_server->Start());
    m_recorder = std::make_unique<e2e::Recorder>(*m_server);
    QVERIFY(m_recorder->Start(QStringLiteral("600x768+424+0")));
}

void PickerE2eTest::init() {
    m_program = std::make_unique<e2e::Program>(*m_server);
    // Each START makes one click, a tenth of a second later.
    QVERIFY(m_program->WriteSettings(
        {{"XPStyle", "False"}, {"RepeatClick", "1"}, {"Clicks", "1"}, {"ClickIntervalinms", "0"}}));
    QVERIFY(m_program->Start());
    m_window = m_program->WaitForWindow();
    QVERIFY(!m_window.isEmpty());
}

void PickerE2eTest::cleanup() {
    m_program.reset();
}

bool PickerE2eTest::PickerOpen() const {
    return e2e::WindowGeometry(*m_server, m_window).height() == 115; // 1725 twips
}

// The focus starts in the x box; Locate is two tabs on.
bool PickerE2eTest::OpenPicker() {
    return e2e::Keys(*m_server, m_window,
                     {QStringLiteral("ctrl+a"), QStringLiteral("Tab"), QStringLiteral("Tab"),
                      QStringLiteral("space")}) &&
           e2e::WaitUntil([this] { return PickerOpen(); }, 5000);
}

void PickerE2eTest::pickedPointIsWhereTheRunClicks_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::newRow("click") << "click" << 640 << 400;
    QTest::newRow("ESC keeps the point too") << "escape" << 700 << 450;
    QTest::newRow("right button") << "right" << 900 << 120;
}

void PickerE2eTest::pickedPointIsWhereTheRunClicks() {
    QFETCH(QString, how);
    QFETCH(int, x);
    QFETCH(int, y);
    QVERIFY(OpenPicker());
    const size_t before = m_recorder->Presses().size();
    QVERIFY(
        !e2e::Xdotool(*m_server, {"mousemove", QString::number(x), QString::number(y)}).isNull());
    QTest::qWait(100); // the boxes follow every 10 ms
    if (how == "escape")
        QVERIFY(!e2e::Xdotool(*m_server, {"key", "Escape"}).isNull());
    else
        QVERIFY(!e2e::Xdotool(*m_server, {"click", how == "right" ? "3" : "1"}).isNull());
    QVERIFY(e2e::WaitUntil([this] { return !PickerOpen(); }, 5000));
    // The click that closed the picker landed on the picker, not on what lies beneath.
    QCOMPARE(m_recorder->Presses().size(), before);
    QCOMPARE(e2e::WindowGeometry(*m_server, m_window).height(), 319); // 4785 twips
    QVERIFY(e2e::Keys(*m_server, m_window, {QStringLiteral("alt+s")}));
    QVERIFY(m_recorder->WaitForPresses(before + 1, 5000));
    const auto presses = m_recorder->Presses();
    QCOMPARE(presses.back().x, x);
    QCOMPARE(presses.back().y, y);
}

void PickerE2eTest::pictureIsStillAndTheMainWindowShowsThrough() {
    QVERIFY(!e2e::Xdotool(*m_server, {"mousemove", "600", "300"}).isNull());
    QVERIFY(OpenPicker());
    QTest::qWait(100);
    const QString first = m_shots.filePath(QStringLiteral("open.png"));
    QVERIFY(e2e::Screenshot(*m_server, first));
    // Beneath the picker the recorder's window moves away, and the pointer moves on.
    QVERIFY(!e2e::Xdotool(*m_server, {"windowmove", m_recorder->Window(), "200", "300"}).isNull());
    QVERIFY(!e2e::Xdotool(*m_server, {"mousemove", "777", "555"}).isNull());
    QTest::qWait(200);
    const QString second = m_shots.filePath(QStringLiteral("moved.png"));
    QVERIFY(e2e::Screenshot(*m_server, second));
    const QImage before(first);
    const QImage after(second);
    QVERIFY(!before.isNull() && before.size() == after.size());
    const QRect hole = e2e::WindowGeometry(*m_server, m_window);
    QCOMPARE(hole.height(), 115);
    // Outside the hole the picture stands still although the window beneath moved.
    int outsideDiffers = 0;
    for (int y = 0; y < before.height(); y += 3)
        for (int x = 0; x < before.width(); x += 3)
            if (!hole.contains(x, y) && before.pixel(x, y) != after.pixel(x, y))
                ++outsideDiffers;
    QCOMPARE(outsideDiffers, 0);
    // Through the hole the main window is live: its boxes show the new pointer position.
    int holeDiffers = 0;
    for (int y = hole.top(); y <= hole.bottom(); ++y)
        for (int x = hole.left(); x <= hole.right(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                ++holeDiffers;
    QVERIFY(holeDiffers > 0);
    QVERIFY(!e2e::Xdotool(*m_server, {"windowmove", m_recorder->Window(), "424", "0"}).isNull());
    QVERIFY(!e2e::Xdotool(*m_server, {"key", "Escape"}).isNull());
    QVERIFY(e2e::WaitUntil([this] { return !PickerOpen(); }, 5000));
}

void PickerE2eTest::clickThroughTheHoleReachesTheMainWindow() {
    QVERIFY(OpenPicker());
    const QRect main = e2e::WindowGeometry(*m_server, m_window);
    // A click on the main window, seen through the hole (on the coordinates frame's caption),
    // goes to the main window: the picker stays open. One on the picture closes it.
    QVERIFY(!e2e::Xdotool(*m_server, {"mousemove", QString::number(main.x() + 60),
                                      QString::number(main.y() + 30)})
                 .isNull());
    QVERIFY(!e2e::Xdotool(*m_server, {"click", "1"}).isNull());
    QTest::qWait(300);
    QVERIFY(PickerOpen());
    QVERIFY(!e2e::Xdotool(*m_server, {"mousemove", "900", "600"}).isNull());
    QVERIFY(!e2e::Xdotool(*m_server, {"click", "1"}).isNull());
    QVERIFY(e2e::WaitUntil([this] { return !PickerOpen(); }, 5000));
}

// Under a window manager, the main window the user moved comes back where it was after picking,
// not where the manager first placed it.
void PickerE2eTest::movedWindowStaysWhereTheUserLeftIt() {
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        QSKIP("openbox is not installed (Debian package openbox)");
    m_program.reset();
    QProcess windowManager;
    windowManager.setProcessEnvironment(m_server->Environment());
    windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    QVERIFY(windowManager.waitForStarted(5000));
    init();
    const QRect placed = e2e::WindowGeometry(*m_server, m_window);
    QVERIFY(!e2e::Xdotool(*m_server, {"windowmove", m_window, "300", "250"}).isNull());
    QVERIFY(e2e::WaitUntil(
        [&] { return e2e::WindowGeometry(*m_server, m_window).topLeft() != placed.topLeft(); },
        5000));
    const QPoint moved = e2e::WindowGeometry(*m_server, m_window).topLeft();
    // The frame counts in the picker's height: the client area shrinks by less than without one.
    const int normal = e2e::WindowGeometry(*m_server, m_window).height();
    const auto height = [&] { return e2e::WindowGeometry(*m_server, m_window).height(); };
    QVERIFY(e2e::Keys(*m_server, m_window,
                      {QStringLiteral("ctrl+a"), QStringLiteral("Tab"), QStringLiteral("Tab"),
                       QStringLiteral("space")}));
    QVERIFY(e2e::WaitUntil([&] { return height() < normal; }, 5000));
    const int picking = height();
    // A click on the picture closes the picker whichever window has the focus; the picture may
    // come a moment after the main window shrank.
    bool closed = false;
    for (int i = 0; i < 5 && !closed; ++i) {
        QVERIFY(!e2e::Xdotool(*m_server, {"mousemove", "900", "700", "click", "1"}).isNull());
        closed = e2e::WaitUntil([&] { return height() > picking; }, 1000);
    }
    QVERIFY(closed);
    QTest::qWait(300); // time for a manager's late placement
    QCOMPARE(e2e::WindowGeometry(*m_server, m_window).topLeft(), moved);
    m_program.reset();
    windowManager.terminate();
    windowManager.waitForFinished(5000);
}

QTEST_GUILESS_MAIN(PickerE2eTest)
#include "picker_e2e_test.moc"
