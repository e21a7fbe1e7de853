// Reading each kind of setting, the texts written back, and the damaged-file condition.
#include "store/settings_file.h"
#include "store/settings_values.h"
#include "store_test_support.h"

#include <QTemporaryDir>
#include <QTest>

using store_test::Path;
using store_test::ReadBytes;
using store_test::WriteBytes;

Q_DECLARE_METATYPE(store::SettingKind)

namespace {

// What a reader of the kind makes of a text, as text: the value, or "failure".
QString ReadAs(store::SettingKind kind, const std::string& text) {
    const auto shown = [](const auto& value) {
        return value ? QString::number(*value) : QString("failure");
    };
    switch (kind) {
    case store::SettingKind::Boolean: {
        const auto value = store::ReadBoolean(text);
        return value ? QString(*value ? "True" : "False") : QString("failure");
    }
    case store::SettingKind::CheckState:
        return shown(store::ReadCheckState(text));
    case store::SettingKind::Integer:
        return shown(store::ReadInteger(text));
    case store::SettingKind::LongInteger:
        return shown(store::ReadLongInteger(text));
    case store::SettingKind::Letter: {
        const auto value = store::ReadHotKey(text);
        return value ? QString(QChar(*value)) : QString("failure");
    }
    case store::SettingKind::Text:
        return QString::fromStdString(text);
    }
    return {};
}

// The same through a settings reader, with DamagedSettings shown as "damaged".
QString ReadSetting(const store::SettingsReader& reader, store::SettingKind kind,
                    const std::string& name) {
    try {
        switch (kind) {
        case store::SettingKind::Boolean:
            return reader.Boolean(name) ? "True" : "False";
        case store::SettingKind::CheckState:
            return QString::number(reader.CheckState(name));
        case store::SettingKind::Integer:
            return QString::number(reader.Integer(name));
        case store::SettingKind::LongInteger:
            return QString::number(reader.LongInteger(name));
        case store::SettingKind::Letter:
            return QString(QChar(reader.HotKey(name)));
        case store::SettingKind::Text:
            return QString::fromStdString(reader.Text(name));
        }
    } catch (const store::DamagedSettings&) {
        return "damaged";
    }
    return {};
}

// The default file with one element's line replaced (or removed when the line is empty).
QByteArray SettingsWith(const QByteArray& element, const QByteArray& line) {
    QByteArray xml = "<?xml version=\"1.0\"?>\r\n<Settings>\r\n";
    for (const store::SettingDefault& setting : store::kSettingDefaults) {
        const QByteArray name(setting.name.data(), qsizetype(setting.name.size()));
        const QByteArray text(setting.text.data(), qsizetype(setting.text.size()));
        if (name == element)
            xml += line.isEmpty() ? QByteArray() : "   " + line + "\r\n";
        else
            xml += "   <" + name + ">" + text + "</" + name + ">\r\n";
    }
    return xml + "</Settings>\r\n";
}

} // namespace

class SettingsValuesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void conversions_data();
    void conversions();
    void button_data();
    void button();
    void writeBack_data();
    void writeBack();
    void hotKeyText_data();
    void hotKeyText();
    void fileCases_data();
    void fileCases();
    void damagedFile();
    void defaultsReadBack_data();
    void defaultsReadBack();
    void repeatClicks_data();
    void repeatClicks();
    void shutDownWritesWords();

