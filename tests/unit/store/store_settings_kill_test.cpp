// A writer killed at any moment of a save never leaves a damaged settings file behind.
#include "store/settings_file.h"
#include "store/xml_document.h"
#include "store_test_support.h"

#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using store_test::Path;
using store_test::TemporaryFiles;

class SettingsKillTest : public QObject {
    Q_OBJECT

private slots:
    void killedWriterLeavesCompleteFile();
};

namespace {

// The names of the root's child elements, or an empty list when the file does not load.
QStringList ElementNames(const std::string& path) {
    store::XmlDocument document;
    if (!document.load(path))
        return {};
    QStringList names;
    for (const store::XmlNode& child : document.documentElement().childNodes())
        if (child.nodeType() == store::XmlNodeType::Element)
            names << QString::fromStdString(child.nodeName());
    return names;
}

} // namespace

// The writer saves in a loop; each run is killed once it has made a varied number of saves and
// after a varied pause, which puts the kill at varied points of a save. A killed writer cannot
// remove its temporary file, so one may remain; it must then be one of the writer's own
// temporary files, never anything named like the settings file or a hot-key signal file.
void SettingsKillTest::killedWriterLeavesCompleteFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString settings = dir.filePath("config.xml");
    QVERIFY(store::WriteDefaultSettings(Path(settings)));
    QStringList allNames;
    for (const store::SettingDefault& setting : store::kSettingDefaults)
        allNames << QString::fromUtf8(setting.name.data(), qsizetype(setting.name.size()));

    const int runs = 30;
    QSet<QString> delays;
    int leftBehind = 0;
    for (int run = 0; run < runs; ++run) {
        QProcess writer;
        writer.start(ZORVANE_SETTINGS_WRITER, {settings});
        QVERIFY2(writer.waitForStarted(), qPrintable(writer.errorString()));
        const int savesBeforeKill = 1 + run % 4;
        int saves = 0;
        while (saves < savesBeforeKill && writer.state() == QProcess::Running) {
            if (writer.canReadLine() || writer.waitForReadyRead(10000))
                while (writer.canReadLine()) {
                    writer.readLine();
                    ++saves;
                }
        }
        QVERIFY2(saves >= savesBeforeKill, writer.readAllStandardError().constData());
        QThread::usleep(static_cast<unsigned long>((run * 379) % 2000));
        writer.kill();
        QVERIFY(writer.waitForFinished(10000));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

        QCOMPARE(ElementNames(Path(settings)), allNames);
        const auto delay = store::GetConfigValue(Path(settings), "Delay");
        QVERIFY(delay.has_value());
        delays << QString::fromStdString(*delay);

        QStringList others = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        others.removeOne("config.xml");
        QCOMPARE(others, TemporaryFiles(dir.path()));
        for (const QString& name : others) {
            QVERIFY2(!name.contains("config") && !name.contains("_HotKey"), qPrintable(name));
            QVERIFY(QFile::remove(dir.filePath(name)));
            ++leftBehind;
        }
    }
    // The writer really changed the file between kills.
    QVERIFY(delays.size() > 1);
    qInfo("%d of %d kills left a temporary file", leftBehind, runs);
}

QTEST_APPLESS_MAIN(SettingsKillTest)
#include "store_settings_kill_test.moc"
