// The command-line words, the caption, and the manifest's path and text.
#include "shell/app_info.h"
#include "shell/command_line.h"
#include "shell/folders.h"
#include "shell/manifest.h"

#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <unistd.h>

class ShellRulesTest : public QObject {
    Q_OBJECT

private slots:
    void commandLineWords_data();
    void commandLineWords();
    void commandLineText();
    void captions();
    void manifestPath_data();
    void manifestPath();
    void manifestText();
    void manifestPlaceholdersAreReplacedEverywhere();
    void informationAnswer_data();
    void informationAnswer();
    void folders_data();
    void folders();
    void installedFolderOnDisk();
};

void ShellRulesTest::commandLineWords_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("run");
    QTest::addColumn<bool>("events");
    QTest::addColumn<bool>("terminate");
    QTest::newRow("empty") << "" << false << false << false;
    QTest::newRow("run") << "run" << true << false << false;
    QTest::newRow("capitals") << "RUN" << true << false << false;
    QTest::newRow("inside another word") << "prune" << true << false << false;
    QTest::newRow("events counts as event") << "events" << false << true << false;
    QTest::newRow("load") << "LoAd" << false << true << false;
    QTest::newRow("all, no separators") << "eventrunterminate" << true << true << true;
    QTest::newRow("terminate alone") << "terminate" << false << false << true;
    QTest::newRow("words apart") << "-x run /event terminate" << true << true << true;
    QTest::newRow("near misses") << "ru n evnt lod terminat" << false << false << false;
}

void ShellRulesTest::commandLineWords() {
    QFETCH(QString, line);
    const shell::CommandLineWords words = shell::ReadCommandLine(line.toStdString());
    QTEST(words.autorun, "run");
    QTEST(words.autoloadEvents, "events");
    QTEST(words.autoTerminate, "terminate");
}

void ShellRulesTest::commandLineText() {
    QCOMPARE(shell::CommandLineText({}), std::string());
    QCOMPARE(shell::CommandLineText({"run", "event"}), std::string("run event"));
    // A word split over two arguments is found in the joined text, as in one command line.
    QVERIFY(shell::ReadCommandLine(shell::CommandLineText({"ru", "n"})).autorun == false);
    QVERIFY(shell::ReadCommandLine(shell::CommandLineText({"x", "RUN"})).autorun);
}

void ShellRulesTest::captions() {
    QCOMPARE(shell::MainCaption(), std::string("Zorvane 2.20"));
    QCOMPARE(shell::VersionText(), std::string("Version 2.20"));
}

void ShellRulesTest::manifestPath_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");
    QTest::newRow("folder") << "/opt/zorvane"
                            << "/opt/zorvane/prog.exe.manifest";
    QTest::newRow("root") << "/"
                          << "/prog.exe.manifest";
    QTest::newRow("drive root") << "C:\\"
                                << "C:\\prog.exe.manifest";
    QTest::newRow("trailing slash") << "/opt/z/"
                                    << "/opt/z/prog.exe.manifest";
}

void ShellRulesTest::manifestPath() {
    QFETCH(QString, folder);
    QTEST(QString::fromStdString(shell::ManifestPath(folder.toStdString(), "prog")), "path");
}

void ShellRulesTest::manifestText() {
    const std::string text = shell::ManifestText(
        "zorvane", 2, 20, 0, "Click your mouse button automatically", "Zorvane");
    QCOMPARE(QByteArray::fromStdString(text),
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?> \r\n"
                        "<assembly \r\n"
                        "   xmlns=\"urn:schemas-microsoft-com:asm.v1\" \r\n"
                        "   manifestVersion=\"1.0\">\r\n"
                        "<assemblyIdentity \r\n"
                        "    processorArchitecture=\"x86\" \r\n"
                        "    version=\"2.20.0.0\"\r\n"
                        "    type=\"win32\"\r\n"
                        "    name=\"Zorvane.zorvane.exe\"/>\r\n"
                        "    <description>Click your mouse button automatically</description>\r\n"
                        "    <dependency>\r\n"
                        "    <dependentAssembly>\r\n"
                        "    <assemblyIdentity\r\n"
                        "         type=\"win32\"\r\n"
                        "         name=\"Microsoft.Windows.Common-Controls\"\r\n"
                        "         version=\"6.0.0.0\"\r\n"
                        "         publicKeyToken=\"6595b64144ccf1df\"\r\n"
                        "         language=\"*\"\r\n"
                        "         processorArchitecture=\"x86\"/>\r\n"
                        "    </dependentAssembly>\r\n"
                        "    </dependency>\r\n"
                        "</assembly>\r\n"));
}

void ShellRulesTest::manifestPlaceholdersAreReplacedEverywhere() {
    // The company is inserted verbatim, and a value holding a later placeholder's name is not
    // replaced again.
    const std::string text = shell::ManifestText("a", 1, 2, 3, "EXENAME & <d>", "A&B");
    QVERIFY(text.find("name=\"A&B.a.exe\"/>") != std::string::npos);
    QVERIFY(text.find("version=\"1.2.3.0\"") != std::string::npos);
    QVERIFY(text.find("<description>EXENAME & <d></description>") != std::string::npos);
    for (const char* placeholder : {"EXEVERSION", "EXEDESCRIPTION", "COMPANYNAME"})
        QVERIFY2(text.find(placeholder) == std::string::npos, placeholder);
}

