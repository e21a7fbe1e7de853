// The icon themes' rules: the frame interval, reading a theme document, where stored paths lead,
// the picture slots and frame stepping, the theme submenu's items, and loading real files (the
// shipped default theme among them).
#include "store/file_system.h"
#include "store/xml_document.h"
#include "tray/icon_theme.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <set>

class IconThemeTest : public QObject {
    Q_OBJECT

private slots:
    void frameInterval_data();
    void frameInterval();
    void readTheme_data();
    void readTheme();
    void resolvePath_data();
    void resolvePath();
    void slotsAndStepping_data();
    void slotsAndStepping();
    void themeItems_data();
    void themeItems();
    void loadFromDisk();
    void shippedDefaultTheme();
};

namespace {

tray::ExistsCheck ExistingOnly(const QStringList& paths) {
    std::set<std::string> set;
    for (const QString& path : paths)
        set.insert(path.toStdString());
    return [set](const std::string& path) { return set.count(path) > 0; };
}

QStringList Texts(const std::vector<std::string>& texts) {
    QStringList list;
    for (const std::string& text : texts)
        list << QString::fromStdString(text);
    return list;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

void IconThemeTest::frameInterval_data() {
    QTest::addColumn<int>("previous");
    QTest::addColumn<QString>("text"); // a null text: no attribute
    QTest::addColumn<int>("expected");
    QTest::newRow("missing keeps") << 700 << QString() << 700;
    QTest::newRow("plain") << 1000 << "250" << 250;
    QTest::newRow("blanks, rounding half to even") << 1000 << " 120.5 " << 120;
    QTest::newRow("hexadecimal") << 1000 << "&H64" << 100;
    QTest::newRow("0 stands still") << 1000 << "0" << 0;
    QTest::newRow("1 raised") << 1000 << "1" << 50;
    QTest::newRow("49 raised") << 1000 << "49" << 50;
    QTest::newRow("50") << 1000 << "50" << 50;
    QTest::newRow("longest") << 1000 << "65535" << 65535;
    QTest::newRow("over the longest keeps") << 300 << "65536" << 300;
    QTest::newRow("enormous keeps") << 300 << "1e300" << 300;
    QTest::newRow("negative keeps") << 300 << "-5" << 300;
    QTest::newRow("junk keeps") << 300 << "fast" << 300;
    QTest::newRow("number then junk keeps") << 300 << "100ms" << 300;
    QTest::newRow("empty keeps") << 300 << "" << 300;
}

void IconThemeTest::frameInterval() {
    QFETCH(int, previous);
    QFETCH(QString, text);
    QFETCH(int, expected);
    const auto attribute = text.isNull() ? std::nullopt : std::optional(text.toStdString());
    QCOMPARE(tray::NextInterval(previous, attribute), expected);
}

// Files a.png, b.png, c.png exist in the current directory, d.png only in the data folder /data.
void IconThemeTest::readTheme_data() {
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QStringList>("idle");
    QTest::addColumn<int>("idleInterval");
    QTest::addColumn<QStringList>("running");
    QTest::addColumn<int>("runningInterval");
    QTest::newRow("both sections")
        << "<T><IDLE FrameInterval='200'><f>a.png</f><f>b.png</f></IDLE>"
           "<RUNNING FrameInterval='80'><x>c.png</x></RUNNING></T>"
        << QStringList{"a.png", "b.png"} << 200 << QStringList{"c.png"} << 80;
    QTest::newRow("names in any case, others ignored")
        << "<T><Idle><f>a.png</f></Idle><idles><f>b.png</f></idles><running><g>c.png</g>"
           "</running><!-- IDLE --></T>"
        << QStringList{"a.png"} << 1000 << QStringList{"c.png"} << 1000;
    QTest::newRow("missing skipped, blanks dropped, data folder, either separator")
        << "<T><IDLE><f>gone.png</f><f>\n  a.png  \n</f><f>.\\d.png</f><f></f></IDLE></T>"
        << QStringList{"a.png", "/data/d.png"} << 1000 << QStringList{} << 1000;
    QTest::newRow("a section twice: frames added, last valid interval wins")
        << "<T><IDLE FrameInterval='300'><f>a.png</f></IDLE><RUNNING FrameInterval='90'/>"
           "<IDLE FrameInterval='400'><f>b.png</f></IDLE><IDLE FrameInterval='x'/></T>"
        << QStringList{"a.png", "b.png"} << 400 << QStringList{} << 90;
    QTest::newRow("comments and instructions are not frames, text nodes are")
        << "<T><IDLE><!--a.png--><?a b.png?>c.png<f>a.png</f></IDLE></T>"
        << QStringList{"c.png", "a.png"} << 1000 << QStringList{} << 1000;
    QTest::newRow("the interval name is exact")
        << "<T><IDLE frameinterval='100'/></T>" << QStringList{} << 1000 << QStringList{} << 1000;
    const QString hundred = QString("<f>a.png</f>").repeated(60);
    QTest::newRow("at most 100 frames over both occurrences")
        << "<T><IDLE>" + hundred + "</IDLE><IDLE>" + hundred + "</IDLE></T>"
        << QStringList(100, "a.png") << 1000 << QStringList{} << 1000;
    QTest::newRow("at most 1000 nodes looked at")
        << "<T><RUNNING>" + QString("<f>gone</f>").repeated(1000) + "<f>a.png</f></RUNNING></T>"
        << QStringList{} << 1000 << QStringList{} << 1000;
}

void IconThemeTest::readTheme() {
    QFETCH(QString, xml);
    store::XmlDocument document;
    QVERIFY(document.loadXml(xml.toStdString()));
    tray::IconTheme theme;
    theme.idle.frames = {"old.png"};
    tray::ReadIconTheme(document, "/data", ExistingOnly({"a.png", "b.png", "c.png", "/data/d.png"}),
                        theme);
    QTEST(Texts(theme.idle.frames), "idle");
    QTEST(theme.idle.interval, "idleInterval");
    QTEST(Texts(theme.running.frames), "running");
    QTEST(theme.running.interval, "runningInterval");
}

void IconThemeTest::resolvePath_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");
    const QString stored = ".\\IconThemes\\default_icontheme.xml";
    QTest::newRow("current directory first")
        << stored << QStringList{"./IconThemes/default_icontheme.xml", "/data/IconThemes/d.xml"}
        << "./IconThemes/default_icontheme.xml";
    QTest::newRow("then the data folder")
        << stored << QStringList{"/data/IconThemes/default_icontheme.xml"}
        << "/data/IconThemes/default_icontheme.xml";
    QTest::newRow("nowhere: as from the current directory")
        << stored << QStringList{} << "./IconThemes/default_icontheme.xml";
    QTest::newRow("no leading dot")
        << "IconThemes/t.xml" << QStringList{"/data/IconThemes/t.xml"} << "/data/IconThemes/t.xml";
    QTest::newRow("absolute stays")
        << "/themes\\t.xml" << QStringList{"/data/themes/t.xml"} << "/themes/t.xml";
    QTest::newRow("empty stays empty") << "" << QStringList{"/data"} << "";
}

void IconThemeTest::resolvePath() {
    QFETCH(QString, stored);
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);
    const std::string path =
        tray::ResolvePath(stored.toStdString(), "/data", ExistingOnly(existing));
    QCOMPARE(QString::fromStdString(path), expected);
}

