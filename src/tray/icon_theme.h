// Icon themes of the notification-area icon: reading a theme file into its idle and running frame
// lists, the frame stepping, where a stored path leads, and the themes an IconThemes folder
// offers. Toolkit-free; the tray window loads the pictures and runs the timers.
//
// A theme file is XML. Children of its root named IDLE or RUNNING (in any letter case) are
// sections; other children are ignored. A section's attribute "FrameInterval" is the time
// between frames in milliseconds; each node inside a section holds the path of one frame
// picture. A section that occurs twice adds its frames to the same sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {
class XmlDocument;
struct FolderFile;
} // namespace store

namespace tray {

// Real themes have a handful of frames and files of a few kilobytes; anything beyond these is
// cut (frames) or refused (files), so a hostile theme cannot freeze the program.
inline constexpr std::size_t kMostFrames = 100;      // per sequence
inline constexpr std::size_t kMostFrameNodes = 1000; // nodes looked at per sequence
inline constexpr std::uint64_t kMostThemeBytes = std::uint64_t{1} << 20;
inline constexpr std::uint64_t kMostFrameBytes = std::uint64_t{1} << 20;
// The theme submenu's items, "default" included.
inline constexpr std::size_t kMostThemeItems = 50;

// Frame intervals in milliseconds. 0 means the sequence does not step: only the frame shown at a
// start or stop is seen (the window must not run a timer of 0 then, which would spin a core).
// Shorter non-zero intervals are raised to the shortest; negative ones and ones over the
// longest are refused and the timer keeps the interval it had.
inline constexpr int kStillInterval = 0;
inline constexpr int kShortestInterval = 50;
inline constexpr int kLongestInterval = 65535;
inline constexpr int kFirstInterval = 1000; // a timer's interval before any theme sets one

// The timer's interval after a section's "FrameInterval" text (nullopt: no such attribute).
// A number as settings are read (decimal, or &H / &O), blanks around it allowed, rounded half to
// even; anything else keeps `previous`.
int NextInterval(int previous, const std::optional<std::string>& frameInterval);

struct FrameSequence {
    std::vector<std::string> frames; // resolved paths of existing files, in document order
    int interval = kFirstInterval;
};

struct IconTheme {
    FrameSequence idle;
    FrameSequence running;
};

// Answers whether a file (or, for folders, a folder) exists at a path.
using ExistsCheck = std::function<bool(const std::string&)>;

// Where a path stored in a settings or theme file leads. Either separator is accepted. An
// absolute path stays as it is. A relative one is taken against the current directory; when
// nothing is there it is looked up in the program's data folder, so a copy started from a
// desktop menu (whose current directory is the home folder) still finds its themes. When
// neither place holds it, the answer is the path against the current directory. An empty text
// stays empty.
std::string ResolvePath(std::string_view stored, std::string_view dataFolder,
                        const ExistsCheck& exists);

// Reads a loaded theme document. The timers' present intervals come in with `theme` (its frame
// lists are emptied first) and change where a section says so, the last valid one winning. Each
// frame's text, blanks around it dropped, is resolved as above; a frame naming no existing file
// is skipped; comments and processing instructions are not frames. A sequence keeps its first
// kMostFrames frames and looks at no more than kMostFrameNodes nodes.
void ReadIconTheme(const store::XmlDocument& document, std::string_view dataFolder,
                   const ExistsCheck& fileExists, IconTheme& theme);

// In every case the frame lists are emptied first; the intervals stay unless the file sets them.
enum class ThemeLoad {
    // No file at the path (or an empty path). The tray must not remember this path as loaded, and
    // must forget the one it had: its frames are gone, so choosing that theme again reads it anew.
    Missing,
    // A file is there but is no theme (unreadable, too large, not XML). The path counts as loaded,
    // so it is not read again until another theme was loaded.
    Damaged,
    Loaded,
};

// Resolves the stored theme path and reads the theme file there, frame paths resolved and checked
// against the real file system.
ThemeLoad LoadIconTheme(std::string_view storedPath, std::string_view dataFolder, IconTheme& theme);

// A frame picture's bytes: nullopt when the file cannot be read or is over kMostFrameBytes.
std::optional<std::string> ReadFrameBytes(const std::string& path);

// The picture slots a frame list fills, given whether each frame's picture loaded: each slot
// holds the index of its frame, or nullopt for an empty slot. There is always one slot; a frame
// that does not load leaves its slot empty, and the next frame takes that slot, so only a
// failure at the end leaves an empty slot behind.
std::vector<std::optional<std::size_t>> ArrangeSlots(const std::vector<bool>& loaded);

// The slot a tick shows: after a reset counting starts from 0, then the index moves one on and
// wraps after the last slot, so frames A, B, C show as B, C, A, B, ... An index past the end
// (the list became shorter) wraps to 0.
std::size_t NextFrameIndex(std::size_t index, std::size_t slotCount, bool reset);

// An item of the theme submenu: its caption and the path it stores when chosen.
struct ThemeItem {
    std::string caption;
    std::string path;
    friend bool operator==(const ThemeItem&, const ThemeItem&) = default;
};

// The submenu's items from a folder's files, sorted by name (letter case aside). Item 0 is
// "default" with an empty path until a file whose name contains "default" takes it (the last
// such file wins); every other file becomes an item after the last, up to kMostThemeItems.
std::vector<ThemeItem> ThemeItems(std::vector<store::FolderFile> files);

// The submenu's items for the IconThemes folder (resolved as a stored path, "IconThemes"); only
// "default" when there is no such folder or it cannot be read.
std::vector<ThemeItem> ListThemes(std::string_view dataFolder);

} // namespace tray
