// The portal clients' toolkit-free rules: the restore token's file, where a click lands on the
// shared monitors, the buttons a click sends, and the session bus name of a settings folder.
#include "platform/portal/portal_rules.h"

#include <QtTest>

#include <sys/stat.h>

#include <fstream>

using namespace platform::portal;

class PortalRulesTest : public QObject {
    Q_OBJECT

private slots:
    void restoreTokenFile_data();
    void restoreTokenFile();
    void streamPoint_data();
    void streamPoint();
    void buttonChanges_data();
    void buttonChanges();
    void instanceBusName();
};

// What lies at the token's path before, the token a session's start gave ("" none, "-" no start
// yet), whether it was kept, and what the next program run reads there.
void PortalRulesTest::restoreTokenFile_data() {
    QTest::addColumn<QString>("before"); // "file:<bytes>", "fifo", "folder", "link:<target>"
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("read"); // empty: no token
    const QString uuid = QStringLiteral("8f6e2a1c-4b7d-4e11-9a3b-0c5d7e9f1a2b");
    QTest::newRow("none yet") << "" << uuid << true << uuid;
    QTest::newRow("replaced") << "file:old-token\n" << uuid << true << uuid;
    QTest::newRow("used, none given") << "file:old-token\n"
                                      << "" << true << "";
    QTest::newRow("kept one read") << "file:" + uuid + "\n"
                                   << "-" << false << uuid;
    QTest::newRow("no line feed") << "file:" + uuid << "-" << false << uuid;
    QTest::newRow("two lines") << "file:a\nb\n"
                               << "-" << false << "";
    QTest::newRow("binary") << QStringLiteral("file:ab\x01\x7f") << "-" << false << "";
    QTest::newRow("blank") << "file: \n"
                           << "-" << false << "";
    QTest::newRow("too long") << "file:" + QString(513, 'a') << "-" << false << "";
    QTest::newRow("longest") << "file:" + QString(512, 'a') << "-" << false << QString(512, 'a');
    QTest::newRow("a FIFO is not read") << "fifo"
                                        << "-" << false << "";
    QTest::newRow("a FIFO is not replaced") << "fifo" << uuid << false << "";
    QTest::newRow("a folder is not replaced") << "folder" << uuid << false << "";
    QTest::newRow("a link is replaced, not followed") << "link:elsewhere" << uuid << true << uuid;
    QTest::newRow("a token with a line break is refused") << ""
                                                          << "a\nb" << false << "";
    QTest::newRow("a token with a slash path") << ""
                                               << "../../x" << true << "../../x";
}

void PortalRulesTest::restoreTokenFile() {
    QFETCH(QString, before);
    QFETCH(QString, given);
    QFETCH(bool, kept);
    QFETCH(QString, read);
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string path = folder + "/" + std::string(kRestoreTokenFileName);
    const std::string setup = before.section(':', 1).toStdString();
    if (before.startsWith("file:"))
        std::ofstream(path, std::ios::binary) << setup;
    else if (before == "fifo")
        QCOMPARE(mkfifo(path.c_str(), 0600), 0);
    else if (before == "folder")
        QVERIFY(QDir().mkdir(QString::fromStdString(path)));
    else if (before.startsWith("link:"))
        QVERIFY(
            QFile::link(dir.filePath(QString::fromStdString(setup)), QString::fromStdString(path)));

    if (given != "-")
        QCOMPARE(KeepRestoreToken(folder, given.toStdString()), kept);
    QCOMPARE(QString::fromStdString(ReadRestoreToken(folder).value_or("")), read);
    struct stat file {};
    if (given != "-" && ::lstat(path.c_str(), &file) == 0 && S_ISREG(file.st_mode))
        QCOMPARE(file.st_mode & 0777, mode_t(0600)); // a secret, also where it replaced one
    // What the link pointed to is left alone; what is there now is a regular file.
    if (before.startsWith("link:")) {
        QVERIFY(!QFileInfo(dir.filePath("elsewhere")).exists());
        QVERIFY(!QFileInfo(QString::fromStdString(path)).isSymLink());
    }
}

void PortalRulesTest::streamPoint_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<uint>("node");
    QTest::addColumn<QPointF>("at");
    // Two monitors side by side, the right one lower and smaller.
    QTest::newRow("left monitor") << 100 << 200 << 36u << QPointF(100, 200);
    QTest::newRow("right monitor") << 1300 << 500 << 37u << QPointF(20, 200);
    QTest::newRow("first column of the right") << 1280 << 500 << 37u << QPointF(0, 200);
    QTest::newRow("left of all") << -50 << 10 << 36u << QPointF(0, 10);
    QTest::newRow("beyond the right") << 99999 << 400 << 37u << QPointF(1023, 100);
    QTest::newRow("below the left") << 640 << 5000 << 36u << QPointF(640, 1023);
    QTest::newRow("gap above the right") << 1400 << 250 << 37u << QPointF(120, 0);
    QTest::newRow("extremes") << INT32_MIN << INT32_MAX << 36u << QPointF(0, 1023);
}

void PortalRulesTest::streamPoint() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(uint, node);
    QFETCH(QPointF, at);
    const std::vector<Stream> streams{
        {35, 0, 0, 0, 0}, {36, 0, 0, 1280, 1024}, {37, 1280, 300, 1024, 768}};
    const auto point = MapToStream(streams, x, y);
    QVERIFY(point);
    QCOMPARE(point->node, node);
    QCOMPARE(QPointF(point->x, point->y), at);
    QVERIFY(!MapToStream({{35, 0, 0, 0, 0}}, x, y));
}

// mouse_event's flags as the evdev buttons the portal is told of, pressed (1) or released (0).
void PortalRulesTest::buttonChanges_data() {
    QTest::addColumn<uint>("flags");
    QTest::addColumn<QString>("changes");
    QTest::newRow("left click") << 0x0006u << "272:1 272:0";
    QTest::newRow("right press") << 0x0008u << "273:1";
    QTest::newRow("right release") << 0x0010u << "273:0";
    QTest::newRow("middle click") << 0x0060u << "274:1 274:0";
}

void PortalRulesTest::buttonChanges() {
    QFETCH(uint, flags);
    QStringList changes;
    for (const ButtonChange& change : ButtonChanges(flags))
        changes << QStringLiteral("%1:%2").arg(change.code).arg(change.pressed ? 1 : 0);
    QTEST(changes.join(' '), "changes");
}

// One name per settings folder, valid on the bus (no element may start with a digit).
void PortalRulesTest::instanceBusName() {
    const std::string home = InstanceBusName("/home/ann/.config/zorvane");
    QCOMPARE(home, InstanceBusName("/home/ann/.config/zorvane"));
    QVERIFY(home != InstanceBusName("/opt/zorvane"));
    QVERIFY(QRegularExpression("^org\\.zorvane\\.Zorvane\\.i[0-9a-f]{16}$")
                .match(QString::fromStdString(home))
                .hasMatch());
}

QTEST_APPLESS_MAIN(PortalRulesTest)
#include "portal_rules_test.moc"
