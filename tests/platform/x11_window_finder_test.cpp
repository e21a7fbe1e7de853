// The X11 window finder against a real X server without a window manager: the exact caption
// among top-level windows, the iconic state, and bringing a window forward.
#include "harness.h"
#include "platform/x11/x11_window_finder.h"
#include "x_client.h"

#include <QMap>
#include <QTest>

#include <memory>

using xtest::MapState;
using xtest::WindowSpec;

class X11WindowFinderTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void findsExactCaption_data();
    void findsExactCaption();
    void findsOnlyTheProgramsWindow_data();
    void findsOnlyTheProgramsWindow();
    void shownWindowWinsOverHiddenTwin_data();
    void shownWindowWinsOverHiddenTwin();
    void iconicState_data();
    void iconicState();
    void foregroundMapsAndFocuses_data();
    void foregroundMapsAndFocuses();
    void restoreThenForeground();
    void missingWindowsAreHarmless();
    void withoutDisplay();

private:
    unsigned long Make(const QString& key, const WindowSpec& spec, bool map,
                       unsigned long parent = 0);

    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<xtest::XClient> m_client;
    std::unique_ptr<platform::X11WindowFinder> m_finder;
    QMap<QString, unsigned long> m_windows;
    int m_foreignErrors = 0;
};

unsigned long X11WindowFinderTest::Make(const QString& key, const WindowSpec& spec, bool map,
                                        unsigned long parent) {
    const unsigned long window = m_client->CreateWindow(spec, parent);
    if (map)
        m_client->Map(window);
    m_windows.insert(key, window);
    return window;
}

void X11WindowFinderTest::initTestCase() {
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY2(m_server->Start(), "Xvfb did not start");
    qputenv("DISPLAY", m_server->Display().toLocal8Bit());
    m_client = std::make_unique<xtest::XClient>(m_server->Display().toStdString());
    QVERIFY(m_client->Connected());
    m_finder = std::make_unique<platform::X11WindowFinder>();

    Make("main", {"Zorvane 2.20", "Zorvane 2.20"}, true);
    // Another program's window of the same caption, above this program's.
    m_client->SetClass(Make("ours", {"Borrowed", "Borrowed"}, true), "zorvane");
    m_client->SetClass(Make("foreign", {"Borrowed", "Borrowed"}, true), "firefox");
    Make("wm name only", {std::nullopt, "Legacy Tool"}, true);
    Make("net name wins", {"Netname Wins", "Old Name"}, true);
    Make("latin-1", {std::nullopt, "Z\xF6rvane Latin"}, true);
    Make("utf-8", {"Z\xC3\xB6rvane UTF", std::nullopt}, true);
    Make("override-redirect", {"Popup Menu", "Popup Menu", true}, true);
    Make("input only", {"Input Only", "Input Only", false, true}, true);
    Make("hidden", {"Hidden Main", "Hidden Main"}, false);
    // A reparenting window manager's frames: the client inside carries WM_STATE.
    const unsigned long frame = Make("frame", {}, true);
    const unsigned long framed = Make("framed", {"Framed Client", std::nullopt}, true, frame);
    m_client->SetWmState(framed, 1);
    const unsigned long outer = Make("outer", {}, true);
    const unsigned long inner = Make("inner", {}, true, outer);
    const unsigned long deep = Make("deep", {"Deep Client", std::nullopt}, true, inner);
    m_client->SetWmState(deep, 1);
    // A control inside a top-level window is not top-level.
    const unsigned long dialog = Make("dialog", {"Some Dialog", std::nullopt}, true);
    Make("control", {"Child Control", "Child Control"}, true, dialog);
    const unsigned long closed = Make("closed", {"Closed Window", std::nullopt}, true);
    m_client->Destroy(closed);
}

void X11WindowFinderTest::init() {
    m_foreignErrors = xtest::XClient::ForeignErrors();
}

void X11WindowFinderTest::cleanup() {
    QCOMPARE(xtest::XClient::ForeignErrors(), m_foreignErrors);
}

