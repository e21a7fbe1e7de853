// The settings file: the default file, and reading and writing one element.
#include "store/file_system.h"
#include "store/settings_file.h"
#include "store/xml_document.h"
#include "store_test_support.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using store_test::Path;
using store_test::ReadBytes;
using store_test::TemporaryFiles;
using store_test::WriteBytes;

namespace {

// The default file's elements and texts, in file order, as the file format fixes them.
const QList<QPair<QByteArray, QByteArray>> kDefaultElements = {
    {"PreventMultipleInstance", "True"},
    {"AlwaysonTop", "True"},
    {"SafetyMechanism", "True"},
    {"HyperClick", "False"},
    {"RepeatClick", "0"},
    {"Delay", "0"},
    {"ClickIntervalinms", "1000"},
    {"Coordx", "0"},
    {"Coordy", "0"},
    {"Clicks", "1"},
    {"Button", "1"},
    {"HotKey", "C"},
    {"KeepRepeatClick", "False"},
    {"InitialRepeatClicks", "1"},
    {"StartMinimized", "False"},
    {"AutoMinimize", "0"},
    {"ClickInterval2inms", "1000"},
    {"Range", "0"},
    {"Loop", "1"},
    {"XPStyle", "1"},
    {"SysTray", "0"},
    {"CloseMeansClose", "1"},
    {"HideOnMinimize", "1"},
    {"TrayIconMode", "1"},
    {"TrayIconIdleAnimate", "1"},
    {"TrayIconRunningAnimate", "1"},
    {"TrayIconThemeFile", ".\\IconThemes\\default_icontheme.xml"},
};

QByteArray ExpectedDefaultFile() {
    QList<QByteArray> lines;
    lines << "<?xml version=\"1.0\"?>";
    lines << "<!-- Do not change this file yourself, or else you may cause the application to "
             "malfunction! -->";
    lines << "<Settings>";
    for (const auto& [name, text] : kDefaultElements)
        lines << "   <" + name + ">" + text + "</" + name + ">";
    lines << "</Settings>";
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

QString Value(const std::optional<std::string>& value) {
    return value ? QString::fromStdString(*value) : QString("<no document>");
}

} // namespace

class SettingsFileTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void defaultFile();
    void defaultFileReplaces();
    void defaultFileFails();
    void settingsPath();
    void getConfigValue_data();
    void getConfigValue();
    void setConfigValue_data();
    void setConfigValue();
    void setMissingElementStillSaves();
    void setRefusedForDamagedFile_data();
    void setRefusedForDamagedFile();
    void setKeepsComments();
    void nonAsciiValue();
    void writeBackOrder_data();
    void writeBackOrder();
    void utf16RoundTrip_data();
    void utf16RoundTrip();
    void oneSaveGivesTheBytesOfSingleSaves_data();
    void oneSaveGivesTheBytesOfSingleSaves();

private:
    QString file(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
};

void SettingsFileTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void SettingsFileTest::defaultFile() {
    QVERIFY(store::WriteDefaultSettings(Path(file("config.xml"))));
    const QByteArray bytes = ReadBytes(file("config.xml"));
    QCOMPARE(bytes, ExpectedDefaultFile());
    QCOMPARE(bytes.count("\r\n"), 31);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(TemporaryFiles(dir_->path()).isEmpty());
}

void SettingsFileTest::defaultFileReplaces() {
    QVERIFY(WriteBytes(file("config.xml"), "<Settings><Damaged>" + QByteArray(5000, 'x')));
    QVERIFY(store::WriteDefaultSettings(Path(file("config.xml"))));
    QCOMPARE(ReadBytes(file("config.xml")), ExpectedDefaultFile());
}

void SettingsFileTest::defaultFileFails() {
    QVERIFY(!store::WriteDefaultSettings(Path(file("missing/config.xml"))));
    QVERIFY(!QFileInfo::exists(file("missing")));
}

void SettingsFileTest::settingsPath() {
    const std::string sep(1, store::kPathSeparator);
    QCOMPARE(store::SettingsPath("/opt/zorvane"), "/opt/zorvane" + sep + "config.xml");
    QCOMPARE(store::SettingsPath("/opt/zorvane/"), std::string("/opt/zorvane/config.xml"));
}

void SettingsFileTest::getConfigValue_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    const QByteArray settings = "<Settings><AlwaysonTop>True</AlwaysonTop><Delay>5</Delay>"
                                "<!-- c --><Empty/></Settings>";
    QTest::newRow("exact name") << settings << "Delay"
                                << "5";
    QTest::newRow("name in other case") << settings << "ALWAYSONTOP"
                                        << "True";
    QTest::newRow("element in lower case")
        << QByteArray("<Settings><alwaysontop>False</alwaysontop></Settings>") << "AlwaysonTop"
        << "False";
    QTest::newRow("first of two wins")
        << QByteArray("<Settings><Delay>1</Delay><delay>2</delay></Settings>") << "Delay"
        << "1";
    QTest::newRow("missing element") << settings << "Clicks"
                                     << "";
    QTest::newRow("empty element") << settings << "Empty"
                                   << "";
    QTest::newRow("root name not examined") << settings << "Settings"
                                            << "";
    QTest::newRow("any root name") << QByteArray("<Other><Delay>3</Delay></Other>") << "Delay"
                                   << "3";
    QTest::newRow("grandchildren not searched")
        << QByteArray("<Settings><Group><Delay>3</Delay></Group></Settings>") << "Delay"
        << "";
    QTest::newRow("text of a nested element")
        << QByteArray("<Settings><Delay>1<b>2</b>3</Delay></Settings>") << "Delay"
        << "123";
    QTest::newRow("blanks kept") << QByteArray("<Settings><Delay> 12abc </Delay></Settings>")
                                 << "Delay"
                                 << " 12abc ";
    QTest::newRow("entities") << QByteArray("<Settings><Loop>&lt;&amp;</Loop></Settings>") << "Loop"
                              << "<&";
    QTest::newRow("malformed file") << QByteArray("<Settings><Delay>5</Delay>") << "Delay"
                                    << "<no document>";
    QTest::newRow("empty file") << QByteArray() << "Delay"
                                << "<no document>";
}