private:
    QString file(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void SettingsValuesTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void SettingsValuesTest::conversions_data() {
    using K = store::SettingKind;
    QTest::addColumn<store::SettingKind>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");
    const auto row = [](const char* name, K kind, const char* text, const char* read) {
        QTest::newRow(name) << kind << QString(text) << QString(read);
    };
    row("Boolean True", K::Boolean, "True", "True");
    row("Boolean false lower case", K::Boolean, "false", "False");
    row("Boolean 1", K::Boolean, "1", "True");
    row("Boolean 0", K::Boolean, "0", "False");
    row("Boolean yes", K::Boolean, "yes", "failure");
    row("Boolean empty", K::Boolean, "", "failure");
    row("check box greyed", K::CheckState, "2", "2");
    row("check box 3", K::CheckState, "3", "failure");
    row("check box -1", K::CheckState, "-1", "failure");
    row("check box 1.5 to even", K::CheckState, "1.5", "2");
    row("check box 2.5 to even", K::CheckState, "2.5", "2");
    row("check box True", K::CheckState, "True", "failure");
    row("integer half to even", K::Integer, "3.5", "4");
    row("integer 16-bit top", K::Integer, "32767", "32767");
    row("integer 16-bit bottom", K::Integer, "-32768", "-32768");
    row("integer past 16 bits", K::Integer, "32768", "failure");
    row("integer below 16 bits", K::Integer, "-32769", "failure");
    row("integer rounds past 16 bits", K::Integer, "32767.5", "failure");
    row("integer 32-bit top", K::Integer, "2147483647", "failure");
    row("check box 32767", K::CheckState, "32767", "failure");
    row("check box 65538 does not wrap to 2", K::CheckState, "65538", "failure");
    row("integer word", K::Integer, "abc", "failure");
    row("32-bit past 16 bits", K::LongInteger, "100000", "100000");
    row("32-bit top", K::LongInteger, "2147483647", "2147483647");
    row("32-bit bottom", K::LongInteger, "-2147483648", "-2147483648");
    row("32-bit past 32 bits", K::LongInteger, "2147483648", "failure");
    row("hot key letter", K::Letter, "C", "C");
    row("hot key lower case", K::Letter, "x", "X");
    row("hot key digit", K::Letter, "7", "C");
    row("hot key first character", K::Letter, "qz", "Q");
    row("hot key blank first", K::Letter, " Q", "C");
    row("hot key non-ASCII", K::Letter, "é", "C");
    row("hot key empty", K::Letter, "", "failure");
    row("text unchanged", K::Text, " 12abc ", " 12abc ");
}

void SettingsValuesTest::conversions() {
    QFETCH(store::SettingKind, kind);
    QFETCH(QString, text);
    QFETCH(QString, read);
    QCOMPARE(ReadAs(kind, text.toStdString()), read);
}

void SettingsValuesTest::button_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("button");
    const auto row = [](const char* name, const char* text, const char* button) {
        QTest::newRow(name) << QString(text) << QString(button);
    };
    row("2 is right", "2", "right");
    row("1 is left", "1", "left");
    row("any other integer is left", "7", "left");
    row("2.5 rounds to 2", "2.5", "right");
    row("16-bit top is left", "32767", "left");
    row("past 16 bits", "32768", "failure");
    row("65538 does not wrap to 2", "65538", "failure");
    row("not a number", "right", "failure");
    row("empty", "", "failure");
}

void SettingsValuesTest::button() {
    QFETCH(QString, text);
    QFETCH(QString, button);
    const auto read = store::ReadButton(text.toStdString());
    const QString shown = !read ? "failure" : *read == store::MouseButton::Right ? "right" : "left";
    QCOMPARE(shown, button);
}

void SettingsValuesTest::writeBack_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("expected");
    QTest::newRow("True") << QString::fromStdString(store::BooleanText(true)) << "True";
    QTest::newRow("False") << QString::fromStdString(store::BooleanText(false)) << "False";
    QTest::newRow("check 2") << QString::fromStdString(store::IntegerText(2)) << "2";
    QTest::newRow("right button") << QString::fromStdString(
                                         store::ButtonText(store::MouseButton::Right))
                                  << "2";
    QTest::newRow("left button") << QString::fromStdString(
                                        store::ButtonText(store::MouseButton::Left))
                                 << "1";
    const auto box = [](const char* text) {
        return QString::fromStdString(store::NumberBoxText(text));
    };
    QTest::newRow("box 12abc") << box("12abc") << "12";
    QTest::newRow("box abc") << box("abc") << "0";
    QTest::newRow("box empty") << box("") << "0";
    QTest::newRow("box blanks inside") << box(" 1 5") << "15";
    QTest::newRow("box fraction") << box("2.5") << "2.5";
    QTest::newRow("box hexadecimal") << box("&H10") << "16";
}

void SettingsValuesTest::writeBack() {
    QFETCH(QString, written);
    QFETCH(QString, expected);
    QCOMPARE(written, expected);
}

void SettingsValuesTest::hotKeyText_data() {
    QTest::addColumn<char>("letter");
    QTest::addColumn<QString>("text");
    QTest::newRow("upper case") << 'Q' << "Q";
    QTest::newRow("lower case") << 'x' << "X";
    QTest::newRow("not a letter") << '7' << "C";
}

void SettingsValuesTest::hotKeyText() {
    QFETCH(char, letter);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(store::HotKeyText(letter)), text);
}

