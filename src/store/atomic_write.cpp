#include "store/atomic_write.h"

#include "store/file_read.h"
#include "store/path_text.h"
#include "store/process_info.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <functional>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace store {
namespace {

constexpr const char* kNotRegularText =
    "it is not a regular file (a device, a FIFO, a folder or a link leading nowhere)";

std::atomic<unsigned> temporaryCounter{0};

fs::path TemporaryName(const fs::path& folder, long pid) {
    std::string name(kTemporaryFilePrefix);
    name += std::to_string(pid) + "-" + std::to_string(temporaryCounter++);
    name += kTemporaryFileSuffix;
    return folder / name;
}

#ifdef _WIN32

int OpenNew(const fs::path& path) {
    int fd = -1;
    _wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
              _SH_DENYRW, _S_IREAD | _S_IWRITE);
    return fd;
}
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const unsigned chunk = static_cast<unsigned>(std::min<size_t>(bytes.size(), 1u << 30));
        const int written = _write(fd, bytes.data(), chunk);
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}
bool KeepPermissions(int, const fs::path&) {
    return true; // new files take the folder's access rules
}
bool OwnEntry(const fs::path&) {
    return true; // what lies in a user's folders is the user's
}
std::string SystemError() {
    const DWORD code = GetLastError();
    const int number = errno;
    return code ? std::system_category().message(int(code))
                : std::generic_category().message(number);
}
int Flush(int fd) {
    return _commit(fd);
}
int CloseFile(int fd) {
    return _close(fd);
}
bool Rename(const fs::path& from, const fs::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
void RemoveFile(const fs::path& path) {
    _wunlink(path.c_str());
}
void SyncFolder(const fs::path&) {
    // MOVEFILE_WRITE_THROUGH already waited for the rename to reach the disk.
}

#else

int OpenNew(const fs::path& path) {
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    while (fd < 0 && errno == EINTR);
    return fd;
}
bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}
// The replacement keeps the permission bits of the regular file it replaces.
bool KeepPermissions(int fd, const fs::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return errno == ENOENT;
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}
// Whether the entry itself (a link not followed) belongs to this user.
bool OwnEntry(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && info.st_uid == ::geteuid();
}
std::string SystemError() {
    return std::generic_category().message(errno);
}
int Flush(int fd) {
    return ::fsync(fd);
}
int CloseFile(int fd) {
    return ::close(fd);
}
bool Rename(const fs::path& from, const fs::path& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}
void RemoveFile(const fs::path& path) {
    ::unlink(path.c_str());
}
// Makes the rename itself durable. The new contents are already in place when this runs, so a
// failure here is not a failed write.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

#endif

// Why the calling thread's last write did not happen.
thread_local std::string lastFailure;

WriteResult Failure(WriteResult result, std::string why) {
    lastFailure = std::move(why);
    return result;
}

// Whether every link on the way from the path to the file it finally leads to is this user's
// own: a link another user planted is never written through.
bool LinksAreOwn(fs::path path) {
    std::error_code error;
    for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hop) {
        if (!OwnEntry(path))
            return false;
        const fs::path next = fs::read_symlink(path, error);
        if (error)
            break;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return true;
}

