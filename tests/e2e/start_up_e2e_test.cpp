// The real program's start-up and shut-down in a folder of its own: the settings file created
// or recovered, "run" with the saved settings (also through the visual-styles restart), one copy
// only, File > Exit writing the settings back, and a start where no display server answers.
#include "default_settings_file.h"
#include "harness.h"
#include "store/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

class StartUpE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void missingSettingsFileIsCreatedOnce();
    void damagedSettingsEndTheProgram_data();
    void damagedSettingsEndTheProgram();
    void copiesStartedAtOnceLeaveNoManifest();
    void runClicksWithTheSavedSettings_data();
    void runClicksWithTheSavedSettings();
    void secondCopyEndsAtOnce();
    void exitWritesTheSettingsBack_data();
    void exitWritesTheSettingsBack();
    void noDisplayIsSaidPlainly();
    void settingsFolderOthersMayChange_data();
    void settingsFolderOthersMayChange();

private:
    QString WaitForBox(const QString& title);
    QStringList Manifests(const e2e::Program& program) const;

    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<e2e::Recorder> m_recorder;
};

void StartUpE2eTest::initTestCase() {
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY(m_server->Start());
    m_recorder = std::make_unique<e2e::Recorder>(*m_server);
    QVERIFY(m_recorder->Start(QStringLiteral("600x768+424+0")));
}

QString StartUpE2eTest::WaitForBox(const QString& title) {
    QString box;
    e2e::WaitUntil(
        [&] {
            box = e2e::FindWindows(*m_server, title).value(0);
            return !box.isEmpty();
        },
        15000);
    return box;
}

QStringList StartUpE2eTest::Manifests(const e2e::Program& program) const {
    return QDir(program.Folder())
        .entryList({QStringLiteral("*.manifest")}, QDir::Files | QDir::Hidden);
}

void StartUpE2eTest::missingSettingsFileIsCreatedOnce() {
    e2e::Program program(*m_server);
    QVERIFY(program.Start());
    const QString box = WaitForBox(QStringLiteral("Configuration File"));
    QVERIFY2(!box.isEmpty(), "no message about the new settings file");
    QCOMPARE(program.ReadFile(QStringLiteral("config.xml")), test_support::kDefaultSettingsFile);
    QVERIFY(e2e::Keys(*m_server, box, {QStringLiteral("Return")}));
    // The defaults turn visual styles on: the program restarts once, and the new copy says
    // nothing more.
    QVERIFY(!program.WaitForWindow().isEmpty());
    QTest::qWait(500);
    QVERIFY(e2e::FindWindows(*m_server, QStringLiteral("Configuration File")).isEmpty());
    QCOMPARE(program.Processes().size(), size_t{1});
    QVERIFY(Manifests(program).isEmpty());
    program.Kill();
}

void StartUpE2eTest::damagedSettingsEndTheProgram_data() {
    QTest::addColumn<bool>("fifo"); // a FIFO stands in the settings file's place
    QTest::newRow("damaged: defaults written, damaged file kept") << false;
    QTest::newRow("FIFO: cannot be read, no hang, nothing written") << true;
}

void StartUpE2eTest::damagedSettingsEndTheProgram() {
    QFETCH(bool, fifo);
    e2e::Program program(*m_server);
    QVERIFY(program.WriteSettings({{"SysTray", "yes"}}));
    const QByteArray damaged = program.ReadFile(QStringLiteral("config.xml"));
    const QString settings = program.FilePath(QStringLiteral("config.xml"));
    if (fifo) {
        QVERIFY(QFile::remove(settings));
        QCOMPARE(::mkfifo(settings.toLocal8Bit().constData(), 0644), 0);
    }
    QVERIFY(program.Start());
    const QString box = WaitForBox(QStringLiteral("Configuration File Error"));
    QVERIFY2(!box.isEmpty(), "no message about the settings file");
    QVERIFY(e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).isEmpty());
    QVERIFY(e2e::Keys(*m_server, box, {QStringLiteral("Return")}));
    QVERIFY(program.WaitForAllExited(10000));
    QVERIFY(e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).isEmpty());
    if (fifo) {
        struct stat info {};
        QVERIFY(::stat(settings.toLocal8Bit().constData(), &info) == 0 && S_ISFIFO(info.st_mode));
        QVERIFY(!QFileInfo::exists(settings + ".bak"));
        return;
    }
    QCOMPARE(program.ReadFile(QStringLiteral("config.xml")), test_support::kDefaultSettingsFile);
    QCOMPARE(program.ReadFile(QStringLiteral("config.xml.bak")), damaged);
}

