// Start-up: the settings file created or recovered, the running copy found, the visual styles,
// the window filled from the settings, and the command line.
#include "default_settings_file.h"
#include "main_window_fixture.h"
#include "platform/qt/qt_visual_styles.h"
#include "shell/manifest.h"
#include "shell/start_up.h"
#include "shell/visual_styles.h"
#include "store/atomic_write.h"
#include "store/file_system.h"
#include "store/settings_file.h"
#include "store/xml_document.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class StartUpTest : public QObject {
    Q_OBJECT

private slots:
    void missingSettingsFileIsCreatedWithOneMessage();
    void runningCopyEndsTheStart_data();
    void runningCopyEndsTheStart();
    void visualStyles_data();
    void visualStyles();
    void styleFollowsTheManifest_data();
    void styleFollowsTheManifest();
    void damagedFileEndsInitialisation();
    void settingsFileThatCannotBeUsed_data();
    void settingsFileThatCannotBeUsed();
    void attributesNeverChangedThroughALink_data();
    void attributesNeverChangedThroughALink();
    void staleTemporaryFilesGoAtStart();
    void loadFillsTheWindow_data();
    void loadFillsTheWindow();
    void keptRepeatCountReplacesClicks();
    void damagedFileEndsTheLoad_data();
    void damagedFileEndsTheLoad();
    void commandLineRunStartsWithSavedSettings_data();
    void commandLineRunStartsWithSavedSettings();
};

namespace {

const std::string kRecovery =
    "Told you not to meddle around with the configuration file. Settings restored to defaults.";

// The recovery's message for a damaged file kept as its backup.
std::string RecoveryText(MainWindowFixture& f) {
    return kRecovery + " The damaged file is kept as " + f.SettingsFile() + ".bak.";
}

QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

shell::StartUp Initialize(MainWindowFixture& f, int* ended = nullptr) {
    return shell::InitializeProgram(f.app, f.services, [ended] {
        if (ended)
            ++*ended;
    });
}

} // namespace

void StartUpTest::missingSettingsFileIsCreatedWithOneMessage() {
    MainWindowFixture f;
    f.visualStyles.themeActive = false;
    QCOMPARE(Initialize(f), shell::StartUp::Continue);
    QCOMPARE(Bytes(f.SettingsFile()), test_support::kDefaultSettingsFile);
    QCOMPARE(f.dialogs.shown().size(), size_t{1});
    QCOMPARE(f.dialogs.shown()[0].text,
             std::string("Created new configuration file and settings restored to defaults."));
    QCOMPARE(f.dialogs.shown()[0].title, std::string("Configuration File"));
    QCOMPARE(f.dialogs.shown()[0].icon, platform::MsgIcon::Warning);
    // The next start finds the file and says nothing.
    QCOMPARE(Initialize(f), shell::StartUp::Continue);
    QCOMPARE(f.dialogs.shown().size(), size_t{1});
}

