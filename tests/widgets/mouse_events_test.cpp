// The Mouse Events window: the table growing from its first row, what its rows show, clearing, the
// scroll bar, saving and loading events.xml, playing the table through the main window's click
// run, and no caption cut in any window (CTest runs that once per QT_SCALE_FACTOR).
#include "click/mouse.h"
#include "events/mouse_events_window.h"
#include "main_window_fixture.h"
#include "picker/capture_window.h"
#include "shell/about_window.h"
#include "store/atomic_write.h"
#include "store/settings_file.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleOption>
#include <QTest>

#include <map>

class MouseEventsTest : public QObject {
    Q_OBJECT

private slots:
    void tableGrowsFromItsFirstRow();
    void rowsShowTheirData_data();
    void rowsShowTheirData();
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
    void nothingIsCut_data();
    void nothingIsCut();
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

void WriteEvents(const std::string& path, const QByteArray& text) {
    QFile file(QString::fromStdString(path));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// The rows in sight as a screen reader has them: the number ("*" bold, "~" grey), then the cells'
// values ("[x]" ticked, "-" after a disabled cell); a cell's wrong name instead.
QStringList RowsShown(frmMouseEvents& events) {
    const QStringList names = QString("x,y,pick position,left button,clicks,interval in ms,random "
                                      "interval,upper interval in ms")
                                  .split(',');
    QStringList rows;
    for (int row = 0; row < events.TableRows(); ++row)
        if (const frmMouseEvents::RowControls* c = events.ControlsOf(row)) {
            const QLabel* number = c->lblNo;
            rows << number->text() + (number->font().bold() ? "*" : "") +
                        (number->foregroundRole() == QPalette::WindowText ? "" : "~");
            for (int column = 1; column < 9; ++column) {
                auto* cell = QAccessible::queryAccessibleInterface(c->Widgets()[size_t(column)]);
                const QAccessible::State state = cell->state();
                if (cell->text(QAccessible::Name) !=
                    QString("Row %1, ").arg(row + 1) + names[column - 1])
                    return {cell->text(QAccessible::Name)};
                rows.back() += (column == 3 ? "" : " ") +
                               (state.checkable ? (state.checked ? "[x]" : "[ ]")
                                                : cell->text(QAccessible::Value)) +
                               (state.disabled ? "-" : "");
            }
        }
    return rows;
}

// A button's text against the room its style leaves beside its box or within its frame; a
// label's or a frame's caption against its width.
bool Fits(QWidget* w) {
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || button->text().isEmpty())
        return !(qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w)) ||
               w->minimumSizeHint().width() <= w->width();
    QStyleOptionButton option;
    option.initFrom(button);
    const auto room = qobject_cast<QCheckBox*>(w)      ? QStyle::SE_CheckBoxContents
                      : qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                                                       : QStyle::SE_PushButtonContents;
    return w->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() <=
           w->style()->subElementRect(room, &option, w).width();
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

    // The keyboard stays in the table when its row scrolls out of sight: on the nearest row.
    for (int rows = 14; rows <= 18; ++rows)
        events->btnEventAdd->click();
    events->ControlsOf(0)->txtRepeat->setFocus();
    events->VBar->setValue(events->VBar->minimum());
    QCOMPARE(events->focusWidget()->accessibleName(), QStringLiteral("Row 6, clicks"));
    QStringList names;
    for (QWidget* field : {f.window->txtX, f.window->txtY, f.window->txtHr, f.window->txtMin,
                           f.window->txtSec, f.window->txtMilliSec, events->txtLoop})
        names << QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name);
    QCOMPARE(names.join(','), QStringLiteral("x,y,hours,minutes,seconds,milliseconds,Loop count"));

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

// Whatever changes the table's data, every row in sight shows it at once. Started with "load", the
// window opens with the file's two rows; then (but for the first case) row 1's x is typed "555".
void MouseEventsTest::rowsShowTheirData_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QStringList>("shown");
    const QString one = " 20 [ ] 4 300 [x] 900", two = "2 0 0 [ ] 1 1000 [ ] -";
    QStringList end;
    for (int row = 32755; row <= 32767; ++row)
        end << QString::number(row) + " 0 0 [ ] 1 1000 [ ] -";
    QTest::newRow("load at start-up") << "start-up" << QStringList{"1 10" + one, two};
    QTest::newRow("load over five rows") << "load" << QStringList{"1 10" + one, two};
    QTest::newRow("clear") << "clear" << QStringList{"1 0 0 [x] 1 1000 [ ] 1000-"};
    QTest::newRow("add") << "add" << QStringList{"1 555" + one, two, "3 555" + one};
    QTest::newRow("pick row 2") << "pick"
                                << QStringList{"1 555" + one, "2 321 123 [ ] 1 1000 [ ] -"};
    QTest::newRow("play, stopped in row 2")
        << "play" << QStringList{"1~ 555" + one, "2* 0 0 [ ] 1 1000 [ ] -"};
    QTest::newRow("32,767 rows, at the end") << "32767" << end;
}

