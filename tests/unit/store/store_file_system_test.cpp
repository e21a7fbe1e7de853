// File and folder access, 8-bit text files and the atomic replacement of files.
#include "store/atomic_write.h"
#include "store/file_system.h"
#include "store_test_support.h"

#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using store_test::Path;
using store_test::ReadBytes;
using store_test::TemporaryFiles;
using store_test::WriteBytes;

class FileSystemTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buildPath_data();
    void buildPath();
    void localPath_data();
    void localPath();
    void exists_data();
    void exists();
    void relativePaths();
    void textFile();
    void textFileNotClosed();
    void deleteFile_data();
    void deleteFile();
    void folderListing();
    void folderListingMissing();
    void atomicWrite();
    void atomicWriteKeepsPermissions();
    void atomicWriteThroughLink();
    void atomicWriteFails_data();
    void atomicWriteFails();

private:
    QString file(const QString& name) const { return dir_->filePath(name); }
    std::unique_ptr<QTemporaryDir> dir_;
    QString startDirectory_;
};

void FileSystemTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    startDirectory_ = QDir::currentPath();
}

void FileSystemTest::cleanup() {
    QDir::setCurrent(startDirectory_);
    // Let the folder go even where a test took its write permission away.
    QFile::setPermissions(dir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void FileSystemTest::buildPath_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("joined"); // '|' stands for the platform's separator
    QTest::newRow("plain") << "/opt/zorvane"
                           << "config.xml"
                           << "/opt/zorvane|config.xml";
    QTest::newRow("folder ends in slash") << "/opt/zorvane/"
                                          << "config.xml"
                                          << "/opt/zorvane/config.xml";
    QTest::newRow("folder ends in backslash") << "C:\\Zorvane\\"
                                              << "config.xml"
                                              << "C:\\Zorvane\\config.xml";
    QTest::newRow("root folder") << "/"
                                 << "config.xml"
                                 << "/config.xml";
    QTest::newRow("name starts with separator") << "/opt"
                                                << "/config.xml"
                                                << "/opt|config.xml";
    QTest::newRow("both have one") << "/opt/"
                                   << "\\config.xml"
                                   << "/opt/config.xml";
    QTest::newRow("relative") << "."
                              << "events.xml"
                              << ".|events.xml";
    QTest::newRow("sub-path name") << "/opt"
                                   << "IconThemes/a.xml"
                                   << "/opt|IconThemes/a.xml";
    QTest::newRow("empty folder") << ""
                                  << "config.xml"
                                  << "config.xml";
    QTest::newRow("empty name") << "/opt"
                                << ""
                                << "/opt|";
    QTest::newRow("non-ASCII") << "/home/zoë"
                               << "été.xml"
                               << "/home/zoë|été.xml";
}

void FileSystemTest::buildPath() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, joined);
    joined.replace('|', QChar(store::kPathSeparator));
    QCOMPARE(QString::fromStdString(store::BuildPath(folder.toStdString(), name.toStdString())),
             joined);
}

void FileSystemTest::localPath_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("local"); // '|' stands for the platform's separator
    QTest::newRow("backslashes") << ".\\IconThemes\\default_icontheme.xml"
                                 << ".|IconThemes|default_icontheme.xml";
    QTest::newRow("slashes") << "./IconThemes/a.xml"
                             << ".|IconThemes|a.xml";
    QTest::newRow("mixed") << "/opt\\z/a.xml"
                           << "|opt|z|a.xml";
    QTest::newRow("no separator") << "a.xml"
                                  << "a.xml";
    QTest::newRow("empty") << ""
                           << "";
}

void FileSystemTest::localPath() {
    QFETCH(QString, stored);
    QFETCH(QString, local);
    local.replace('|', QChar(store::kPathSeparator));
    QCOMPARE(QString::fromStdString(store::LocalPath(stored.toStdString())), local);
}

void FileSystemTest::exists_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isFile");
    QTest::addColumn<bool>("isFolder");
    QTest::newRow("file") << "a.txt" << true << false;
    QTest::newRow("folder") << "sub" << false << true;
    QTest::newRow("non-ASCII file") << "été.txt" << true << false;
    QTest::newRow("missing") << "missing.txt" << false << false;
    QTest::newRow("inside a file") << "a.txt/x" << false << false;
}

void FileSystemTest::exists() {
    QFETCH(QString, name);
    QFETCH(bool, isFile);
    QFETCH(bool, isFolder);
    QVERIFY(WriteBytes(file("a.txt"), "a"));
    QVERIFY(WriteBytes(file("été.txt"), "e"));
    QVERIFY(QDir(dir_->path()).mkdir("sub"));
    QCOMPARE(store::FileExists(Path(file(name))), isFile);
    QCOMPARE(store::FolderExists(Path(file(name))), isFolder);
}

