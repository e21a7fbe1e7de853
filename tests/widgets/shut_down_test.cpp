// Shut-down: the settings written back, the tray taking over the user's close, the signal file
// removed; and the options that govern the windows.
#include "click/sequence_window.h"
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

class ShutDownTest : public QObject {
    Q_OBJECT

private slots:
    void settingsAreWrittenBack();
    void keptCountIsWrittenOnlyWhenKept_data();
    void keptCountIsWrittenOnlyWhenKept();
    void deletedSettingsFileIsMadeAnew();
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
    void FSys_Unload() override { ++(*unloads); }

    QStringList tips;
    int animations = 0;
    int resizes = 0;
    std::vector<int> modes;
    int* unloads = nullptr;
};

// Makes the window create FakeTray objects that count their unloads in `unloads`.
void UseFakeTray(frmMain& w, int& unloads, FakeTray** created) {
    w.trayWindowFactory = [&unloads, created](frmMain&) {
        auto tray = std::make_unique<FakeTray>();
        tray->unloads = &unloads;
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

void ShutDownTest::deletedSettingsFileIsMadeAnew() {
    MainWindowFixture f;
    f.WriteSettings();
    QVERIFY(f.window->Form_Load());
    f.window->txtInterval->setText(QStringLiteral("4321"));
    QVERIFY(store::DeleteFile(f.SettingsFile()));
    f.window->Unload();
    QCOMPARE(Stored(f, "ClickIntervalinms"), std::string("4321"));
    QCOMPARE(Stored(f, "Loop"), std::string("1"));
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
    UseFakeTray(w, unloads, &tray);
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
    f.windows.addWindow("Zorvane 2.20", 77, true);
    w.mnSysTray_Click();
    QVERIFY(!w.FormSys);
    QCOMPARE(unloads, 1);
    QCOMPARE(f.windows.lookups(), std::vector<std::string>{"Zorvane 2.20"});
    QCOMPARE(f.windows.calls().size(), size_t{2}); // restored, then brought to the front
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
    explicit FakeEventWindow(frmMain& w) : m_window(w) { w.bFormMouseEventsLoaded = true; }
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
        m_window.bFormMouseEventsLoaded = false;
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
    w.bFormMouseEventsLoaded = false;
    w.mouseEventsWindowFactory = [&events](frmMain& main) {
        main.bFormMouseEventsLoaded = true;
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