// "loaded" tells which frames' pictures load (1) or not (0); slots lists each slot's frame or -;
// "shown" is the slot of six ticks after a reset.
void IconThemeTest::slotsAndStepping_data() {
    QTest::addColumn<QString>("loaded");
    QTest::addColumn<QString>("slots");
    QTest::addColumn<QString>("shown");
    QTest::newRow("no frames") << ""
                               << "-"
                               << "000000";
    QTest::newRow("one frame") << "1"
                               << "0"
                               << "000000";
    QTest::newRow("A, B, C show as B, C, A") << "111"
                                             << "012"
                                             << "120120";
    QTest::newRow("a failed frame's slot is reused") << "101"
                                                     << "02"
                                                     << "101010";
    QTest::newRow("a failed last frame leaves a blank") << "110"
                                                        << "01-"
                                                        << "120120";
    QTest::newRow("nothing loads") << "00"
                                   << "-"
                                   << "000000";
}

void IconThemeTest::slotsAndStepping() {
    QFETCH(QString, loaded);
    std::vector<bool> loads;
    for (QChar c : loaded)
        loads.push_back(c == '1');
    const auto pictureSlots = tray::ArrangeSlots(loads);
    QString slotText;
    for (const auto& slot : pictureSlots)
        slotText += slot ? QString::number(*slot) : "-";
    QTEST(slotText, "slots");
    QString shown;
    std::size_t index = 7; // left over from a longer list
    for (int tick = 0; tick < 6; ++tick) {
        index = tray::NextFrameIndex(index, pictureSlots.size(), tick == 0);
        shown += QString::number(index);
    }
    QTEST(shown, "shown");
    QCOMPARE(tray::NextFrameIndex(7, 3, false), std::size_t{0});
}