// Relative paths are taken against the current directory.
void FileSystemTest::relativePaths() {
    QVERIFY(QDir(dir_->path()).mkdir("IconThemes"));
    QVERIFY(WriteBytes(file("IconThemes/default_icontheme.xml"), "<t/>"));
    QVERIFY(QDir::setCurrent(dir_->path()));
    const std::string stored = ".\\IconThemes\\default_icontheme.xml";
    QVERIFY(store::FileExists(store::LocalPath(stored)));
    QVERIFY(store::FolderExists("IconThemes"));
    QVERIFY(store::CreateTextFile("relative.txt").Close());
    QVERIFY(QFile::exists(file("relative.txt")));
    const auto listing = store::GetFolder("IconThemes");
    QVERIFY(listing);
    QCOMPARE(listing->size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(listing->front().path),
             QFileInfo(file("IconThemes/default_icontheme.xml")).absoluteFilePath());
}

void FileSystemTest::textFile() {
    QVERIFY(WriteBytes(file("out.txt"), "old contents that are longer than the new ones"));
    store::TextStream stream = store::CreateTextFile(Path(file("out.txt")));
    stream.WriteLine("<?xml version=\"1.0\"?>");
    stream.WriteLine("");
    stream.WriteLine("d\xE9j\xE0 \xC3\xA9"); // 8-bit bytes pass unchanged
    // Nothing reaches the file before Close.
    QCOMPARE(ReadBytes(file("out.txt")),
             QByteArray("old contents that are longer than the new ones"));
    QVERIFY(stream.Close());
    QCOMPARE(ReadBytes(file("out.txt")),
             QByteArray("<?xml version=\"1.0\"?>\r\n\r\nd\xE9j\xE0 \xC3\xA9\r\n"));
    QVERIFY(!stream.Close());
    QVERIFY(TemporaryFiles(dir_->path()).isEmpty());

    QVERIFY(store::CreateTextFile(Path(file("empty.txt"))).Close());
    QVERIFY(QFile::exists(file("empty.txt")));
    QCOMPARE(ReadBytes(file("empty.txt")), QByteArray());
}

// A stream given up before Close (say, by an error while writing) leaves no half file behind.
void FileSystemTest::textFileNotClosed() {
    QVERIFY(WriteBytes(file("kept.txt"), "kept"));
    {
        store::TextStream stream = store::CreateTextFile(Path(file("kept.txt")));
        stream.WriteLine("half");
        store::TextStream other = store::CreateTextFile(Path(file("new.txt")));
        other.WriteLine("half");
    }
    QCOMPARE(ReadBytes(file("kept.txt")), QByteArray("kept"));
    QVERIFY(!QFile::exists(file("new.txt")));
}

void FileSystemTest::deleteFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("plain file") << "file" << true;
    QTest::newRow("read-only file") << "read-only" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("missing") << "missing" << false;
}

void FileSystemTest::deleteFile() {
    QFETCH(QString, kind);
    QFETCH(bool, deleted);
    const QString path = file("12345_HotKey.xml");
    if (kind == "file" || kind == "read-only")
        QVERIFY(WriteBytes(path, "<HotKey/>"));
    if (kind == "read-only")
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    if (kind == "folder")
        QVERIFY(QDir(dir_->path()).mkdir("12345_HotKey.xml"));
    QCOMPARE(store::DeleteFile(Path(path)), deleted);
    QCOMPARE(QFileInfo::exists(path), kind != "missing" && !deleted);
}

void FileSystemTest::folderListing() {
    const QStringList names = {"a.txt", "b.xml", ".hidden", "été.xml", "12_HotKey.xml"};
    for (const QString& name : names)
        QVERIFY(WriteBytes(file(name), name.toUtf8()));
    QVERIFY(QDir(dir_->path()).mkdir("sub.xml"));
    QVERIFY(WriteBytes(file("sub.xml/inner.xml"), "x"));

    const auto listing = store::GetFolder(Path(dir_->path()));
    QVERIFY(listing);
    QSet<QString> listed;
    for (const store::FolderFile& entry : *listing) {
        const QString name = QString::fromStdString(entry.name);
        listed << name;
        QCOMPARE(QString::fromStdString(entry.path), QDir(dir_->path()).absoluteFilePath(name));
        QCOMPARE(ReadBytes(QString::fromStdString(entry.path)), name.toUtf8());
    }
    QCOMPARE(listing->size(), std::size_t(names.size()));
    QCOMPARE(listed, QSet<QString>(names.begin(), names.end()));

    // A folder given with a trailing separator lists the same files.
    const auto again = store::GetFolder(Path(dir_->path() + "/"));
    QVERIFY(again);
    QCOMPARE(again->size(), listing->size());
    QCOMPARE(again->front().path, listing->front().path);
}

void FileSystemTest::folderListingMissing() {
    QVERIFY(WriteBytes(file("a.txt"), "a"));
    QVERIFY(!store::GetFolder(Path(file("missing"))));
    QVERIFY(!store::GetFolder(Path(file("a.txt"))));
    QVERIFY(QDir(dir_->path()).mkdir("empty"));
    const auto empty = store::GetFolder(Path(file("empty")));
    QVERIFY(empty);
    QVERIFY(empty->empty());
}

