// The one way the program replaces a file's contents: the bytes go to a temporary file in the
// target's folder, reach the disk, and the temporary file is then renamed over the target. A
// crash, a kill or a full disk at any moment leaves either the old file or the new one, never a
// mix of both.
#pragma once

#include <string>
#include <string_view>

namespace store {

// Temporary files are named prefix, process id, "-", a counter, suffix (".zorvane-812-3.tmp").
// The name never contains the target's name, so programs that act on files by name (the hot-key
// relay looks for "_HotKey") never mistake a temporary file for a real one. A writer killed
// before its rename leaves its temporary file behind; nothing else does.
inline constexpr std::string_view kTemporaryFilePrefix = ".zorvane-";
inline constexpr std::string_view kTemporaryFileSuffix = ".tmp";

// Replaces (or creates) the file at path with exactly these bytes. True once the new contents
// are on disk under the target's name. False when anything fails; the old file is then left as
// it was and no temporary file remains. A target without write permission for its owner is
// read-only and is not replaced (false). An existing target keeps its permission bits; a new
// one gets the usual permissions of a newly created file. A symbolic link is written through.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

} // namespace store
