// The Mouse Events window: the table growing from its first row, clearing, the scroll bar, saving
// and loading events.xml, and playing the table through the main window's click run.
#include "click/mouse.h"
#include "events/mouse_events_window.h"
#include "main_window_fixture.h"
#include "store/atomic_write.h"
#include "store/settings_file.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

class MouseEventsTest : public QObject {
    Q_OBJECT

private slots:
    void tableGrowsFromItsFirstRow();
    void saveAndLoadKeepTheFile();
    void loadingWithoutAFile_data();
    void loadingWithoutAFile();
    void playsRowsAndLoops();
    void refusedRowHaltsAndCloseMinimizes();
    void endlessFastSequenceIsRefused_data();
    void endlessFastSequenceIsRefused();
    void unattendedRunPlaysTheFile();
    void stopDuringTheSecondRow();
    void ctrlEOpensItFromATextBox();
};

namespace {

frmMouseEvents* Open(MainWindowFixture& f,
                     std::vector<std::pair<std::string, std::string>> settings = {}) {
    f.WriteSettings(settings);
    if (!f.window->Form_Load())
        return nullptr;
    f.window->mnMouseEvents->trigger();
    return static_cast<frmMouseEvents*>(f.window->frmMouseEvents);
}

void Type(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
}

QString EventsFile(const frmMouseEvents& events) {
    QFile file(QString::fromStdString(events.EventsPath()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void WriteEvents(const frmMouseEvents& events, const QByteArray& text) {
    QFile file(QString::fromStdString(events.EventsPath()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

} // namespace

void MouseEventsTest::tableGrowsFromItsFirstRow() {
    MainWindowFixture f;
    frmMouseEvents* events = Open(f, {{"Loop", "5"}});
    QVERIFY(events);
    QCOMPARE(events->windowTitle(), QStringLiteral("Mouse Events"));
    QVERIFY(events->chkLoopEvents->isChecked() && events->txtLoop->isEnabled());
    frmMouseEvents::RowControls* first = events->ControlsOf(0);
    QVERIFY(first);
    QCOMPARE(first->txtInterval2->text(), QStringLiteral("1000"));
    QVERIFY(!first->txtInterval2->isEnabled());
    first->chkButton->click();
    Type(first->txtRepeat, QStringLiteral("10"));
    first->chkRange->click();
    for (int rows = 2; rows <= 13; ++rows) {
        events->btnEventAdd->click();
        QCOMPARE(events->VBar->isVisibleTo(events), rows == 13); // the 13th row needs the bar
    }
    QCOMPARE(events->Rows, int16_t{12});
    QCOMPARE(events->VBar->value(), 0); // the table stands at its top
    events->VBar->setValue(events->VBar->minimum());
    frmMouseEvents::RowControls* last = events->ControlsOf(12);
    QVERIFY(last);
    QCOMPARE(last->lblNo->text(), QStringLiteral("13"));
    QCOMPARE(last->chkButton->text(), QStringLiteral("Right"));
    QCOMPARE(last->txtRepeat->text(), QStringLiteral("10"));
    QVERIFY(last->chkRange->isChecked() && last->txtInterval2->isEnabled());
    QCOMPARE(last->txtX->geometry(), QRect(44, 16 + 21 * 12, 33, 19));

    events->btnEventClear->click(); // while scrolled down
    QCOMPARE(events->TableRows(), 1);
    QVERIFY(events->ControlsOf(0) && !events->VBar->isVisibleTo(events));
    const events::TableRow& row = events->TableRow(0);
    QCOMPARE(
        QStringList({QString::fromStdString(row.x), QString::fromStdString(row.clicks),
                     QString::fromStdString(row.interval), QString::fromStdString(row.interval2)}),
        (QStringList{"0", "1", "1000", "1000"}));
    QVERIFY(row.left && !row.range);
    QCOMPARE(events->txtLoop->text(), QStringLiteral("5")); // the loop settings stay
    // At the program's end the window's settings go into the main window's one save.
    events->chkAutoMinimize->setChecked(true);
    f.window->Unload();
    QCOMPARE(store::GetConfigValue(f.SettingsFile(), "AutoMinimize"),
             std::optional<std::string>("1"));
    QCOMPARE(store::GetConfigValue(f.SettingsFile(), "Loop"), std::optional<std::string>("5"));
}

// A save keeps what lies outside the rows; a load brings back the rows and the loop count.
void MouseEventsTest::saveAndLoadKeepTheFile() {
    MainWindowFixture f;
    frmMouseEvents* events = Open(f);
    WriteEvents(*events, "<?xml version=\"1.0\"?>\r\n<!-- mine -->\r\n<Events Loop=\"1\" "
                         "Owner=\"me\"><Event/></Events>\r\n");
    Type(events->ControlsOf(0)->txtX, QStringLiteral("640"));
    events->btnEventAdd->click();
    events->ControlsOf(1)->chkButton->click();
    events->chkLoopEvents->setChecked(true);
    events->txtLoop->setText(QStringLiteral("0"));
    f.dialogs.scriptMessageAnswer(platform::MsgResult::Yes);
    events->btnSave->click();
    QCOMPARE(f.dialogs.shown().back().text, std::string("Overwrite existing events.xml?"));
    const QString saved = EventsFile(*events);
    QVERIFY(saved.contains("<!-- mine -->") && saved.contains("Owner=\"me\""));
    QCOMPARE(saved.count("<Event>"), 2);
    f.dialogs.scriptMessageAnswer(platform::MsgResult::Yes);
    {
        FullDisk full;
        events->btnSave->click();
    }
    QCOMPARE(f.dialogs.shown().back().text,
             events->EventsPath() + " could not be saved (File too large).");

    events->btnEventClear->click();
    events->txtLoop->setText(QStringLiteral("1"));
    events->btnLoad->click();
    QCOMPARE(events->TableRows(), 2);
    QCOMPARE(events->TableRow(0).x, std::string("640"));
    QVERIFY(!events->TableRow(1).left);
    QCOMPARE(events->txtLoop->text(), QStringLiteral("0"));
    QVERIFY(events->chkLoopEvents->isChecked());
}

void MouseEventsTest::loadingWithoutAFile_data() {
    QTest::addColumn<QByteArray>("file"); // empty: none
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("backup");
    QTest::newRow("none, No") << QByteArray() << false << false;
    QTest::newRow("none, Yes") << QByteArray() << true << false;
    QTest::newRow("damaged, Yes: kept first") << QByteArray("<Events><Ev") << true << true;
}

void MouseEventsTest::loadingWithoutAFile() {
    QFETCH(QByteArray, file);
    QFETCH(bool, yes);
    QFETCH(bool, backup);
    MainWindowFixture f;
    frmMouseEvents* events = Open(f);
    if (!file.isEmpty())
        WriteEvents(*events, file);
    events->btnEventAdd->click();
    f.dialogs.scriptMessageAnswer(yes ? platform::MsgResult::Yes : platform::MsgResult::No);
    events->btnLoad->click();
    QCOMPARE(f.dialogs.shown().front().text,
             events->EventsPath() + " not found.\nCreate events.xml?");
    QCOMPARE(events->TableRows(), 2); // the table stays
    QCOMPARE(EventsFile(*events).startsWith("<?xml version=\"1.0\"?>\r\n<!-- Do not change"), yes);
    QFile kept(QString::fromStdString(events->EventsPath() + ".bak"));
    QCOMPARE(kept.exists(), backup);
    if (backup) {
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), file);
        QCOMPARE(f.dialogs.shown().back().text,
                 "The damaged file is kept as " + events->EventsPath() + ".bak.");
    }
}

// Three rows, two passes: each row at its place with its count, the highlight following.
void MouseEventsTest::playsRowsAndLoops() {
    MainWindowFixture f;
    frmMouseEvents* events = Open(f, {{"Loop", "2"}});
    for (int row = 0; row < 3; ++row) {
        if (row > 0)
            events->btnEventAdd->click();
        frmMouseEvents::RowControls* c = events->ControlsOf(row);
        Type(c->txtX, QString::number(100 * (row + 1)));
        Type(c->txtRepeat, QString::number(row + 1));
        Type(c->txtInterval, QStringLiteral("0"));
    }
    events->btnEventStart->click();
    QCOMPARE(events->RowMark(0), frmMouseEvents::Mark::Playing);
    QVERIFY(!events->btnEventAdd->isEnabled());
    QVERIFY(events->close() == false); // a running sequence minimizes instead
    QVERIFY(f.window->frmMouseEvents);
    f.TickUntilClicks(1);
    f.TickUntilClicks(1);
    QCOMPARE(events->RowMark(0), frmMouseEvents::Mark::Played);
    QCOMPARE(events->RowMark(1), frmMouseEvents::Mark::Playing);
    f.TickUntilIdle();
    std::vector<int> xs;
    for (const auto& event : f.mouse.events())
        if (event.flags == click::kLeftDownFlags)
            xs.push_back(event.x);
    QCOMPARE(xs, (std::vector<int>{100, 200, 200, 300, 300, 300, 100, 200, 200, 300, 300, 300}));
    QCOMPARE(events->txtLoop->text(), QStringLiteral("1"));
    QCOMPARE(events->RowMark(2), frmMouseEvents::Mark::Played);
    QVERIFY(events->btnEventAdd->isEnabled());
}

// A row the start checks refuse halts the sequence; Start/Stop ends it; then the window closes.
void MouseEventsTest::refusedRowHaltsAndCloseMinimizes() {
    MainWindowFixture f;
    frmMouseEvents* events = Open(f);
    events->btnEventAdd->click();
    Type(events->ControlsOf(1)->txtRepeat, QStringLiteral("0"));
    Type(events->ControlsOf(0)->txtInterval, QStringLiteral("0"));
    events->btnEventStart->click();
    f.TickUntilIdle();
    QCOMPARE(f.dialogs.shown().back().text,
             std::string("Number of clicks should be at least 1, right?"));
    QCOMPARE(f.window->numTotalEventsToRun, int16_t{2}); // halted at row 2
    QVERIFY(events->btnEventAdd->isEnabled());           // the table can be mended
    events->close();
    QVERIFY(f.window->frmMouseEvents); // still there, minimized
    QVERIFY(events->isMinimized());
    // The way out: mend the row; Start hands row 2 over again and the sequence ends.
    Type(events->ControlsOf(1)->txtRepeat, QStringLiteral("1"));
    Type(events->ControlsOf(1)->txtInterval, QStringLiteral("0"));
    f.window->btnStartStop_Click();
    f.TickUntilIdle();
    QCOMPARE(f.window->numTotalEventsToRun, int16_t{0});
    QCOMPARE(f.Presses(), size_t{2});
    QVERIFY(events->close());
    QVERIFY(!f.window->frmMouseEvents);
    QVERIFY(!f.window->mnMouseEvents->isChecked());
}

// A row at interval 0 with the safety mechanism on, started unattended through "Start events":
// a loop without end is refused as an endless plain run is, before any click; two passes play.
void MouseEventsTest::endlessFastSequenceIsRefused_data() {
    QTest::addColumn<QString>("loop");
    QTest::addColumn<size_t>("presses"); // 0: refused
    for (const char* endless : {"0", "-5", "abc", "0.4"})
        QTest::newRow(endless) << endless << size_t{0};
    QTest::newRow("2") << "2" << size_t{6};
}

void MouseEventsTest::endlessFastSequenceIsRefused() {
    QFETCH(QString, loop);
    MainWindowFixture f({"run", "event"});
    f.WriteSettings();
    QVERIFY(store::WriteFileAtomically(f.Path("events.xml"),
                                       "<Events Loop='" + loop.toStdString() +
                                           "'><Event><Clicks>3</Clicks></Event></Events>"));
    QVERIFY(f.window->Form_Load());
    f.TickUntilIdle();
    QTEST(f.Presses(), "presses");
    QCOMPARE(f.dialogs.shown().size(), f.Presses() ? size_t{0} : size_t{1});
}

// "run event": the file plays from memory while the table shows one default row.
void MouseEventsTest::unattendedRunPlaysTheFile() {
    MainWindowFixture f({"run", "event"});
    f.WriteSettings();
    QFile file(QString::fromStdString(f.Path("events.xml")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<Events Loop=\"1\"><Event><Coordx>7</Coordx><Button>2</Button><Clicks>2</Clicks>"
               "<ClickIntervalinms>0</ClickIntervalinms></Event><Event><Coordx>9</Coordx>"
               "<Button>1</Button><Clicks>1</Clicks><ClickIntervalinms>0</ClickIntervalinms>"
               "</Event></Events>");
    file.close();
    QVERIFY(f.window->Form_Load());
    auto* events = static_cast<frmMouseEvents*>(f.window->frmMouseEvents);
    QVERIFY(events);
    QCOMPARE(events->TableRows(), 1);
    f.TickUntilIdle();
    std::vector<std::pair<int, uint32_t>> clicks;
    for (const auto& event : f.mouse.events())
        if (event.flags == click::kLeftDownFlags || event.flags == click::kRightDownFlags)
            clicks.emplace_back(event.x, event.flags);
    QCOMPARE(clicks, (std::vector<std::pair<int, uint32_t>>{{7, click::kRightDownFlags},
                                                            {7, click::kRightDownFlags},
                                                            {9, click::kLeftDownFlags}}));
    QVERIFY(!f.window->bAutorun);
    QCOMPARE(events->Rows, int16_t{0});
}

// A stop leaves the window as it was: the row that played stays bold, the loop count stays; the
// next start plays from the first row again.
void MouseEventsTest::stopDuringTheSecondRow() {
    MainWindowFixture f;
    frmMouseEvents* events = Open(f, {{"Loop", "3"}});
    Type(events->ControlsOf(0)->txtInterval, QStringLiteral("0"));
    Type(events->ControlsOf(0)->txtRepeat, QStringLiteral("2"));
    events->btnEventAdd->click();
    events->btnEventStart->click();
    f.TickUntilClicks(3); // two of row 1, the first of row 2
    QCOMPARE(events->RowMark(1), frmMouseEvents::Mark::Playing);
    f.window->btnStartStop_Click();
    QVERIFY(f.Idle());
    QCOMPARE(f.window->numTotalEventsToRun, int16_t{0});
    QCOMPARE(events->RowMark(1), frmMouseEvents::Mark::Playing);
    QCOMPARE(events->txtLoop->text(), QStringLiteral("3"));
    events->btnEventStart->click();
    QCOMPARE(events->RowMark(0), frmMouseEvents::Mark::Playing);
    QCOMPARE(events->RowMark(1), frmMouseEvents::Mark::Normal);
    f.window->btnStartStop_Click();
}

// The menu's CTRL+E reaches the menu although a text box has the keyboard (a line edit would
// take it as "end of line").
void MouseEventsTest::ctrlEOpensItFromATextBox() {
    MainWindowFixture f;
    f.WriteSettings();
    QVERIFY(f.window->Form_Load());
    f.window->show();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.window->txtX->setFocus();
    QTest::keyClick(f.window->txtX, Qt::Key_E, Qt::ControlModifier);
    QVERIFY(f.window->mnMouseEvents->isChecked());
    QVERIFY(f.window->frmMouseEvents);
}

QTEST_MAIN(MouseEventsTest)
#include "mouse_events_test.moc"