// Three copies started at the same moment, with visual styles and one copy only: however their
// restarts interleave, no manifest is left once they have settled.
void StartUpE2eTest::copiesStartedAtOnceLeaveNoManifest() {
    for (int round = 0; round < 4; ++round) {
        e2e::Program program(*m_server);
        QVERIFY(program.WriteSettings({{"PreventMultipleInstance", "True"}, {"XPStyle", "True"}}));
        QVERIFY(program.Start());
        std::vector<std::unique_ptr<QProcess>> others;
        for (int copy = 0; copy < 2; ++copy) {
            others.push_back(std::make_unique<QProcess>());
            QProcessEnvironment env = m_server->Environment();
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), program.Folder());
            others.back()->setProcessEnvironment(env);
            // Not a pipe: a restarted copy writing to a pipe whose reader has gone would die.
            others.back()->setStandardOutputFile(QProcess::nullDevice());
            others.back()->setStandardErrorFile(QProcess::nullDevice());
            others.back()->start(program.FilePath(QStringLiteral("zorvane")), {});
        }
        // Settled: every copy still running shows its window.
        const auto settled = [&] {
            const size_t running = program.Processes().size();
            return running > 0 &&
                   size_t(e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).size()) ==
                       running;
        };
        QVERIFY(e2e::WaitUntil(settled, 20000));
        QTest::qWait(300);
        QVERIFY(settled());
        QCOMPARE(Manifests(program), QStringList());
        program.Kill();
        for (auto& other : others)
            other->waitForFinished(3000);
        // The next round counts only its own windows.
        QVERIFY(e2e::WaitUntil(
            [&] { return e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).isEmpty(); },
            10000));
    }
}

void StartUpE2eTest::runClicksWithTheSavedSettings_data() {
    QTest::addColumn<QString>("visualStyles");
    QTest::newRow("through the visual-styles restart") << "True";
    QTest::newRow("without visual styles") << "False";
}

void StartUpE2eTest::runClicksWithTheSavedSettings() {
    QFETCH(QString, visualStyles);
    e2e::Program program(*m_server);
    QVERIFY(program.WriteSettings({{"XPStyle", visualStyles.toStdString()},
                                   {"Coordx", "812"},
                                   {"Coordy", "333"},
                                   {"ClickIntervalinms", "300"},
                                   {"RepeatClick", "1"},
                                   {"Clicks", "3"},
                                   {"Button", "2"}}));
    const size_t before = m_recorder->Presses().size();
    QVERIFY(program.Start({QStringLiteral("RUN")}));
    QVERIFY(m_recorder->WaitForPresses(before + 3, 15000));
    QTest::qWait(700);
    const auto presses = m_recorder->Presses();
    QCOMPARE(presses.size(), before + 3);
    for (size_t i = before; i < presses.size(); ++i) {
        QCOMPARE(presses[i].x, 812);
        QCOMPARE(presses[i].y, 333);
        QCOMPARE(presses[i].button, 3);
    }
    QVERIFY(Manifests(program).isEmpty());
    QCOMPARE(program.Processes().size(), size_t{1});
    program.Kill();
}

void StartUpE2eTest::secondCopyEndsAtOnce() {
    e2e::Program first(*m_server);
    QVERIFY(first.WriteSettings({{"XPStyle", "False"}}));
    QVERIFY(first.Start());
    QVERIFY(!first.WaitForWindow().isEmpty());
    const QByteArray settings = first.ReadFile(QStringLiteral("config.xml"));

    // A second start from the same folder.
    QProcess second;
    second.setProcessEnvironment(m_server->Environment());
    second.start(first.FilePath(QStringLiteral("zorvane")), {});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).size(), qsizetype(1));
    QCOMPARE(first.ReadFile(QStringLiteral("config.xml")), settings);
    QCOMPARE(first.Processes().size(), size_t{1});
    first.Kill();
}

void StartUpE2eTest::exitWritesTheSettingsBack_data() {
    QTest::addColumn<bool>("terminated");
    QTest::addColumn<QString>("box"); // open at the end: "run" refused by the safety mechanism
    QTest::newRow("File > Exit") << false << "";
    QTest::newRow("the session ends (SIGTERM)") << true << "";
    QTest::newRow("SIGTERM with a box of the start open") << true << "Safety Mechanism triggered!";
}

