// The X11 hot key against a real X server: each physical press of CTRL + ALT + the letter is seen
// once, whatever the lock keys, other chords are not, and only one client can hold the key.
#include "harness.h"
#include "platform/x11/x11_hot_key.h"
#include "x_client.h"

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

#include <limits>
#include <memory>

namespace {

constexpr platform::WindowHandle kWindow = 0x2a00007; // any number: the grab is on the root
constexpr int32_t kId = 0xBFFF;
constexpr uint32_t kControlAlt = platform::kModAlt | platform::kModControl;
constexpr int kArrivalMs = 5000; // deadline for expected presses
constexpr int kSettleMs = 400;   // how long to keep polling for presses that must not come

// Polls as the program's timer does until `expected` presses were reported or the deadline
// passed, then a while more; answers every press reported.
int CountPresses(platform::HotKeyService& service, int expected,
                 platform::WindowHandle window = kWindow) {
    int presses = 0;
    const auto pollUntil = [&](QDeadlineTimer deadline, int stopAt) {
        while (presses < stopAt && !deadline.hasExpired()) {
            if (service.PollHotKey(window, kId))
                ++presses;
            else
                QThread::msleep(10);
        }
    };
    pollUntil(QDeadlineTimer(kArrivalMs), expected);
    pollUntil(QDeadlineTimer(kSettleMs), std::numeric_limits<int>::max());
    return presses;
}

} // namespace

class X11HotKeyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void registrationAnswers_data();
    void registrationAnswers();
    void sameKeyTwiceInOneProcess();
    void chords_data();
    void chords();
    void heldKeyCountsOnce();
    void secondCopyWaitsForTheFirst();
    void refusedRegistrationGivesBackItsGrabs();
    void registeringAgainReplacesTheKey();
    void unregisterStopsReporting();
    void withoutDisplay();

private:
    bool Keys(const QStringList& keys);
    void ToggleLocks(const QStringList& locks);

    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<xtest::XClient> m_client;
};

void X11HotKeyTest::initTestCase() {
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY2(m_server->Start(), "Xvfb did not start");
    qputenv("DISPLAY", m_server->Display().toLocal8Bit());
    m_client = std::make_unique<xtest::XClient>(m_server->Display().toStdString());
    QVERIFY(m_client->Connected());
}

void X11HotKeyTest::cleanup() {
    QCOMPARE(m_client->LockedModifiers(), 0u); // every test leaves the lock keys off
}

bool X11HotKeyTest::Keys(const QStringList& keys) {
    return !e2e::Xdotool(*m_server, QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                                QStringLiteral("40")} +
                                        keys)
                .isNull();
}

void X11HotKeyTest::ToggleLocks(const QStringList& locks) {
    if (!locks.isEmpty())
        QVERIFY(Keys(locks));
}

void X11HotKeyTest::registrationAnswers_data() {
    QTest::addColumn<uint>("modifiers");
    QTest::addColumn<uint>("virtualKey");
    QTest::addColumn<int>("expected");
    QTest::newRow("CTRL+ALT+C") << kControlAlt << uint('C') << 1;
    QTest::newRow("CTRL+ALT+A") << kControlAlt << uint('A') << 1;
    QTest::newRow("CTRL+ALT+Z") << kControlAlt << uint('Z') << 1;
    QTest::newRow("no repeat flag") << (kControlAlt | 0x4000u) << uint('C') << 1;
    QTest::newRow("lower-case code") << kControlAlt << uint('c') << 0;
    QTest::newRow("digit") << kControlAlt << uint('1') << 0;
    QTest::newRow("F1") << kControlAlt << 0x70u << 0;
    QTest::newRow("before A") << kControlAlt << uint('A' - 1) << 0;
    QTest::newRow("after Z") << kControlAlt << uint('Z' + 1) << 0;
    QTest::newRow("unknown modifier") << (kControlAlt | 0x10u) << uint('C') << 0;
}

void X11HotKeyTest::registrationAnswers() {
    QFETCH(uint, modifiers);
    QFETCH(uint, virtualKey);
    QFETCH(int, expected);
    platform::X11HotKeyService service;
    QCOMPARE(service.RegisterHotKey(kWindow, kId, modifiers, virtualKey), expected);
    // What was granted is held against another client; what was refused grabbed nothing.
    const char letter = char(virtualKey >= 'A' && virtualKey <= 'Z' ? virtualKey + 32 : 'c');
    const bool heldByService = expected == 1 && (modifiers & ~0x4000u) == kControlAlt;
    QCOMPARE(m_client->GrabControlAlt(letter), !heldByService);
    m_client->UngrabControlAlt(letter);
}

