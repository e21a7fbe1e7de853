// Shut-down: the settings written back, the tray taking over the user's close, the signal file
// removed; and the options that govern the windows.
#include "default_settings_file.h"
#include "events/sequence_window.h"
#include "main_window_fixture.h"
#include "shell/about_window.h"
#include "store/file_system.h"
#include "store/settings_file.h"
#include "tray/tray_window.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include <optional>
#include <sys/stat.h>
#include <unistd.h>

class ShutDownTest : public QObject {
    Q_OBJECT

private slots:
    void settingsAreWrittenBack();
    void keptCountIsWrittenOnlyWhenKept_data();
    void keptCountIsWrittenOnlyWhenKept();
    void settingsFileGoneBadWhileRunning_data();
    void settingsFileGoneBadWhileRunning();
    void failedSaveIsTold_data();
    void failedSaveIsTold();
    void trayKeepsTheUsersClose_data();
    void trayKeepsTheUsersClose();
    void optionsMenuOrder();
    void optionTogglesFlipOnlyTheirMarks_data();
    void optionTogglesFlipOnlyTheirMarks();
    void trayOptionCreatesAndRemovesTheTray();
    void minimizeGoesToTheTray();
    void mouseEventsItemOpensAndClosesTheWindow();
};

namespace {

QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string Stored(MainWindowFixture& f, const char* name) {
    return store::GetConfigValue(f.SettingsFile(), name).value_or("<no file>");
}

class FakeTray : public TrayWindow {
public:
    void SetTooltip(const QString& text) override { tips << text; }
    void UpdateAnimation() override { ++animations; }
    void MeQueryUnload(QWidget* window, bool& cancel, int unloadMode) override {
        modes.push_back(unloadMode);
        if (unloadMode == 0) {
            cancel = true;
            window->hide();
        }
    }
    void MeResize(QWidget* window) override {
        if (window->isMinimized())
            window->hide();
    }
    void FSys_Resize() override { ++resizes; }
    void ShowMainWindow() override { unloadsWhenShown->push_back(*unloads); }
    void mMinimize_Click() override {}
    store::SettingValues ClosingSettings() const override { return {}; }
    void FSys_Unload(bool) override { ++(*unloads); }

    QStringList tips;
    int animations = 0;
    int resizes = 0;
    std::vector<int> modes;
    int* unloads = nullptr;
    std::vector<int>* unloadsWhenShown = nullptr; // how many trays were unloaded at each call
};

// Makes the window create FakeTray objects that count their unloads in `unloads`.
void UseFakeTray(frmMain& w, int& unloads, FakeTray** created,
                 std::vector<int>* unloadsWhenShown = nullptr) {
    w.trayWindowFactory = [&unloads, created, unloadsWhenShown](TrayOwner&) {
        auto tray = std::make_unique<FakeTray>();
        tray->unloads = &unloads;
        tray->unloadsWhenShown = unloadsWhenShown;
        *created = tray.get();
        return tray;
    };
}

} // namespace