void FileSystemTest::atomicWrite() {
    const QString path = file("7_HotKey.xml");
    QVERIFY(store::WriteFileAtomically(Path(path), "first"));
    QCOMPARE(ReadBytes(path), QByteArray("first"));
    QVERIFY(store::WriteFileAtomically(Path(path), std::string("sec\0nd", 6)));
    QCOMPARE(ReadBytes(path), QByteArray("sec\0nd", 6));
    QVERIFY(store::WriteFileAtomically(Path(path), ""));
    QCOMPARE(ReadBytes(path), QByteArray());
    QVERIFY(TemporaryFiles(dir_->path()).isEmpty());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"7_HotKey.xml"});
}

void FileSystemTest::atomicWriteKeepsPermissions() {
#ifdef _WIN32
    QSKIP("Permission bits are POSIX");
#else
    const mode_t oldMask = ::umask(022);
    const QString fresh = file("fresh.xml");
    const bool freshWritten = store::WriteFileAtomically(Path(fresh), "x");
    ::umask(oldMask);
    QVERIFY(freshWritten);
    struct stat info {};
    QCOMPARE(::stat(fresh.toLocal8Bit().constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), 0644);

    const QString kept = file("kept.xml");
    QVERIFY(WriteBytes(kept, "old"));
    QCOMPARE(::chmod(kept.toLocal8Bit().constData(), 0640), 0);
    QVERIFY(store::WriteFileAtomically(Path(kept), "new"));
    QCOMPARE(::stat(kept.toLocal8Bit().constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), 0640);
    QCOMPARE(ReadBytes(kept), QByteArray("new"));
#endif
}

// A symbolic link stays a link; the file it points to gets the new contents.
void FileSystemTest::atomicWriteThroughLink() {
    QVERIFY(QDir(dir_->path()).mkdir("real"));
    QVERIFY(WriteBytes(file("real/config.xml"), "old"));
    if (!QFile::link(file("real/config.xml"), file("config.xml")))
        QSKIP("No symbolic links here");
    QVERIFY(store::WriteFileAtomically(Path(file("config.xml")), "new"));
    QVERIFY(QFileInfo(file("config.xml")).isSymLink());
    QCOMPARE(ReadBytes(file("real/config.xml")), QByteArray("new"));
    QVERIFY(TemporaryFiles(dir_->path()).isEmpty());
    QVERIFY(TemporaryFiles(file("real")).isEmpty());
}

void FileSystemTest::atomicWriteFails_data() {
    QTest::addColumn<QString>("failure");
    QTest::newRow("read-only target") << "read-only target";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("write cut short") << "write cut short";
    QTest::newRow("missing folder") << "missing folder";
    QTest::newRow("target is a folder") << "target is a folder";
}

// A write that fails reports it, leaves the old file as it was and no temporary file behind.
void FileSystemTest::atomicWriteFails() {
    QFETCH(QString, failure);
    QVERIFY(QDir(dir_->path()).mkdir("settings"));
    const QString folder = file("settings");
    QString target = folder + "/config.xml";
    const QByteArray old = "<Settings><Delay>0</Delay></Settings>";
    QVERIFY(WriteBytes(target, old));
    const QByteArray replacement(100000, 'x');
    bool written = true;

    if (failure == "read-only target") {
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup));
        written = store::WriteFileAtomically(Path(target), replacement.toStdString());
    } else if (failure == "read-only folder") {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        QFile probe(folder + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QSKIP("Permission bits do not stop this user (root) from writing");
        }
        written = store::WriteFileAtomically(Path(target), replacement.toStdString());
        QVERIFY(
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    } else if (failure == "write cut short") {
#ifdef _WIN32
        QSKIP("File size limits are POSIX");
#else
        // As a full disk would: the limit makes the write fail part-way.
        struct rlimit saved {};
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        struct rlimit limited = saved;
        limited.rlim_cur = 4096;
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        written = store::WriteFileAtomically(Path(target), replacement.toStdString());
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
#endif
    } else if (failure == "missing folder") {
        written = store::WriteFileAtomically(Path(folder + "/missing/config.xml"), "x");
        QVERIFY(!QFileInfo::exists(folder + "/missing"));
    } else if (failure == "target is a folder") {
        QVERIFY(QDir(folder).mkdir("events.xml"));
        written = store::WriteFileAtomically(Path(folder + "/events.xml"), "x");
        QVERIFY(QFileInfo(folder + "/events.xml").isDir());
    }
    QVERIFY(!written);
    QCOMPARE(ReadBytes(target), old);
    QVERIFY(TemporaryFiles(folder).isEmpty());
}

QTEST_APPLESS_MAIN(FileSystemTest)
#include "store_file_system_test.moc"