void SettingsValuesTest::fileCases_data() {
    using K = store::SettingKind;
    QTest::addColumn<QByteArray>("element");
    QTest::addColumn<QByteArray>("line"); // empty: the element is left out
    QTest::addColumn<store::SettingKind>("kind");
    QTest::addColumn<QString>("read");
    QTest::newRow("RepeatClick 3 is damaged")
        << QByteArray("RepeatClick") << QByteArray("<RepeatClick>3</RepeatClick>") << K::CheckState
        << "damaged";
    QTest::newRow("SysTray yes is damaged")
        << QByteArray("SysTray") << QByteArray("<SysTray>yes</SysTray>") << K::Boolean << "damaged";
    QTest::newRow("Delay abc is not damaged")
        << QByteArray("Delay") << QByteArray("<Delay>abc</Delay>") << K::Text << "abc";
    QTest::newRow("HotKey 7 gives C")
        << QByteArray("HotKey") << QByteArray("<HotKey>7</HotKey>") << K::Letter << "C";
    QTest::newRow("HotKey x gives X")
        << QByteArray("HotKey") << QByteArray("<HotKey>x</HotKey>") << K::Letter << "X";
    QTest::newRow("HotKey empty is damaged")
        << QByteArray("HotKey") << QByteArray("<HotKey></HotKey>") << K::Letter << "damaged";
    QTest::newRow("HotKey missing is damaged")
        << QByteArray("HotKey") << QByteArray() << K::Letter << "damaged";
    QTest::newRow("lower-case element read")
        << QByteArray("AlwaysonTop") << QByteArray("<alwaysontop>False</alwaysontop>") << K::Boolean
        << "False";
    QTest::newRow("Boolean missing is damaged")
        << QByteArray("AlwaysonTop") << QByteArray() << K::Boolean << "damaged";
    QTest::newRow("check box missing is damaged")
        << QByteArray("Range") << QByteArray() << K::CheckState << "damaged";
    QTest::newRow("integer missing is damaged")
        << QByteArray("TrayIconMode") << QByteArray() << K::Integer << "damaged";
    QTest::newRow("text missing reads empty")
        << QByteArray("Delay") << QByteArray() << K::Text << "";
    QTest::newRow("check box greyed")
        << QByteArray("Range") << QByteArray("<Range>2</Range>") << K::CheckState << "2";
    QTest::newRow("XPStyle word") << QByteArray("XPStyle") << QByteArray("<XPStyle>false</XPStyle>")
                                  << K::Boolean << "False";
    QTest::newRow("32-bit count") << QByteArray("InitialRepeatClicks")
                                  << QByteArray("<InitialRepeatClicks>70000</InitialRepeatClicks>")
                                  << K::LongInteger << "70000";
}

void SettingsValuesTest::fileCases() {
    QFETCH(QByteArray, element);
    QFETCH(QByteArray, line);
    QFETCH(store::SettingKind, kind);
    QFETCH(QString, read);
    QVERIFY(WriteBytes(file("config.xml"), SettingsWith(element, line)));
    const store::SettingsReader reader(Path(file("config.xml")));
    QCOMPARE(ReadSetting(reader, kind, element.toStdString()), read);
}

// Every read, the text ones included, reports a file that does not load.
void SettingsValuesTest::damagedFile() {
    QVERIFY(WriteBytes(file("config.xml"), "<Settings><Delay>0</Delay>"));
    const store::SettingsReader damaged(Path(file("config.xml")));
    const store::SettingsReader missing(Path(file("missing.xml")));
    for (const store::SettingDefault& setting : store::kSettingDefaults) {
        QCOMPARE(ReadSetting(damaged, setting.kind, std::string(setting.name)), QString("damaged"));
        QCOMPARE(ReadSetting(missing, setting.kind, std::string(setting.name)), QString("damaged"));
    }
    QVERIFY_THROWS_EXCEPTION(store::DamagedSettings, damaged.Button("Button"));
    QVERIFY_THROWS_EXCEPTION(store::DamagedSettings, damaged.ReadRepeatClicks());
}

void SettingsValuesTest::defaultsReadBack_data() {
    using K = store::SettingKind;
    QTest::addColumn<QString>("name");
    QTest::addColumn<store::SettingKind>("kind");
    QTest::addColumn<QString>("read");
    QTest::newRow("always on top") << "AlwaysonTop" << K::Boolean << "True";
    QTest::newRow("single instance") << "PreventMultipleInstance" << K::Boolean << "True";
    QTest::newRow("safety mechanism") << "SafetyMechanism" << K::Boolean << "True";
    QTest::newRow("visual styles") << "XPStyle" << K::Boolean << "True";
    QTest::newRow("system tray off") << "SysTray" << K::Boolean << "False";
    QTest::newRow("interval 1000 ms") << "ClickIntervalinms" << K::Text << "1000";
    QTest::newRow("1 click") << "Clicks" << K::Text << "1";
    QTest::newRow("left button") << "Button" << K::Integer << "1";
    QTest::newRow("hot key C") << "HotKey" << K::Letter << "C";
    QTest::newRow("theme path") << "TrayIconThemeFile" << K::Text
                                << ".\\IconThemes\\default_icontheme.xml";
}