void StartUpTest::runningCopyEndsTheStart_data() {
    QTest::addColumn<QString>("prevent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("iconic");
    QTest::addColumn<bool>("ends");
    QTest::newRow("copy running") << "True"
                                  << "Zorvane 2.20" << false << true;
    QTest::newRow("copy minimized") << "-1"
                                    << "Zorvane 2.20" << true << true;
    QTest::newRow("other version") << "True"
                                   << "Zorvane 2.21" << false << false;
    QTest::newRow("option off") << "False"
                                << "Zorvane 2.20" << false << false;
}

void StartUpTest::runningCopyEndsTheStart() {
    QFETCH(QString, prevent);
    QFETCH(QString, caption);
    QFETCH(bool, iconic);
    QFETCH(bool, ends);
    MainWindowFixture f;
    f.WriteSettings({{"PreventMultipleInstance", prevent.toStdString()}, {"XPStyle", "False"}});
    f.windows.addWindow(caption.toStdString(), 4242, iconic);
    const QByteArray before = Bytes(f.SettingsFile());
    QCOMPARE(Initialize(f) == shell::StartUp::End, ends);
    QCOMPARE(Bytes(f.SettingsFile()), before); // never touched
    QVERIFY(f.dialogs.shown().empty());
    using Kind = platform::FakeWindowFinder::Kind;
    std::vector<Kind> expected;
    if (ends && iconic)
        expected.push_back(Kind::Restore);
    if (ends)
        expected.push_back(Kind::SetForeground);
    QCOMPARE(f.windows.calls().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(f.windows.calls()[i].kind, expected[i]);
        QCOMPARE(f.windows.calls()[i].window, platform::WindowHandle{4242});
    }
}

void StartUpTest::visualStyles_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("themeActive");
    QTest::addColumn<bool>("manifestBefore");
    QTest::addColumn<bool>("manifestBlocked"); // a folder stands where the manifest would go
    QTest::addColumn<bool>("restarts");
    QTest::addColumn<bool>("manifestAfter");
    QTest::newRow("first start writes and restarts")
        << "1" << true << false << false << true << true;
    QTest::newRow("restarted copy deletes it") << "True" << true << true << false << false << false;
    QTest::newRow("classic look: nothing") << "True" << false << false << false << false << false;
    QTest::newRow("setting off: nothing") << "False" << true << false << false << false << false;
    QTest::newRow("unwritable: no restart loop")
        << "True" << true << false << true << false << false;
}

void StartUpTest::visualStyles() {
    QFETCH(QString, setting);
    QFETCH(bool, themeActive);
    QFETCH(bool, manifestBefore);
    QFETCH(bool, manifestBlocked);
    QFETCH(bool, restarts);
    QFETCH(bool, manifestAfter);
    MainWindowFixture f({"run", "--x y"});
    f.WriteSettings({{"XPStyle", setting.toStdString()}, {"PreventMultipleInstance", "False"}});
    f.visualStyles.themeActive = themeActive;
    const std::string manifest = shell::ManifestPath(f.app.configFolder, f.app.exeName);
    if (manifestBefore)
        store::WriteFileAtomically(manifest, "old");
    if (manifestBlocked)
        QVERIFY(QDir().mkpath(QString::fromStdString(manifest)));
    int ended = 0;
    Initialize(f, &ended);
    QCOMPARE(ended, restarts ? 1 : 0);
    QCOMPARE(f.shell.started.size(), size_t(restarts ? 1 : 0));
    if (restarts) {
        QCOMPARE(f.shell.started[0].program, f.app.exePath);
        QCOMPARE(f.shell.started[0].arguments, (std::vector<std::string>{"run", "--x y"}));
        QCOMPARE(f.visualStyles.hidden, std::vector<std::string>{manifest});
        QCOMPARE(Bytes(manifest),
                 QByteArray::fromStdString(shell::ManifestText(
                     "zorvane", 2, 20, 0, "Click your mouse button automatically", "Zorvane")));
    }
    QCOMPARE(store::FileExists(manifest), manifestAfter);
}

void StartUpTest::styleFollowsTheManifest_data() {
    QTest::addColumn<bool>("manifest");
    QTest::addColumn<QString>("style");
    QTest::newRow("restarted with the manifest") << true << "fusion";
    QTest::newRow("started without it") << false << "windows";
}

void StartUpTest::styleFollowsTheManifest() {
    QFETCH(bool, manifest);
    MainWindowFixture f;
    if (manifest)
        QVERIFY(store::WriteFileAtomically(shell::ManifestPath(f.app.configFolder, f.app.exeName),
                                           "m"));
    shell::ChooseToolkitStyle(f.app);
    QTEST(QApplication::style()->name().toLower(), "style");
}

