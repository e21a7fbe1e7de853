// The click settings: design values, typing limits, and the handlers that show, hide, enable
// and disable controls.
#include "main_window_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class ClickSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void fieldsStartWithDesignValues_data();
    void fieldsStartWithDesignValues();
    void typingStopsAtTheLimit_data();
    void typingStopsAtTheLimit();
    void programTextsAreNotCut();
    void designChoices();
    void rangeEnablesUpperBound();
    void repeatEnablesCount();
    void greyedBoxBecomesTwoStateWhenClicked();
    void hyperClickFrame();
    void hyperClickFrameCoversCoordinates();
    void menuItemsFlipTheirMarks();
};

namespace {

QLineEdit* Field(frmMain& w, const QString& name) {
    const std::pair<const char*, QLineEdit*> fields[] = {{"txtInterval", w.txtInterval},
                                                         {"txtInterval2", w.txtInterval2},
                                                         {"txtRepeatClick", w.txtRepeatClick},
                                                         {"txtX", w.txtX},
                                                         {"txtY", w.txtY},
                                                         {"txtDelay", w.txtDelay}};
    for (const auto& [fieldName, field] : fields)
        if (name == QLatin1String(fieldName))
            return field;
    return nullptr;
}

} // namespace

void ClickSettingsTest::fieldsStartWithDesignValues_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("interval") << "txtInterval"
                              << "1000" << true << "lowerbound: Interval between mouse clicks";
    QTest::newRow("upper bound") << "txtInterval2"
                                 << "0" << false << "upperbound: Interval between mouse clicks";
    QTest::newRow("repeat count") << "txtRepeatClick"
                                  << "1" << false << "Times to repeat mouse click";
    QTest::newRow("x") << "txtX"
                       << "0" << true << "";
    QTest::newRow("y") << "txtY"
                       << "0" << true << "";
    QTest::newRow("delay") << "txtDelay"
                           << "0" << true << "Interval before mouse clicks start";
}

void ClickSettingsTest::fieldsStartWithDesignValues() {
    QFETCH(QString, field);
    MainWindowFixture f;
    QLineEdit* edit = Field(*f.window, field);
    QVERIFY(edit);
    QTEST(edit->text(), "text");
    QTEST(edit->isEnabled(), "enabled");
    QTEST(edit->toolTip(), "tooltip");
}

void ClickSettingsTest::typingStopsAtTheLimit_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("kept");
    QTest::newRow("x takes 4") << "txtX"
                               << "1234";
    QTest::newRow("y takes 4") << "txtY"
                               << "1234";
    QTest::newRow("delay takes 2") << "txtDelay"
                                   << "12";
    QTest::newRow("interval takes 9") << "txtInterval"
                                      << "123456789";
    QTest::newRow("upper bound takes 9") << "txtInterval2"
                                         << "123456789";
    QTest::newRow("repeat count takes 9") << "txtRepeatClick"
                                          << "123456789";
}

void ClickSettingsTest::typingStopsAtTheLimit() {
    QFETCH(QString, field);
    MainWindowFixture f;
    QLineEdit* edit = Field(*f.window, field);
    edit->setEnabled(true);
    edit->clear();
    // Any text may be typed (nothing filters keystrokes), up to the limit.
    QTest::keyClicks(edit, QStringLiteral("1234567890ab"));
    QTEST(edit->text(), "kept");
}

void ClickSettingsTest::programTextsAreNotCut() {
    MainWindowFixture f;
    f.window->txtX->setText(QStringLiteral("123456"));
    QCOMPARE(f.window->txtX->text(), QStringLiteral("123456"));
    // The user may still shorten a long text, but not lengthen it.
    f.window->txtX->setFocus();
    f.window->txtX->end(false);
    QTest::keyClick(f.window->txtX, Qt::Key_Backspace);
    QCOMPARE(f.window->txtX->text(), QStringLiteral("12345"));
    QTest::keyClicks(f.window->txtX, QStringLiteral("9"));
    QCOMPARE(f.window->txtX->text(), QStringLiteral("12345"));
}

void ClickSettingsTest::designChoices() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    QCOMPARE(w.windowTitle(), QStringLiteral("Zorvane 2.20"));
    QVERIFY(w.optButton[0]->isChecked());
    QVERIFY(!w.optButton[1]->isChecked());
    QCOMPARE(w.optButton[0]->text(), QStringLiteral("Left Button"));
    QCOMPARE(w.optButton[1]->text(), QStringLiteral("Right Button"));
    QCOMPARE(w.chkRange->text(), QStringLiteral("&To"));
    QCOMPARE(w.chkRange->checkState(), Qt::Unchecked);
    QCOMPARE(w.chkRepeatClick->text(), QStringLiteral("&Click"));
    QCOMPARE(w.chkRepeatClick->checkState(), Qt::Unchecked);
    QCOMPARE(w.btnStartStop->text(), QStringLiteral("&START"));
    QCOMPARE(w.btnLocate->text(), QStringLiteral("Locate"));
    QCOMPARE(w.fraCoord->title(), QStringLiteral("Mouse Pointer Coord:"));
    QCOMPARE(w.fraInterval->title(), QStringLiteral("Click Interval in ms:"));
    QCOMPARE(w.Frame3->title(), QStringLiteral("Hyper-Click"));
    QVERIFY(w.Frame3->isHidden());
    QVERIFY(w.mnSafetyMechanism->isChecked());
    QVERIFY(!w.mnHyperClick->isChecked());
    QVERIFY(!w.mnKeepRepeatClick->isChecked());
    QCOMPARE(w.mnHyperClick->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
    QCOMPARE(w.mnExit->text(), QStringLiteral("E&xit"));
    QCOMPARE(w.mnExit->shortcut(), QKeySequence(Qt::Key_F12));
    for (QLineEdit* countdown : {w.txtHr, w.txtMin, w.txtSec, w.txtMilliSec})
        QCOMPARE(countdown->text(), QStringLiteral("0"));
    QCOMPARE(w.fraCountdown->title(), QStringLiteral("Time left to next click"));
}

