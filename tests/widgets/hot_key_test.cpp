// The hot key in the main window: the owner and watcher paths of the timer tick, the relay to
// every signal file, the signal file's life, and the menu item that changes the letter.
#include "click/hot_key_rules.h"
#include "click/signal_relay.h"
#include "main_window_fixture.h"
#include "store/atomic_write.h"
#include "store/file_system.h"
#include "store/process_info.h"
#include "store/xml_document.h"

#include <QFile>
#include <QTemporaryDir>

#include <QPushButton>
#include <QTest>
#include <filesystem>

class HotKeyTest : public QObject {
    Q_OBJECT

private slots:
    void ownerRegistersAndToggles();
    void pressFromOutsideReachesRunningCopies_data();
    void pressFromOutsideReachesRunningCopies();
    void relayStampsEverySignalFile();
    void relayKeepsPressesOfAFileThatTurnsOutRunning();
    void watcherFollowsNewStamps();
    void watcherFileGoesAtShutDown();
    void pressesWhileNotServedAreDropped_data();
    void pressesWhileNotServedAreDropped();
    void menuItemAnswers_data();
    void menuItemAnswers();
};

namespace {

std::string Attribute(const std::string& path, const char* name) {
    store::XmlDocument document;
    if (!document.load(path))
        return "<unreadable>";
    return document.documentElement().attributes().getNamedItem(name).text();
}

std::string Check(const std::string& path) {
    return Attribute(path, "Check");
}

void Stamp(const std::string& path, const std::string& stamp) {
    store::XmlDocument document;
    QVERIFY(document.load(path));
    store::XmlNode check = document.createAttribute("Check");
    check.setText(stamp);
    document.documentElement().attributes().setNamedItem(check);
    QVERIFY(document.save(path));
}

// Loads the window with a counted run of one click every tenth, so that a start shows.
void LoadForPresses(MainWindowFixture& f) {
    f.WriteSettings({{"RepeatClick", "1"}, {"Clicks", "50"}, {"ClickIntervalinms", "0"}});
    QVERIFY(f.window->Form_Load());
}

} // namespace

void HotKeyTest::ownerRegistersAndToggles() {
    MainWindowFixture f;
    f.WriteSettings({{"HotKey", "q"}});
    QVERIFY(f.window->Form_Load());
    QCOMPARE(f.hotKey.calls().size(), size_t{1});
    const auto& registration = f.hotKey.calls()[0];
    QCOMPARE(registration.id, 0xBFFF);
    QCOMPARE(registration.modifiers, 3u);
    QCOMPARE(registration.virtualKey, uint32_t('Q'));
    QCOMPARE(registration.window, platform::WindowHandle(f.window->winId()));
    QVERIFY(store::FileExists(f.window->HotKeyFile())); // for presses from outside
    QVERIFY(f.window->tmrHotKey->isEnabled());
    QCOMPARE(f.window->tmrHotKey->interval(), 0); // presses wake the window: nothing polls

    f.window->tmrHotKey_Timer();
    QVERIFY(f.Idle());
    f.hotKey.press();
    f.window->tmrHotKey_Timer();
    QVERIFY(!f.Idle());
    f.hotKey.press();
    f.window->tmrHotKey_Timer();
    QVERIFY(f.Idle());
}

// zorvane --toggle: a press for every copy that runs, whatever else the folder holds; the owner
// hears it through its own file and relays nothing (its press stamps no other file).
void HotKeyTest::pressFromOutsideReachesRunningCopies_data() {
    QTest::addColumn<int>("watchers");
    QTest::addColumn<bool>("owner");
    QTest::newRow("no copy") << 0 << false;
    QTest::newRow("the owner alone") << 0 << true;
    QTest::newRow("three watchers") << 3 << false;
}

void HotKeyTest::pressFromOutsideReachesRunningCopies() {
    QFETCH(int, watchers);
    QFETCH(bool, owner);
    MainWindowFixture f;
    const std::string host = store::HostName();
    std::vector<std::string> files;
    for (int i = 1; i <= watchers; ++i) // of this process, so running
        files.push_back(f.Path(QString::fromStdString(
            click::SignalFileName(uint64_t(i), store::CurrentProcessId(), host))));
    files.push_back(f.Path(QString::fromStdString(click::SignalFileName(7, 999999999, host))));
    files.push_back(f.Path("1234_HotKey.xml")); // an older copy's, no window
    for (const std::string& file : files)
        QVERIFY(store::WriteFileAtomically(file, "<HotKey Check=\"0\"/>"));
    QVERIFY(store::WriteFileAtomically(f.Path("9-1-x_HotKey.xml"), std::string(2 << 20, ' ')));
    if (owner)
        LoadForPresses(f);
    QCOMPARE(click::PressForEveryCopy(f.folder.path().toStdString())->stamped,
             size_t(watchers + (owner ? 1 : 0)));
    for (size_t i = 0; i < files.size(); ++i)
        QCOMPARE(Check(files[i]) == "0", int(i) >= watchers);
    if (!owner)
        return;
    f.window->tmrHotKey_Timer();
    QVERIFY(!f.Idle());
    f.window->WaitForHotKeyRelay();
    QCOMPARE(Check(files.back()), std::string("0"));
}

