// The location picker: opening and closing, the hole for the main window, the labels, the live
// coordinates, and the picker serving an event row.
#include "events/sequence_window.h"
#include "main_window_fixture.h"
#include "picker/capture_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

class PickerTest : public QObject {
    Q_OBJECT

private slots:
    void openingStepsTheMainWindowAside();
    void boxesFollowThePointer();
    void holeFollowsTheMainWindowSideways();
    void closing_data();
    void closing();
    void labelsGoAwayWhenClicked();
    void pickerServesAnEventRow();
    void programEndClosesThePicker();

private:
    frmCapture* Open(MainWindowFixture& f);
};

frmCapture* PickerTest::Open(MainWindowFixture& f) {
    f.WriteSettings({{"AlwaysonTop", "False"}});
    if (!f.window->Form_Load())
        return nullptr;
    f.window->btnLocate->click();
    return f.window->CaptureWindow();
}

namespace {

int OuterHeight(const QWidget& w) {
    return w.frameGeometry().height();
}

// The hole is exactly the main window's outer rectangle: its corners are cut out, the points
// just beyond them are not, and nothing else is missing.
void CheckHole(const frmCapture& picker, const frmMain& main) {
    const QRegion mask = picker.mask();
    const QRect outer = main.frameGeometry().translated(-picker.pos());
    for (const QPoint& corner :
         {outer.topLeft(), outer.topRight(), outer.bottomLeft(), outer.bottomRight()})
        QVERIFY(!mask.contains(corner));
    for (const QPoint& beyond :
         {outer.topLeft() - QPoint(1, 1), outer.topRight() + QPoint(1, -1),
          outer.bottomLeft() + QPoint(-1, 1), outer.bottomRight() + QPoint(1, 1)})
        QVERIFY(mask.contains(beyond) || !picker.rect().contains(beyond));
    qint64 area = 0;
    for (const QRect& part : mask)
        area += qint64(part.width()) * part.height();
    QCOMPARE(area,
             qint64(picker.width()) * picker.height() - qint64(outer.width()) * outer.height());
}

} // namespace