void ShutDownTest::settingsAreWrittenBack() {
    MainWindowFixture f;
    f.WriteSettings();
    frmMain& w = *f.window;
    QVERIFY(w.Form_Load());
    w.mnTop_Click();
    w.mnSafetyMechanism_Click();
    w.mnHyperClick_Click();
    w.mnStartMinimized_Click();
    w.chkRepeatClick->setChecked(true);
    w.txtDelay->setText(QStringLiteral("abc"));
    w.txtInterval->setText(QStringLiteral("12abc"));
    w.txtX->setText(QStringLiteral("&H10"));
    w.txtY->setText(QStringLiteral("1 5"));
    w.txtRepeatClick->setText(QStringLiteral("2.5"));
    w.chkRange->setCheckState(Qt::PartiallyChecked);
    w.txtInterval2->setText(QStringLiteral(""));
    w.optButton[1]->setChecked(true);
    w.HotKeyModule().SetHotKeyLetter("q");
    w.Unload();

    const std::pair<const char*, const char*> expected[] = {
        {"PreventMultipleInstance", "True"},
        {"XPStyle", "True"},
        {"SysTray", "False"},
        {"CloseMeansClose", "True"},
        {"HideOnMinimize", "True"},
        {"AlwaysonTop", "False"},
        {"SafetyMechanism", "False"},
        {"HyperClick", "True"},
        {"RepeatClick", "1"},
        {"Delay", "0"},
        {"ClickIntervalinms", "12"},
        {"Coordx", "16"},
        {"Coordy", "15"},
        {"Clicks", "2.5"},
        {"Button", "2"},
        {"HotKey", "Q"},
        {"KeepRepeatClick", "False"},
        {"InitialRepeatClicks", "1"},
        {"StartMinimized", "True"},
        {"Range", "2"},
        {"ClickInterval2inms", "0"},
        // Written by their own windows, not by the main window.
        {"AutoMinimize", "0"},
        {"Loop", "1"},
        {"TrayIconMode", "1"},
    };
    for (const auto& [name, value] : expected)
        QCOMPARE(Stored(f, name), std::string(value));

    // One save, with the bytes that one save per element (the main window's, in their order)
    // gives.
    const std::string single = f.Path("single.xml");
    QVERIFY(store::WriteFileAtomically(single, test_support::kDefaultSettingsFile.toStdString()));
    for (size_t i = 0; i < 21; ++i)
        QVERIFY(store::SetConfigValue(single, expected[i].first, expected[i].second));
    QCOMPARE(Bytes(f.SettingsFile()), Bytes(single));
}

void ShutDownTest::keptCountIsWrittenOnlyWhenKept_data() {
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("stored");
    QTest::newRow("kept") << true << "8"
                          << "8";
    QTest::newRow("not kept") << false << "8"
                              << "1";
    QTest::newRow("kept but 0") << true << "0"
                                << "1";
}

void ShutDownTest::keptCountIsWrittenOnlyWhenKept() {
    QFETCH(bool, keep);
    QFETCH(QString, count);
    MainWindowFixture f;
    f.WriteSettings();
    frmMain& w = *f.window;
    QVERIFY(w.Form_Load());
    if (keep)
        w.mnKeepRepeatClick_Click();
    w.SetInitialRepeatClicks(count.toInt());
    w.Unload();
    QTEST(QString::fromStdString(Stored(f, "InitialRepeatClicks")), "stored");
}

void ShutDownTest::settingsFileGoneBadWhileRunning_data() {
    QTest::addColumn<QString>("what");
    QTest::newRow("deleted") << "deleted";
    QTest::newRow("damaged") << "damaged";
}

// A settings file deleted or damaged while the program ran is made anew with this session's
// settings; a damaged one is kept as its backup first.
void ShutDownTest::settingsFileGoneBadWhileRunning() {
    QFETCH(QString, what);
    MainWindowFixture f;
    f.WriteSettings();
    QVERIFY(f.window->Form_Load());
    f.window->txtInterval->setText(QStringLiteral("4321"));
    QVERIFY(store::DeleteFile(f.SettingsFile()));
    if (what == "damaged")
        QVERIFY(store::WriteFileAtomically(f.SettingsFile(), "<Settings>"));
    f.window->Unload();
    QVERIFY(f.dialogs.shown().empty());
    QCOMPARE(Stored(f, "ClickIntervalinms"), std::string("4321"));
    QCOMPARE(Stored(f, "Loop"), std::string("1"));
    QCOMPARE(Bytes(f.SettingsFile() + ".bak"), QByteArray(what == "damaged" ? "<Settings>" : ""));
}

