// File and folder access, 8-bit text files and the atomic replacement of files.
#include "store/atomic_write.h"
#include "store/backup_file.h"
#include "store/file_read.h"
#include "store/file_system.h"
#include "store/xml_document.h"
#include "store_test_support.h"

#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    void keepBackup_data();
    void keepBackup();
    void folderListing();
    void folderListingMissing();
    void atomicWrite();
    void atomicWriteKeepsPermissions();
    void atomicWriteFails_data();
    void atomicWriteFails();
    void hostileReads_data();
    void hostileReads();
    void writesAtLinksAndSpecialFiles_data();
    void writesAtLinksAndSpecialFiles();
    void flushedBeforeRename();
    void staleTemporaryFilesSwept();

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

// Backups of a damaged file: none replaces another, gaps close oldest first, and with ten the
// oldest goes. Each backup there before holds its number, the damaged file "n".
void FileSystemTest::keepBackup_data() {
    QTest::addColumn<QString>("taken");
    QTest::addColumn<QString>("after"); // the backups' bytes in the order of their names
    QTest::newRow("the first") << ""
                               << "n";
    QTest::newRow("beside the first") << "0"
                                      << "0n";
    QTest::newRow("a gap closes") << "03"
                                  << "03n";
    QTest::newRow("ten: the oldest goes") << "0123456789"
                                          << "123456789n";
}

