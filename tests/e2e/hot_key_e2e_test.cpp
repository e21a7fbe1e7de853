// CTRL + ALT + the letter, pressed with xdotool, starts and stops the real program; with three
// copies in one folder the first owns the hot key, the others watch their signal files, and every
// press toggles every copy exactly once.
#include "harness.h"

#include <QDir>
#include <QTest>

#include <map>
#include <memory>

class HotKeyE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void oneCopyStartsAndStops();
    void everyCopyFollowsEveryPress();
    void watcherWithoutFolderNotificationsFollows();

private:
    bool Press();
    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<e2e::Recorder> m_recorder;
};

void HotKeyE2eTest::initTestCase() {
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY(m_server->Start());
    m_recorder = std::make_unique<e2e::Recorder>(*m_server);
    QVERIFY(m_recorder->Start(QStringLiteral("600x768+424+0")));
}

bool HotKeyE2eTest::Press() {
    return !e2e::Xdotool(*m_server, {QStringLiteral("key"), QStringLiteral("ctrl+alt+c")}).isNull();
}

void HotKeyE2eTest::oneCopyStartsAndStops() {
    e2e::Program program(*m_server);
    QVERIFY(program.WriteSettings({{"XPStyle", "False"},
                                   {"Coordx", "700"},
                                   {"Coordy", "200"},
                                   {"ClickIntervalinms", "1000"}}));
    QVERIFY(program.Start());
    QVERIFY(!program.WaitForWindow().isEmpty());
    const size_t before = m_recorder->Presses().size();
    QVERIFY(Press());
    QVERIFY2(m_recorder->WaitForPresses(before + 2, 5000), "the hot key did not start clicking");
    QVERIFY(Press());
    QTest::qWait(300);
    const size_t stopped = m_recorder->Presses().size();
    QTest::qWait(2500); // two more intervals: nothing
    QCOMPARE(m_recorder->Presses().size(), stopped);
    program.Kill();
}

void HotKeyE2eTest::everyCopyFollowsEveryPress() {
    // Each copy makes one click after it starts, the first after 100 ms, the second after 200 ms,
    // the third after 300 ms (copies clicking at the same instant would share one pointer); so
    // every press shows as one click of each copy, at the x its settings gave it.
    constexpr int kPresses = 20;
    const int xs[] = {600, 700, 800};
    const std::map<int, const char*> intervals{{600, "0"}, {700, "200"}, {800, "300"}};
    e2e::Program first(*m_server);
    std::vector<QString> windows;
    for (const int x : xs) {
        QVERIFY(first.WriteSettings({{"XPStyle", "False"},
                                     {"PreventMultipleInstance", "False"},
                                     {"Coordx", std::to_string(x)},
                                     {"Coordy", "500"},
                                     {"ClickIntervalinms", intervals.at(x)},
                                     {"RepeatClick", "1"},
                                     {"Clicks", "1"}}));
        QProcess* copy = new QProcess(this);
        copy->setProcessEnvironment(m_server->Environment());
        if (windows.empty()) {
            QVERIFY(first.Start());
        } else {
            copy->start(first.FilePath(QStringLiteral("zorvane")), {});
            QVERIFY(copy->waitForStarted());
        }
        QVERIFY(e2e::WaitUntil(
            [&] {
                return e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).size() ==
                       qsizetype(windows.size() + 1);
            },
            10000));
        windows.push_back(QString());
    }
    // Every copy has its signal file named after its window (the owner's brings presses from
    // outside); the two later ones watch theirs for the owner's stamps.
    const QStringList all = e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20"));
    QStringList signalFiles = QDir(first.Folder()).entryList({QStringLiteral("*_HotKey.xml")});
    QCOMPARE(signalFiles.size(), qsizetype(3));
    for (const QString& file : signalFiles)
        QVERIFY2(all.contains(file.section('-', 0, 0)), qPrintable(file));

    const size_t before = m_recorder->Presses().size();
    for (int i = 1; i <= kPresses; ++i) {
        QVERIFY(Press());
        QVERIFY2(m_recorder->WaitForPresses(before + size_t(3 * i), 3000),
                 qPrintable(QStringLiteral("press %1 did not reach every copy").arg(i)));
        QTest::qWait(100); // every copy has gone idle again
    }
    QTest::qWait(500);
    std::map<int, int> clicksAt;
    const auto presses = m_recorder->Presses();
    for (size_t i = before; i < presses.size(); ++i)
        ++clicksAt[presses[i].x];
    QCOMPARE(clicksAt.size(), size_t{3});
    for (const int x : xs)
        QCOMPARE(clicksAt[x], kPresses);

    // Closing a copy removes its signal file.
    const QString watcher = signalFiles.first().section('-', 0, 0);
    QVERIFY(e2e::Keys(*m_server, watcher, {QStringLiteral("F12")}));
    QVERIFY(e2e::WaitUntil(
        [&] {
            return QDir(first.Folder()).entryList({QStringLiteral("*_HotKey.xml")}).size() == 2;
        },
        5000));
    QVERIFY(!QFileInfo::exists(first.FilePath(signalFiles.first())));
    first.Kill();
}

// A watcher whose folder tells nothing of changes (as a network folder) follows the owner through
// its slow poll.
void HotKeyE2eTest::watcherWithoutFolderNotificationsFollows() {
    e2e::Program program(*m_server);
    QProcess watcher;
    for (const int x : {600, 700}) {
        QVERIFY(program.WriteSettings({{"XPStyle", "False"},
                                       {"PreventMultipleInstance", "False"},
                                       {"Coordx", std::to_string(x)},
                                       {"ClickIntervalinms", x == 600 ? "0" : "200"},
                                       {"RepeatClick", "1"},
                                       {"Clicks", "1"}}));
        QProcessEnvironment env = m_server->Environment();
        env.insert(QStringLiteral("ZORVANE_NO_FOLDER_NOTIFICATIONS"), QStringLiteral("1"));
        watcher.setProcessEnvironment(env);
        if (x == 600)
            QVERIFY(program.Start());
        else
            watcher.start(program.FilePath(QStringLiteral("zorvane")));
        QVERIFY(e2e::WaitUntil(
            [&] {
                return e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).size() ==
                       (x == 600 ? 1 : 2);
            },
            10000));
    }
    const size_t before = m_recorder->Presses().size();
    QVERIFY(Press());
    QVERIFY2(m_recorder->WaitForPresses(before + 2, 5000), "the watcher did not follow");
    QCOMPARE(m_recorder->Presses().back().x, 700);
    program.Kill();
}

QTEST_GUILESS_MAIN(HotKeyE2eTest)
#include "hot_key_e2e_test.moc"
