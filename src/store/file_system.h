// File and folder access: joining paths, testing for files and folders, writing 8-bit text files,
// deleting files and listing a folder. Paths are UTF-8 texts; a relative path is taken against
// the process's current directory.
#pragma once

#include "store/atomic_write.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// <windows.h> defines DeleteFile as a macro, which would rename the function below.
#ifdef DeleteFile
#undef DeleteFile
#endif

namespace store {

// The platform's path separator: '\\' on Windows, '/' elsewhere.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The folder and the name joined with exactly one separator between them. A folder ending in
// '/' or '\\' gets none added; separators leading the name are dropped. An empty folder gives
// the name alone.
std::string BuildPath(std::string_view folder, std::string_view name);

// A path text as stored in the program's files (".\IconThemes\default_icontheme.xml") made
// usable here: either separator becomes the platform's own.
std::string LocalPath(std::string_view storedPath);

// True when a file (not a folder) exists at the path.
bool FileExists(const std::string& path);

// Which version of a file is on disk: any write through this library replaces the file, so a
// changed file has another version. nullopt when there is no such file.
struct FileVersion {
    uint64_t identity = 0; // the file's serial number where the file system has one
    int64_t modified = 0;  // last write, in the clock's own ticks
    uint64_t size = 0;
    friend bool operator==(const FileVersion&, const FileVersion&) = default;
};
std::optional<FileVersion> GetFileVersion(const std::string& path);

// True when a folder exists at the path.
bool FolderExists(const std::string& path);

// True when the folder lies on a network file system (NFS, SMB, a FUSE mount...), where this
// host hears nothing of what other hosts change in it.
bool OnNetworkFileSystem(const std::string& folder);

// Removes the file at the path without forcing: a read-only file (one whose owner may not
// write it) is left in place. False when nothing was removed: no such file, a folder, a
// read-only file, or the system refused.
bool DeleteFile(const std::string& path);

// One file directly inside a folder.
struct FolderFile {
    std::string name; // with extension, without folder
    std::string path; // the full path
};

// Every file directly in the folder (sub-folders are not files), in the order the file system
// gives them. nullopt when the folder cannot be read.
std::optional<std::vector<FolderFile>> GetFolder(const std::string& folder);

// A text file being written: lines collect in memory and Close puts the whole file in place at
// once (see atomic_write.h), so a reader never sees a half-written file. A stream destroyed
// without Close writes nothing.
class TextStream {
public:
    explicit TextStream(std::string path, LinkRule links = LinkRule::WriteThrough);

    // Adds the text's bytes unchanged (8-bit text), then CR LF.
    void WriteLine(std::string_view text);

    // Replaces or creates the file with the lines written. True when the file is complete on
    // disk; false when the write failed (an existing file is then left as it was) or the stream
    // was already closed.
    bool Close();

private:
    std::string path_;
    LinkRule links_;
    std::string contents_;
    bool closed_ = false;
};

// A new, empty text stream on the path; Close replaces any existing file of that name (a link
// there as the rule says, see atomic_write.h).
TextStream CreateTextFile(const std::string& path, LinkRule links = LinkRule::WriteThrough);

} // namespace store
