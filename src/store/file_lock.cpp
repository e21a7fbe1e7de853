#include "store/file_lock.h"

#include "store/path_text.h"

#include <cstdint>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace store {
namespace {

constexpr std::chrono::milliseconds kRetry{5};

#ifdef _WIN32

intptr_t Open(const std::string& path) {
    const HANDLE file =
        CreateFileW(ToFsPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    return file == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<intptr_t>(file);
}
bool TryLock(intptr_t handle) {
    OVERLAPPED whole{};
    return LockFileEx(reinterpret_cast<HANDLE>(handle),
                      LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole);
}
void Close(intptr_t handle) {
    CloseHandle(reinterpret_cast<HANDLE>(handle)); // lets go of the lock too
}

#else

// A link or anything but a regular file in the lock file's place is not used.
intptr_t Open(const std::string& path) {
    int fd;
    do
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    while (fd < 0 && errno == EINTR);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    return fd;
}
bool TryLock(intptr_t handle) {
    return ::flock(int(handle), LOCK_EX | LOCK_NB) == 0;
}
void Close(intptr_t handle) {
    ::close(int(handle)); // lets go of the lock too
}

#endif

} // namespace

std::optional<FileLock> FileLock::Take(const std::string& path,
                                       std::chrono::milliseconds patience) {
    const intptr_t handle = Open(path);
    if (handle == -1)
        return std::nullopt;
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (!TryLock(handle)) {
        if (std::chrono::steady_clock::now() >= giveUp) {
            Close(handle);
            return std::nullopt;
        }
        std::this_thread::sleep_for(kRetry);
    }
    return FileLock(handle);
}

FileLock::FileLock(FileLock&& other) noexcept : m_handle(other.m_handle) {
    other.m_handle = -1;
}

FileLock::~FileLock() {
    if (m_handle != -1)
        Close(m_handle);
}

} // namespace store