void ClickSettingsTest::rangeEnablesUpperBound() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    w.txtInterval2->setText(QStringLiteral("5000"));
    w.chkRange->setChecked(true);
    QVERIFY(w.txtInterval2->isEnabled());
    w.chkRange->setChecked(false);
    QVERIFY(!w.txtInterval2->isEnabled());
    QCOMPARE(w.txtInterval2->text(), QStringLiteral("5000"));
    // A user's click runs the same handler.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.chkRange, Qt::LeftButton);
    QVERIFY(w.txtInterval2->isEnabled());
}

void ClickSettingsTest::repeatEnablesCount() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    w.chkRepeatClick->setChecked(true);
    QVERIFY(w.txtRepeatClick->isEnabled());
    w.chkRepeatClick->setCheckState(Qt::PartiallyChecked); // greyed is not ticked
    QVERIFY(!w.txtRepeatClick->isEnabled());
    w.chkRepeatClick->setChecked(false);
    QVERIFY(!w.txtRepeatClick->isEnabled());
}

// A stored 2 shows greyed; the user's clicks then only tick and untick.
void ClickSettingsTest::greyedBoxBecomesTwoStateWhenClicked() {
    MainWindowFixture f;
    f.WriteSettings({{"Range", "2"}});
    QVERIFY(f.window->Form_Load());
    QCheckBox* box = f.window->chkRange;
    QCOMPARE(box->checkState(), Qt::PartiallyChecked);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
    QList<Qt::CheckState> states;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(box, Qt::LeftButton);
        states << box->checkState();
    }
    QCOMPARE(states,
             (QList<Qt::CheckState>{Qt::Checked, Qt::Unchecked, Qt::Checked, Qt::Unchecked}));
}

void ClickSettingsTest::hyperClickFrame() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    w.mnHyperClick_Click();
    QVERIFY(w.mnHyperClick->isChecked());
    QVERIFY(!w.Frame3->isHidden());
    w.mnHyperClick_Click();
    QVERIFY(!w.mnHyperClick->isChecked());
    QVERIFY(w.Frame3->isHidden());

    w.mnHyperClick_Click();
    w.btnHideFrame_Click(); // hides the frame, the mode stays on
    QVERIFY(w.Frame3->isHidden());
    QVERIFY(w.mnHyperClick->isChecked());
    w.mnHyperClick_Click();
    w.mnHyperClick_Click();
    QVERIFY(!w.Frame3->isHidden());

    // The menu item and the button act the same as the handlers.
    w.mnHyperClick->trigger();
    QVERIFY(!w.mnHyperClick->isChecked());
    QVERIFY(w.Frame3->isHidden());
    w.mnHyperClick->trigger();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(w.btnHideFrame, Qt::LeftButton);
    QVERIFY(w.Frame3->isHidden());
    QVERIFY(w.mnHyperClick->isChecked());
}

void ClickSettingsTest::hyperClickFrameCoversCoordinates() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    w.mnHyperClick_Click();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.Frame3->geometry(), w.fraCoord->geometry());
    QCOMPARE(w.Frame3->parentWidget(), w.fraCoord->parentWidget());
    // Drawn above the coordinates frame, and opaque.
    const auto siblings = w.Frame3->parentWidget()->children();
    QVERIFY(siblings.indexOf(w.Frame3) > siblings.indexOf(w.fraCoord));
    QVERIFY(w.Frame3->autoFillBackground());
}

void ClickSettingsTest::menuItemsFlipTheirMarks() {
    MainWindowFixture f;
    frmMain& w = *f.window;
    w.mnSafetyMechanism_Click();
    QVERIFY(!w.mnSafetyMechanism->isChecked());
    w.mnSafetyMechanism->trigger();
    QVERIFY(w.mnSafetyMechanism->isChecked());
    w.txtRepeatClick->setText(QStringLiteral("7"));
    w.mnKeepRepeatClick->trigger();
    QVERIFY(w.mnKeepRepeatClick->isChecked());
    QCOMPARE(w.txtRepeatClick->text(), QStringLiteral("7")); // nothing else changes
}

QTEST_MAIN(ClickSettingsTest)
#include "click_settings_test.moc"
