// The event table's geometry: one pitch for every column, the panel's growth, the scroll bars
// (the vertical one from the 13th row on) and the rows in sight while scrolling.
#include "events/table_layout.h"

#include <QTest>

using events::Column;
using events::Rect;

Q_DECLARE_METATYPE(Rect)

class TableLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void scrollBars_data();
    void scrollBars();
    void rowsInSight_data();
    void rowsInSight();
};

void TableLayoutTest::cells_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<Rect>("rect");
    QTest::newRow("number, first row") << int(Column::No) << 0 << Rect{12, 17, 25, 17};
    QTest::newRow("x, third row") << int(Column::X) << 2 << Rect{44, 58, 33, 19};
    QTest::newRow("locate, second row") << int(Column::Locate) << 1 << Rect{116, 38, 25, 17};
    QTest::newRow("button, 13th row") << int(Column::Button) << 12 << Rect{156, 268, 55, 17};
    QTest::newRow("upper interval, 13th row")
        << int(Column::Interval2) << 12 << Rect{332, 268, 49, 19};
}

void TableLayoutTest::cells() {
    QFETCH(int, column);
    QFETCH(int, row);
    QTEST(events::CellRect(Column(column), row), "rect");
    // The row below: the same control one pitch lower.
    const Rect below = events::CellRect(Column(column), row + 1);
    QCOMPARE(below.top - events::CellRect(Column(column), row).top, events::kRowPitch);
}

void TableLayoutTest::scrollBars_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("panelHeight");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("minimum");
    QTest::newRow("one row: the panel's first size") << 1 << 241 << false << 0;
    QTest::newRow("12 rows still fit") << 12 << 274 << false << 0;
    QTest::newRow("the 13th row shows the bar") << 13 << 295 << true << -19;
    QTest::newRow("1,500 rows") << 1500 << 31522 << true << -31246;
}

void TableLayoutTest::scrollBars() {
    QFETCH(int, rows);
    QFETCH(bool, vertical);
    const Rect panel = events::InnerPanel(rows);
    QCOMPARE(panel.width, 389);
    QTEST(panel.height, "panelHeight");
    events::ScrollInputs in;
    in.frameWidth = in.frameHeight = 4; // a sunken frame, 2 on each side
    in.innerWidth = panel.width;
    in.innerHeight = panel.height;
    const events::ScrollLayout layout = events::LayoutScrollArea(in);
    QVERIFY(!layout.horizontal.shown); // the content is narrower than the viewport, frame and bar
    QCOMPARE(layout.vertical.shown, vertical);
    QCOMPARE(layout.viewport, (Rect{0, 0, vertical ? 400 : 417, 280}));
    if (!vertical)
        return;
    QCOMPARE(layout.vertical.place, (Rect{400, 0, 17, 280}));
    QTEST(layout.vertical.minimum, "minimum");
    QCOMPARE(layout.vertical.largeStep, 276);
    QCOMPARE(layout.vertical.smallStep, 55);
}

void TableLayoutTest::rowsInSight_data() {
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("top of a long table") << 0 << 100 << 0 << 12;
    QTest::newRow("first row half hidden") << -20 << 100 << 0 << 13;
    QTest::newRow("first row just gone") << -35 << 100 << 1 << 14;
    QTest::newRow("far down") << -2100 << 1000 << 99 << 112;
    QTest::newRow("end of the table") << -2100 << 105 << 99 << 104;
    QTest::newRow("a short table") << 0 << 3 << 0 << 2;
}

void TableLayoutTest::rowsInSight() {
    QFETCH(int, top);
    QFETCH(int, rows);
    QFETCH(int, first);
    QFETCH(int, last);
    QCOMPARE(events::RowsInSight(top, 280, rows), (events::RowSpan{first, last}));
}

QTEST_APPLESS_MAIN(TableLayoutTest)
#include "table_layout_test.moc"
