// Our own Wayland connection on a headless sway: a request the compositor refuses ends only that
// connection (the program goes on, and its next Start says why); it is not taken for the
// compositor going away, which ends the program.
#include "platform/backend_plan.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_factories.h"
#include "wayland_session.h"

#include <QTest>

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

class WaylandConnectionTest : public QObject {
    Q_OBJECT

private slots:
    void refusedRequestEndsOnlyTheConnection();
};

void WaylandConnectionTest::refusedRequestEndsOnlyTheConnection() {
    e2e::SwaySession session;
    QVERIFY2(session.Start(), "sway did not start");
    for (const char* name : {"WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
        qputenv(name, session.Environment().value(QString::fromLatin1(name)).toLocal8Bit());
    platform::WaylandConnection connection;
    QVERIFY(connection.Connected());
    bool programEnded = false;
    connection.OnBroken([&](const std::string&) { programEnded = true; });
    const auto mouse = platform::CreateWlrootsMouse(connection);
    QVERIFY(mouse->PrepareToClick().ready);
    // A pool of no size is refused.
    const int file = ::memfd_create("zorvane-test", MFD_CLOEXEC);
    wl_shm_create_pool(connection.Shm(), file, 0);
    ::close(file);
    QVERIFY(!connection.Roundtrip());
    QVERIFY(!connection.Connected() && !programEnded);
    QCOMPARE(mouse->PrepareToClick().problem,
             platform::CompositorGoneText("the compositor refused a request of Zorvane's"));
}

QTEST_GUILESS_MAIN(WaylandConnectionTest)
#include "wayland_connection_test.moc"
