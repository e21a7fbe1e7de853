#include "tray/icon_theme.h"

#include "runtime/conversions.h"
#include "store/file_system.h"
#include "store/path_text.h"
#include "store/xml_document.h"

#include <algorithm>
#include <utility>

namespace tray {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsFrameNode(const store::XmlNode& node) {
    const store::XmlNodeType type = node.nodeType();
    return type != store::XmlNodeType::Comment && type != store::XmlNodeType::Instruction;
}

std::optional<std::string> FrameIntervalOf(const store::XmlNode& section) {
    const store::XmlNode attribute = section.attributes().getNamedItem("FrameInterval");
    if (!attribute)
        return std::nullopt;
    return attribute.text();
}

// `looked` counts the nodes looked at for the sequence so far, over every section of its name.
void ReadSection(const store::XmlNode& section, std::string_view dataFolder,
                 const ExistsCheck& fileExists, FrameSequence& sequence, std::size_t& looked) {
    sequence.interval = NextInterval(sequence.interval, FrameIntervalOf(section));
    for (const store::XmlNode& node : section.childNodes()) {
        if (sequence.frames.size() >= kMostFrames || looked >= kMostFrameNodes)
            return;
        ++looked;
        if (!IsFrameNode(node))
            continue;
        const std::string path = ResolvePath(TrimBlanks(node.text()), dataFolder, fileExists);
        if (!path.empty() && fileExists(path))
            sequence.frames.push_back(path);
    }
}

std::string WithoutLeadingDot(std::string path) {
    const std::string dot = std::string(".") + store::kPathSeparator;
    while (path.starts_with(dot))
        path.erase(0, dot.size());
    return path;
}

} // namespace

int NextInterval(int previous, const std::optional<std::string>& frameInterval) {
    if (!frameInterval)
        return previous;
    const std::optional<int32_t> value = runtime::Int32FromText(*frameInterval);
    if (!value || *value < 0 || *value > kLongestInterval)
        return previous;
    if (*value == kStillInterval)
        return kStillInterval;
    return *value < kShortestInterval ? kShortestInterval : *value;
}

std::string ResolvePath(std::string_view stored, std::string_view dataFolder,
                        const ExistsCheck& exists) {
    const std::string local = store::LocalPath(stored);
    if (local.empty() || store::ToFsPath(local).is_absolute() || exists(local) ||
        dataFolder.empty())
        return local;
    const std::string inData = store::BuildPath(dataFolder, WithoutLeadingDot(local));
    return exists(inData) ? inData : local;
}

void ReadIconTheme(const store::XmlDocument& document, std::string_view dataFolder,
                   const ExistsCheck& fileExists, IconTheme& theme) {
    theme.idle.frames.clear();
    theme.running.frames.clear();
    std::size_t idleLooked = 0, runningLooked = 0;
    for (const store::XmlNode& child : document.documentElement().childNodes()) {
        if (child.nodeType() != store::XmlNodeType::Element)
            continue;
        const std::string name = runtime::ToUpperAscii(child.nodeName());
        if (name == "IDLE")
            ReadSection(child, dataFolder, fileExists, theme.idle, idleLooked);
        else if (name == "RUNNING")
            ReadSection(child, dataFolder, fileExists, theme.running, runningLooked);
    }
}

ThemeLoad LoadIconTheme(std::string_view storedPath, std::string_view dataFolder,
                        IconTheme& theme) {
    const ExistsCheck fileExists = [](const std::string& path) { return store::FileExists(path); };
    theme.idle.frames.clear();
    theme.running.frames.clear();
    const std::string path = ResolvePath(storedPath, dataFolder, fileExists);
    if (path.empty() || !fileExists(path))
        return ThemeLoad::Missing;
    store::XmlDocument document;
    if (!document.load(path, kMostThemeBytes))
        return ThemeLoad::Damaged;
    ReadIconTheme(document, dataFolder, fileExists, theme);
    return ThemeLoad::Loaded;
}

std::optional<std::string> ReadFrameBytes(const std::string& path) {
    std::string bytes;
    if (store::ReadWholeFile(path, bytes, kMostFrameBytes) != store::ReadResult::Read)
        return std::nullopt;
    return bytes;
}

std::vector<std::optional<std::size_t>> ArrangeSlots(const std::vector<bool>& loaded) {
    std::vector<std::optional<std::size_t>> slots(1);
    for (std::size_t frame = 0; frame < loaded.size(); ++frame) {
        if (slots.back())
            slots.emplace_back();
        if (loaded[frame])
            slots.back() = frame;
    }
    return slots;
}

std::size_t NextFrameIndex(std::size_t index, std::size_t slotCount, bool reset) {
    if (reset)
        index = 0;
    return index + 1 < slotCount ? index + 1 : 0;
}

std::vector<ThemeItem> ThemeItems(std::vector<store::FolderFile> files) {
    const auto key = [](const store::FolderFile& file) {
        return std::make_pair(runtime::ToLowerAscii(file.name), file.name);
    };
    std::sort(files.begin(), files.end(),
              [&](const auto& a, const auto& b) { return key(a) < key(b); });
    std::vector<ThemeItem> items{{"default", ""}};
    for (const store::FolderFile& file : files) {
        if (file.name.find("default") != std::string::npos)
            items.front() = {file.name, file.path};
        else if (items.size() < kMostThemeItems)
            items.push_back({file.name, file.path});
    }
    return items;
}

std::vector<ThemeItem> ListThemes(std::string_view dataFolder) {
    const std::string folder = ResolvePath("IconThemes", dataFolder, [](const std::string& path) {
        return store::FolderExists(path);
    });
    const auto files = store::GetFolder(folder);
    return ThemeItems(files.value_or(std::vector<store::FolderFile>{}));
}

} // namespace tray