void ShellRulesTest::informationAnswer_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("starts"); // empty: no answer, the program runs
    QTest::newRow("version") << QStringList{"--version"} << "Zorvane 2.20\n";
    QTest::newRow("help among words") << QStringList{"run", "--help"} << "Usage: zorvane [WORD]";
    QTest::newRow("the first one counts") << QStringList{"--version", "--help"} << "Zorvane 2.20\n";
    QTest::newRow("words only") << QStringList{"run", "event"} << "";
    QTest::newRow("only exactly") << QStringList{"--Help", "-h", "--versions"} << "";
}

void ShellRulesTest::informationAnswer() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, starts);
    std::vector<std::string> words;
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    const auto answer = shell::InformationAnswer(words);
    QCOMPARE(answer.has_value(), !starts.isEmpty());
    if (answer)
        QVERIFY2(QString::fromStdString(*answer).startsWith(starts), answer->c_str());
}

void ShellRulesTest::folders_data() {
    QTest::addColumn<QString>("exe");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("dataBeside");
    QTest::addColumn<QString>("xdg");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("config"); // empty: no folder, the program ends with a message
    QTest::addColumn<QString>("data");
    QTest::newRow("portable") << "/home/u/z" << true << false << "/x"
                              << "/home/u"
                              << "/home/u/z"
                              << "/home/u/z";
    QTest::newRow("installed, XDG_CONFIG_HOME") << "/usr/bin" << false << true << "/x/cfg"
                                                << "/home/u"
                                                << "/x/cfg/zorvane"
                                                << "/usr/share/zorvane";
    QTest::newRow("installed, HOME") << "/usr/local/bin" << false << true << ""
                                     << "/home/u"
                                     << "/home/u/.config/zorvane"
                                     << "/usr/local/share/zorvane";
    QTest::newRow("installed, run by root") << "/usr/bin" << true << true << ""
                                            << "/root"
                                            << "/root/.config/zorvane"
                                            << "/usr/share/zorvane";
    QTest::newRow("relative XDG_CONFIG_HOME ignored") << "/usr/bin" << false << true << "cfg"
                                                      << "/home/u"
                                                      << "/home/u/.config/zorvane"
                                                      << "/usr/share/zorvane";
    QTest::newRow("read-only folder, nothing installed") << "/mnt/ro" << false << false << ""
                                                         << "/home/u"
                                                         << "/home/u/.config/zorvane"
                                                         << "/mnt/ro";
    QTest::newRow("no HOME") << "/usr/bin" << false << true << ""
                             << ""
                             << ""
                             << "";
    QTest::newRow("relative HOME") << "/usr/bin" << false << true << ""
                                   << "u"
                                   << ""
                                   << "";
}

void ShellRulesTest::folders() {
    QFETCH(QString, config);
    shell::FolderFacts facts;
    QFETCH(QString, exe);
    QFETCH(bool, writable);
    QFETCH(bool, dataBeside);
    QFETCH(QString, xdg);
    QFETCH(QString, home);
    facts = {exe.toStdString(), writable, dataBeside, xdg.toStdString(), home.toStdString()};
    const auto folders = shell::DecideFolders(facts);
    QCOMPARE(folders.has_value(), !config.isEmpty());
    if (!folders)
        return;
    QCOMPARE(QString::fromStdString(folders->config), config);
    QTEST(QString::fromStdString(folders->data), "data");
    QCOMPARE(folders->portable, config == exe);
}

// An installed copy (<prefix>/bin beside <prefix>/share/zorvane) whose ~/.config is not there
// yet makes its settings folder with its parents; a folder others may change is refused.
void ShellRulesTest::installedFolderOnDisk() {
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath("p/bin") && QDir(root.path()).mkpath("p/share/zorvane"));
    shell::FolderFacts facts = shell::ReadFolderFacts(root.filePath("p/bin").toStdString());
    facts.xdgConfigHome.clear();
    facts.home = root.filePath("home").toStdString();
    const auto folders = shell::DecideFolders(facts);
    QVERIFY(facts.dataBeside && folders && shell::MakeConfigFolder(folders->config));
    QVERIFY(!shell::UntrustedConfigFolder(folders->config));
    std::filesystem::permissions(folders->config, std::filesystem::perms::group_write,
                                 std::filesystem::perm_options::add);
    QVERIFY(shell::UntrustedConfigFolder(folders->config));
    QVERIFY(::chown(folders->config.c_str(), 65534, 65534) != 0 || // root gives it away
            shell::UntrustedConfigFolder(folders->config)->find("another") != std::string::npos);
}

QTEST_APPLESS_MAIN(ShellRulesTest)
#include "shell_rules_test.moc"
