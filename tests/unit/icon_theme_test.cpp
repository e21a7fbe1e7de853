// The icon themes' rules: the frame interval, reading a theme, where stored paths lead, picture
// slots and frame stepping, the theme submenu, and real files (the shipped default theme too).
#include "store/file_system.h"
#include "store/xml_document.h"
#include "tray/icon_theme.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class IconThemeTest : public QObject {
    Q_OBJECT

private slots:
    void interval_data();
    void interval();
    void readTheme_data();
    void readTheme();
    void stepping_data();
    void stepping();
    void themeItems();
    void filesOnDisk();
};

namespace {

// a.png and b.png exist in the current directory (b.png in the data folder too), d.png only in
// the data folder.
bool FakeExists(const std::string& path) {
    return path == "a.png" || path == "b.png" || path == "/data/b.png" || path == "/data/d.png";
}

QString Joined(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list.join(',');
}

} // namespace

void IconThemeTest::interval_data() {
    QTest::addColumn<QString>("text"); // a null text: no attribute
    QTest::addColumn<int>("expected");
    const std::pair<const char*, int> rows[] = {{nullptr, 300}, {" 120.5 ", 120}, {"&H64", 100},
                                                {"0", 0},       {"49", 50},       {"65535", 65535},
                                                {"65536", 300}, {"-5", 300},      {"100ms", 300}};
    for (const auto& [text, expected] : rows)
        QTest::newRow(text ? text : "missing") << QString(text) << expected;
}

void IconThemeTest::interval() {
    QFETCH(QString, text);
    const auto attribute = text.isNull() ? std::nullopt : std::optional(text.toStdString());
    QTEST(tray::NextInterval(300, attribute), "expected");
}

void IconThemeTest::readTheme_data() {
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("idle"); // frames, then the interval
    QTest::addColumn<QString>("running");
    QTest::newRow("names in any case, others ignored, attribute name exact")
        << "<T><Idle FrameInterval='200'><f>a.png</f></Idle><idles><f>b.png</f></idles>"
           "<running frameinterval='80'><g>b.png</g></running><!-- IDLE --></T>"
        << "a.png 200"
        << "b.png 1000";
    QTest::newRow("paths: missing skipped, blanks dropped, current directory, then data folder")
        << "<T><IDLE><f>gone</f><f>\n b.png \n</f><f>.\\d.png</f><f/><f>/data\\d.png</f></IDLE></T>"
        << "b.png,/data/d.png,/data/d.png 1000"
        << " 1000";
    QTest::newRow("a section twice: frames added, last valid interval wins")
        << "<T><IDLE FrameInterval='300'><f>a.png</f></IDLE><IDLE FrameInterval='400'>"
           "<f>b.png</f></IDLE><IDLE FrameInterval='x'/></T>"
        << "a.png,b.png 400"
        << " 1000";
    QTest::newRow("comments and instructions are not frames, texts are")
        << "<T><RUNNING><!--a.png--><?a a.png?>b.png</RUNNING></T>"
        << " 1000"
        << "b.png 1000";
    const QString sixty = QString("<f>a.png</f>").repeated(60);
    QTest::newRow("100 frames, 1000 nodes at most")
        << "<T><IDLE>" + sixty + "</IDLE><IDLE>" + sixty + "</IDLE><RUNNING>" +
               QString("<f>gone</f>").repeated(1000) + "<f>a.png</f></RUNNING></T>"
        << QStringList(100, "a.png").join(',') + " 1000"
        << " 1000";
}

void IconThemeTest::readTheme() {
    QFETCH(QString, xml);
    store::XmlDocument document;
    QVERIFY(document.loadXml(xml.toStdString()));
    tray::IconTheme theme;
    theme.idle.frames = {"old.png"};
    tray::ReadIconTheme(document, "/data", FakeExists, theme);
    QTEST(Joined(theme.idle.frames) + " " + QString::number(theme.idle.interval), "idle");
    QTEST(Joined(theme.running.frames) + " " + QString::number(theme.running.interval), "running");
}

// Each row: whether each frame's picture loads | each slot's frame or - | the slot shown by six
// ticks after a reset, starting from an index left over from a longer list.
void IconThemeTest::stepping_data() {
    QTest::addColumn<QString>("row");
    QTest::newRow("A, B, C show as B, C, A") << "111 | 012 | 120120";
    QTest::newRow("a failed frame's slot is reused") << "101 | 02 | 101010";
    QTest::newRow("a failed last frame leaves a blank") << "110 | 01- | 120120";
    QTest::newRow("nothing loads") << "00 | - | 000000";
}