void ShutDownTest::failedSaveIsTold_data() {
    QTest::addColumn<QString>("what");   // "read-only", "disk full", "fifo"
    QTest::addColumn<bool>("session");   // the session ends the program, not the user
    QTest::addColumn<QString>("reason"); // follows "the configuration file PATH"
    for (const bool session : {false, true}) {
        const char* by = session ? ", session ends" : ", user ends";
        QTest::addRow("read-only file%s", by) << "read-only" << session << " is read-only";
        QTest::addRow("full disk%s", by)
            << "disk full" << session << " cannot be written (File too large)";
        QTest::addRow("FIFO in its place%s", by) << "fifo" << session << " cannot be read";
    }
}

// Settings that cannot be saved at the end are not lost in silence: the user who ends the
// program sees a message, an end by the session is told on standard error. The old file stays.
void ShutDownTest::failedSaveIsTold() {
    QFETCH(QString, what);
    QFETCH(bool, session);
    QFETCH(QString, reason);
    MainWindowFixture f;
    f.WriteSettings({{"Coordx", "5"}});
    QVERIFY(f.window->Form_Load());
    f.window->txtX->setText(QStringLiteral("77"));
    const QByteArray before = Bytes(f.SettingsFile());
    if (what == "read-only")
        QVERIFY(QFile::setPermissions(QString::fromStdString(f.SettingsFile()),
                                      QFileDevice::ReadOwner));
    if (what == "fifo") {
        QVERIFY(QFile::rename(QString::fromStdString(f.SettingsFile()),
                              QString::fromStdString(f.Path("kept.xml"))));
        QCOMPARE(::mkfifo(f.SettingsFile().c_str(), 0644), 0);
    }
    // Standard error into a pipe, which no file size limit cuts short.
    int errors[2];
    QCOMPARE(::pipe(errors), 0);
    const int savedError = ::dup(2);
    ::dup2(errors[1], 2);
    ::close(errors[1]);
    {
        std::optional<FullDisk> full;
        if (what == "disk full")
            full.emplace();
        if (session)
            f.window->UnloadForSession();
        else
            f.window->Unload();
    }
    ::dup2(savedError, 2);
    ::close(savedError);
    QByteArray told(4096, '\0');
    told.resize(std::max<qsizetype>(0, ::read(errors[0], told.data(), size_t(told.size()))));
    ::close(errors[0]);

    const std::string text = "The settings of this session were not saved: the configuration "
                             "file " +
                             f.SettingsFile() + reason.toStdString() +
                             ". The file was left as it was.";
    QCOMPARE(f.dialogs.shown().size(), size_t(session ? 0 : 1));
    if (!session) {
        QCOMPARE(f.dialogs.shown()[0].text, text);
        QCOMPARE(f.dialogs.shown()[0].title, std::string("Configuration File Error"));
    }
    QCOMPARE(told, session ? QByteArray::fromStdString("zorvane: " + text + "\n") : QByteArray());
    QCOMPARE(Bytes(what == "fifo" ? f.Path("kept.xml") : f.SettingsFile()), before);
}

void ShutDownTest::trayKeepsTheUsersClose_data() {
    QTest::addColumn<bool>("closeMeansClose");
    QTest::addColumn<bool>("byCode");
    QTest::addColumn<bool>("stays");
    QTest::newRow("close box hides in the tray") << false << false << true;
    QTest::newRow("close means close") << true << false << false;
    QTest::newRow("File > Exit always ends") << false << true << false;
}