void X11HotKeyTest::sameKeyTwiceInOneProcess() {
    platform::X11HotKeyService service;
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 1);
    // Like Windows: the same chord under another identifier or window is refused...
    QCOMPARE(service.RegisterHotKey(kWindow, kId + 1, kControlAlt, 'C'), 0);
    QCOMPARE(service.RegisterHotKey(kWindow + 1, kId, kControlAlt, 'C'), 0);
    // ...and that refusal leaves the first registration working.
    QVERIFY(Keys({QStringLiteral("ctrl+alt+c")}));
    QCOMPARE(CountPresses(service, 1), 1);
}

void X11HotKeyTest::chords_data() {
    QTest::addColumn<QStringList>("locks");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("expected");
    const QStringList none;
    const QStringList caps{QStringLiteral("Caps_Lock")};
    const QStringList num{QStringLiteral("Num_Lock")};
    const QStringList both{QStringLiteral("Caps_Lock"), QStringLiteral("Num_Lock")};
    const QString chord = QStringLiteral("ctrl+alt+c");
    QTest::newRow("one press") << none << QStringList{chord} << 1;
    QTest::newRow("three presses") << none << QStringList{chord, chord, chord} << 3;
    QTest::newRow("alt before ctrl") << none << QStringList{QStringLiteral("alt+ctrl+c")} << 1;
    QTest::newRow("right ctrl") << none << QStringList{QStringLiteral("Control_R+alt+c")} << 1;
    QTest::newRow("CapsLock on") << caps << QStringList{chord} << 1;
    QTest::newRow("NumLock on") << num << QStringList{chord, chord} << 2;
    QTest::newRow("both locks on") << both << QStringList{chord} << 1;
    QTest::newRow("ctrl+c") << none << QStringList{QStringLiteral("ctrl+c")} << 0;
    QTest::newRow("alt+c") << none << QStringList{QStringLiteral("alt+c")} << 0;
    QTest::newRow("c alone") << none << QStringList{QStringLiteral("c")} << 0;
    QTest::newRow("with shift") << none << QStringList{QStringLiteral("ctrl+alt+shift+c")} << 0;
    QTest::newRow("other letter") << none << QStringList{QStringLiteral("ctrl+alt+d")} << 0;
    QTest::newRow("ctrl+c, CapsLock on") << caps << QStringList{QStringLiteral("ctrl+c")} << 0;
    QTest::newRow("alt+c, NumLock on") << num << QStringList{QStringLiteral("alt+c")} << 0;
    QTest::newRow("mixed") << none
                           << QStringList{QStringLiteral("ctrl+c"), chord,
                                          QStringLiteral("ctrl+alt+shift+c"), chord}
                           << 2;
}

void X11HotKeyTest::chords() {
    QFETCH(QStringList, locks);
    QFETCH(QStringList, keys);
    QFETCH(int, expected);
    platform::X11HotKeyService service;
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 1);
    ToggleLocks(locks);
    const bool typed = Keys(keys);
    const int presses = CountPresses(service, expected);
    ToggleLocks(locks); // off again, also when a check below fails
    QVERIFY(typed);
    QCOMPARE(presses, expected);
}

void X11HotKeyTest::heldKeyCountsOnce() {
    unsigned int delay = 0;
    unsigned int interval = 0;
    QVERIFY(m_client->RepeatRate(delay, interval));
    platform::X11HotKeyService service;
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 1);
    for (int round = 0; round < 2; ++round) {
        QVERIFY(!e2e::Xdotool(*m_server, {QStringLiteral("keydown"), QStringLiteral("ctrl+alt+c")})
                     .isNull());
        int presses = CountPresses(service, 1);
        // Held long enough for several repeats, polled meanwhile.
        for (QDeadlineTimer hold(int(delay + 8 * interval)); !hold.hasExpired();
             QThread::msleep(10))
            presses += service.PollHotKey(kWindow, kId) ? 1 : 0;
        QVERIFY(!e2e::Xdotool(*m_server, {QStringLiteral("keyup"), QStringLiteral("ctrl+alt+c")})
                     .isNull());
        QCOMPARE(presses + CountPresses(service, 0), 1);
    }
}

