// The tray's toolkit-free rules: the tip's cut, the icon's mouse messages, the menu's window
// commands and its theme ticks.
#include "tray/tray_rules.h"

#include <QtTest>

class TrayRulesTest : public QObject {
    Q_OBJECT

private slots:
    void tipCut_data();
    void tipCut();
    void messages_data();
    void messages();
    void windowCommands_data();
    void windowCommands();
    void themeTicks_data();
    void themeTicks();
};

void TrayRulesTest::tipCut_data() {
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("shown");
    const QString seventy = QString(60, 'a') + QStringLiteral("0123456789");
    QTest::newRow("70 characters") << seventy << seventy.left(63);
    QTest::newRow("63 stay") << seventy.left(63) << seventy.left(63);
    QTest::newRow("64 lose one") << seventy.left(64) << seventy.left(63);
    QTest::newRow("empty") << QString() << QString();
    // Whole characters, not bytes: 70 two-byte letters keep 63 of them.
    QTest::newRow("two-byte letters") << QString(70, QChar(0xE9)) << QString(63, QChar(0xE9));
    QTest::newRow("four-byte at the end")
        << QString(62, 'x') + QString::fromUtf8("\xF0\x9F\x96\xB1\xF0\x9F\x96\xB1")
        << QString(62, 'x') + QString::fromUtf8("\xF0\x9F\x96\xB1");
    QTest::newRow("longest running tip")
        << "Zorvane: 999999999hr 999999999min 999999999sec 999999999ms to next click"
        << "Zorvane: 999999999hr 999999999min 999999999sec 999999999ms to n";
}

void TrayRulesTest::tipCut() {
    QFETCH(QString, tip);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(tray::CutTip(tip.toStdString())), shown);
}

void TrayRulesTest::messages_data() {
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("action");
    const auto none = static_cast<int>(tray::TrayAction::None);
    QTest::newRow("move") << 512 << "MOUSEMOVE" << none;
    QTest::newRow("left up") << 514 << "LBUTTONUP" << none;
    QTest::newRow("left double") << 515 << "LBUTTONDBLCLK"
                                 << static_cast<int>(tray::TrayAction::RestoreOrMinimize);
    QTest::newRow("right up") << 517 << "RBUTTONUP"
                              << static_cast<int>(tray::TrayAction::PopUpMenu);
    QTest::newRow("right double") << 518 << "RBUTTONDBLCLK" << none;
    QTest::newRow("middle double") << 521 << "MBUTTONDBLCLK" << none;
    QTest::newRow("below") << 511 << "OTHER....: 511" << none;
    QTest::newRow("above") << 522 << "OTHER....: 522" << none;
    QTest::newRow("negative") << -3 << "OTHER....: -3" << none;
}

void TrayRulesTest::messages() {
    QFETCH(int, message);
    QFETCH(QString, name);
    QFETCH(int, action);
    QCOMPARE(QString::fromStdString(tray::TrayMessageName(message)), name);
    QCOMPARE(static_cast<int>(tray::ActionOf(message)), action);
}

void TrayRulesTest::windowCommands_data() {
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("minimize");
    QTest::newRow("normal") << true << 0 << false << true;
    QTest::newRow("minimized") << true << 1 << true << false;
    QTest::newRow("maximized") << true << 2 << true << true;
    QTest::newRow("hidden normal") << false << 0 << true << false;
    QTest::newRow("hidden minimized") << false << 1 << true << false;
    QTest::newRow("hidden maximized") << false << 2 << true << false;
}

void TrayRulesTest::windowCommands() {
    QFETCH(bool, visible);
    QFETCH(int, state);
    QFETCH(bool, restore);
    QFETCH(bool, minimize);
    const tray::RestoreMinimize expected{restore, minimize};
    QCOMPARE(tray::EnabledWindowCommands(visible, state), expected);
}

void TrayRulesTest::themeTicks_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<bool>("ticked");
    const QString stored = QStringLiteral(".\\IconThemes\\default_icontheme.xml");
    QTest::newRow("stored default") << 2 << "default_icontheme.xml" << stored << true;
    QTest::newRow("part of the name") << 2 << "icontheme" << stored << true;
    QTest::newRow("letter case counts") << 2 << "Default_icontheme.xml" << stored << false;
    QTest::newRow("other theme") << 2 << "stars.xml" << stored << false;
    QTest::newRow("blank icon") << 0 << "default_icontheme.xml" << stored << false;
    QTest::newRow("main icon") << 1 << "default_icontheme.xml" << stored << false;
    QTest::newRow("nothing loaded") << 2 << "default" << QString() << false;
}

void TrayRulesTest::themeTicks() {
    QFETCH(int, mode);
    QFETCH(QString, caption);
    QFETCH(QString, loaded);
    QFETCH(bool, ticked);
    QCOMPARE(tray::ThemeItemTicked(mode, caption.toStdString(), loaded.toStdString()), ticked);
}

QTEST_APPLESS_MAIN(TrayRulesTest)
#include "tray_rules_test.moc"