void X11WindowFinderTest::findsExactCaption_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("expected"); // the key of the window found; empty for none
    QTest::newRow("exact") << "Zorvane 2.20"
                           << "main";
    QTest::newRow("other version") << "Zorvane 2.21"
                                   << "";
    QTest::newRow("prefix") << "Zorvane 2.2"
                            << "";
    QTest::newRow("longer") << "Zorvane 2.200"
                            << "";
    QTest::newRow("name alone") << "Zorvane"
                                << "";
    QTest::newRow("trailing blank") << "Zorvane 2.20 "
                                    << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("WM_NAME only") << "Legacy Tool"
                                  << "wm name only";
    QTest::newRow("_NET_WM_NAME first") << "Netname Wins"
                                        << "net name wins";
    QTest::newRow("WM_NAME behind _NET_WM_NAME") << "Old Name"
                                                 << "";
    QTest::newRow("Latin-1 WM_NAME") << QString::fromUtf8("Z\xC3\xB6rvane Latin") << "latin-1";
    QTest::newRow("UTF-8 _NET_WM_NAME") << QString::fromUtf8("Z\xC3\xB6rvane UTF") << "utf-8";
    QTest::newRow("override-redirect") << "Popup Menu"
                                       << "";
    QTest::newRow("input only") << "Input Only"
                                << "";
    QTest::newRow("hidden") << "Hidden Main"
                            << "hidden";
    QTest::newRow("client in a frame") << "Framed Client"
                                       << "framed";
    QTest::newRow("client deep in a frame") << "Deep Client"
                                            << "deep";
    QTest::newRow("child control") << "Child Control"
                                   << "";
    QTest::newRow("destroyed") << "Closed Window"
                               << "";
}

void X11WindowFinderTest::findsExactCaption() {
    QFETCH(QString, caption);
    QFETCH(QString, expected);
    const platform::WindowHandle found = m_finder->FindWindow(caption.toStdString());
    QCOMPARE(found, expected.isEmpty() ? 0 : platform::WindowHandle(m_windows.value(expected)));
}

// Another program's window of this program's caption is not this program's.
void X11WindowFinderTest::findsOnlyTheProgramsWindow_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("expected");
    QTest::newRow("this program's, another's before it") << "zorvane"
                                                         << "ours";
    QTest::newRow("a program without a window of it") << "calc"
                                                      << "";
    QTest::newRow("any program's") << ""
                                   << "foreign";
}

void X11WindowFinderTest::findsOnlyTheProgramsWindow() {
    QFETCH(QString, program);
    QFETCH(QString, expected);
    const platform::WindowHandle found =
        m_finder->FindProgramWindow("Borrowed", program.toStdString());
    QCOMPARE(found, expected.isEmpty() ? 0 : platform::WindowHandle(m_windows.value(expected)));
}

void X11WindowFinderTest::shownWindowWinsOverHiddenTwin_data() {
    QTest::addColumn<bool>("iconic");
    QTest::newRow("mapped twin") << false;
    QTest::newRow("iconic twin") << true;
}

void X11WindowFinderTest::shownWindowWinsOverHiddenTwin() {
    QFETCH(bool, iconic);
    // The shown one lies below the hidden one in the stacking order.
    const unsigned long shown = m_client->CreateWindow({"Twin", "Twin"});
    if (iconic)
        m_client->SetWmState(shown, 3);
    else
        m_client->Map(shown);
    const unsigned long hidden = m_client->CreateWindow({"Twin", "Twin"});
    QCOMPARE(m_finder->FindWindow("Twin"), platform::WindowHandle(shown));
    m_client->Destroy(shown);
    QCOMPARE(m_finder->FindWindow("Twin"), platform::WindowHandle(hidden));
    m_client->Destroy(hidden);
    QCOMPARE(m_finder->FindWindow("Twin"), platform::WindowHandle(0));
}

void X11WindowFinderTest::iconicState_data() {
    QTest::addColumn<bool>("mapped");
    QTest::addColumn<long>("wmState"); // 0: none
    QTest::addColumn<bool>("iconic");
    QTest::newRow("mapped, no WM_STATE") << true << 0L << false;
    QTest::newRow("normal") << true << 1L << false;
    QTest::newRow("iconic") << false << 3L << true;
    QTest::newRow("iconic, left mapped") << true << 3L << true;
    QTest::newRow("withdrawn") << false << 0L << false;
}