void FileSystemTest::keepBackup() {
    QFETCH(QString, taken);
    QFETCH(QString, after);
    const std::string path = Path(file("events.xml"));
    const auto name = [&path](int n) { return QString::fromStdString(store::BackupName(path, n)); };
    QVERIFY(WriteBytes(file("events.xml"), "n"));
    for (QChar number : taken)
        QVERIFY(WriteBytes(name(number.digitValue()), QString(number).toLatin1()));
    QCOMPARE(store::KeepBackup(path),
             std::optional(store::BackupName(path, int(after.size()) - 1)));
    QString kept;
    for (int number = 0; number <= store::kMostBackups; ++number)
        kept += ReadBytes(name(number));
    QCOMPARE(kept, after);
    QCOMPARE(name(1), QString::fromStdString(path) + ".1.bak");
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
    QCOMPARE(int(info.st_mode & 07777), 0600); // its user's alone, whatever the mask allows

    const QString kept = file("kept.xml");
    QVERIFY(WriteBytes(kept, "old"));
    QCOMPARE(::chmod(kept.toLocal8Bit().constData(), 0640), 0);
    QVERIFY(store::WriteFileAtomically(Path(kept), "new"));
    QCOMPARE(::stat(kept.toLocal8Bit().constData(), &info), 0);
    QCOMPARE(int(info.st_mode & 07777), 0640);
    QCOMPARE(ReadBytes(kept), QByteArray("new"));
    // A copy (a backup) is its user's alone, also in the place of a file others could read.
    QCOMPARE(::chmod(fresh.toLocal8Bit().constData(), 0644), 0);
    QVERIFY(store::CopyFileAtomically(Path(kept), Path(fresh)) == store::WriteResult::Written);
    QCOMPARE(::stat(fresh.toLocal8Bit().constData(), &info) ? 0 : info.st_mode & 07777, 0600u);
#endif
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

namespace {

#ifndef _WIN32
// What stands at a path: "file", "link", "fifo", "folder", "missing", "other".
QString Kind(const QString& path) {
    struct stat info {};
    if (::lstat(path.toLocal8Bit().constData(), &info) != 0)
        return "missing";
    return S_ISREG(info.st_mode)    ? "file"
           : S_ISLNK(info.st_mode)  ? "link"
           : S_ISFIFO(info.st_mode) ? "fifo"
           : S_ISDIR(info.st_mode)  ? "folder"
                                    : "other";
}

// Plants something at path: "file" (with contents), "fifo", "folder", "link:TARGET", or
// "foreign-link:TARGET" (a link another user owns; root only).
bool Plant(const QString& path, const QString& what, const QByteArray& contents) {
    if (what.startsWith("foreign-"))
        return Plant(path, what.mid(8), contents) &&
               ::lchown(path.toLocal8Bit().constData(), 65534, 65534) == 0;
    if (what == "file")
        return WriteBytes(path, contents);
    if (what == "fifo")
        return ::mkfifo(path.toLocal8Bit().constData(), 0644) == 0;
    if (what == "folder")
        return QDir().mkdir(path);
    return ::symlink(what.mid(5).toLocal8Bit().constData(), path.toLocal8Bit().constData()) == 0;
}

// ReadWholeFile as an ordinary user sees it: root reads any file whatever its permission bits,
// so as root the read runs in a child process that has given up root.
int ReadAsOrdinaryUser(const QString& path) {
    const auto read = [&path] {
        std::string bytes;
        return int(store::ReadWholeFile(Path(path), bytes, store::kSmallFileLimit));
    };
    if (::geteuid() != 0)
        return read();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(65534) == 0 && ::setuid(65534) == 0 ? read() : 100);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

} // namespace

void FileSystemTest::hostileReads_data() {
    QTest::addColumn<QString>("what"); // planted at the path, as Plant takes it
    QTest::addColumn<int>("size");     // the bytes of a planted file
    QTest::addColumn<int>("read");     // store::ReadResult
    QTest::addColumn<int>("load");     // store::LoadResult
    using R = store::ReadResult;
    using L = store::LoadResult;
    const int limit = int(store::kSmallFileLimit);
    QTest::newRow("regular file") << "file" << 4 << int(R::Read) << int(L::Loaded);
    QTest::newRow("at the limit") << "file" << limit << int(R::Read) << int(L::Loaded);
    QTest::newRow("over the limit") << "file" << limit + 1 << int(R::TooLarge) << int(L::TooLarge);
    QTest::newRow("link to a file") << "link:real.xml" << 4 << int(R::Read) << int(L::Loaded);
    QTest::newRow("missing") << "" << 0 << int(R::Missing) << int(L::Missing);
    QTest::newRow("FIFO without writer") << "fifo" << 0 << int(R::Unreadable) << int(L::Unreadable);
    QTest::newRow("link to a FIFO") << "link:pipe" << 0 << int(R::Unreadable) << int(L::Unreadable);
    QTest::newRow("link to /dev/null")
        << "link:/dev/null" << 0 << int(R::Unreadable) << int(L::Unreadable);
    QTest::newRow("link to /dev/zero")
        << "link:/dev/zero" << 0 << int(R::Unreadable) << int(L::Unreadable);
    QTest::newRow("folder") << "folder" << 0 << int(R::Unreadable) << int(L::Unreadable);
    QTest::newRow("dangling link")
        << "link:gone.xml" << 0 << int(R::Unreadable) << int(L::Unreadable);
    QTest::newRow("link loop") << "link:config.xml" << 0 << int(R::Unreadable)
                               << int(L::Unreadable);
    QTest::newRow("no read permission") << "file" << -1 << int(R::Unreadable) << int(L::Unreadable);
}

// Nothing but a regular file is read; nothing blocks (a FIFO would hang an open that waits for
// a writer, /dev/zero a read to the end); a huge file is refused without being read.
void FileSystemTest::hostileReads() {
#ifdef _WIN32
    QSKIP("FIFOs, devices and links are POSIX");
#else
    QFETCH(QString, what);
    QFETCH(int, size);
    QFETCH(int, read);
    QFETCH(int, load);
    const QString path = file("config.xml");
    QByteArray contents = "<a/>";
    if (size > 4)
        contents += QByteArray(size - 4, ' ');
    QVERIFY(WriteBytes(file("real.xml"), contents));
    QVERIFY(::mkfifo(file("pipe").toLocal8Bit().constData(), 0644) == 0);
    if (!what.isEmpty())
        QVERIFY(Plant(path, what, contents));
    if (size < 0) {
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        QVERIFY(QFile::setPermissions(dir_->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                        QFileDevice::ExeOther));
        QCOMPARE(ReadAsOrdinaryUser(path), read);
        return;
    }
    std::string bytes = "stale";
    QCOMPARE(int(store::ReadWholeFile(Path(path), bytes, store::kSmallFileLimit)), read);
    QCOMPARE(bytes.size(), size_t(read == int(store::ReadResult::Read) ? size : 0));
    store::XmlDocument document;
    QCOMPARE(int(document.loadFile(Path(path), store::kSmallFileLimit)), load);
    QCOMPARE(document.documentElement().isNull(), load != int(store::LoadResult::Loaded));
#endif
}

void FileSystemTest::writesAtLinksAndSpecialFiles_data() {
    QTest::addColumn<QString>("what"); // planted at config.xml, as Plant takes it
    QTest::addColumn<bool>("replaceLink");
    QTest::addColumn<int>("result");    // store::WriteResult
    QTest::addColumn<QString>("after"); // what stands at config.xml afterwards
    QTest::addColumn<bool>("realNew");  // real/config.xml holds the new bytes
    using W = store::WriteResult;
    const QString toReal = "link:real/config.xml";
    QTest::newRow("regular file") << "file" << false << int(W::Written) << "file" << false;
    QTest::newRow("link to a file: written through")
        << toReal << false << int(W::Written) << "link" << true;
    QTest::newRow("link to a file: link replaced")
        << toReal << true << int(W::Written) << "file" << false;
    QTest::newRow("link to a FIFO refused")
        << "link:pipe" << false << int(W::NotRegularFile) << "link" << false;
    QTest::newRow("link to a FIFO replaced")
        << "link:pipe" << true << int(W::Written) << "file" << false;
    QTest::newRow("FIFO refused") << "fifo" << false << int(W::NotRegularFile) << "fifo" << false;
    QTest::newRow("FIFO refused, links replaced")
        << "fifo" << true << int(W::NotRegularFile) << "fifo" << false;
    QTest::newRow("folder refused")
        << "folder" << false << int(W::NotRegularFile) << "folder" << false;
    QTest::newRow("link to a folder refused")
        << "link:real" << false << int(W::NotRegularFile) << "link" << false;
    QTest::newRow("dangling link refused")
        << "link:gone.xml" << false << int(W::NotRegularFile) << "link" << false;
    QTest::newRow("dangling link replaced")
        << "link:gone.xml" << true << int(W::Written) << "file" << false;
    QTest::newRow("link to a read-only file")
        << "link:real/read-only.xml" << false << int(W::ReadOnly) << "link" << false;
    QTest::newRow("link of another user refused")
        << "foreign-" + toReal << false << int(W::ForeignLink) << "link" << false;
}

// A link may be followed to a regular file only; nothing that is not a regular file is ever
// replaced; the file a link points to is left alone when the link itself is replaced.
void FileSystemTest::writesAtLinksAndSpecialFiles() {
#ifdef _WIN32
    QSKIP("FIFOs and links are POSIX");
#else
    QFETCH(QString, what);
    QFETCH(bool, replaceLink);
    QFETCH(int, result);
    QFETCH(QString, after);
    QFETCH(bool, realNew);
    QVERIFY(QDir(dir_->path()).mkdir("real"));
    QVERIFY(WriteBytes(file("real/config.xml"), "old"));
    QVERIFY(WriteBytes(file("real/read-only.xml"), "old"));
    QVERIFY(QFile::setPermissions(file("real/read-only.xml"), QFileDevice::ReadOwner));
    QVERIFY(::mkfifo(file("pipe").toLocal8Bit().constData(), 0644) == 0);
    const QString path = file("config.xml");
    if (what.startsWith("foreign-") && ::geteuid() != 0)
        QSKIP("Only root can plant a link of another user");
    QVERIFY(Plant(path, what, "old"));
    const auto rule = replaceLink ? store::LinkRule::ReplaceLink : store::LinkRule::WriteThrough;
    // The temporary file is made beside the file written, not the link: no rename crosses disks.
    static std::filesystem::path renamedFrom;
    const store::DurabilityCalls saved = store::WriterDurabilityCalls();
    store::WriterDurabilityCalls().rename = [](const auto& from, const auto& to) {
        return ::rename((renamedFrom = from).c_str(), to.c_str()) == 0;
    };
    QCOMPARE(int(store::ReplaceFile(Path(path), "new", rule)), result);
    store::WriterDurabilityCalls() = saved;
    QVERIFY(result != int(store::WriteResult::Written) ||
            renamedFrom.parent_path() == Path(realNew ? file("real") : dir_->path()));
    QCOMPARE(Kind(path), after);
    if (result == int(store::WriteResult::Written))
        QCOMPARE(ReadBytes(path), QByteArray("new"));
    QCOMPARE(ReadBytes(file("real/config.xml")), QByteArray(realNew ? "new" : "old"));
    QCOMPARE(ReadBytes(file("real/read-only.xml")), QByteArray("old"));
    QCOMPARE(Kind(file("pipe")), QString("fifo"));
    QVERIFY(TemporaryFiles(dir_->path()).isEmpty());
    QVERIFY(TemporaryFiles(file("real")).isEmpty());
#endif
}

namespace {

// Records the writer's flushes and renames, then does them.
struct DurabilityLog {
    static inline QStringList steps;
    static inline std::vector<std::pair<unsigned long long, long long>> flushed; // inode, size
    static int Flush(int fd) {
        struct stat info {};
        ::fstat(fd, &info);
        flushed.emplace_back(info.st_ino, info.st_size);
        steps << "flush";
        return ::fsync(fd);
    }
    static bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
        steps << "rename";
        return ::rename(from.c_str(), to.c_str()) == 0;
    }
};

} // namespace

