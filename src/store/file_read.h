// The one way the program reads a file: without blocking, only a regular file (a link may lead to
// one), and only up to a size far beyond any real file of its kind, so that a FIFO, a device or a
// huge file planted where a file is expected never hangs or freezes the program.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace store {

// Settings and hot-key signal files are a few kilobytes; anything over this is not one of them.
inline constexpr std::uint64_t kSmallFileLimit = std::uint64_t{1} << 20;
// Event files and icon themes.
inline constexpr std::uint64_t kLargeFileLimit = std::uint64_t{16} << 20;

enum class ReadResult {
    Read,
    Missing,    // nothing at all at the path
    Unreadable, // something is there but cannot be read: no permission, not a regular file (a
                // FIFO, device or folder), a link leading nowhere
    TooLarge,   // a regular file over the limit; nothing of it is read
};

// Reads the whole file into bytes (emptied first). Only Read leaves bytes filled.
ReadResult ReadWholeFile(const std::string& path, std::string& bytes, std::uint64_t maxBytes);

// Hands a file's bytes to sink piece by piece, with the same checks and no size limit; stops
// early (answering Read) when sink answers false.
ReadResult ReadFileInPieces(const std::string& path,
                            const std::function<bool(std::string_view)>& sink);

} // namespace store
