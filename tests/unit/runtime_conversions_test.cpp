// The number reading rule and the conversions of stored texts.
#include "runtime/conversions.h"

#include <QTest>

#include <cfloat>
#include <climits>

class RuntimeConversionsTest : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber_data();
    void leadingNumber();
    void wholeValue_data();
    void wholeValue();
    void strictInteger_data();
    void strictInteger();
    void strictBoolean_data();
    void strictBoolean();
    void numberText_data();
    void numberText();
    void singleText();
};

void RuntimeConversionsTest::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("whole");

    QTest::newRow("digits then letters") << "12abc" << 12.0 << 12;
    QTest::newRow("letters") << "abc" << 0.0 << 0;
    QTest::newRow("empty") << "" << 0.0 << 0;
    QTest::newRow("blank between digits") << "1 5" << 15.0 << 15;
    QTest::newRow("tabs and line feeds anywhere") << " \t1\n2 3" << 123.0 << 123;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0 << 1;
    QTest::newRow("half rounds to even below") << "2.5" << 2.5 << 2;
    QTest::newRow("half rounds to even above") << "3.5" << 3.5 << 4;
    QTest::newRow("negative half") << "-2.5" << -2.5 << -2;
    QTest::newRow("minus sign") << "-12" << -12.0 << -12;
    QTest::newRow("plus sign") << "+7" << 7.0 << 7;
    QTest::newRow("blank after sign") << "- 7" << -7.0 << -7;
    QTest::newRow("two signs") << "--5" << 0.0 << 0;
    QTest::newRow("trailing sign") << "5-" << 5.0 << 5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2 << 1;
    QTest::newRow("point alone") << "." << 0.0 << 0;
    QTest::newRow("leading point") << ".75" << 0.75 << 1;
    QTest::newRow("exponent") << "1.5E2x" << 150.0 << 150;
    QTest::newRow("lower-case exponent with sign") << "25e-1" << 2.5 << 2;
    QTest::newRow("D exponent") << "1d3" << 1000.0 << 1000;
    QTest::newRow("exponent without digits") << "2.5e" << 2.5 << 2;
    QTest::newRow("exponent sign without digits") << "4e+" << 4.0 << 4;
    QTest::newRow("hexadecimal") << "&H1F" << 31.0 << 31;
    QTest::newRow("hexadecimal lower case") << "&hff" << 255.0 << 255;
    QTest::newRow("hexadecimal 16-bit wraps") << "&HFFFF" << -1.0 << -1;
    QTest::newRow("hexadecimal beyond 16 bits") << "&H10000" << 65536.0 << 65536;
    QTest::newRow("hexadecimal 32-bit wraps") << "&HFFFFFFFF" << -1.0 << -1;
    QTest::newRow("hexadecimal beyond 32 bits") << "&H100000000" << 4294967296.0 << INT_MAX;
    QTest::newRow("hexadecimal stops at non-digit") << "&H1G" << 1.0 << 1;
    QTest::newRow("hexadecimal without digits") << "&Hxyz" << 0.0 << 0;
    QTest::newRow("octal") << "&O17" << 15.0 << 15;
    QTest::newRow("octal stops at 8") << "&O78" << 7.0 << 7;
    QTest::newRow("ampersand alone") << "&" << 0.0 << 0;
    QTest::newRow("C-style hexadecimal is not one") << "0x10" << 0.0 << 0;
    QTest::newRow("past 32 bits") << "99999999999" << 99999999999.0 << INT_MAX;
    QTest::newRow("past 32 bits negative") << "-99999999999" << -99999999999.0 << INT_MIN;
    QTest::newRow("exponent past 32 bits") << "1e10" << 1e10 << INT_MAX;
    QTest::newRow("largest 32-bit") << "2147483647" << 2147483647.0 << INT_MAX;
    QTest::newRow("smallest 32-bit") << "-2147483648" << -2147483648.0 << INT_MIN;
    QTest::newRow("past a double") << "1e400" << DBL_MAX << INT_MAX;
    QTest::newRow("below a double") << "1e-400" << 0.0 << 0;
}

void RuntimeConversionsTest::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(int, whole);
    QCOMPARE(runtime::Val(text.toStdString()), value);
    QCOMPARE(runtime::WholeValueOf(text.toStdString()), whole);
}

void RuntimeConversionsTest::wholeValue_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("whole");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("just above half") << 2.5000001 << 3;
    QTest::newRow("just below half") << 2.4999999 << 2;
    QTest::newRow("half past the largest") << 2147483647.5 << INT_MAX;
    QTest::newRow("half past the smallest") << -2147483648.5 << INT_MIN;
}

