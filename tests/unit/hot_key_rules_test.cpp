// The hot-key letter, the signal file's name and lines, the press stamp and the watcher's
// decision.
#include "click/hot_key_rules.h"

#include <QTest>

class HotKeyRulesTest : public QObject {
    Q_OBJECT

private slots:
    void letter_data();
    void letter();
    void signalFile();
    void signalFileOwner_data();
    void signalFileOwner();
    void stamp_data();
    void stamp();
    void timeOfDay();
    void watcherDecision_data();
    void watcherDecision();
};

void HotKeyRulesTest::letter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code"); // 0: refused
    QTest::newRow("C") << "C" << int('C');
    QTest::newRow("lower case") << "x" << int('X');
    QTest::newRow("first character of a word") << "cat" << int('C');
    QTest::newRow("digit") << "9" << 0;
    QTest::newRow("1") << "1" << 0;
    QTest::newRow("question mark") << "?" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("blank first") << " a" << 0;
    QTest::newRow("Z") << "z" << int('Z');
    QTest::newRow("accented letter") << QStringLiteral("é") << 0;
}

void HotKeyRulesTest::letter() {
    QFETCH(QString, text);
    QFETCH(int, code);
    const auto result = click::HotKeyCode(text.toStdString());
    QCOMPARE(result.has_value(), code != 0);
    if (code)
        QCOMPARE(int(*result), code);
}

void HotKeyRulesTest::signalFile() {
    QCOMPARE(click::SignalFileName(1, 2, "desk"), std::string("1-2-desk_HotKey.xml"));
    QCOMPARE(click::SignalFileName(7, 12, "Büro PC_1"), std::string("7-12-B-ro-PC-1_HotKey.xml"));
    const auto lines = click::SignalFileLines();
    QCOMPARE(lines.size(), size_t{4});
    QCOMPARE(lines[0], std::string("<?xml version=\"1.0\"?>"));
    QCOMPARE(lines[1], std::string("<!-- Do not change this file yourself, or else you may cause "
                                   "the application to malfunction! -->"));
    QCOMPARE(lines[2], std::string("<HotKey Check=\"0\">"));
    QCOMPARE(lines[3], std::string("</HotKey>"));
}

// A running copy's file? (-1: no copy's name) Here: host h, window 7 shown, process 4711 runs.
void HotKeyRulesTest::signalFileOwner_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("running");
    // This host is "my_pc": its files name it "my-pc".
    const std::pair<const char*, int> rows[] = {{"7-4711-my-pc_HotKey.xml", 1},
                                                {"8-4711-my-pc_HotKey.xml", 1},
                                                {"7-4712-my-pc_HotKey.xml", 0},
                                                {"7-9-other_HotKey.xml", 1},
                                                {"7_HotKey.xml", 1},
                                                {"9_HotKey.xml", 0},
                                                {"old_HotKey.xml", -1}};
    for (const auto& [name, running] : rows)
        QTest::newRow(name) << name << running;
}

void HotKeyRulesTest::signalFileOwner() {
    QFETCH(QString, name);
    const auto owner = click::ReadSignalFileName(name.toStdString());
    const auto alive = [](long pid) { return pid == 4711; };
    QTEST(owner ? int(click::RunningCopysFile(*owner, "my_pc", {7}, alive)) : -1, "running");
}

void HotKeyRulesTest::stamp_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("stamp");
    QTest::newRow("afternoon") << 45296.52 << "45296.52";
    QTest::newRow("seven digits") << 86399.994 << "86399.99";
    QTest::newRow("morning") << 3600.25 << "3600.25";
    QTest::newRow("just after midnight") << 0.5 << "0.5";
    QTest::newRow("whole second") << 120.0 << "120";
}

void HotKeyRulesTest::stamp() {
    QFETCH(double, seconds);
    QTEST(QString::fromStdString(click::PressStamp(seconds)), "stamp");
}