void ShutDownTest::trayKeepsTheUsersClose() {
    QFETCH(bool, closeMeansClose);
    QFETCH(bool, byCode);
    QFETCH(bool, stays);
    MainWindowFixture f;
    f.WriteSettings({{"SysTray", "True"},
                     {"CloseMeansClose", closeMeansClose ? "1" : "0"},
                     {"ClickIntervalinms", "1000"}});
    frmMain& w = *f.window;
    int unloads = 0;
    FakeTray* tray = nullptr;
    UseFakeTray(w, unloads, &tray);
    QVERIFY(w.Form_Load());
    QVERIFY(tray && w.FormSys == tray);
    w.txtInterval->setText(QStringLiteral("2222"));
    if (byCode)
        w.mnExit->trigger();
    else
        w.close();
    QCOMPARE(w.isVisible(), false);
    // The settings are written only when the program really ends.
    QCOMPARE(Stored(f, "ClickIntervalinms"), std::string(stays ? "1000" : "2222"));
    QCOMPARE(unloads, stays ? 0 : 1);
    if (stays)
        QCOMPARE(w.FormSys, tray);
}

void ShutDownTest::optionsMenuOrder() {
    MainWindowFixture f;
    QStringList captions;
    QStringList shortcuts;
    for (QAction* item : f.window->mnOptions->actions()) {
        captions << item->text();
        shortcuts << item->shortcut().toString();
    }
    QCOMPARE(captions, (QStringList{"Always on &Top", "Safety Mechanism", "Hyper-Click",
                                    "Keep initial value in RepeatClick textfield",
                                    "Start Minimized", "Prevent Multiple Instance",
                                    "Use XP Visual Styles (add prg startup time if enabled on xp)",
                                    "Use System Tray", "Close means close (sysTray option)",
                                    "Hide on minimize (sysTray option)", "HotKey...",
                                    "Configure Mouse Events..."}));
    QCOMPARE(shortcuts,
             (QStringList{"Ctrl+T", "", "Ctrl+H", "", "", "", "", "", "", "", "", "Ctrl+E"}));
    QStringList help;
    for (QAction* item : f.window->mnHelpMenu->actions())
        help << item->text() + " " + item->shortcut().toString();
    QCOMPARE(help, (QStringList{"&Help F1", "&About F2"}));
    QCOMPARE(f.window->mnFile->title(), QStringLiteral("&File"));
    QCOMPARE(f.window->mnOptions->title(), QStringLiteral("&Options"));
    QCOMPARE(f.window->mnHelpMenu->title(), QStringLiteral("&Help"));
}

void ShutDownTest::optionTogglesFlipOnlyTheirMarks_data() {
    QTest::addColumn<QString>("item");
    for (const char* item : {"mnStartMinimized", "mnPrevInstance", "mnXPStyle", "mnCloseMeansClose",
                             "mnHideOnMinimize", "mnTop"})
        QTest::newRow(item) << item;
}

