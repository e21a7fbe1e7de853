// The Win32 backends' rules: the modifier word of a hot-key registration and the quoting of the
// command lines they start (as CommandLineToArgvW reads them; the Wine test reads them back).
#include "platform/hot_key_service.h"
#include "platform/win/win_rules.h"

#include <QTest>

class WinRulesTest : public QObject {
    Q_OBJECT

private slots:
    void hotKeyModifiers_data();
    void hotKeyModifiers();
    void quoteArgument_data();
    void quoteArgument();
    void commandLine();
};

void WinRulesTest::hotKeyModifiers_data() {
    QTest::addColumn<uint>("modifiers");
    QTest::addColumn<int>("registered"); // -1: refused
    QTest::newRow("CTRL+ALT, as the program asks")
        << uint(platform::kModAlt | platform::kModControl) << 0x4003;
    QTest::newRow("already without repeat") << 0x4003u << 0x4003;
    QTest::newRow("shift and win kept") << 0x000Fu << 0x400F;
    QTest::newRow("none") << 0u << 0x4000;
    QTest::newRow("unknown flag 0x10") << 0x0013u << -1;
    QTest::newRow("upper half") << 0x80000003u << -1;
}

void WinRulesTest::hotKeyModifiers() {
    QFETCH(uint, modifiers);
    QFETCH(int, registered);
    const std::optional<uint32_t> word = platform::HotKeyRegistrationModifiers(modifiers);
    QCOMPARE(word.has_value(), registered >= 0);
    if (word)
        QCOMPARE(int(*word), registered);
}

void WinRulesTest::quoteArgument_data() {
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "run"
                           << "run";
    QTest::newRow("path without blanks keeps its backslashes") << "C:\\a\\b\\"
                                                               << "C:\\a\\b\\";
    QTest::newRow("empty") << ""
                           << "\"\"";
    QTest::newRow("blank") << "two words"
                           << "\"two words\"";
    QTest::newRow("tab") << "a\tb"
                         << "\"a\tb\"";
    QTest::newRow("quote") << "say \"hi\""
                           << "\"say \\\"hi\\\"\"";
    QTest::newRow("backslashes before a quote doubled") << "a\\\\\"b"
                                                        << "\"a\\\\\\\\\\\"b\"";
    QTest::newRow("backslashes elsewhere kept") << "a\\b c"
                                                << "\"a\\b c\"";
    QTest::newRow("trailing backslash before the closing quote") << "C:\\a b\\"
                                                                 << "\"C:\\a b\\\\\"";
    QTest::newRow("non-ASCII kept") << QStringLiteral("Café") << QStringLiteral("Café");
}

void WinRulesTest::quoteArgument() {
    QFETCH(QString, argument);
    QFETCH(QString, quoted);
    QCOMPARE(QString::fromStdString(platform::QuoteArgument(argument.toStdString())), quoted);
}

void WinRulesTest::commandLine() {
    QCOMPARE(platform::CommandLine("C:\\Zorvane Café\\zorvane.exe", {}),
             std::string("\"C:\\Zorvane Café\\zorvane.exe\""));
    QCOMPARE(platform::CommandLine("notepad.exe", {"C:\\My notes\\Zorvane.txt", "run"}),
             std::string("\"notepad.exe\" \"C:\\My notes\\Zorvane.txt\" run"));
}

QTEST_APPLESS_MAIN(WinRulesTest)
#include "win_rules_test.moc"