// The temporary file's whole contents reach the disk before it takes the target's name.
void FileSystemTest::flushedBeforeRename() {
#ifdef _WIN32
    QSKIP("Inode numbers are POSIX");
#else
    store::DurabilityCalls& calls = store::WriterDurabilityCalls();
    const store::DurabilityCalls saved = calls;
    calls = {DurabilityLog::Flush, DurabilityLog::Rename};
    const QString path = file("config.xml");
    const std::string bytes(70000, 'x');
    const bool written = store::WriteFileAtomically(Path(path), bytes);
    calls = saved;
    QVERIFY(written);
    QCOMPARE(DurabilityLog::steps, (QStringList{"flush", "rename"}));
    struct stat info {};
    QCOMPARE(::stat(path.toLocal8Bit().constData(), &info), 0);
    QCOMPARE(DurabilityLog::flushed.front().first, static_cast<unsigned long long>(info.st_ino));
    QCOMPARE(DurabilityLog::flushed.front().second, static_cast<long long>(bytes.size()));
#endif
}

// Temporary files of writers that were killed go; those of a running process, another user's,
// and every other file, stay.
void FileSystemTest::staleTemporaryFilesSwept() {
#ifdef _WIN32
    QSKIP("Process ids of ended children are POSIX here");
#else
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    QCOMPARE(::waitpid(child, nullptr, 0), child);
    const QString gone = QString::number(child);
    const QString own = QString::number(::getpid());
    const QStringList stale = {".zorvane-" + gone + "-0.tmp", ".zorvane-" + gone + "-17.tmp"};
    const QStringList kept = {".zorvane-" + own + "-3.tmp",  ".zorvane-1-4.tmp",
                              ".zorvane-" + gone + "-x.tmp", ".zorvane-" + gone + ".tmp",
                              "zorvane-" + gone + "-0.tmp",  "config.xml"};
    for (const QString& name : stale + kept)
        QVERIFY(WriteBytes(file(name), "x"));
    QVERIFY(QFile::link(file("config.xml"), file(".zorvane-" + gone + "-5.tmp")));
    QStringList expected = kept;
    expected << ".zorvane-" + gone + "-5.tmp";
    const QString foreign = ".zorvane-" + gone + "-9.tmp"; // made by root for another user
    if (::geteuid() == 0) {
        QVERIFY(WriteBytes(file(foreign), "x"));
        QCOMPARE(::chown(file(foreign).toLocal8Bit().constData(), 65534, 65534), 0);
        expected << foreign;
    }
    QCOMPARE(store::SweepStaleTemporaryFiles(Path(dir_->path())), 2);
    QStringList left = QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    left.sort();
    expected.sort();
    QCOMPARE(left, expected);
#endif
}

QTEST_APPLESS_MAIN(FileSystemTest)
#include "store_file_system_test.moc"