void RuntimeConversionsTest::wholeValue() {
    QFETCH(double, value);
    QFETCH(int, whole);
    QCOMPARE(runtime::WholeValue(value), whole);
}

void RuntimeConversionsTest::strictInteger_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok16");
    QTest::addColumn<int>("value16");
    QTest::addColumn<bool>("ok32");
    QTest::addColumn<int>("value32");
    QTest::newRow("plain") << "1" << true << 1 << true << 1;
    QTest::newRow("surrounding blanks") << " 2 " << true << 2 << true << 2;
    QTest::newRow("half to even down") << "2.5" << true << 2 << true << 2;
    QTest::newRow("half to even up") << "3.5" << true << 4 << true << 4;
    QTest::newRow("exponent") << "1e2" << true << 100 << true << 100;
    QTest::newRow("hexadecimal") << "&H10" << true << 16 << true << 16;
    QTest::newRow("negative") << "-32768" << true << -32768 << true << -32768;
    QTest::newRow("past 16 bits") << "32768" << false << 0 << true << 32768;
    QTest::newRow("rounds past 16 bits") << "32767.5" << false << 0 << true << 32768;
    QTest::newRow("past 32 bits") << "2147483648" << false << 0 << false << 0;
    QTest::newRow("word") << "abc" << false << 0 << false << 0;
    QTest::newRow("empty") << "" << false << 0 << false << 0;
    QTest::newRow("trailing letters") << "12abc" << false << 0 << false << 0;
    QTest::newRow("blank inside") << "1 5" << false << 0 << false << 0;
    QTest::newRow("Boolean word") << "True" << false << 0 << false << 0;
}

void RuntimeConversionsTest::strictInteger() {
    QFETCH(QString, text);
    QFETCH(bool, ok16);
    QFETCH(int, value16);
    QFETCH(bool, ok32);
    QFETCH(int, value32);
    const auto v16 = runtime::Int16FromText(text.toStdString());
    const auto v32 = runtime::Int32FromText(text.toStdString());
    QCOMPARE(v16.has_value(), ok16);
    QCOMPARE(v32.has_value(), ok32);
    if (ok16)
        QCOMPARE(int(*v16), value16);
    if (ok32)
        QCOMPARE(int(*v32), value32);
}

void RuntimeConversionsTest::strictBoolean_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("value");
    QTest::newRow("True") << "True" << true << true;
    QTest::newRow("false lower case") << "false" << true << false;
    QTest::newRow("TRUE upper case") << "TRUE" << true << true;
    QTest::newRow("blanks around") << " True " << true << true;
    QTest::newRow("one") << "1" << true << true;
    QTest::newRow("zero") << "0" << true << false;
    QTest::newRow("minus one") << "-1" << true << true;
    QTest::newRow("fraction") << "0.5" << true << true;
    QTest::newRow("yes") << "yes" << false << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("number and word") << "1x" << false << false;
}

void RuntimeConversionsTest::strictBoolean() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(bool, value);
    const auto result = runtime::BoolFromText(text.toStdString());
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, value);
}

void RuntimeConversionsTest::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 12.0 << "12";
    QTest::newRow("negative") << -3.0 << "-3";
    QTest::newRow("fraction") << 1.5 << "1.5";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("sum with binary noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("fifteen digits") << 123456789012345.0 << "123456789012345";
    QTest::newRow("large") << 1e15 << "1E+15";
    QTest::newRow("small") << 1e-5 << "1E-05";
    QTest::newRow("beyond 32 bits") << 99999999999.0 << "99999999999";
}

void RuntimeConversionsTest::numberText() {
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(runtime::FormatNumber(value)), text);
    // Reading the text back and writing it again changes nothing.
    QCOMPARE(QString::fromStdString(runtime::FormatNumber(runtime::Val(text.toStdString()))), text);
}

void RuntimeConversionsTest::singleText() {
    QCOMPARE(QString::fromStdString(runtime::FormatSingle(45296.52f)), QStringLiteral("45296.52"));
    QCOMPARE(QString::fromStdString(runtime::FormatSingle(0.5f)), QStringLiteral("0.5"));
    QCOMPARE(QString::fromStdString(runtime::FormatSingle(1234567.8f)), QStringLiteral("1234568"));
}

QTEST_APPLESS_MAIN(RuntimeConversionsTest)
#include "runtime_conversions_test.moc"