// Creates a fresh temporary file in the folder; retries when a stale one holds the name.
int CreateTemporary(const fs::path& folder, fs::path& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(folder, CurrentProcessId());
        const int fd = OpenNew(temporary);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Where the bytes go, and whether the file there keeps its permissions.
struct Destination {
    fs::path file;
    bool existing = false;
};

WriteResult Resolve(const fs::path& path, LinkRule links, Destination& destination) {
    std::error_code error;
    const fs::file_status entry = fs::symlink_status(path, error);
    if (entry.type() == fs::file_type::not_found ||
        (fs::is_symlink(entry) && links == LinkRule::ReplaceLink)) {
        destination = {path, false};
        return WriteResult::Written;
    }
    if (error)
        return Failure(WriteResult::Failed, error.message());
    const WriteResult notRegular = Failure(WriteResult::NotRegularFile, kNotRegularText);
    if (fs::is_symlink(entry)) {
        if (!LinksAreOwn(path))
            return Failure(WriteResult::ForeignLink, "it is a link another user owns");
        const fs::path target = fs::canonical(path, error);
        if (error || !fs::is_regular_file(fs::status(target, error)))
            return notRegular;
        destination = {target, true};
    } else if (fs::is_regular_file(entry)) {
        destination = {path, true};
    } else {
        return notRegular;
    }
    const fs::perms perms = fs::status(destination.file, error).permissions();
    if (error)
        return Failure(WriteResult::Failed, error.message());
    if ((perms & fs::perms::owner_write) == fs::perms::none)
        return Failure(WriteResult::ReadOnly, "it is read-only");
    return WriteResult::Written;
}

// The replacement: fill writes the new contents into the temporary file's descriptor. A file
// replaced keeps its permissions when keepPermissions says so; a new one is its user's alone.
WriteResult Replace(const std::string& path, LinkRule links, bool keepPermissions,
                    const std::function<bool(int)>& fill) {
    lastFailure.clear();
    if (path.empty())
        return Failure(WriteResult::Failed, "no file name was given");
    Destination destination;
    const WriteResult resolved = Resolve(ToFsPath(path), links, destination);
    if (resolved != WriteResult::Written)
        return resolved;
    const fs::path& target = destination.file;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temporary;
    const int fd = CreateTemporary(folder, temporary);
    if (fd < 0)
        return Failure(WriteResult::Failed, SystemError());
    errno = 0;
    const bool keep = keepPermissions && destination.existing;
    bool ok = fill(fd) && (!keep || KeepPermissions(fd, target));
    ok = WriterDurabilityCalls().flush(fd) == 0 && ok;
    ok = CloseFile(fd) == 0 && ok;
    if (ok)
        ok = WriterDurabilityCalls().rename(temporary, target);
    if (!ok) {
        const std::string why = errno ? SystemError() : "the file could not be read";
        RemoveFile(temporary);
        return Failure(WriteResult::Failed, why);
    }
    SyncFolder(folder);
    return WriteResult::Written;
}

// The writer's process id in a temporary file's name, or -1 for any other name.
long TemporaryOwner(std::string_view name) {
    if (name.size() <= kTemporaryFilePrefix.size() + kTemporaryFileSuffix.size() ||
        name.substr(0, kTemporaryFilePrefix.size()) != kTemporaryFilePrefix ||
        name.substr(name.size() - kTemporaryFileSuffix.size()) != kTemporaryFileSuffix)
        return -1;
    name.remove_prefix(kTemporaryFilePrefix.size());
    name.remove_suffix(kTemporaryFileSuffix.size());
    long pid = -1;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || pid <= 0 || end == name.data() + name.size() || *end != '-')
        return -1;
    const std::string_view counter(end + 1, size_t(name.data() + name.size() - end - 1));
    if (counter.empty() || counter.find_first_not_of("0123456789") != std::string_view::npos)
        return -1;
    return pid;
}

} // namespace

DurabilityCalls& WriterDurabilityCalls() {
    static DurabilityCalls calls{Flush, Rename};
    return calls;
}

WriteResult ReplaceFile(const std::string& path, std::string_view bytes, LinkRule links) {
    return Replace(path, links, true, [bytes](int fd) { return WriteAll(fd, bytes); });
}

WriteResult ReplacePrivateFile(const std::string& path, std::string_view bytes, LinkRule links) {
    return Replace(path, links, false, [bytes](int fd) { return WriteAll(fd, bytes); });
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, LinkRule links) {
    return ReplaceFile(path, bytes, links) == WriteResult::Written;
}

WriteResult CopyFileAtomically(const std::string& source, const std::string& target,
                               LinkRule links) {
    return Replace(target, links, false, [&source](int fd) {
        bool written = true;
        const ReadResult read = ReadFileInPieces(
            source, [&](std::string_view piece) { return written = WriteAll(fd, piece); });
        return read == ReadResult::Read && written;
    });
}

std::string LastWriteFailure() {
    return lastFailure;
}

std::optional<std::string> WriteThroughFolder(const std::string& path) {
    std::error_code error;
    const fs::path file = ToFsPath(path);
    if (!fs::is_symlink(fs::symlink_status(file, error)) || !LinksAreOwn(file))
        return std::nullopt;
    const fs::path target = fs::canonical(file, error);
    if (error || !fs::is_regular_file(fs::status(target, error)))
        return std::nullopt;
    return PathText(target.parent_path());
}

int SweepStaleTemporaryFiles(const std::string& folder) {
    std::error_code error;
    int removed = 0;
    for (fs::directory_iterator it(ToFsPath(folder), error), end; !error && it != end;
         it.increment(error)) {
        const long owner = TemporaryOwner(PathText(it->path().filename()));
        std::error_code typeError;
        if (owner < 0 || owner == CurrentProcessId() || ProcessRunning(owner) ||
            !fs::is_regular_file(it->symlink_status(typeError)) || !OwnEntry(it->path()))
            continue;
        removed += fs::remove(it->path(), typeError) ? 1 : 0;
    }
    return removed;
}

} // namespace store
