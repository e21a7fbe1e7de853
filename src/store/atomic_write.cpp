#include "store/atomic_write.h"

#include "store/path_text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
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

std::atomic<unsigned> temporaryCounter{0};

fs::path TemporaryName(const fs::path& folder, long pid) {
    std::string name(kTemporaryFilePrefix);
    name += std::to_string(pid) + "-" + std::to_string(temporaryCounter++);
    name += kTemporaryFileSuffix;
    return folder / name;
}

#ifdef _WIN32

long ProcessId() {
    return _getpid();
}
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
bool SyncAndClose(int fd) {
    const bool synced = _commit(fd) == 0;
    return _close(fd) == 0 && synced;
}
bool Replace(const fs::path& from, const fs::path& to) {
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

long ProcessId() {
    return static_cast<long>(::getpid());
}
int OpenNew(const fs::path& path) {
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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
// The replacement keeps the permission bits of the file it replaces.
bool KeepPermissions(int fd, const fs::path& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) != 0)
        return errno == ENOENT;
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}
bool SyncAndClose(int fd) {
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}
bool Replace(const fs::path& from, const fs::path& to) {
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

// Creates a fresh temporary file in the folder; retries when a stale one holds the name.
int CreateTemporary(const fs::path& folder, fs::path& temporary) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(folder, ProcessId());
        const int fd = OpenNew(temporary);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// The file the bytes are meant for: the target itself, or what a symbolic link points to.
fs::path ResolveTarget(const fs::path& target) {
    std::error_code error;
    if (!fs::is_symlink(target, error))
        return target;
    const fs::path resolved = fs::weakly_canonical(target, error);
    return error ? target : resolved;
}

bool IsReadOnly(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    return !error && fs::is_regular_file(status) &&
           (status.permissions() & fs::perms::owner_write) == fs::perms::none;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    if (path.empty())
        return false;
    const fs::path target = ResolveTarget(ToFsPath(path));
    if (IsReadOnly(target))
        return false;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temporary;
    const int fd = CreateTemporary(folder, temporary);
    if (fd < 0)
        return false;
    bool ok = WriteAll(fd, bytes) && KeepPermissions(fd, target);
    ok = SyncAndClose(fd) && ok;
    if (ok)
        ok = Replace(temporary, target);
    if (!ok) {
        RemoveFile(temporary);
        return false;
    }
    SyncFolder(folder);
    return true;
}

} // namespace store