void PickerTest::openingStepsTheMainWindowAside() {
    MainWindowFixture f;
    frmCapture* picker = Open(f);
    QVERIFY(picker);
    frmMain& w = *f.window;
    QVERIFY(picker->isVisible());
    QCOMPARE(picker->geometry(), QGuiApplication::primaryScreen()->geometry());
    QVERIFY(picker->windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(picker->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(picker->Picture().size(), picker->size());
    QCOMPARE(OuterHeight(w), 115); // 1725 twips
    QVERIFY(w.isVisible());
    QVERIFY(!w.btnLocate->isEnabled());
    QVERIFY(!w.btnStartStop->isEnabled());
    QVERIFY(!w.tmrHotKey->isEnabled());
    QVERIFY(w.tmrMouseInfo->isEnabled());
    QCOMPARE(w.tmrMouseInfo->interval(), 10);
    QCOMPARE(picker->Timer1->interval(), 100);
    CheckHole(*picker, w);
    QCOMPARE(picker->Label2->text(), QStringLiteral("Click anywhere for the location you want."));
    QCOMPARE(picker->Label1->text(),
             QStringLiteral("Press ESC key or click on the screen to exit."));
    QCOMPARE(picker->Label1->toolTip(), QStringLiteral("Click to remove this label"));
    // Both labels stand centred across the screen.
    const int middle = QGuiApplication::primaryScreen()->geometry().width() / 2;
    for (const QLabel* label : {picker->Label1, picker->Label2})
        QVERIFY(std::abs(label->geometry().center().x() - middle) <= 1);
    // Locate again while it is open opens no second picker.
    w.btnLocate_Click();
    QCOMPARE(w.CaptureWindow(), picker);
}

void PickerTest::boxesFollowThePointer() {
    MainWindowFixture f;
    QVERIFY(Open(f));
    f.mouse.PlacePointer(321, 654);
    f.window->tmrMouseInfo_Timer();
    QCOMPARE(f.window->txtX->text(), QStringLiteral("321"));
    QCOMPARE(f.window->txtY->text(), QStringLiteral("654"));
}

void PickerTest::holeFollowsTheMainWindowSideways() {
    MainWindowFixture f;
    frmCapture* picker = Open(f);
    QVERIFY(picker);
    frmMain& w = *f.window;
    const QRegion first = picker->mask();
    w.move(w.x(), w.y() + 40); // straight down: the hole stays
    picker->Timer1_Timer();
    QCOMPARE(picker->mask(), first);
    w.move(w.x() + 60, w.y()); // sideways: the hole follows
    picker->Timer1_Timer();
    CheckHole(*picker, w);
    QVERIFY(picker->mask() != first);
}

void PickerTest::closing_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("picked"); // where the system tells no pointer, none seen: "12 34"
    QTest::newRow("ESC") << "escape" << true << "500 400";
    QTest::newRow("left button") << "left" << true << "500 400";
    QTest::newRow("right button") << "right" << true << "500 400";
    QTest::newRow("middle button") << "middle" << true << "500 400";
    QTest::newRow("other key") << "key" << false << "500 400";
    QTest::newRow("ESC, no pointer seen") << "escape" << true << "12 34";
}

void PickerTest::closing() {
    QFETCH(QString, how);
    QFETCH(bool, closes);
    QFETCH(QString, picked);
    MainWindowFixture f;
    f.mouse.tracksPointer = picked == "500 400";
    QPointer<frmCapture> picker = Open(f);
    QVERIFY(picker);
    frmMain& w = *f.window;
    if (f.mouse.tracksPointer) {
        f.mouse.PlacePointer(500, 400);
        w.tmrMouseInfo_Timer();
    } else {
        w.txtX->setText(QStringLiteral("12"));
        w.txtY->setText(QStringLiteral("34"));
        QTest::qWait(30); // the live coordinates' time to write a place nobody pointed at
    }
    const QPoint spot(picker->width() - 5, picker->height() - 5);
    if (how == "escape")
        QTest::keyClick(picker, Qt::Key_Escape);
    else if (how == "key")
        QTest::keyClick(picker, Qt::Key_A);
    else
        QTest::mousePress(picker,
                          how == "left"    ? Qt::LeftButton
                          : how == "right" ? Qt::RightButton
                                           : Qt::MiddleButton,
                          {}, spot);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(picker.isNull(), closes);
    QCOMPARE(w.CaptureWindow() == nullptr, closes);
    if (!closes)
        return;
    // The boxes keep the position of that moment; the window gets its size and buttons back.
    QCOMPARE(w.txtX->text() + ' ' + w.txtY->text(), picked);
    QCOMPARE(OuterHeight(w), 319); // 4785 twips
    QVERIFY(w.btnLocate->isEnabled());
    QVERIFY(w.btnStartStop->isEnabled());
    QVERIFY(w.tmrHotKey->isEnabled());
    QVERIFY(!w.tmrMouseInfo->isEnabled());
}

void PickerTest::labelsGoAwayWhenClicked() {
    MainWindowFixture f;
    QPointer<frmCapture> picker = Open(f);
    QVERIFY(picker);
    QTest::mouseClick(picker->Label2, Qt::LeftButton);
    QVERIFY(picker->Label2->isHidden());
    QVERIFY(!picker->Label1->isHidden());
    QVERIFY(!picker.isNull()); // neither picked nor closed
    QVERIFY(f.window->tmrMouseInfo->isEnabled());
}

namespace {

class FakeEventWindow : public SequenceWindow {
public:
    bool PassEvent(int16_t) override { return false; }
    void btnEventStart_Click() override {}
    void btnLoad_Click() override {}
    bool LoopEventsTicked() const override { return false; }
    QString LoopText() const override { return {}; }
    void SetLoopText(const QString&) override {}
    void SetRows(int16_t) override {}
    void MarkRowPlayed(int) override {}
    void SetIdleControls(bool) override {}
    void Unload(bool) override {}
    void ShowWindow() override { ++shown; }
    void SetRowPosition(int row, const QString& x, const QString& y) override {
        positions << QStringLiteral("%1:%2,%3").arg(row).arg(x, y);
    }
    int shown = 0;
    QStringList positions;
};

} // namespace

void PickerTest::pickerServesAnEventRow() {
    MainWindowFixture f;
    f.WriteSettings();
    QVERIFY(f.window->Form_Load());
    frmMain& w = *f.window;
    FakeEventWindow events;
    w.frmMouseEvents = &events;
    w.Sequence().bFormMouseEventsLoaded = true;
    w.Sequence().numRowNo = 3; // row 2 of the table
    w.ShowPicker();
    QVERIFY(w.CaptureWindow());
    f.mouse.PlacePointer(42, 24);
    w.tmrMouseInfo_Timer();
    QTest::keyClick(w.CaptureWindow(), Qt::Key_Escape);
    QCOMPARE(events.shown, 1);
    QCOMPARE(events.positions, QStringList{"2:42,24"});
    QCOMPARE(w.Sequence().numRowNo, int16_t{0});
    // The main window's boxes hold the picked point too.
    QCOMPARE(w.txtX->text(), QStringLiteral("42"));
    w.frmMouseEvents = nullptr;
    w.Sequence().bFormMouseEventsLoaded = false;
}

void PickerTest::programEndClosesThePicker() {
    MainWindowFixture f;
    QPointer<frmCapture> picker = Open(f);
    QVERIFY(picker);
    f.window->Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(picker.isNull());
}

QTEST_MAIN(PickerTest)
#include "picker_test.moc"