void MouseEventsTest::rowsShowTheirData() {
    QFETCH(QString, change);
    MainWindowFixture f({"load"});
    f.WriteSettings();
    WriteEvents(
        f.Path("events.xml"),
        change == "32767"
            ? "<E>" + QByteArray("<E/>").repeated(32767) + "</E>"
            : "<E><E><Coordx>10</Coordx><Coordy>20</Coordy><Button>2</"
              "Button><ClickIntervalinms>300</ClickIntervalinms><Clicks>4</Clicks><Range>1</"
              "Range><ClickInterval2inms>900</ClickInterval2inms></E><E/></E>");
    QVERIFY(f.window->Form_Load());
    auto* events = static_cast<frmMouseEvents*>(f.window->frmMouseEvents);
    if (change != "start-up")
        Type(events->ControlsOf(0)->txtX, QStringLiteral("555"));
    for (int row = 2; change == "load" && row < 5; ++row)
        events->btnEventAdd->click();
    const std::map<QString, QPushButton*> commands{{"load", events->btnLoad},
                                                   {"clear", events->btnEventClear},
                                                   {"add", events->btnEventAdd},
                                                   {"play", events->btnEventStart}};
    if (commands.count(change))
        commands.at(change)->click();
    if (change == "pick") {
        events->ControlsOf(1)->btnLocate->click();
        f.mouse.PlacePointer(321, 123);
        f.window->tmrMouseInfo_Timer();
        f.window->CaptureWindow()->Unload();
    }
    if (change == "play") {
        f.TickUntilClicks(4);
        f.window->btnStartStop->click();
    }
    events->VBar->setValue(events->VBar->minimum());
    QTEST(RowsShown(*events), "shown");
}