void IconThemeTest::themeItems_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("none") << QStringList{} << QStringList{"default"};
    QTest::newRow("in the order given, any extension")
        << QStringList{"b.xml", "a.txt"} << QStringList{"default", "b.xml", "a.txt"};
    QTest::newRow("the last default is item 0")
        << QStringList{"x_default.xml", "c.xml", "default_icontheme.xml", "Default.xml"}
        << QStringList{"default_icontheme.xml", "c.xml", "Default.xml"};
    QStringList many, fifty{"default"};
    for (int i = 0; i < 60; ++i)
        many << QString("t%1.xml").arg(i);
    fifty << many.mid(0, 49);
    QTest::newRow("at most 50 items")
        << many + QStringList{"my default.xml"} << QStringList{"my default.xml"} + fifty.mid(1);
}

void IconThemeTest::themeItems() {
    QFETCH(QStringList, names);
    std::vector<store::FolderFile> files;
    for (const QString& name : names)
        files.push_back({name.toStdString(), "/t/" + name.toStdString()});
    QStringList captions;
    for (const tray::ThemeItem& item : tray::ThemeItems(files)) {
        captions << QString::fromStdString(item.caption);
        QCOMPARE(item.path, item.caption == "default" ? "" : "/t/" + item.caption);
    }
    QTEST(captions, "captions");
}

// A user's themes on disk: the cases the tray meets, against the real file system.
void IconThemeTest::loadFromDisk() {
    QTemporaryDir data;
    QVERIFY(data.isValid());
    const std::string dataFolder = data.path().toStdString();
    QVERIFY(WriteFile(data.filePath("IconThemes/good.xml"),
                      "<t><IDLE FrameInterval='150'><f>.\\IconThemes\\f\\1.png</f></IDLE></t>"));
    QVERIFY(WriteFile(data.filePath("IconThemes/f/1.png"), "picture"));
    QVERIFY(WriteFile(data.filePath("IconThemes/damaged.xml"), "<t><IDLE>"));
    QVERIFY(WriteFile(data.filePath("IconThemes/huge.xml"),
                      "<t>" + QByteArray(tray::kMostThemeBytes, ' ') + "</t>"));
    QVERIFY(WriteFile(data.filePath("big.png"), QByteArray(tray::kMostFrameBytes + 1, 'x')));

    tray::IconTheme theme;
    QCOMPARE(tray::LoadIconTheme("IconThemes\\good.xml", dataFolder, theme),
             tray::ThemeLoad::Loaded);
    QCOMPARE(Texts(theme.idle.frames), QStringList{data.filePath("IconThemes/f/1.png")});
    QCOMPARE(tray::ReadFrameBytes(theme.idle.frames[0]), std::optional<std::string>("picture"));
    QCOMPARE(tray::ReadFrameBytes(data.filePath("big.png").toStdString()), std::nullopt);
    for (const char* name : {"IconThemes/damaged.xml", "IconThemes/huge.xml", "IconThemes/f"}) {
        theme.idle.frames = {"old"};
        const auto expected =
            QString(name).endsWith(".xml") ? tray::ThemeLoad::Damaged : tray::ThemeLoad::Missing;
        QCOMPARE(tray::LoadIconTheme(name, dataFolder, theme), expected);
        QVERIFY(theme.idle.frames.empty());
        QCOMPARE(theme.idle.interval, 150);
    }
    QStringList captions;
    for (const tray::ThemeItem& item : tray::ListThemes(dataFolder))
        captions << QString::fromStdString(item.caption);
    captions.sort();
    QCOMPARE(captions, (QStringList{"damaged.xml", "default", "good.xml", "huge.xml"}));
    QCOMPARE(tray::ListThemes(dataFolder + "/none").size(), std::size_t{1});
}

// The theme the program ships, found from any current directory through the data folder.
void IconThemeTest::shippedDefaultTheme() {
    tray::IconTheme theme;
    QCOMPARE(
        tray::LoadIconTheme(".\\IconThemes\\default_icontheme.xml", ZORVANE_RESOURCES_DIR, theme),
        tray::ThemeLoad::Loaded);
    QVERIFY(theme.idle.frames.size() >= 2);
    QVERIFY(theme.running.frames.size() >= 2);
    QVERIFY(theme.running.interval < theme.idle.interval);
    for (const auto& frames : {theme.idle.frames, theme.running.frames})
        for (const std::string& frame : frames)
            QVERIFY(tray::ReadFrameBytes(frame).value_or("").starts_with("\x89PNG"));
}

QTEST_GUILESS_MAIN(IconThemeTest)
#include "icon_theme_test.moc"