void StartUpE2eTest::exitWritesTheSettingsBack() {
    QFETCH(bool, terminated);
    QFETCH(QString, box);
    e2e::Program program(*m_server);
    QVERIFY(
        program.WriteSettings({{"XPStyle", "0"}, {"Coordx", "5"}, {"ClickIntervalinms", "500"}}));
    QVERIFY(program.Start(box.isEmpty() ? QStringList() : QStringList{"run"}));
    const QString window = box.isEmpty() ? program.WaitForWindow() : WaitForBox(box);
    QVERIFY(!window.isEmpty());
    if (box.isEmpty()) {
        QVERIFY(e2e::Keys(*m_server, window, {QStringLiteral("ctrl+a")}));
        QVERIFY(e2e::Type(*m_server, window, QStringLiteral("77abc")));
    }
    if (terminated)
        QCOMPARE(::kill(pid_t(program.Processes().at(0)), SIGTERM), 0);
    else
        QVERIFY(e2e::Keys(*m_server, window, {QStringLiteral("F12")}));
    QVERIFY(program.WaitForAllExited(10000));
    const std::string file = store::SettingsPath(program.Folder().toStdString());
    QCOMPARE(store::GetConfigValue(file, "Coordx").value_or(""), box.isEmpty() ? "77" : "5");
    QCOMPARE(store::GetConfigValue(file, "XPStyle").value_or(""), std::string("False"));
    QCOMPARE(store::GetConfigValue(file, "HideOnMinimize").value_or(""), std::string("True"));
}

// A Wayland display that is not there, and no X display: said on standard error, status 1,
// where the toolkit would abort.
void StartUpE2eTest::noDisplayIsSaidPlainly() {
    e2e::Program program(*m_server);
    QVERIFY(program.WriteSettings({}) && program.Install());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"})
        env.remove(QString::fromLatin1(variable));
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("zorvane-nowhere"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), program.Folder());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program.FilePath(QStringLiteral("zorvane")));
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    const QByteArray said = process.readAllStandardError();
    QVERIFY2(said.contains("no display could be reached: WAYLAND_DISPLAY is \"zorvane-nowhere\""),
             said.constData());
}

void StartUpE2eTest::settingsFolderOthersMayChange_data() {
    QTest::addColumn<bool>("installed");
    QTest::newRow("installed: refused, said, status 1") << true;
    QTest::newRow("portable: runs") << false;
}

// A settings folder its group may write in: an installed copy (<prefix>/bin beside
// <prefix>/share/zorvane) refuses it; a portable copy keeps its files beside itself and runs.
void StartUpE2eTest::settingsFolderOthersMayChange() {
    QFETCH(bool, installed);
    e2e::Program program(*m_server);
    QVERIFY(program.WriteSettings({{"XPStyle", "False"}}) && program.Install());
    QString exe = program.FilePath(QStringLiteral("zorvane"));
    QString settings = program.Folder();
    QProcessEnvironment env = m_server->Environment();
    if (installed) {
        const QDir folder(program.Folder());
        settings = folder.filePath(QStringLiteral("config/zorvane"));
        QVERIFY(folder.mkpath(QStringLiteral("p/bin")) &&
                folder.mkpath(QStringLiteral("p/share/zorvane")) && folder.mkpath(settings));
        QVERIFY(QFile::rename(exe, folder.filePath(QStringLiteral("p/bin/zorvane"))));
        exe = folder.filePath(QStringLiteral("p/bin/zorvane"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    }
    QVERIFY(QFile::setPermissions(settings, QFile::permissions(settings) | QFile::WriteGroup));
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(exe);
    if (!installed) {
        QVERIFY(!program.WaitForWindow().isEmpty());
        return;
    }
    const QString box = WaitForBox(QStringLiteral("Configuration File Error"));
    QVERIFY2(!box.isEmpty(), "the refusal was not shown");
    QVERIFY(e2e::Keys(*m_server, box, {QStringLiteral("Return")}));
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardError().contains(settings.toUtf8()));
    QVERIFY(QDir(settings).isEmpty());
}

QTEST_GUILESS_MAIN(StartUpE2eTest)
#include "start_up_e2e_test.moc"