void HotKeyTest::relayStampsEverySignalFile() {
    MainWindowFixture f;
    const std::string fresh = f.Path("1234_HotKey.xml");
    const std::string killed = f.Path("old_HotKey.xml");
    const std::string broken = f.Path("broken_HotKey.xml");
    const std::string otherCase = f.Path("9_hotkey.xml");
    const std::string unrelated = f.Path("notes.xml");
    for (const std::string& path : {fresh, killed, otherCase, unrelated})
        QVERIFY(store::WriteFileAtomically(path, "<?xml version=\"1.0\"?>\r\n<!-- keep -->\r\n"
                                                 "<HotKey Check=\"0\">\r\n</HotKey>\r\n"));
    QVERIFY(store::WriteFileAtomically(broken, "<HotKey Check="));
    // A link planted under a signal file's name is not followed: what it points to stays as it is.
    QTemporaryDir elsewhere;
    const std::string outside = elsewhere.filePath("outside.xml").toStdString();
    const std::string outsideText = "<HotKey Check=\"0\" Presses=\"3\"/>";
    QVERIFY(store::WriteFileAtomically(outside, outsideText));
    std::filesystem::create_symlink(outside, f.Path("link_HotKey.xml"));
    LoadForPresses(f);
    f.hotKey.press();
    f.window->tmrHotKey_Timer();
    QVERIFY(!f.Idle());
    f.window->WaitForHotKeyRelay();
    QFile outsideFile(QString::fromStdString(outside));
    QVERIFY(outsideFile.open(QIODevice::ReadOnly));
    QCOMPARE(outsideFile.readAll().toStdString(), outsideText);
    QVERIFY(std::filesystem::is_symlink(f.Path("link_HotKey.xml")));
    for (const std::string& path : {fresh, killed}) {
        QCOMPARE(Attribute(path, "Presses"), std::string("1"));
        const std::string stamp = Check(path);
        // The time of day in seconds.
        bool number = false;
        const double seconds = QString::fromStdString(stamp).toDouble(&number);
        QVERIFY2(number && seconds > 0 && seconds < 86400, stamp.c_str());
    }
    QCOMPARE(Check(otherCase), std::string("0"));
    QCOMPARE(Check(unrelated), std::string("0"));
    QCOMPARE(Check(broken), std::string("<unreadable>"));
    // The comment and the declaration stay.
    QFile file(QString::fromStdString(fresh));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY(saved.contains("<!-- keep -->"));
    QVERIFY(saved.startsWith("<?xml"));
}

// A press waiting for a file is not lost when the next press finds it a running copy's.
void HotKeyTest::relayKeepsPressesOfAFileThatTurnsOutRunning() {
    QTemporaryDir folder;
    std::vector<std::string> files(301);
    for (int i = 0; i <= 300; ++i)
        QVERIFY(store::WriteFileAtomically(
            files[i] = folder.filePath(QString("%1_HotKey.xml").arg(i)).toStdString(), "<a/>"));
    click::SignalRelay relay;
    relay.Relay({files.begin(), files.end() - 1}, {files.back()}, "7.5");
    relay.Relay({files.back()}, {}, "8.5");
    relay.Wait();
    QCOMPARE(Attribute(files.back(), "Presses") + Attribute(files[0], "Presses"),
             std::string("21"));
}

void HotKeyTest::watcherFollowsNewStamps() {
    MainWindowFixture f;
    f.hotKey.scriptRegisterResult(0); // another copy owns the hot key
    LoadForPresses(f);
    const std::string signal = f.window->HotKeyFile();
    QCOMPARE(signal, f.Path(QString::fromStdString(click::SignalFileName(
                         f.window->winId(), store::CurrentProcessId(), store::HostName()))));
    QFile file(QString::fromStdString(signal));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("<?xml version=\"1.0\"?>\r\n<!-- Do not change this file yourself, or "
                        "else you may cause the application to malfunction! -->\r\n<HotKey "
                        "Check=\"0\">\r\n</HotKey>\r\n"));
    file.close();

    f.window->tmrHotKey_Timer(); // "0": no press yet
    QVERIFY(f.Idle());
    Stamp(signal, "45296.52");
    f.window->tmrHotKey_Timer();
    QVERIFY(!f.Idle());
    f.window->tmrHotKey_Timer(); // the same stamp does not toggle again
    QVERIFY(!f.Idle());
    Stamp(signal, "45297.1");
    f.window->tmrHotKey_Timer();
    QVERIFY(f.Idle());
    // Held up across two presses of the owner, which started and stopped: this copy stays idle,
    // and the next press starts it, as it does the owner.
    store::XmlDocument stamper;
    QVERIFY(click::StampSignalFile(signal, "45298.1", 1, stamper) == click::Stamp::Stamped);
    QVERIFY(click::StampSignalFile(signal, "45298.3", 1, stamper) == click::Stamp::Stamped);
    f.window->tmrHotKey_Timer();
    QVERIFY(f.Idle());
    QVERIFY(click::StampSignalFile(signal, "45299.5", 1, stamper) == click::Stamp::Stamped);
    f.window->tmrHotKey_Timer();
    QVERIFY(!f.Idle());
    // A watcher relays nothing and never polls the system's hot key.
    QCOMPARE(f.hotKey.polls(), 0);
    QCOMPARE(Check(signal), std::string("45299.5"));
    // Deleted from outside, the file is made again from the presses acted on: the next press
    // reaches this copy, once.
    QVERIFY(store::DeleteFile(signal));
    f.window->tmrHotKey_Timer();
    QVERIFY(!f.Idle());
    QVERIFY(click::StampSignalFile(signal, "45300.5", 1, stamper) == click::Stamp::Stamped);
    f.window->tmrHotKey_Timer();
    QVERIFY(f.Idle());
}