void SettingsFileTest::getConfigValue() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QVERIFY(WriteBytes(file("config.xml"), xml));
    QCOMPARE(Value(store::GetConfigValue(Path(file("config.xml")), name.toStdString())), value);
}

void SettingsFileTest::setConfigValue_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("root"); // the root's children afterwards: name=text, ...
    QTest::newRow("exact name") << QByteArray("<Settings><Delay>0</Delay><Clicks>1</Clicks>"
                                              "</Settings>")
                                << "Delay"
                                << "12"
                                << "Delay=12,Clicks=1";
    QTest::newRow("element in lower case keeps its spelling")
        << QByteArray("<Settings><alwaysontop>1</alwaysontop></Settings>") << "AlwaysonTop"
        << "False"
        << "alwaysontop=False";
    QTest::newRow("first of two is written")
        << QByteArray("<Settings><Delay>1</Delay><DELAY>2</DELAY></Settings>") << "delay"
        << "9"
        << "Delay=9,DELAY=2";
    QTest::newRow("missing element not created")
        << QByteArray("<Settings><Delay>0</Delay></Settings>") << "Clicks"
        << "5"
        << "Delay=0";
    QTest::newRow("root name not examined")
        << QByteArray("<Settings><Delay>0</Delay></Settings>") << "Settings"
        << "5"
        << "Delay=0";
    QTest::newRow("nested content replaced")
        << QByteArray("<Settings><Delay>1<b>2</b></Delay></Settings>") << "Delay"
        << "7"
        << "Delay=7";
    QTest::newRow("markup characters")
        << QByteArray("<Settings><Loop>1</Loop></Settings>") << "Loop"
        << "<a & \"b\">"
        << "Loop=<a & \"b\">";
    QTest::newRow("emptied") << QByteArray("<Settings><Loop>1</Loop></Settings>") << "Loop"
                             << ""
                             << "Loop=";
}

void SettingsFileTest::setConfigValue() {
    QFETCH(QByteArray, xml);
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, root);
    const std::string path = Path(file("config.xml"));
    QVERIFY(WriteBytes(file("config.xml"), xml));
    QVERIFY(store::SetConfigValue(path, name.toStdString(), value.toStdString()));

    store::XmlDocument document;
    QVERIFY(document.load(path));
    QStringList children;
    for (const store::XmlNode& child : document.documentElement().childNodes())
        children << QString::fromStdString(child.nodeName() + "=" + child.text());
    QCOMPARE(children.join(','), root);
    QVERIFY(TemporaryFiles(dir_->path()).isEmpty());
}