void StartUpTest::damagedFileEndsInitialisation() {
    MainWindowFixture f;
    f.WriteSettings({{"PreventMultipleInstance", "yes"}});
    const QByteArray damaged = Bytes(f.SettingsFile());
    QCOMPARE(Initialize(f), shell::StartUp::End);
    QCOMPARE(f.dialogs.shown().size(), size_t{1});
    QCOMPARE(f.dialogs.shown()[0].text, RecoveryText(f));
    QCOMPARE(Bytes(f.SettingsFile() + ".bak"), damaged);
    QCOMPARE(f.dialogs.shown()[0].title, std::string("Configuration File Error"));
    QCOMPARE(Bytes(f.SettingsFile()), test_support::kDefaultSettingsFile);
}

void StartUpTest::settingsFileThatCannotBeUsed_data() {
    QTest::addColumn<QString>("what");  // what stands at config.xml
    QTest::addColumn<QString>("text");  // the one message; %1 the settings file, %2 its backup
    QTest::addColumn<QString>("after"); // config.xml afterwards: "defaults", "old", "as planted"
    QTest::addColumn<bool>("backup");   // config.xml.bak holds the old bytes
    const QString meddled = "Told you not to meddle around with the configuration file.";
    const QString restored = meddled + " Settings restored to defaults. The damaged file is kept "
                                       "as %2.";
    const QString unreadable = "The configuration file %1 cannot be read. It was left as it is; "
                               "make sure it is a file you may read.";
    QTest::newRow("damaged") << "damaged" << restored << "defaults" << true;
    QTest::newRow("far too large") << "huge" << restored << "defaults" << true;
    QTest::newRow("link to a damaged file: written through")
        << "link to damaged" << restored << "defaults" << true;
    QTest::newRow("damaged, read-only")
        << "read-only"
        << meddled + " The defaults could not be written: the configuration file "
                     "%1 is read-only. The damaged file is kept as %2."
        << "old" << true;
    QTest::newRow("damaged, backup cannot be kept")
        << "backup blocked"
        << meddled + " Its contents could not be kept as %2, so it was left "
                     "as it is and the defaults were not written."
        << "old" << false;
    QTest::newRow("FIFO") << "fifo" << unreadable << "as planted" << false;
    QTest::newRow("link to a FIFO") << "link to fifo" << unreadable << "as planted" << false;
    QTest::newRow("folder") << "folder" << unreadable << "as planted" << false;
    QTest::newRow("dangling link") << "dangling" << unreadable << "as planted" << false;
    QTest::newRow("missing, disk full")
        << "disk full"
        << "The configuration file %1 cannot be written (File too large). Make sure its folder "
           "can be written to."
        << "as planted" << false;
}

// A settings file that cannot be used ends the start with one message that says what happened;
// nothing is lost: a damaged file is kept before it is replaced, and a file that cannot be read
// is not replaced at all.
void StartUpTest::settingsFileThatCannotBeUsed() {
    QFETCH(QString, what);
    QFETCH(QString, text);
    QFETCH(QString, after);
    QFETCH(bool, backup);
    MainWindowFixture f;
    const QString path = QString::fromStdString(f.SettingsFile());
    const QByteArray old = what == "huge" ? QByteArray(1100000, '<') : "<Settings><Delay>";
    const QString dotfile = f.folder.filePath("dotfiles.xml");
    QVERIFY(WriteFile(dotfile, old));
    if (what == "fifo" || what == "link to fifo")
        QCOMPARE(::mkfifo(f.Path(what == "fifo" ? "config.xml" : "pipe").c_str(), 0644), 0);
    if (what == "link to fifo")
        QVERIFY(QFile::link(f.folder.filePath("pipe"), path));
    if (what == "link to damaged")
        QVERIFY(QFile::link(dotfile, path));
    if (what == "dangling")
        QVERIFY(QFile::link(f.folder.filePath("gone.xml"), path));
    if (what == "folder")
        QVERIFY(QDir().mkdir(path));
    if (what == "damaged" || what == "huge" || what == "read-only" || what == "backup blocked")
        QVERIFY(WriteFile(path, old));
    if (what == "read-only")
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    if (what == "backup blocked")
        QVERIFY(QDir().mkdir(path + ".bak"));
    std::optional<FullDisk> full;
    if (what == "disk full")
        full.emplace();
    QCOMPARE(Initialize(f), shell::StartUp::End);
    full.reset();
    QCOMPARE(f.dialogs.shown().size(), size_t{1});
    QCOMPARE(QString::fromStdString(f.dialogs.shown()[0].text),
             text.replace("%2", path + ".bak").replace("%1", path));
    QCOMPARE(f.dialogs.shown()[0].title, std::string("Configuration File Error"));
    const QFileInfo info(path);
    if (after == "defaults")
        QCOMPARE(Bytes(f.SettingsFile()), test_support::kDefaultSettingsFile);
    else if (after == "old")
        QCOMPARE(Bytes(f.SettingsFile()), old);
    else
        QCOMPARE(info.exists() || info.isSymLink(), what != "disk full");
    QCOMPARE(info.isSymLink(), what.startsWith("link") || what == "dangling");
    if (backup)
        QCOMPARE(Bytes(f.SettingsFile() + ".bak"), old);
    else if (what != "backup blocked")
        QVERIFY(!QFileInfo::exists(path + ".bak"));
    QCOMPARE(Bytes(dotfile.toStdString()),
             what == "link to damaged" ? test_support::kDefaultSettingsFile : old);
}

