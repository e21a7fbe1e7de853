#include "store/file_system.h"

#include "store/atomic_write.h"
#include "store/path_text.h"

#include <filesystem>
#include <utility>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/statfs.h>
#endif

namespace fs = std::filesystem;

namespace store {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

} // namespace

bool OnNetworkFileSystem(const std::string& folder) {
#ifdef _WIN32
    (void)folder;
    return false;
#else
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0)
        return false;
    // NFS, SMB, CIFS, SMB2, FUSE, 9P, AFS, Coda, Ceph.
    const unsigned long magic = static_cast<unsigned long>(info.f_type);
    for (const unsigned long network :
         {0x6969ul, 0x517Bul, 0xFF534D42ul, 0xFE534D42ul, 0x65735546ul, 0x01021997ul, 0x5346414Ful,
          0x73757245ul, 0x00C36400ul})
        if (magic == network)
            return true;
    return false;
#endif
}

std::string BuildPath(std::string_view folder, std::string_view name) {
    if (folder.empty())
        return std::string(name);
    while (!name.empty() && IsSeparator(name.front()))
        name.remove_prefix(1);
    std::string path(folder);
    if (!IsSeparator(path.back()))
        path += kPathSeparator;
    path += name;
    return path;
}

std::string LocalPath(std::string_view storedPath) {
    std::string path(storedPath);
    for (char& c : path)
        if (IsSeparator(c))
            c = kPathSeparator;
    return path;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(ToFsPath(path), error);
}

// Asked 20 times a second by every watching copy: one look at the file where the system gives
// all at once.
std::optional<FileVersion> GetFileVersion(const std::string& path) {
#ifndef _WIN32
    struct stat status {};
    if (::stat(ToFsPath(path).c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileVersion{static_cast<uint64_t>(status.st_ino),
                       int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
                       static_cast<uint64_t>(status.st_size)};
#else
    std::error_code error;
    const fs::path file = ToFsPath(path);
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    FileVersion version;
    version.size = fs::file_size(file, error);
    version.modified = fs::last_write_time(file, error).time_since_epoch().count();
    if (error)
        return std::nullopt;
    return version;
#endif
}

bool FolderExists(const std::string& path) {
    std::error_code error;
    return fs::is_directory(ToFsPath(path), error);
}

bool DeleteFile(const std::string& path) {
    const fs::path file = ToFsPath(path);
    std::error_code error;
    const fs::file_status status = fs::symlink_status(file, error);
    if (error || fs::is_directory(status) || !fs::exists(status))
        return false;
    if ((status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return false;
    return fs::remove(file, error) && !error;
}

std::optional<std::vector<FolderFile>> GetFolder(const std::string& folder) {
    std::error_code error;
    const fs::path base = fs::absolute(ToFsPath(folder), error).lexically_normal();
    fs::directory_iterator it(base, error);
    if (error)
        return std::nullopt;
    std::vector<FolderFile> files;
    while (it != fs::directory_iterator()) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            files.push_back({PathText(it->path().filename()), PathText(it->path())});
        it.increment(error);
        if (error)
            return std::nullopt;
    }
    return files;
}

TextStream::TextStream(std::string path, LinkRule links) : path_(std::move(path)), links_(links) {}

void TextStream::WriteLine(std::string_view text) {
    contents_ += text;
    contents_ += "\r\n";
}

bool TextStream::Close() {
    if (closed_)
        return false;
    closed_ = true;
    return WriteFileAtomically(path_, contents_, links_);
}

TextStream CreateTextFile(const std::string& path, LinkRule links) {
    return TextStream(path, links);
}

} // namespace store