// The file is saved whether or not an element matched.
void SettingsFileTest::setMissingElementStillSaves() {
    const QByteArray xml = "<Settings>\r\n<Delay>0</Delay>\r\n</Settings>";
    QVERIFY(WriteBytes(file("config.xml"), xml));
    QVERIFY(store::SetConfigValue(Path(file("config.xml")), "NoSuchSetting", "1"));
    const QByteArray saved = ReadBytes(file("config.xml"));
    QVERIFY(saved != xml);
    QVERIFY(!saved.contains("NoSuchSetting"));
    QCOMPARE(Value(store::GetConfigValue(Path(file("config.xml")), "Delay")), QString("0"));

    // A file that may not be replaced makes even that save fail.
    QVERIFY(QFile::setPermissions(file("config.xml"), QFile::ReadOwner));
    QVERIFY(!store::SetConfigValue(Path(file("config.xml")), "NoSuchSetting", "1"));
    QCOMPARE(ReadBytes(file("config.xml")), saved);
}

void SettingsFileTest::setRefusedForDamagedFile_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("exists");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("malformed") << QByteArray("<Settings><Delay>0</Delay>") << true;
    QTest::newRow("not XML") << QByteArray("Delay=0\r\n") << true;
}

// A file that does not load is left exactly as it is: nothing is written.
void SettingsFileTest::setRefusedForDamagedFile() {
    QFETCH(QByteArray, xml);
    QFETCH(bool, exists);
    if (exists)
        QVERIFY(WriteBytes(file("config.xml"), xml));
    QVERIFY(!store::SetConfigValue(Path(file("config.xml")), "Delay", "5"));
    QCOMPARE(QFileInfo::exists(file("config.xml")), exists);
    if (exists)
        QCOMPARE(ReadBytes(file("config.xml")), xml);
    QVERIFY(TemporaryFiles(dir_->path()).isEmpty());
}

void SettingsFileTest::setKeepsComments() {
    const std::string path = Path(file("config.xml"));
    QVERIFY(store::WriteDefaultSettings(path));
    QVERIFY(store::SetConfigValue(path, "XPStyle", "True"));
    const QByteArray saved = ReadBytes(file("config.xml"));
    QVERIFY(saved.startsWith("<?xml version=\"1.0\"?>"));
    QVERIFY(saved.contains("<!-- Do not change this file yourself, or else you may cause the "
                           "application to malfunction! -->"));
    for (const auto& [name, text] : kDefaultElements)
        QCOMPARE(Value(store::GetConfigValue(path, name.toStdString())),
                 name == "XPStyle" ? QString("True") : QString::fromUtf8(text));
}

// A path with accented letters is stored and read back byte for byte.
void SettingsFileTest::nonAsciiValue() {
    const std::string path = Path(file("config.xml"));
    QVERIFY(store::WriteDefaultSettings(path));
    const std::string theme = "C:\\Users\\Zo\xC3\xAB\\th\xC3\xA8mes\\\xC3\xA9t\xC3\xA9.xml";
    QVERIFY(store::SetConfigValue(path, "TrayIconThemeFile", theme));
    QCOMPARE(store::GetConfigValue(path, "TrayIconThemeFile").value_or(""), theme);
    QVERIFY(ReadBytes(file("config.xml")).contains(QByteArray::fromStdString(theme)));
    QVERIFY(store::SetConfigValue(path, "Delay", "1"));
    QCOMPARE(store::GetConfigValue(path, "TrayIconThemeFile").value_or(""), theme);
}

void SettingsFileTest::writeBackOrder_data() {
    QTest::addColumn<bool>("keep");
    QTest::addColumn<int>("initial");
    QTest::addColumn<bool>("withInitial");
    QTest::newRow("kept and positive") << true << 5 << true;
    QTest::newRow("kept and 1") << true << 1 << true;
    QTest::newRow("kept but 0") << true << 0 << false;
    QTest::newRow("kept but negative") << true << -3 << false;
    QTest::newRow("not kept") << false << 5 << false;
}

void SettingsFileTest::writeBackOrder() {
    QFETCH(bool, keep);
    QFETCH(int, initial);
    QFETCH(bool, withInitial);
    QStringList expected = {"PreventMultipleInstance",
                            "XPStyle",
                            "SysTray",
                            "CloseMeansClose",
                            "HideOnMinimize",
                            "AlwaysonTop",
                            "SafetyMechanism",
                            "HyperClick",
                            "RepeatClick",
                            "Delay",
                            "ClickIntervalinms",
                            "Coordx",
                            "Coordy",
                            "Clicks",
                            "Button",
                            "HotKey",
                            "KeepRepeatClick"};
    if (withInitial)
        expected << "InitialRepeatClicks";
    expected << "StartMinimized"
             << "Range"
             << "ClickInterval2inms";
    QStringList order;
    for (const std::string_view name : store::MainWindowWriteBackOrder(keep, initial))
        order << QString::fromUtf8(name.data(), qsizetype(name.size()));
    QCOMPARE(order, expected);
}

