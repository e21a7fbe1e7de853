// The scripted hot key and window finder that the widget tests stand on.
#include "platform/fake/fake_hot_key.h"
#include "platform/fake/fake_window_finder.h"

#include <QTest>

using platform::FakeHotKeyService;
using platform::FakeWindowFinder;

class FakePlatformTest : public QObject {
    Q_OBJECT

private slots:
    void registrationsAnswerTheScriptThenOne();
    void pressesComeOnePerPoll();
    void findsByExactCaption_data();
    void findsByExactCaption();
    void restoreEndsTheIconicState();
};

void FakePlatformTest::registrationsAnswerTheScriptThenOne() {
    FakeHotKeyService hotKey;
    hotKey.scriptRegisterResult(0);
    hotKey.scriptRegisterResult(0);
    QCOMPARE(hotKey.RegisterHotKey(7, 0xBFFF, 3, 'C'), 0);
    hotKey.UnregisterHotKey(7, 0xBFFF);
    QCOMPARE(hotKey.RegisterHotKey(7, 0xBFFF, 3, 'D'), 0);
    QCOMPARE(hotKey.RegisterHotKey(8, 1, 2, 'E'), 1);
    const auto& calls = hotKey.calls();
    QCOMPARE(calls.size(), size_t{4});
    QCOMPARE(calls[0].kind, FakeHotKeyService::Kind::Register);
    QCOMPARE(calls[0].virtualKey, uint32_t('C'));
    QCOMPARE(calls[1].kind, FakeHotKeyService::Kind::Unregister);
    QCOMPARE(calls[1].window, platform::WindowHandle(7));
    QCOMPARE(calls[1].id, 0xBFFF);
    QCOMPARE(calls[3].window, platform::WindowHandle(8));
    QCOMPARE(calls[3].id, 1);
    QCOMPARE(calls[3].modifiers, 2u);
    QCOMPARE(calls[3].virtualKey, uint32_t('E'));
}

void FakePlatformTest::pressesComeOnePerPoll() {
    FakeHotKeyService hotKey;
    QVERIFY(!hotKey.PollHotKey(7, 0xBFFF));
    hotKey.press(2);
    QVERIFY(hotKey.PollHotKey(7, 0xBFFF));
    QCOMPARE(hotKey.pendingPresses(), 1);
    QVERIFY(hotKey.PollHotKey(7, 0xBFFF));
    QVERIFY(!hotKey.PollHotKey(7, 0xBFFF));
    QCOMPARE(hotKey.polls(), 4);
    hotKey.press();
    hotKey.clear();
    QVERIFY(!hotKey.PollHotKey(7, 0xBFFF));
    QCOMPARE(hotKey.polls(), 1);
}

void FakePlatformTest::findsByExactCaption_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<quint64>("expected");
    QTest::newRow("exact") << "Zorvane 2.20" << quint64(11);
    QTest::newRow("first of two") << "Twin" << quint64(21);
    QTest::newRow("other version") << "Zorvane 2.21" << quint64(0);
    QTest::newRow("prefix") << "Zorvane" << quint64(0);
    QTest::newRow("empty") << "" << quint64(0);
}

void FakePlatformTest::findsByExactCaption() {
    QFETCH(QString, caption);
    QFETCH(quint64, expected);
    FakeWindowFinder finder;
    finder.addWindow("Zorvane 2.20", 11);
    finder.addWindow("Twin", 21);
    finder.addWindow("Twin", 22);
    QCOMPARE(finder.FindWindow(caption.toStdString()), expected);
    QCOMPARE(finder.lookups(), std::vector<std::string>{caption.toStdString()});
}

void FakePlatformTest::restoreEndsTheIconicState() {
    FakeWindowFinder finder;
    finder.addWindow("Zorvane 2.20", 11, true);
    finder.addWindow("Other", 12, true);
    QVERIFY(finder.IsIconic(11));
    QVERIFY(!finder.IsIconic(99));
    finder.Restore(11);
    finder.SetForegroundWindow(11);
    QVERIFY(!finder.IsIconic(11));
    QVERIFY(finder.IsIconic(12));
    QCOMPARE(finder.calls().size(), size_t{2});
    QCOMPARE(finder.calls()[0].kind, FakeWindowFinder::Kind::Restore);
    QCOMPARE(finder.calls()[1].kind, FakeWindowFinder::Kind::SetForeground);
    QCOMPARE(finder.calls()[1].window, platform::WindowHandle(11));
    finder.clear();
    QVERIFY(finder.calls().empty());
    QCOMPARE(finder.FindWindow("Other"), platform::WindowHandle(12));
}

QTEST_APPLESS_MAIN(FakePlatformTest)
#include "fake_platform_test.moc"