void StartUpTest::attributesNeverChangedThroughALink_data() {
    QTest::addColumn<QString>("planted"); // at the manifest's place
    QTest::addColumn<bool>("madeWritable");
    QTest::newRow("the manifest itself") << "file" << true;
    QTest::newRow("link to a read-only file") << "link" << false;
}

// Clearing the manifest's attributes and deleting it never go through a link: a planted link is
// deleted, and the file it points to keeps its permissions.
void StartUpTest::attributesNeverChangedThroughALink() {
    QFETCH(QString, planted);
    QFETCH(bool, madeWritable);
    MainWindowFixture f;
    const QString manifest =
        QString::fromStdString(shell::ManifestPath(f.app.configFolder, f.app.exeName));
    const QString target = planted == "file" ? manifest : f.folder.filePath("elsewhere.txt");
    QVERIFY(WriteFile(target, "keep"));
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner));
    if (planted == "link")
        QVERIFY(QFile::link(target, manifest));
    platform::QtVisualStyles styles;
    styles.ClearAttributes(manifest.toStdString());
    QCOMPARE(bool(QFile::permissions(target) & QFileDevice::WriteOwner), madeWritable);
    // The start of a copy that finds it deletes the manifest, or the planted link, only.
    f.WriteSettings({{"XPStyle", "True"}, {"PreventMultipleInstance", "False"}});
    f.app.startedWithManifest = true;
    QCOMPARE(Initialize(f), shell::StartUp::Continue);
    QVERIFY(!QFileInfo(manifest).exists() && !QFileInfo(manifest).isSymLink());
    if (planted == "link") {
        QCOMPARE(Bytes(target.toStdString()), QByteArray("keep"));
        QVERIFY(!(QFile::permissions(target) & QFileDevice::WriteOwner));
    }
}

// Temporary files left by killed writers go at the next start, also beside a link's target.
void StartUpTest::staleTemporaryFilesGoAtStart() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    QCOMPARE(::waitpid(child, nullptr, 0), child);
    MainWindowFixture f;
    f.WriteSettings({{"XPStyle", "False"}, {"PreventMultipleInstance", "False"}});
    QTemporaryDir dotfiles;
    const QString name = QString(".zorvane-%1-0.tmp").arg(child);
    QVERIFY(WriteFile(dotfiles.filePath("events.xml"), "<Events/>") &&
            QFile::link(dotfiles.filePath("events.xml"), f.folder.filePath("events.xml")) &&
            WriteFile(f.folder.filePath(name), "half") &&
            WriteFile(dotfiles.filePath(name), "half"));
    QCOMPARE(Initialize(f), shell::StartUp::Continue);
    QVERIFY(!QFileInfo::exists(f.folder.filePath(name)) &&
            !QFileInfo::exists(dotfiles.filePath(name)));
}