void SettingsValuesTest::defaultsReadBack() {
    QFETCH(QString, name);
    QFETCH(store::SettingKind, kind);
    QFETCH(QString, read);
    QVERIFY(store::WriteDefaultSettings(Path(file("config.xml"))));
    const store::SettingsReader reader(Path(file("config.xml")));
    QCOMPARE(ReadSetting(reader, kind, name.toStdString()), read);
    QCOMPARE(reader.Button("Button"), store::MouseButton::Left);
    // Every default reads without failure by its kind.
    for (const store::SettingDefault& setting : store::kSettingDefaults)
        QVERIFY(ReadSetting(reader, setting.kind, std::string(setting.name)) != "damaged");
}

void SettingsValuesTest::repeatClicks_data() {
    QTest::addColumn<QByteArray>("keep");
    QTest::addColumn<QByteArray>("initial");
    QTest::addColumn<QString>("boxText"); // or "damaged"
    QTest::newRow("kept: initial count shown") << QByteArray("True") << QByteArray("5") << "5";
    QTest::newRow("kept, as 1") << QByteArray("1") << QByteArray("5") << "5";
    QTest::newRow("kept, past 16 bits") << QByteArray("True") << QByteArray("70000") << "70000";
    QTest::newRow("not kept: Clicks shown") << QByteArray("False") << QByteArray("5") << "9x";
    QTest::newRow("not kept: initial not read") << QByteArray("False") << QByteArray("abc") << "9x";
    QTest::newRow("kept, initial damaged") << QByteArray("True") << QByteArray("abc") << "damaged";
    QTest::newRow("keep damaged") << QByteArray("maybe") << QByteArray("5") << "damaged";
}

void SettingsValuesTest::repeatClicks() {
    QFETCH(QByteArray, keep);
    QFETCH(QByteArray, initial);
    QFETCH(QString, boxText);
    const QByteArray xml = "<Settings><Clicks>9x</Clicks><KeepRepeatClick>" + keep +
                           "</KeepRepeatClick><InitialRepeatClicks>" + initial +
                           "</InitialRepeatClicks></Settings>";
    QVERIFY(WriteBytes(file("config.xml"), xml));
    const store::SettingsReader reader(Path(file("config.xml")));
    try {
        const store::SettingsReader::RepeatClicks clicks = reader.ReadRepeatClicks();
        QCOMPARE(QString::fromStdString(clicks.boxText), boxText);
        QCOMPARE(clicks.keep, keep != "False");
        QCOMPARE(clicks.initial, clicks.keep ? initial.toInt() : 0);
    } catch (const store::DamagedSettings&) {
        QCOMPARE(QString("damaged"), boxText);
    }
}

// A shut-down writes each main-window setting back in its written form: the Booleans that the
// default file holds as 1 or 0 become True or False, number boxes their leading number.
void SettingsValuesTest::shutDownWritesWords() {
    const std::string path = Path(file("config.xml"));
    QVERIFY(WriteBytes(file("config.xml"), SettingsWith("Delay", "<Delay>abc</Delay>")));
    const store::SettingsReader reader(path);
    for (const std::string_view name : store::MainWindowWriteBackOrder(false, 0)) {
        const std::string element(name);
        for (const store::SettingDefault& setting : store::kSettingDefaults) {
            if (setting.name != name)
                continue;
            std::string text = reader.Text(element);
            if (setting.kind == store::SettingKind::Boolean)
                text = store::BooleanText(reader.Boolean(element));
            else if (setting.kind == store::SettingKind::Text)
                text = store::NumberBoxText(text);
            else if (setting.kind == store::SettingKind::Letter)
                text = store::HotKeyText(reader.HotKey(element));
            else if (element == "Button")
                text = store::ButtonText(reader.Button(element));
            QVERIFY(store::SetConfigValue(path, element, text));
        }
    }
    for (const char* name : {"XPStyle", "SysTray", "CloseMeansClose", "HideOnMinimize"}) {
        const QString expected = QString(name) == "SysTray" ? "False" : "True";
        QCOMPARE(QString::fromStdString(reader.Text(name)), expected);
    }
    QCOMPARE(QString::fromStdString(reader.Text("Delay")), QString("0"));
    // Elements the main window does not write keep their texts.
    QCOMPARE(QString::fromStdString(reader.Text("TrayIconIdleAnimate")), QString("1"));
    QVERIFY(ReadBytes(file("config.xml")).contains("<Delay>0</Delay>"));
}

QTEST_APPLESS_MAIN(SettingsValuesTest)
#include "store_settings_values_test.moc"