void SettingsFileTest::utf16RoundTrip_data() {
    QTest::addColumn<int>("encoding"); // QStringConverter::Encoding
    QTest::addColumn<QByteArray>("mark");
    QTest::newRow("UTF-16 LE") << int(QStringConverter::Utf16LE) << QByteArray("\xFF\xFE");
    QTest::newRow("UTF-16 BE") << int(QStringConverter::Utf16BE) << QByteArray("\xFE\xFF");
}

// A UTF-16 settings file stays UTF-16, with its own byte-order mark, through every save, and
// loads again after each.
void SettingsFileTest::utf16RoundTrip() {
    QFETCH(int, encoding);
    QFETCH(QByteArray, mark);
    const auto utf16 = QStringConverter::Encoding(encoding);
    QStringEncoder encode(utf16);
    const QString xml = "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<Settings>"
                        "<Delay>0</Delay><TrayIconThemeFile>th\u00E8me\u20AC.xml"
                        "</TrayIconThemeFile></Settings>";
    QVERIFY(WriteBytes(file("config.xml"), mark + QByteArray(encode(xml))));
    const std::string path = Path(file("config.xml"));
    QVERIFY(store::SetConfigValue(path, "Delay", "42"));
    QVERIFY(store::SaveSettings(path, {{"Delay", "43"}, {"Clicks", "1"}}) ==
            store::SettingsWrite::Saved);
    QVERIFY(store::SetConfigValue(path, "Delay", "44"));
    const QByteArray saved = ReadBytes(file("config.xml"));
    QVERIFY(saved.startsWith(mark));
    QStringDecoder decode(utf16);
    const QString text = decode(saved.mid(2));
    QVERIFY2(!decode.hasError() && text.contains("<Delay>44</Delay>"), qPrintable(text));
    QCOMPARE(Value(store::GetConfigValue(path, "Delay")), QString("44"));
    QCOMPARE(Value(store::GetConfigValue(path, "TrayIconThemeFile")),
             QString("th\u00E8me\u20AC.xml"));
}

void SettingsFileTest::oneSaveGivesTheBytesOfSingleSaves_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("values"); // name=text, in writing order
    const QStringList shutDown = {"PreventMultipleInstance=False",
                                  "XPStyle=True",
                                  "SysTray=False",
                                  "Delay=12",
                                  "Clicks=2.5",
                                  "HotKey=Q",
                                  "Range=2"};
    QTest::newRow("default file") << QByteArray() << shutDown;
    QTest::newRow("names in other case, twice, missing")
        << QByteArray("<?xml version=\"1.0\"?>\r\n<!-- c -->\r\n<Settings>\r\n<delay>1</delay>"
                      "<DELAY>2</DELAY><?pi x?><SYSTRAY>1</SYSTRAY></Settings>")
        << shutDown;
    QTest::newRow("a value of blanks only")
        << QByteArray("<Settings><Loop>1</Loop><Delay>5</Delay></Settings>")
        << QStringList{"Loop=  ", "Delay=6"};
    QTest::newRow("mixed content and markup")
        << QByteArray("<Settings><Loop>a<b>c</b>d</Loop><Delay> 1 </Delay></Settings>")
        << QStringList{"Delay=<&>", "Loop=x"};
    QTest::newRow("8-bit text") << QByteArray("<Settings><Loop>d\xE9j\xE0</Loop></Settings>")
                                << QStringList{"Delay=1"};
}

// The shut-down's one save leaves exactly the bytes of one SetConfigValue call per value.
void SettingsFileTest::oneSaveGivesTheBytesOfSingleSaves() {
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, values);
    const QByteArray start = xml.isEmpty() ? ExpectedDefaultFile() : xml;
    QVERIFY(WriteBytes(file("single.xml"), start));
    QVERIFY(WriteBytes(file("one.xml"), start));
    std::vector<std::string> parts;
    for (const QString& value : values)
        for (const QString& part : {value.section('=', 0, 0), value.section('=', 1)})
            parts.push_back(part.toStdString());
    store::SettingValues all;
    for (size_t i = 0; i < parts.size(); i += 2) {
        QVERIFY(store::SetConfigValue(Path(file("single.xml")), parts[i], parts[i + 1]));
        all.emplace_back(parts[i], parts[i + 1]);
    }
    QVERIFY(store::SaveSettings(Path(file("one.xml")), all) == store::SettingsWrite::Saved);
    QCOMPARE(ReadBytes(file("one.xml")), ReadBytes(file("single.xml")));
}

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "store_settings_file_test.moc"