void X11WindowFinderTest::iconicState() {
    QFETCH(bool, mapped);
    QFETCH(long, wmState);
    QFETCH(bool, iconic);
    const unsigned long window = m_client->CreateWindow({"State Probe", std::nullopt});
    if (mapped)
        m_client->Map(window);
    if (wmState)
        m_client->SetWmState(window, wmState);
    QCOMPARE(m_finder->IsIconic(window), iconic);
    // An iconic window counts as shown: it is found, not passed over for being unmapped.
    QCOMPARE(m_finder->FindWindow("State Probe"), platform::WindowHandle(window));
    m_client->Destroy(window);
}

void X11WindowFinderTest::foregroundMapsAndFocuses_data() {
    QTest::addColumn<bool>("mapped");
    QTest::newRow("hidden window") << false;
    QTest::newRow("shown window") << true;
}

void X11WindowFinderTest::foregroundMapsAndFocuses() {
    QFETCH(bool, mapped);
    const unsigned long window = m_client->CreateWindow({"Bring Me", std::nullopt});
    const unsigned long other = m_client->CreateWindow({"Other", std::nullopt});
    m_client->Map(other);
    if (mapped)
        m_client->Map(window);
    m_finder->SetForegroundWindow(other);
    QVERIFY(e2e::WaitUntil([&] { return m_client->FocusWindow() == other; }, 5000));

    QCOMPARE(m_client->TopmostTopLevel(), other);

    m_finder->SetForegroundWindow(m_finder->FindWindow("Bring Me"));
    QVERIFY(e2e::WaitUntil([&] { return m_client->State(window) == MapState::Viewable; }, 5000));
    QVERIFY(e2e::WaitUntil([&] { return m_client->FocusWindow() == window; }, 5000));
    QCOMPARE(m_client->TopmostTopLevel(), window);
    m_client->Destroy(window);
    m_client->Destroy(other);
}

void X11WindowFinderTest::restoreThenForeground() {
    const unsigned long window = m_client->CreateWindow({"Restore Me", std::nullopt});
    QVERIFY(!m_finder->IsIconic(window));
    m_finder->Restore(window);
    QVERIFY(e2e::WaitUntil([&] { return m_client->State(window) == MapState::Viewable; }, 5000));
    QCOMPARE(m_finder->FindWindow("Restore Me"), platform::WindowHandle(window));
    m_finder->SetForegroundWindow(window);
    QVERIFY(e2e::WaitUntil([&] { return m_client->FocusWindow() == window; }, 5000));
    m_client->Destroy(window);
}

void X11WindowFinderTest::missingWindowsAreHarmless() {
    const unsigned long gone = m_client->CreateWindow({"Gone", std::nullopt});
    m_client->Map(gone);
    m_finder->SetForegroundWindow(gone);
    QVERIFY(e2e::WaitUntil([&] { return m_client->FocusWindow() == gone; }, 5000));
    m_client->Destroy(gone);
    // Errors about windows that do not exist stay inside the finder (cleanup checks that).
    for (const platform::WindowHandle window :
         {platform::WindowHandle(gone), platform::WindowHandle(0x7ffffff0)}) {
        QVERIFY(!m_finder->IsIconic(window));
        m_finder->Restore(window);
        m_finder->SetForegroundWindow(window);
    }
    QCOMPARE(m_finder->FindWindow("Gone"), platform::WindowHandle(0));
    // Handle 0 is no window: the focus is not dropped.
    const unsigned long focus = m_client->FocusWindow();
    m_finder->SetForegroundWindow(0);
    m_finder->Restore(0);
    QVERIFY(!m_finder->IsIconic(0));
    QCOMPARE(m_client->FocusWindow(), focus);
}

void X11WindowFinderTest::withoutDisplay() {
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", "");
    platform::X11WindowFinder finder;
    qputenv("DISPLAY", display);
    QCOMPARE(finder.FindWindow("Zorvane 2.20"), platform::WindowHandle(0));
    QVERIFY(!finder.IsIconic(m_windows.value("main")));
    finder.Restore(m_windows.value("main"));
    finder.SetForegroundWindow(m_windows.value("main"));
}

QTEST_GUILESS_MAIN(X11WindowFinderTest)
#include "x11_window_finder_test.moc"
