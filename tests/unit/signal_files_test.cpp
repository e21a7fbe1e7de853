// Stamping the signal files from several processes at once: no press is lost, and a stamper that
// holds the lock and stops holds nobody up for long.
#include "click/hot_key_rules.h"
#include "click/signal_relay.h"
#include "store/file_lock.h"
#include "store/file_system.h"
#include "store/process_info.h"
#include "store/xml_document.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

class SignalFilesTest : public QObject {
    Q_OBJECT

private slots:
    void everyPressFromEveryProcessCounts();
};

void SignalFilesTest::everyPressFromEveryProcessCounts() {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    // Two running copies' files: this process's and its parent's.
    std::vector<std::string> files;
    for (const long process : {long(getpid()), long(getppid())}) {
        files.push_back(
            store::BuildPath(folder, click::SignalFileName(7, process, store::HostName())));
        QVERIFY(store::WriteFileAtomically(files.back(), "<HotKey Check=\"0\"/>"));
    }
    constexpr int kProcesses = 10, kPresses = 20;
    for (int i = 0; i < kProcesses; ++i)
        if (fork() == 0) {
            for (int press = 0; press < kPresses; ++press)
                click::PressForEveryCopy(folder);
            _exit(0);
        }
    while (wait(nullptr) > 0) {
    }
    store::XmlDocument document;
    for (const std::string& file : files) {
        QVERIFY(document.load(file, store::kSmallFileLimit));
        const click::SignalAttributes attributes = click::RootAttributes(document);
        QCOMPARE(attributes.back().second, std::to_string(kProcesses * kPresses));
    }
    // A stamper stopped while it holds the lock: the press gives up and says so.
    const auto held = store::FileLock::Take(store::BuildPath(folder, click::kSignalLockName),
                                            std::chrono::milliseconds(0));
    QVERIFY(held);
    const std::optional<click::Pressed> pressed = click::PressForEveryCopy(folder);
    QVERIFY(pressed);
    QCOMPARE(pressed->locked, files.size());
    QCOMPARE(pressed->stamped, size_t(0));
}

QTEST_APPLESS_MAIN(SignalFilesTest)
#include "signal_files_test.moc"
