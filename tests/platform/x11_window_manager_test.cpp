// The X11 window finder under a real reparenting window manager (openbox): the client window is
// found inside its frame, and restoring and activating go through _NET_ACTIVE_WINDOW.
#include "harness.h"
#include "platform/x11/x11_window_finder.h"
#include "x_client.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using xtest::MapState;

namespace {

constexpr int kWaitMs = 10000;

} // namespace

class X11WindowManagerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void findsTheClientInItsFrame();
    void foregroundActivates();
    void iconicWindowIsRestored();
    void hiddenWindowComesBack();
    void windowOnAnotherDesktopComesForward();

private:
    // A window with the caption, mapped and taken over by the window manager.
    unsigned long Managed(const std::string& caption);
    bool Active(unsigned long window);

    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<xtest::XClient> m_client;
    std::unique_ptr<platform::X11WindowFinder> m_finder;
    QProcess m_windowManager;
    int m_foreignErrors = 0;
};

void X11WindowManagerTest::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
        QSKIP("openbox is not installed (Debian package openbox)");
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY2(m_server->Start(), "Xvfb did not start");
    qputenv("DISPLAY", m_server->Display().toLocal8Bit());
    m_client = std::make_unique<xtest::XClient>(m_server->Display().toStdString());
    QVERIFY(m_client->Connected());

    QProcessEnvironment env = m_server->Environment();
    m_windowManager.setProcessEnvironment(env);
    m_windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_windowManager.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    QVERIFY(m_windowManager.waitForStarted(5000));
    QVERIFY2(e2e::WaitUntil([&] { return m_client->WindowManagerRuns(); }, kWaitMs),
             "openbox did not take over the screen");
    // While starting, openbox may drop a map request; ask again until it manages a probe.
    const unsigned long probe = m_client->CreateWindow({"Probe", "Probe"});
    QVERIFY2(e2e::WaitUntil(
                 [&] {
                     m_client->Map(probe);
                     return e2e::WaitUntil([&] { return m_client->WmState(probe) == 1; }, 200);
                 },
                 kWaitMs),
             "openbox does not manage windows");
    m_client->Destroy(probe);
    m_finder = std::make_unique<platform::X11WindowFinder>();
}

void X11WindowManagerTest::cleanupTestCase() {
    m_windowManager.terminate();
    if (!m_windowManager.waitForFinished(3000))
        m_windowManager.kill();
    m_windowManager.waitForFinished(3000);
}

void X11WindowManagerTest::init() {
    m_foreignErrors = xtest::XClient::ForeignErrors();
}

void X11WindowManagerTest::cleanup() {
    QCOMPARE(xtest::XClient::ForeignErrors(), m_foreignErrors);
}

unsigned long X11WindowManagerTest::Managed(const std::string& caption) {
    const unsigned long window = m_client->CreateWindow({caption, caption});
    m_client->Map(window);
    const bool managed = e2e::WaitUntil(
        [&] {
            return m_client->WmState(window) == 1 && m_client->State(window) == MapState::Viewable;
        },
        kWaitMs);
    return managed ? window : 0;
}

// Active, focused, and in front: its frame is the root's topmost child.
bool X11WindowManagerTest::Active(unsigned long window) {
    return e2e::WaitUntil(
        [&] {
            return m_client->ActiveWindow() == window && m_client->FocusWindow() == window &&
                   m_client->TopmostTopLevel() == m_client->Parent(window);
        },
        kWaitMs);
}

void X11WindowManagerTest::findsTheClientInItsFrame() {
    const unsigned long window = Managed("Zorvane 2.20");
    QVERIFY(window);
    const unsigned long frame = m_client->Parent(window);
    QVERIFY(frame != 0);
    QVERIFY(m_client->Parent(frame) != 0); // reparented: the frame is not the root
    QCOMPARE(m_finder->FindWindow("Zorvane 2.20"), platform::WindowHandle(window));
    QCOMPARE(m_finder->FindWindow("Zorvane 2.21"), platform::WindowHandle(0));
    QVERIFY(!m_finder->IsIconic(window));
    m_client->Destroy(window);
}

void X11WindowManagerTest::foregroundActivates() {
    const unsigned long first = Managed("First");
    const unsigned long second = Managed("Second");
    QVERIFY(first && second);
    m_finder->SetForegroundWindow(second);
    QVERIFY(Active(second));
    m_finder->SetForegroundWindow(m_finder->FindWindow("First"));
    QVERIFY(Active(first));
    m_client->Destroy(first);
    m_client->Destroy(second);
}

// What the single-instance start does with a minimized first copy.
void X11WindowManagerTest::iconicWindowIsRestored() {
    const unsigned long other = Managed("Other");
    const unsigned long window = Managed("Minimized Main");
    QVERIFY(other && window);
    m_client->Iconify(window);
    QVERIFY(e2e::WaitUntil([&] { return m_finder->IsIconic(window); }, kWaitMs));
    QCOMPARE(m_finder->FindWindow("Minimized Main"), platform::WindowHandle(window));

    m_finder->Restore(window);
    m_finder->SetForegroundWindow(window);
    QVERIFY(e2e::WaitUntil(
        [&] {
            return !m_finder->IsIconic(window) && m_client->State(window) == MapState::Viewable;
        },
        kWaitMs));
    QVERIFY(Active(window));
    m_client->Destroy(window);
    m_client->Destroy(other);
}

// A window hidden the way a toolkit hides it (into the tray) is found and brought back.
void X11WindowManagerTest::hiddenWindowComesBack() {
    const unsigned long other = Managed("Other");
    const unsigned long window = Managed("Tray Main");
    QVERIFY(other && window);
    m_client->Withdraw(window);
    QVERIFY(e2e::WaitUntil([&] { return m_client->WmState(window) != 1; }, kWaitMs));
    m_finder->SetForegroundWindow(other);
    QVERIFY(Active(other));

    const platform::WindowHandle found = m_finder->FindWindow("Tray Main");
    QCOMPARE(found, platform::WindowHandle(window));
    QVERIFY(!m_finder->IsIconic(found));
    m_finder->SetForegroundWindow(found);
    QVERIFY(e2e::WaitUntil([&] { return m_client->State(window) == MapState::Viewable; }, kWaitMs));
    QVERIFY(Active(window));
    m_client->Destroy(window);
    m_client->Destroy(other);
}

// Only the window manager can show a window of another desktop; raising and focusing it from
// outside does nothing. (openbox marks such windows iconic.)
void X11WindowManagerTest::windowOnAnotherDesktopComesForward() {
    const unsigned long window = Managed("Elsewhere");
    QVERIFY(window);
    m_client->SwitchDesktop(1);
    QVERIFY(e2e::WaitUntil([&] { return m_client->State(window) != MapState::Viewable; }, kWaitMs));
    const platform::WindowHandle found = m_finder->FindWindow("Elsewhere");
    QCOMPARE(found, platform::WindowHandle(window));
    if (m_finder->IsIconic(found))
        m_finder->Restore(found);
    m_finder->SetForegroundWindow(found);
    QVERIFY(e2e::WaitUntil([&] { return m_client->State(window) == MapState::Viewable; }, kWaitMs));
    QVERIFY(Active(window));
    QVERIFY(!m_finder->IsIconic(found));
    m_client->SwitchDesktop(0);
    m_client->Destroy(window);
}

QTEST_GUILESS_MAIN(X11WindowManagerTest)
#include "x11_window_manager_test.moc"