void X11HotKeyTest::secondCopyWaitsForTheFirst() {
    auto first = std::make_unique<platform::X11HotKeyService>();
    platform::X11HotKeyService second;
    QCOMPARE(first->RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 1);
    QCOMPARE(second.RegisterHotKey(kWindow + 1, kId, kControlAlt, 'C'), 0);
    // The refused copy did not disturb the owner.
    QVERIFY(Keys({QStringLiteral("ctrl+alt+c")}));
    QCOMPARE(CountPresses(*first, 1), 1);
    QCOMPARE(CountPresses(second, 0, kWindow + 1), 0);

    first->UnregisterHotKey(kWindow, kId);
    QCOMPARE(second.RegisterHotKey(kWindow + 1, kId, kControlAlt, 'C'), 1);
    QCOMPARE(first->RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 0);
    QVERIFY(Keys({QStringLiteral("ctrl+alt+c")}));
    QCOMPARE(CountPresses(second, 1, kWindow + 1), 1);
    QCOMPARE(CountPresses(*first, 0), 0);

    // A copy that ends gives its key back.
    platform::X11HotKeyService third;
    QCOMPARE(third.RegisterHotKey(kWindow + 2, kId, kControlAlt, 'D'), 1);
    {
        platform::X11HotKeyService fourth;
        QCOMPARE(fourth.RegisterHotKey(kWindow + 3, kId, kControlAlt, 'E'), 1);
    }
    QCOMPARE(third.RegisterHotKey(kWindow + 2, kId, kControlAlt, 'E'), 1);
}

void X11HotKeyTest::refusedRegistrationGivesBackItsGrabs() {
    // Another program holds only the plain chord; the lock variants are free.
    QVERIFY(m_client->GrabControlAlt('c'));
    platform::X11HotKeyService refused;
    QCOMPARE(refused.RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 0);
    m_client->UngrabControlAlt('c');
    // Had the refused service kept its lock variants, this registration would fail.
    platform::X11HotKeyService later;
    QCOMPARE(later.RegisterHotKey(kWindow + 1, kId, kControlAlt, 'C'), 1);
    ToggleLocks({QStringLiteral("Caps_Lock")});
    const bool typed = Keys({QStringLiteral("ctrl+alt+c")});
    const int presses = CountPresses(later, 1, kWindow + 1);
    ToggleLocks({QStringLiteral("Caps_Lock")});
    QVERIFY(typed);
    QCOMPARE(presses, 1);
}

void X11HotKeyTest::registeringAgainReplacesTheKey() {
    platform::X11HotKeyService service;
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 1);
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'D'), 1);
    QVERIFY(Keys({QStringLiteral("ctrl+alt+c"), QStringLiteral("ctrl+alt+d")}));
    QCOMPARE(CountPresses(service, 1), 1);
    // C is free again for others.
    QVERIFY(m_client->GrabControlAlt('c'));
    m_client->UngrabControlAlt('c');
    // A refused registration under the same identifier drops the earlier key as well.
    QVERIFY(m_client->GrabControlAlt('e'));
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'E'), 0);
    m_client->UngrabControlAlt('e');
    QVERIFY(m_client->GrabControlAlt('d'));
    m_client->UngrabControlAlt('d');
}

void X11HotKeyTest::unregisterStopsReporting() {
    platform::X11HotKeyService service;
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 1);
    QVERIFY(Keys({QStringLiteral("ctrl+alt+c")}));
    service.UnregisterHotKey(kWindow, kId);
    // A press that arrived before the unregistration is dropped with it.
    QCOMPARE(CountPresses(service, 0), 0);
    QVERIFY(Keys({QStringLiteral("ctrl+alt+c")}));
    QCOMPARE(CountPresses(service, 0), 0);
    QVERIFY(m_client->GrabControlAlt('c'));
    m_client->UngrabControlAlt('c');
    // Unregistering what is not registered does nothing.
    service.UnregisterHotKey(kWindow, kId);
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 1);
}

void X11HotKeyTest::withoutDisplay() {
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", "");
    platform::X11HotKeyService service;
    qputenv("DISPLAY", display);
    QCOMPARE(service.RegisterHotKey(kWindow, kId, kControlAlt, 'C'), 0);
    QVERIFY(!service.PollHotKey(kWindow, kId));
    service.UnregisterHotKey(kWindow, kId);
}

QTEST_GUILESS_MAIN(X11HotKeyTest)
#include "x11_hot_key_test.moc"