void ShutDownTest::optionTogglesFlipOnlyTheirMarks() {
    QFETCH(QString, item);
    MainWindowFixture f;
    f.WriteSettings();
    QVERIFY(f.window->Form_Load());
    QAction* action = f.window->findChild<QAction*>(item);
    QVERIFY(action);
    QList<bool> others;
    for (QAction* option : f.window->mnOptions->actions())
        if (option != action)
            others << option->isChecked();
    const bool before = action->isChecked();
    action->trigger();
    QCOMPARE(action->isChecked(), !before);
    QList<bool> after;
    for (QAction* option : f.window->mnOptions->actions())
        if (option != action)
            after << option->isChecked();
    QCOMPARE(after, others);
    QVERIFY(f.shell.started.empty()); // nothing restarts before the next start
    if (item == "mnTop") {
        const bool on = action->isChecked();
        QCOMPARE(f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        QVERIFY(f.window->AboutWindow());
        QCOMPARE(f.window->AboutWindow()->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
        QVERIFY(f.window->isVisible()); // a shown window stays shown
    }
}

void ShutDownTest::trayOptionCreatesAndRemovesTheTray() {
    MainWindowFixture f;
    f.WriteSettings();
    frmMain& w = *f.window;
    int unloads = 0;
    FakeTray* tray = nullptr;
    std::vector<int> unloadsWhenShown;
    UseFakeTray(w, unloads, &tray, &unloadsWhenShown);
    QVERIFY(w.Form_Load());
    QVERIFY(!w.FormSys);
    w.mnSysTray_Click();
    QVERIFY(w.FormSys && w.FormSys == tray);
    // The tray follows the click run's state.
    w.txtInterval->setText(QStringLiteral("1500"));
    w.btnStartStop_Click();
    // Until the first tick the tip shows the fields as they were when the run started.
    QCOMPARE(tray->tips.last(), QStringLiteral("Zorvane: 0hr 0min 0sec 0ms to next click"));
    w.tmr1sec_Timer();
    QCOMPARE(tray->tips.last(), QStringLiteral("Zorvane: 0hr 0min 0sec 500ms to next click"));
    w.btnStartStop_Click();
    QCOMPARE(tray->tips.last(), QStringLiteral("Zorvane: idle"));
    QCOMPARE(tray->animations, 2);
    // Off: the main window is brought back first, then the tray goes.
    w.mnSysTray_Click();
    QVERIFY(!w.FormSys);
    QCOMPARE(unloads, 1);
    QCOMPARE(unloadsWhenShown, std::vector<int>{0});
}

void ShutDownTest::minimizeGoesToTheTray() {
    MainWindowFixture f;
    f.WriteSettings({{"SysTray", "True"}});
    frmMain& w = *f.window;
    int unloads = 0;
    FakeTray* tray = nullptr;
    UseFakeTray(w, unloads, &tray);
    QVERIFY(w.Form_Load());
    w.setWindowState(Qt::WindowMinimized);
    QVERIFY(tray->resizes > 0);
    QVERIFY(!w.isVisible());
    // With "Hide on minimize" off the window stays.
    w.showNormal();
    w.mnHideOnMinimize_Click();
    w.setWindowState(Qt::WindowMinimized);
    QVERIFY(w.isVisible());
}

namespace {

class FakeEventWindow : public SequenceWindow {
public:
    explicit FakeEventWindow(frmMain& w) : m_window(w) {
        w.Sequence().bFormMouseEventsLoaded = true;
    }
    bool PassEvent(int16_t) override { return false; }
    void btnEventStart_Click() override {}
    void btnLoad_Click() override {}
    bool LoopEventsTicked() const override { return false; }
    QString LoopText() const override { return QStringLiteral("1"); }
    void SetLoopText(const QString&) override {}
    void SetRows(int16_t) override {}
    void MarkRowPlayed(int) override {}
    void SetIdleControls(bool) override {}
    void ShowWindow() override {}
    void SetRowPosition(int, const QString&, const QString&) override {}
    void Unload(bool force) override {
        unloads.push_back(force);
        m_window.Sequence().bFormMouseEventsLoaded = false;
        m_window.frmMouseEvents = nullptr;
    }
    std::vector<bool> unloads;

private:
    frmMain& m_window;
};

} // namespace

void ShutDownTest::mouseEventsItemOpensAndClosesTheWindow() {
    MainWindowFixture f;
    f.WriteSettings();
    frmMain& w = *f.window;
    FakeEventWindow events(w);
    w.Sequence().bFormMouseEventsLoaded = false;
    w.mouseEventsWindowFactory = [&events](MouseEventsOwner& main) {
        main.Sequence().bFormMouseEventsLoaded = true;
        return &events;
    };
    QVERIFY(w.Form_Load());
    w.mnMouseEvents->trigger();
    QVERIFY(w.mnMouseEvents->isChecked());
    QCOMPARE(w.frmMouseEvents, &events);
    w.mnMouseEvents->trigger();
    QVERIFY(!w.mnMouseEvents->isChecked());
    QCOMPARE(events.unloads, std::vector<bool>{false});
    // Loaded again, the program's end unloads it by force.
    w.mnMouseEvents->trigger();
    w.Unload();
    QCOMPARE(events.unloads, (std::vector<bool>{false, true}));
}

QTEST_MAIN(ShutDownTest)
#include "shut_down_test.moc"
