#include "store/file_read.h"

#include "store/path_text.h"

#include <cerrno>
#include <filesystem>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace store {
namespace {

// Missing means no directory entry at all: a link that leads nowhere is there, but unreadable.
ReadResult OpenFailure(const fs::path& file) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    return status.type() == fs::file_type::not_found ? ReadResult::Missing : ReadResult::Unreadable;
}

#ifdef _WIN32

int OpenForReading(const fs::path& file) {
    int fd = -1;
    _wsopen_s(&fd, file.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
    return fd;
}
bool IsRegular(int fd, std::uint64_t& size) {
    struct _stat64 info {};
    if (_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)
        return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}
long ReadSome(int fd, char* buffer, unsigned size) {
    return _read(fd, buffer, size);
}
void Close(int fd) {
    _close(fd);
}

#else

// O_NONBLOCK: opening a FIFO without a writer, or a device, returns at once instead of waiting.
int OpenForReading(const fs::path& file) {
    int fd;
    do
        fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd;
}
bool IsRegular(int fd, std::uint64_t& size) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}
long ReadSome(int fd, char* buffer, unsigned size) {
    ssize_t got;
    do
        got = ::read(fd, buffer, size);
    while (got < 0 && errno == EINTR);
    return static_cast<long>(got);
}
void Close(int fd) {
    ::close(fd);
}

#endif

// Reads to the end, but never more than maxBytes: a file that grows while it is read is too
// large all the same.
ReadResult ReadAll(int fd, std::uint64_t maxBytes,
                   const std::function<bool(std::string_view)>& sink) {
    char buffer[65536];
    std::uint64_t total = 0;
    for (;;) {
        const long got = ReadSome(fd, buffer, sizeof buffer);
        if (got < 0)
            return ReadResult::Unreadable;
        if (got == 0)
            return ReadResult::Read;
        total += static_cast<std::uint64_t>(got);
        if (total > maxBytes)
            return ReadResult::TooLarge;
        if (!sink(std::string_view(buffer, static_cast<size_t>(got))))
            return ReadResult::Read;
    }
}

ReadResult Stream(const std::string& path, std::uint64_t maxBytes,
                  const std::function<bool(std::string_view)>& sink) {
    const fs::path file = ToFsPath(path);
    // A quick look first, so that a device is not even opened; the open file is checked again.
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return ReadResult::Unreadable;
    const int fd = OpenForReading(file);
    if (fd < 0)
        return OpenFailure(file);
    std::uint64_t size = 0;
    ReadResult result = ReadResult::Unreadable;
    if (IsRegular(fd, size))
        result = size > maxBytes ? ReadResult::TooLarge : ReadAll(fd, maxBytes, sink);
    Close(fd);
    return result;
}

} // namespace

ReadResult ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes) {
    bytes.clear();
    const ReadResult result = Stream(path, maxBytes, [&bytes](std::string_view piece) {
        bytes.append(piece);
        return true;
    });
    if (result != ReadResult::Read)
        bytes.clear();
    return result;
}

ReadResult ReadFileInPieces(const std::string& path,
                            const std::function<bool(std::string_view)>& sink) {
    return Stream(path, UINT64_MAX, sink);
}

} // namespace store