void HotKeyRulesTest::timeOfDay() {
    const double seconds = click::SecondsSinceMidnight();
    QVERIFY(seconds >= 0 && seconds < 86400);
}

void HotKeyRulesTest::watcherDecision_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("lastStamp");
    QTest::addColumn<int>("lastPresses"); // -1: no count seen
    QTest::addColumn<int>("presses");     // how many presses the file tells of
    QTest::addColumn<QString>("next");    // the count the owner writes next
    const QStringList check{"Check"};
    const QStringList counted{"Check", "Presses"};
    QTest::newRow("fresh file") << check << QStringList{"0"} << "" << -1 << 0 << "1";
    QTest::newRow("stamp of an older owner")
        << check << QStringList{"45296.52"} << "" << -1 << 1 << "1";
    QTest::newRow("stamp already acted on")
        << check << QStringList{"45296.52"} << "45296.52" << -1 << 0 << "1";
    QTest::newRow("another stamp")
        << check << QStringList{"45300.1"} << "45296.52" << -1 << 1 << "1";
    QTest::newRow("no attribute") << QStringList{} << QStringList{} << "" << -1 << 0 << "1";
    QTest::newRow("Check not first")
        << QStringList{"Other", "Check"} << QStringList{"1", "45296.52"} << "" << -1 << 0 << "1";
    QTest::newRow("name in other case")
        << QStringList{"check"} << QStringList{"45296.52"} << "" << -1 << 0 << "1";
    QTest::newRow("Check first of two")
        << QStringList{"Check", "Other"} << QStringList{"7.5", "1"} << "" << -1 << 1 << "1";
    QTest::newRow("first counted press")
        << counted << QStringList{"7.5", "1"} << "" << -1 << 1 << "2";
    QTest::newRow("two presses before the first look")
        << counted << QStringList{"7.5", "2"} << "" << -1 << 2 << "3";
    QTest::newRow("held up across two presses")
        << counted << QStringList{"9.5", "5"} << "7.5" << 3 << 2 << "6";
    QTest::newRow("held up across three presses")
        << counted << QStringList{"9.5", "6"} << "7.5" << 3 << 3 << "7";
    QTest::newRow("count seen already")
        << counted << QStringList{"7.5", "3"} << "7.5" << 3 << 0 << "4";
    QTest::newRow("an older owner stamps over a count")
        << counted << QStringList{"9.5", "3"} << "7.5" << 3 << 1 << "4";
    QTest::newRow("two presses in one stamp")
        << counted << QStringList{"7.5", "4"} << "7.5" << 3 << 1 << "5";
    QTest::newRow("file made afresh")
        << counted << QStringList{"9.5", "1"} << "7.5" << 7 << 1 << "2";
    QTest::newRow("junk count") << counted << QStringList{"9.5", "x2"} << "7.5" << 3 << 1 << "1";
    QTest::newRow("count too long")
        << counted << QStringList{"9.5", "1234567890123456789"} << "7.5" << 3 << 1 << "1";
}

void HotKeyRulesTest::watcherDecision() {
    QFETCH(QStringList, names);
    QFETCH(QStringList, values);
    QFETCH(QString, lastStamp);
    QFETCH(int, lastPresses);
    QFETCH(int, presses);
    QFETCH(QString, next);
    click::SignalAttributes attributes;
    for (int i = 0; i < names.size(); ++i)
        attributes.emplace_back(names[i].toStdString(), values[i].toStdString());
    click::PressState last{lastStamp.toStdString(), std::nullopt};
    if (lastPresses >= 0)
        last.presses = uint64_t(lastPresses);
    QCOMPARE(click::NewPresses(attributes, last), uint64_t(presses));
    QCOMPARE(QString::fromStdString(click::NextPressCount(attributes)), next);
    // What was seen is remembered: the same file tells of nothing more.
    QCOMPARE(click::NewPresses(attributes, last), uint64_t(0));
}

QTEST_APPLESS_MAIN(HotKeyRulesTest)
#include "hot_key_rules_test.moc"