// A save keeps what lies outside the rows; a load brings back the rows and the loop count.
void MouseEventsTest::saveAndLoadKeepTheFile() {
    MainWindowFixture f;
    frmMouseEvents* events = Open(f);
    WriteEvents(events->EventsPath(), "<?xml version=\"1.0\"?>\r\n<!-- mine -->\r\n<Events "
                                      "Owner=\"me\" Loop=\"1\"><Event/></Events>\r\n");
    Type(events->ControlsOf(0)->txtX, QStringLiteral("640"));
    events->btnEventAdd->click();
    events->ControlsOf(1)->chkButton->click();
    events->chkLoopEvents->setChecked(true);
    events->txtLoop->setText(QStringLiteral("0"));
    f.dialogs.scriptMessageAnswer(platform::MsgResult::Yes);
    events->btnSave->click();
    QCOMPARE(f.dialogs.shown().back().text, std::string("Overwrite existing events.xml?"));
    const QString saved = EventsFile(*events);
    QVERIFY(saved.contains("<!-- mine -->") && saved.contains("<Events Loop=\"0\" Owner=\"me\">"));
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
    // Saving over a damaged file keeps it as a backup, then replaces it.
    WriteEvents(events->EventsPath(), "<Ev");
    f.dialogs.scriptMessageAnswer(platform::MsgResult::Yes);
    events->btnSave->click();
    QCOMPARE(f.dialogs.shown().rbegin()[1].text, events->EventsPath() +
                                                     " cannot be read as an event file.\n"
                                                     "Replace it? The damaged file is "
                                                     "kept as a backup first.");
    QVERIFY(EventsFile(*events).count("<Event>") == 2 &&
            QFile(QString::fromStdString(events->EventsPath() + ".bak")).size() == 3);
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
        WriteEvents(events->EventsPath(), file);
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

// A refused row halts the sequence: the table can be mended, closing the window or unticking its
// menu item keeps it (ticked again, it comes back). Start/Stop, as button or hot key, ends it
// without a second refusal; "Start events", also while halted, plays again from the first row.
void MouseEventsTest::refusedRowHaltsAndCloseMinimizes() {
    MainWindowFixture f;
    frmMouseEvents* events = Open(f);
    events->ControlsOf(0)->chkRange->click();
    Type(events->ControlsOf(0)->txtInterval2, QStringLiteral("50"));
    events->btnEventAdd->click();
    Type(events->ControlsOf(1)->txtRepeat, QStringLiteral("0"));
    Type(events->ControlsOf(0)->txtInterval, QStringLiteral("0"));
    for (const QString way : {"button", "", "hot key"}) {
        events->btnEventStart->click();
        QCOMPARE(RowsShown(*events).join(',').remove(QRegularExpression(" [^,]*")), "1*,2");
        QVERIFY(f.window->chkRange->isChecked() && f.window->txtInterval2->text() == "50");
        f.TickUntilIdle();
        QCOMPARE(f.dialogs.shown().back().text,
                 std::string("Number of clicks should be at least 1, right?"));
        QCOMPARE(RowsShown(*events).join(',').remove(QRegularExpression(" [^,]*")), "1~,2*");
        QVERIFY(events->btnEventAdd->isEnabled() && !events->close());
        f.window->mnMouseEvents->trigger();
        f.window->mnMouseEvents->trigger();
        QVERIFY(events->isVisible() && !events->isMinimized());
        const size_t boxes = f.dialogs.shown().size();
        f.hotKey.press(way == "hot key" ? 1 : 0);
        way == "button" ? f.window->btnStartStop->click() : void(f.window->tmrHotKey_Timer());
        QCOMPARE(f.dialogs.shown().size(), boxes);
    }
    QCOMPARE(f.Presses(), size_t{3}); // row 1 at each start, row 2 never
    QVERIFY(events->close());
    QVERIFY(!f.window->frmMouseEvents);
    QVERIFY(!f.window->mnMouseEvents->isChecked());
}

// A row at interval 0 with the safety mechanism on, started unattended through "Start events":
// a loop without end is refused as an endless plain run is, before any click, also where only
// one of its rows is that fast; two passes play.
void MouseEventsTest::endlessFastSequenceIsRefused_data() {
    QTest::addColumn<QString>("loop");
    QTest::addColumn<QString>("slowRows"); // rows at 1500 ms before the fast one
    QTest::addColumn<size_t>("presses");   // 0: refused
    for (const char* endless : {"0", "-5", "abc", "0.4"})
        QTest::newRow(endless) << endless << "" << size_t{0};
    const QString slow = QStringLiteral(
        "<Event><Clicks>1</Clicks><ClickIntervalinms>1500</ClickIntervalinms></Event>");
    QTest::newRow("0, one fast row of three") << "0" << slow + slow << size_t{0};
    QTest::newRow("2") << "2"
                       << "" << size_t{6};
}

void MouseEventsTest::endlessFastSequenceIsRefused() {
    QFETCH(QString, loop);
    QFETCH(QString, slowRows);
    MainWindowFixture f({"run", "event"});
    f.WriteSettings();
    QVERIFY(store::WriteFileAtomically(f.Path("events.xml"),
                                       "<Events Loop='" + loop.toStdString() + "'>" +
                                           slowRows.toStdString() +
                                           "<Event><Clicks>3</Clicks></Event></Events>"));
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
    QVERIFY(!f.window->Sequence().bAutorun);
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
    QCOMPARE(f.window->Sequence().numTotalEventsToRun, int16_t{0});
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

void MouseEventsTest::nothingIsCut_data() {
    QTest::addColumn<QString>("style");
    QTest::newRow("Windows") << "Windows";
    QTest::newRow("Fusion") << "Fusion";
}

// Every window: main (its Hyper-Click frame too), Mouse Events (a row on "Right"), about, picker.
void MouseEventsTest::nothingIsCut() {
    QFETCH(QString, style);
    QApplication::setStyle(style);
    MainWindowFixture f;
    frmMouseEvents* events = Open(f);
    events->ControlsOf(0)->chkButton->click();
    f.window->mnHyperClick_Click();
    f.window->AboutForm().show();
    f.window->btnLocate_Click();
    QCOMPARE(events->devicePixelRatio(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
    for (QWidget* window : std::initializer_list<QWidget*>{
             f.window.get(), events, &f.window->AboutForm(), f.window->CaptureWindow()})
        for (QWidget* w : window->findChildren<QWidget*>())
            QVERIFY2(!w->isVisibleTo(window) || Fits(w),
                     qPrintable(w->property("text").toString()));
    for (QAction* menu : f.window->menuBar()->actions())
        QVERIFY(f.window->menuBar()->actionGeometry(menu).right() < f.window->menuBar()->width());
}

QTEST_MAIN(MouseEventsTest)
#include "mouse_events_test.moc"