void StartUpTest::loadFillsTheWindow_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("always on top off") << "AlwaysonTop"
                                       << "False"
                                       << "mnTop=0";
    QTest::newRow("single instance as number") << "PreventMultipleInstance"
                                               << "0"
                                               << "mnPrevInstance=0";
    QTest::newRow("visual styles word any case") << "XPStyle"
                                                 << "fALSE"
                                                 << "mnXPStyle=0";
    QTest::newRow("tray") << "SysTray"
                          << "1"
                          << "mnSysTray=1";
    QTest::newRow("close means close") << "CloseMeansClose"
                                       << "0"
                                       << "mnCloseMeansClose=0";
    QTest::newRow("hide on minimize") << "HideOnMinimize"
                                      << "0"
                                      << "mnHideOnMinimize=0";
    QTest::newRow("safety off") << "SafetyMechanism"
                                << "False"
                                << "mnSafetyMechanism=0";
    QTest::newRow("Hyper-Click shows its frame") << "HyperClick"
                                                 << "True"
                                                 << "Frame3=1";
    QTest::newRow("repeat ticked") << "RepeatClick"
                                   << "1"
                                   << "chkRepeatClick=1";
    QTest::newRow("repeat greyed") << "RepeatClick"
                                   << "2"
                                   << "chkRepeatClick=2";
    QTest::newRow("repeat rounds half to even") << "RepeatClick"
                                                << "0.5"
                                                << "chkRepeatClick=0";
    QTest::newRow("delay text kept") << "Delay"
                                     << "abc"
                                     << "txtDelay=abc";
    QTest::newRow("interval text kept") << "ClickIntervalinms"
                                        << "12abc"
                                        << "txtInterval=12abc";
    QTest::newRow("x") << "Coordx"
                       << "640"
                       << "txtX=640";
    QTest::newRow("y") << "Coordy"
                       << "480"
                       << "txtY=480";
    QTest::newRow("clicks") << "Clicks"
                            << "25"
                            << "txtRepeatClick=25";
    QTest::newRow("range") << "Range"
                           << "1"
                           << "chkRange=1";
    QTest::newRow("upper bound") << "ClickInterval2inms"
                                 << "5000"
                                 << "txtInterval2=5000";
    QTest::newRow("right button") << "Button"
                                  << "2"
                                  << "button=right";
    QTest::newRow("other number is left") << "Button"
                                          << "7"
                                          << "button=left";
    QTest::newRow("hot key digit gives C") << "HotKey"
                                           << "7"
                                           << "hotkey=C";
    QTest::newRow("hot key lower case") << "HotKey"
                                        << "x"
                                        << "hotkey=X";
    QTest::newRow("start minimized") << "StartMinimized"
                                     << "True"
                                     << "minimized=1";
}

void StartUpTest::loadFillsTheWindow() {
    QFETCH(QString, element);
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    MainWindowFixture f;
    f.WriteSettings({{element.toStdString(), stored.toStdString()}});
    frmMain& w = *f.window;
    QVERIFY(w.Form_Load());
    QVERIFY(f.dialogs.shown().empty());
    const QString control = shown.section('=', 0, 0);
    const QString value = shown.section('=', 1);
    const auto check = [](const QCheckBox* box) {
        return QString::number(box->checkState() == Qt::Checked            ? 1
                               : box->checkState() == Qt::PartiallyChecked ? 2
                                                                           : 0);
    };
    QString actual;
    if (auto* item = w.findChild<QAction*>(control)) {
        actual = item->isChecked() ? "1" : "0";
    } else if (control == "Frame3") {
        actual = w.Frame3->isHidden() ? "0" : "1";
    } else if (auto* box = w.findChild<QCheckBox*>(control)) {
        actual = check(box);
        QLineEdit* follower = box == w.chkRange ? w.txtInterval2 : w.txtRepeatClick;
        QCOMPARE(follower->isEnabled(), value == "1");
    } else if (auto* field = w.findChild<QLineEdit*>(control)) {
        actual = field->text();
    } else if (control == "button") {
        actual = w.optButton[1]->isChecked() ? "right" : "left";
        QVERIFY(w.optButton[0]->isChecked() != w.optButton[1]->isChecked());
    } else if (control == "hotkey") {
        actual = QString(QChar(w.HotKeyModule().Letter()));
    } else if (control == "minimized") {
        actual = w.isMinimized() ? "1" : "0";
    }
    QCOMPARE(actual, value);
    QVERIFY(w.isVisible());
}

