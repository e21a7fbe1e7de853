// The Debian package, installed with apt as a user would: /usr/bin/zorvane keeps its settings in
// the user's configuration folder, clicks, shares the hot key between two copies, shows the help
// text from the data folder and writes its settings back there at File > Exit; without a HOME it
// says so. The package is removed again at the end.
#include "harness.h"
#include "store/settings_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <unistd.h>

#include <memory>

class PackageE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void installedCopyLivesInTheUsersFolder();
    void installedCopiesShareTheHotKey();
    void withoutHomeItSaysSoAndEnds();

private:
    std::unique_ptr<QProcess> Start(const QProcessEnvironment& env);
    QProcessEnvironment UserEnvironment() const;
    QString ConfigFile(const QString& name) const { return m_config.filePath(name); }

    std::unique_ptr<e2e::XServer> m_server;
    std::unique_ptr<e2e::Recorder> m_recorder;
    QTemporaryDir m_home;
    QDir m_config;
    bool m_installed = false;
};

namespace {

constexpr const char* kProgram = "/usr/bin/zorvane";

bool Run(const QString& program, const QStringList& arguments, int timeoutMs,
         const QString& folder = {}) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DEBIAN_FRONTEND"), QStringLiteral("noninteractive"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    return process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QString Element(const QString& file, const char* name) {
    return QString::fromStdString(
        store::GetConfigValue(file.toStdString(), name).value_or("<missing>"));
}

} // namespace

void PackageE2eTest::initTestCase() {
    if (geteuid() != 0)
        QSKIP("installing a package needs root");
    QVERIFY2(Run(QStringLiteral("cpack"), {QStringLiteral("-G"), QStringLiteral("DEB")}, 120000,
                 QStringLiteral(ZORVANE_BUILD_DIR)),
             "cpack could not build the package");
    const QString package = QStringLiteral(ZORVANE_BUILD_DIR "/zorvane_2.20_amd64.deb");
    QVERIFY2(Run(QStringLiteral("apt-get"),
                 {QStringLiteral("install"), QStringLiteral("-y"), QStringLiteral("-q"),
                  QStringLiteral("--reinstall"), package},
                 300000),
             "apt could not install the package");
    m_installed = true;
    m_config = QDir(m_home.filePath(QStringLiteral(".config/zorvane")));
    // The desktop's opener, as the help text's viewer sees it: a stand-in that notes its call.
    QDir(m_home.path()).mkpath(QStringLiteral("bin"));
    QFile opener(m_home.filePath(QStringLiteral("bin/xdg-open")));
    QVERIFY(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$HOME/opened\"\n");
    opener.close();
    opener.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_server = std::make_unique<e2e::XServer>();
    QVERIFY(m_server->Start());
    m_recorder = std::make_unique<e2e::Recorder>(*m_server);
    QVERIFY(m_recorder->Start(QStringLiteral("600x768+424+0")));
}

void PackageE2eTest::cleanupTestCase() {
    if (m_installed)
        QVERIFY(Run(QStringLiteral("apt-get"),
                    {QStringLiteral("purge"), QStringLiteral("-y"), QStringLiteral("-q"),
                     QStringLiteral("zorvane")},
                    120000));
}