void IconThemeTest::stepping() {
    QFETCH(QString, row);
    const QStringList parts = row.split(" | ");
    std::vector<bool> loads;
    for (QChar c : parts[0])
        loads.push_back(c == '1');
    const auto pictureSlots = tray::ArrangeSlots(loads);
    QString slotText, shown;
    for (const auto& slot : pictureSlots)
        slotText += slot ? QString::number(*slot) : "-";
    QCOMPARE(slotText, parts[1]);
    for (std::size_t tick = 0, index = 7; tick < 6; ++tick) {
        index = tray::NextFrameIndex(index, pictureSlots.size(), tick == 0);
        shown += QString::number(index);
    }
    QCOMPARE(shown, parts[2]);
    QCOMPARE(tray::NextFrameIndex(7, 3, false), std::size_t{0});
}

// In the folder's order, any extension, the last "default" file as item 0, at most 50 items.
void IconThemeTest::themeItems() {
    std::vector<store::FolderFile> files{
        {"x_default.xml", "/x_d"}, {"Default.xml", "/D"}, {"b.xml", "/b"}, {"A.xml", "/A"}};
    for (int i = 0; i < 60; ++i)
        files.push_back({"t" + std::to_string(i), "/t"});
    files.push_back({"default_icontheme.xml", "/d"});
    const std::vector<tray::ThemeItem> items = tray::ThemeItems(files);
    QCOMPARE(items.size(), tray::kMostThemeItems);
    // Sorted by name, letter case aside: the last name holding "default" is item 0.
    QCOMPARE(items[0], (tray::ThemeItem{"x_default.xml", "/x_d"}));
    QCOMPARE(items[1], (tray::ThemeItem{"A.xml", "/A"}));
    QCOMPARE(items[2], (tray::ThemeItem{"b.xml", "/b"}));
    QCOMPARE(items[3], (tray::ThemeItem{"Default.xml", "/D"}));
    QCOMPARE(items.back(), (tray::ThemeItem{"t5", "/t"}));
    QCOMPARE(tray::ThemeItems({}), (std::vector<tray::ThemeItem>{{"default", ""}}));
}

// A user's themes on disk, and the theme the program ships found through the data folder.
void IconThemeTest::filesOnDisk() {
    QTemporaryDir data;
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(data.filePath(name)).path());
        QFile file(data.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QVERIFY(write("IconThemes/good.xml", "<t><IDLE FrameInterval='150'><f>IconThemes/f/1.png</f>"
                                         "</IDLE></t>"));
    QVERIFY(write("IconThemes/f/1.png", "picture") && write("IconThemes/bad.xml", "<t><IDLE>"));
    QVERIFY(write("IconThemes/huge.xml", "<t>" + QByteArray(tray::kMostThemeBytes, ' ') + "</t>"));
    const std::string folder = data.path().toStdString();
    tray::IconTheme theme;
    QCOMPARE(tray::LoadIconTheme("IconThemes\\good.xml", folder, theme), tray::ThemeLoad::Loaded);
    QCOMPARE(Joined(theme.idle.frames), data.filePath("IconThemes/f/1.png"));
    QCOMPARE(tray::ReadFrameBytes(theme.idle.frames[0]), std::optional<std::string>("picture"));
    QCOMPARE(tray::ReadFrameBytes(folder + "/IconThemes/huge.xml"), std::nullopt);
    for (const char* name : {"IconThemes/bad.xml", "IconThemes/huge.xml", "IconThemes/f"}) {
        theme.idle.frames = {"old"};
        QCOMPARE(tray::LoadIconTheme(name, folder, theme), QString(name).endsWith(".xml")
                                                               ? tray::ThemeLoad::Damaged
                                                               : tray::ThemeLoad::Missing);
        QVERIFY(theme.idle.frames.empty() && theme.idle.interval == 150);
    }
    QCOMPARE(tray::ListThemes(folder).size(), std::size_t{4}); // "default" and three files
    QCOMPARE(tray::ListThemes(folder + "/none").size(), std::size_t{1});

    QCOMPARE(
        tray::LoadIconTheme(".\\IconThemes\\default_icontheme.xml", ZORVANE_RESOURCES_DIR, theme),
        tray::ThemeLoad::Loaded);
    QVERIFY(theme.idle.frames.size() >= 2 && theme.running.frames.size() >= 2);
    QVERIFY(theme.running.interval < theme.idle.interval);
    for (const auto& frames : {theme.idle.frames, theme.running.frames})
        for (const std::string& frame : frames)
            QVERIFY(tray::ReadFrameBytes(frame).value_or("").starts_with("\x89PNG"));
}

QTEST_GUILESS_MAIN(IconThemeTest)
#include "icon_theme_test.moc"
