#include "store/settings_file.h"

#include "runtime/conversions.h"
#include "store/file_read.h"
#include "store/file_system.h"
#include "store/xml_document.h"

namespace store {
namespace {

constexpr std::array<std::string_view, 21> kMainWindowElements{
    "PreventMultipleInstance",
    "XPStyle",
    "SysTray",
    "CloseMeansClose",
    "HideOnMinimize",
    "AlwaysonTop",
    "SafetyMechanism",
    "HyperClick",
    "RepeatClick",
    "Delay",
    "ClickIntervalinms",
    "Coordx",
    "Coordy",
    "Clicks",
    "Button",
    "HotKey",
    "KeepRepeatClick",
    "InitialRepeatClicks",
    "StartMinimized",
    "Range",
    "ClickInterval2inms",
};

// The first child of the root whose lower-cased name equals the lower-cased name.
XmlNode FindSetting(const XmlDocument& document, std::string_view name) {
    const std::string wanted = runtime::ToLowerAscii(name);
    for (const XmlNode& child : document.documentElement().childNodes())
        if (runtime::ToLowerAscii(child.nodeName()) == wanted)
            return child;
    return {};
}

} // namespace

std::vector<std::string_view> MainWindowWriteBackOrder(bool keepRepeatClickTicked,
                                                       int32_t initialRepeatClicks) {
    const bool writeInitial = keepRepeatClickTicked && initialRepeatClicks > 0;
    std::vector<std::string_view> order;
    for (const std::string_view name : kMainWindowElements)
        if (writeInitial || name != "InitialRepeatClicks")
            order.push_back(name);
    return order;
}

std::string SettingsPath(std::string_view folder) {
    return BuildPath(folder, "config.xml");
}

std::optional<std::string> GetConfigValue(const std::string& settingsFile, std::string_view name) {
    XmlDocument document;
    if (!document.load(settingsFile, kSmallFileLimit))
        return std::nullopt;
    return FindSetting(document, name).nodeTypedValue();
}

bool SetConfigValue(const std::string& settingsFile, std::string_view name,
                    std::string_view value) {
    XmlDocument document;
    if (!document.load(settingsFile, kSmallFileLimit))
        return false;
    if (XmlNode setting = FindSetting(document, name))
        setting.setNodeTypedValue(value);
    return document.save(settingsFile);
}

bool WriteDefaultSettings(const std::string& settingsFile) {
    return WriteFileAtomically(settingsFile, DefaultSettingsText());
}

std::string DefaultSettingsText() {
    std::string text;
    const auto WriteLine = [&text](std::string_view line) { text.append(line).append("\r\n"); };
    WriteLine(std::string("<?xml version=") + '"' + "1.0" + '"' + "?>");
    WriteLine("<!-- Do not change this file yourself, or else you may cause the application "
              "to malfunction! -->");
    WriteLine("<Settings>");
    for (const SettingDefault& setting : kSettingDefaults) {
        std::string line = "   <";
        line.append(setting.name).append(">").append(setting.text);
        line.append("</").append(setting.name).append(">");
        WriteLine(line);
    }
    WriteLine("</Settings>");
    return text;
}

SettingsState ExamineSettingsFile(const std::string& settingsFile) {
    XmlDocument document;
    switch (document.loadFile(settingsFile, kSmallFileLimit)) {
    case LoadResult::Loaded:
        return SettingsState::Loads;
    case LoadResult::Missing:
        return SettingsState::Missing;
    case LoadResult::Unreadable:
        return SettingsState::Unreadable;
    case LoadResult::TooLarge:
    case LoadResult::Damaged:
        break;
    }
    return SettingsState::Damaged;
}

std::string SettingsBackupPath(const std::string& settingsFile) {
    return settingsFile + ".bak";
}

WriteResult KeepSettingsBackup(const std::string& settingsFile) {
    return CopyFileAtomically(settingsFile, SettingsBackupPath(settingsFile),
                              LinkRule::ReplaceLink);
}

SettingsWrite ToSettingsWrite(WriteResult result) {
    switch (result) {
    case WriteResult::Written:
        return SettingsWrite::Saved;
    case WriteResult::NotRegularFile:
        return SettingsWrite::NotRegularFile;
    case WriteResult::ReadOnly:
        return SettingsWrite::ReadOnly;
    case WriteResult::ForeignLink:
        return SettingsWrite::ForeignLink;
    case WriteResult::Failed:
        break;
    }
    return SettingsWrite::Failed;
}

SettingsWrite SaveSettings(const std::string& settingsFile, const SettingValues& values) {
    XmlDocument document;
    std::string bytes;
    const ReadResult read = ReadWholeFile(settingsFile, bytes, kSmallFileLimit);
    if (read == ReadResult::Unreadable)
        return SettingsWrite::Unreadable;
    const bool damaged =
        read == ReadResult::TooLarge || (read == ReadResult::Read && !document.loadBytes(bytes));
    if (damaged && KeepSettingsBackup(settingsFile) != WriteResult::Written)
        return SettingsWrite::BackupFailed;
    if (damaged || read == ReadResult::Missing)
        bytes = DefaultSettingsText();
    // Each value as one load, change and save would leave the file, the next loading that.
    for (const auto& [name, value] : values) {
        if (!document.loadBytes(bytes))
            return SettingsWrite::Failed;
        if (XmlNode setting = FindSetting(document, name))
            setting.setNodeTypedValue(value);
        bytes = document.bytes();
    }
    return ToSettingsWrite(ReplaceFile(settingsFile, bytes));
}

} // namespace store