void StartUpTest::keptRepeatCountReplacesClicks() {
    MainWindowFixture f;
    f.WriteSettings({{"KeepRepeatClick", "True"}, {"InitialRepeatClicks", "5"}, {"Clicks", "9"}});
    QVERIFY(f.window->Form_Load());
    QCOMPARE(f.window->txtRepeatClick->text(), QStringLiteral("5"));
    QCOMPARE(f.window->InitialRepeatClicks(), 5);
    QVERIFY(f.window->mnKeepRepeatClick->isChecked());
}

void StartUpTest::damagedFileEndsTheLoad_data() {
    QTest::addColumn<QString>("element");
    QTest::addColumn<QString>("stored");
    QTest::newRow("repeat 3") << "RepeatClick"
                              << "3";
    QTest::newRow("tray yes") << "SysTray"
                              << "yes";
    QTest::newRow("empty hot key") << "HotKey"
                                   << "";
    QTest::newRow("button word") << "Button"
                                 << "left";
    QTest::newRow("empty Boolean") << "AlwaysonTop"
                                   << "";
    QTest::newRow("start minimized word") << "StartMinimized"
                                          << "maybe";
    QTest::newRow("not XML at all") << ""
                                    << "";
}

void StartUpTest::damagedFileEndsTheLoad() {
    QFETCH(QString, element);
    QFETCH(QString, stored);
    MainWindowFixture f;
    if (element.isEmpty())
        store::WriteFileAtomically(f.SettingsFile(), "<Settings><AlwaysonTop>True</Settin");
    else
        f.WriteSettings({{element.toStdString(), stored.toStdString()}});
    const QByteArray damaged = Bytes(f.SettingsFile());
    QVERIFY(!f.window->Form_Load());
    QCOMPARE(f.dialogs.shown().size(), size_t{1});
    QCOMPARE(f.dialogs.shown()[0].text, RecoveryText(f));
    QCOMPARE(Bytes(f.SettingsFile() + ".bak"), damaged);
    QCOMPARE(f.dialogs.shown()[0].title, std::string("Configuration File Error"));
    QCOMPARE(f.dialogs.shown()[0].icon, platform::MsgIcon::Warning);
    QCOMPARE(Bytes(f.SettingsFile()), test_support::kDefaultSettingsFile);
}

void StartUpTest::commandLineRunStartsWithSavedSettings_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("interval");
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("refused");
    QTest::newRow("run") << "run"
                         << "1000" << true << false;
    QTest::newRow("RUN in capitals") << "RUN"
                                     << "1000" << true << false;
    QTest::newRow("prune contains run") << "prune"
                                        << "1000" << true << false;
    QTest::newRow("safety still applies") << "run"
                                          << "500" << false << true;
    QTest::newRow("terminate alone") << "terminate"
                                     << "1000" << false << false;
}

void StartUpTest::commandLineRunStartsWithSavedSettings() {
    QFETCH(QString, argument);
    QFETCH(QString, interval);
    QFETCH(bool, running);
    QFETCH(bool, refused);
    MainWindowFixture f({argument.toStdString()});
    f.WriteSettings({{"ClickIntervalinms", interval.toStdString()}});
    QVERIFY(f.window->Form_Load());
    QCOMPARE(!f.Idle(), running);
    QCOMPARE(f.dialogs.shown().size(), size_t(refused ? 1 : 0));
    if (running)
        QCOMPARE(f.RunningTimer(), QStringLiteral("seconds"));
}

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"
