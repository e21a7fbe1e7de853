// cMouse: the button flag words, the order of the events and fresh position reads.
#include "click/mouse.h"
#include "platform/fake/fake_mouse.h"

#include <QTest>

class MouseTest : public QObject {
    Q_OBJECT

private slots:
    void clickSendsDownThenUp_data();
    void clickSendsDownThenUp();
    void moveTo();
    void writingOneCoordinateKeepsTheOther();
};

void MouseTest::clickSendsDownThenUp_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<uint>("down");
    QTest::addColumn<uint>("up");
    QTest::newRow("left") << 1 << 0xFFFF8002u << 0xFFFF8004u;
    QTest::newRow("right") << 2 << 0xFFFF8008u << 0xFFFF8010u;
    QTest::newRow("middle") << 4 << 0xFFFF8020u << 0xFFFF8040u;
    QTest::newRow("3 is left") << 3 << 0xFFFF8002u << 0xFFFF8004u;
    QTest::newRow("0 is left") << 0 << 0xFFFF8002u << 0xFFFF8004u;
    QTest::newRow("-1 is left") << -1 << 0xFFFF8002u << 0xFFFF8004u;
}

void MouseTest::clickSendsDownThenUp() {
    QFETCH(int, button);
    QFETCH(uint, down);
    QFETCH(uint, up);
    platform::FakeMouseInput input;
    input.PlacePointer(40, 50);
    click::cMouse mouse(input);
    mouse.Click(button);
    // Exactly two events, nothing between them, no movement.
    QCOMPARE(input.calls().size(), size_t{2});
    QCOMPARE(input.calls()[0].kind, platform::FakeMouseInput::Kind::Event);
    QCOMPARE(uint(input.calls()[0].flags), down);
    QCOMPARE(uint(input.calls()[1].flags), up);
    QCOMPARE(input.calls()[1].x, 40);
    QCOMPARE(input.calls()[1].y, 50);
}

void MouseTest::moveTo() {
    platform::FakeMouseInput input;
    click::cMouse mouse(input);
    mouse.MoveTo(-5, 1200);
    QCOMPARE(input.calls().size(), size_t{1});
    QCOMPARE(input.calls()[0].kind, platform::FakeMouseInput::Kind::Move);
    QCOMPARE(mouse.x(), -5);
    QCOMPARE(mouse.y(), 1200);
}

void MouseTest::writingOneCoordinateKeepsTheOther() {
    platform::FakeMouseInput input;
    click::cMouse mouse(input);
    input.PlacePointer(10, 20);
    mouse.setX(300);
    QCOMPARE(input.GetCursorPos().x, 300);
    QCOMPARE(input.GetCursorPos().y, 20);
    input.PlacePointer(7, 8); // the user moves the pointer in between
    mouse.setY(90);
    QCOMPARE(input.GetCursorPos().x, 7);
    QCOMPARE(input.GetCursorPos().y, 90);
    // Each coordinate read asks afresh.
    input.clear();
    (void)mouse.x();
    (void)mouse.y();
    QCOMPARE(input.positionReads(), 2);
}

QTEST_APPLESS_MAIN(MouseTest)
#include "mouse_test.moc"