void HotKeyTest::watcherFileGoesAtShutDown() {
    MainWindowFixture f;
    f.hotKey.scriptRegisterResult(0);
    LoadForPresses(f);
    const std::string signal = f.window->HotKeyFile();
    QVERIFY(store::FileExists(signal));
    f.window->Unload();
    QVERIFY(!store::FileExists(signal));
    QCOMPARE(f.hotKey.calls().back().kind, platform::FakeHotKeyService::Kind::Unregister);
}

// A press while the picker is open (the key, or zorvane --toggle stamping the owner's own file),
// or while a box of the click run is open, is dropped: it neither acts later nor opens a box
// inside the box.
void HotKeyTest::pressesWhileNotServedAreDropped_data() {
    QTest::addColumn<bool>("picker");
    QTest::addColumn<bool>("fromOutside");
    QTest::newRow("picker open") << true << false;
    QTest::newRow("picker open, zorvane --toggle") << true << true;
    QTest::newRow("refused start's box open") << false << false;
}

void HotKeyTest::pressesWhileNotServedAreDropped() {
    QFETCH(bool, picker);
    QFETCH(bool, fromOutside);
    MainWindowFixture f;
    f.WriteSettings({{"RepeatClick", "1"}, {"Clicks", picker ? "50" : "0"}});
    QVERIFY(f.window->Form_Load());
    if (picker) {
        f.window->btnLocate->click();
        if (fromOutside)
            QCOMPARE(click::PressForEveryCopy(f.folder.path().toStdString())->stamped, size_t(1));
        else
            f.hotKey.press(3);
        QVERIFY(f.window->CaptureWindow());
        f.window->CaptureWindow()->Unload();
    } else {
        f.dialogs.whileShown = [&] {
            f.hotKey.press();
            f.window->tmrHotKey_Timer();
        };
        f.hotKey.press();
    }
    f.window->tmrHotKey_Timer();
    f.window->tmrHotKey_Timer();
    QVERIFY(f.Idle());
    QCOMPARE(f.hotKey.pendingPresses(), 0);
    QCOMPARE(f.dialogs.shown().size(), size_t(picker ? 0 : 1));
}

void HotKeyTest::menuItemAnswers_data() {
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<int>("registrations");
    QTest::newRow("cancel") << true << ""
                            << "C" << false << 0;
    QTest::newRow("empty answer") << false << ""
                                  << "C" << false << 0;
    QTest::newRow("cat selects C") << false << "cat"
                                   << "C" << false << 1;
    QTest::newRow("lower-case x") << false << "x"
                                  << "X" << false << 1;
    QTest::newRow("9 is refused") << false << "9"
                                  << "C" << true << 0;
}

void HotKeyTest::menuItemAnswers() {
    QFETCH(bool, cancel);
    QFETCH(QString, answer);
    QFETCH(bool, refused);
    QFETCH(int, registrations);
    MainWindowFixture f;
    f.WriteSettings();
    QVERIFY(f.window->Form_Load());
    f.hotKey.clear();
    f.dialogs.scriptInputAnswer(cancel ? std::nullopt
                                       : std::optional<std::string>(answer.toStdString()));
    f.window->mnHotKey->trigger();
    QCOMPARE(f.dialogs.asked().size(), size_t{1});
    QCOMPARE(f.dialogs.asked()[0].prompt, std::string("CTRL + ALT + "));
    QCOMPARE(f.dialogs.asked()[0].title, std::string("Select your HotKey"));
    QCOMPARE(f.dialogs.asked()[0].defaultText, std::string("C"));
    QTEST(QString(QChar(f.window->HotKeyModule().Letter())), "letter");
    QCOMPARE(f.dialogs.shown().size(), size_t(refused ? 1 : 0));
    if (refused) {
        QCOMPARE(f.dialogs.shown()[0].text, std::string("Please choose a key from A to Z."));
        QCOMPARE(f.dialogs.shown()[0].title, std::string("Invalid Setting"));
    }
    // A new letter: unregistered, then registered again.
    QCOMPARE(f.hotKey.calls().size(), size_t(registrations * 2));
    if (registrations)
        QCOMPARE(f.hotKey.calls()[1].virtualKey, uint32_t(f.window->HotKeyModule().Letter()));
}

QTEST_MAIN(HotKeyTest)
#include "hot_key_test.moc"
