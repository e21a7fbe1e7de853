// The one way the program replaces a file's contents: the bytes go to a temporary file in the
// target's folder, reach the disk, and the temporary file is then renamed over the target. A
// crash, a kill or a full disk at any moment leaves either the old file or the new one, never a
// mix of both.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace store {

// Temporary files are named prefix, process id, "-", a counter, suffix (".zorvane-812-3.tmp").
// The name never contains the target's name, so programs that act on files by name (the hot-key
// relay looks for "_HotKey") never mistake a temporary file for a real one. A writer killed
// before its rename leaves its temporary file behind; SweepStaleTemporaryFiles removes it later.
inline constexpr std::string_view kTemporaryFilePrefix = ".zorvane-";
inline constexpr std::string_view kTemporaryFileSuffix = ".tmp";

// What a symbolic link at the target means.
enum class LinkRule {
    // The link stays; the regular file it finally leads to gets the new contents (the temporary
    // file is made beside that file). A link to anything else is refused, and so is a way through
    // a link that another user owns.
    WriteThrough,
    // The link itself is replaced by a new regular file; what it pointed to is left alone. For
    // files that are the program's own (a hot-key signal file, the manifest).
    ReplaceLink,
};

enum class WriteResult {
    Written,
    NotRegularFile, // a FIFO, device, folder, or a link leading nowhere or to one of those:
                    // refused, nothing replaced
    ReadOnly,       // a regular file without write permission for its owner: not replaced
    ForeignLink,    // a link another user owns: not written through (it may lead to a file of
                    // this user's that its owner could not touch)
    Failed,         // the folder cannot be written, the disk is full...: the old file is intact
};

// Replaces (or creates) the file at path with exactly these bytes. Written once the new contents
// are on disk under the target's name; otherwise the old file is left as it was and no temporary
// file remains. An existing regular file keeps its permission bits; a new one (or one replacing
// a link) may be read and written by its user only (0600).
WriteResult ReplaceFile(const std::string& path, std::string_view bytes,
                        LinkRule links = LinkRule::WriteThrough);

// The same for a file that must stay its user's alone (a secret): it is 0600 also where it
// replaces a file others could read.
WriteResult ReplacePrivateFile(const std::string& path, std::string_view bytes,
                               LinkRule links = LinkRule::WriteThrough);

// The same, answering true when Written.
bool WriteFileAtomically(const std::string& path, std::string_view bytes,
                         LinkRule links = LinkRule::WriteThrough);

// Replaces (or creates) target with a copy of source, under the same rules, except that the copy
// is always its user's alone (0600), whoever could read the source. The copy streams, so a file
// of any size costs little memory. Failed when source is not a readable regular file.
WriteResult CopyFileAtomically(const std::string& source, const std::string& target,
                               LinkRule links = LinkRule::WriteThrough);

// Why the calling thread's last write through this library did not happen, for a message: the
// system's own words where it refused ("No space left on device"), else what stood in the way
// ("it is read-only"). Empty after a write that succeeded.
std::string LastWriteFailure();

// The folder a write through the link at path lands in (the folder of the regular file the link
// finally leads to); nullopt when no link of this user's stands there or it leads to no file.
std::optional<std::string> WriteThroughFolder(const std::string& path);

// Removes this user's temporary files in the folder whose writer process has ended. Answers how
// many.
int SweepStaleTemporaryFiles(const std::string& folder);

// The two system calls that make a replacement durable, replaceable so that a test can see that
// the temporary file reaches the disk before it is renamed. flush is fsync (_commit on Windows);
// rename replaces `to` by `from`.
struct DurabilityCalls {
    int (*flush)(int fd);
    bool (*rename)(const std::filesystem::path& from, const std::filesystem::path& to);
};
DurabilityCalls& WriterDurabilityCalls();

} // namespace store