QProcessEnvironment PackageE2eTest::UserEnvironment() const {
    QProcessEnvironment env = m_server->Environment();
    env.insert(QStringLiteral("HOME"), m_home.path());
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    env.insert(QStringLiteral("PATH"),
               m_home.filePath(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin"));
    return env;
}

std::unique_ptr<QProcess> PackageE2eTest::Start(const QProcessEnvironment& env) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(m_home.path()); // as a desktop menu starts it
    process->start(QString::fromLatin1(kProgram), {});
    return process;
}

void PackageE2eTest::installedCopyLivesInTheUsersFolder() {
    auto program = Start(UserEnvironment());
    QVERIFY(program->waitForStarted(5000));
    // The first start makes the settings file in the user's folder and says so; with the
    // default settings the program then restarts itself once for the visual styles.
    QVERIFY(e2e::WaitUntil(
        [&] {
            return !e2e::FindWindows(*m_server, QStringLiteral("Configuration File")).isEmpty();
        },
        10000));
    QVERIFY(e2e::Keys(*m_server,
                      e2e::FindWindows(*m_server, QStringLiteral("Configuration File")).value(0),
                      {QStringLiteral("Return")}));
    QVERIFY(QFile::exists(ConfigFile(QStringLiteral("config.xml"))));
    QCOMPARE(QDir(QStringLiteral("/usr/share/zorvane")).entryList(QDir::Files),
             QStringList{QStringLiteral("Zorvane.txt")});
    QVERIFY(!QFile::exists(QStringLiteral("/usr/bin/config.xml")));

    QString window;
    QVERIFY(e2e::WaitUntil(
        [&] {
            return !(window = e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).value(0))
                        .isEmpty();
        },
        10000));
    const size_t before = m_recorder->Presses().size();
    QVERIFY(e2e::EnterClickRun(*m_server, window, 700, 300, 0, 3, false));
    QVERIFY(m_recorder->WaitForPresses(before + 3, 10000));
    QCOMPARE(m_recorder->Presses().back().x, 700);

    QVERIFY(e2e::Keys(*m_server, window, {QStringLiteral("F1")}));
    QFile opened(m_home.filePath(QStringLiteral("opened")));
    QVERIFY(e2e::WaitUntil([&] { return opened.exists(); }, 10000));
    QVERIFY(opened.open(QIODevice::ReadOnly));
    QVERIFY(opened.readAll().contains("/usr/share/zorvane/Zorvane.txt"));

    // File > Exit. The copy on screen is the one the visual styles restarted, not `program`.
    QVERIFY(e2e::Keys(*m_server, window, {QStringLiteral("F12")}));
    const QString config = ConfigFile(QStringLiteral("config.xml"));
    QVERIFY(
        e2e::WaitUntil([&] { return Element(config, "Coordx") == QStringLiteral("700"); }, 10000));
    QCOMPARE(Element(config, "Coordy"), QStringLiteral("300"));
    QVERIFY(e2e::WaitUntil(
        [&] { return e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).isEmpty(); },
        10000));
}

void PackageE2eTest::installedCopiesShareTheHotKey() {
    const std::string config = ConfigFile(QStringLiteral("config.xml")).toStdString();
    for (const auto& [name, value] :
         std::vector<std::pair<const char*, const char*>>{{"PreventMultipleInstance", "False"},
                                                          {"XPStyle", "False"},
                                                          {"RepeatClick", "1"},
                                                          {"Clicks", "1"},
                                                          {"ClickIntervalinms", "0"},
                                                          {"Coordx", "650"},
                                                          {"Coordy", "500"}})
        QVERIFY(store::SetConfigValue(config, name, value));
    auto owner = Start(UserEnvironment());
    QVERIFY(e2e::WaitUntil(
        [&] { return e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).size() == 1; },
        10000));
    auto watcher = Start(UserEnvironment());
    QVERIFY(e2e::WaitUntil(
        [&] { return e2e::FindWindows(*m_server, QStringLiteral("Zorvane 2.20")).size() == 2; },
        10000));
    // The watcher's signal file is in the user's folder, where the owner stamps it.
    QVERIFY(e2e::WaitUntil(
        [&] { return !m_config.entryList({QStringLiteral("*_HotKey.xml")}).isEmpty(); }, 5000));
    const size_t before = m_recorder->Presses().size();
    QVERIFY(
        !e2e::Xdotool(*m_server, {QStringLiteral("key"), QStringLiteral("ctrl+alt+c")}).isNull());
    QVERIFY2(m_recorder->WaitForPresses(before + 2, 10000), "both copies did not click");
    for (auto* process : {owner.get(), watcher.get()}) {
        process->terminate();
        QVERIFY(process->waitForFinished(10000));
    }
}

void PackageE2eTest::withoutHomeItSaysSoAndEnds() {
    QProcessEnvironment env = UserEnvironment();
    env.remove(QStringLiteral("HOME"));
    auto program = Start(env);
    // Said in a message too, where a display is there (started from a desktop menu, nobody
    // reads standard error).
    QString box;
    QVERIFY(e2e::WaitUntil(
        [&] {
            return !(box = e2e::FindWindows(*m_server, QStringLiteral("Configuration File Error"))
                               .value(0))
                        .isEmpty();
        },
        10000));
    QVERIFY(e2e::Keys(*m_server, box, {QStringLiteral("Return")}));
    QVERIFY(program->waitForFinished(10000));
    QCOMPARE(program->exitStatus(), QProcess::NormalExit);
    QCOMPARE(program->exitCode(), 1);
    QVERIFY(program->readAllStandardError().contains("no folder for the settings"));
}

QTEST_GUILESS_MAIN(PackageE2eTest)
#include "package_e2e_test.moc"
