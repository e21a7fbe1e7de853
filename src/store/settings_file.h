// The settings file, config.xml beside the executable: a root element with one child element per
// setting, whose text is the setting's value. Every access loads the whole file into a fresh
// document, and every change saves the whole file again; nothing is cached between calls.
#pragma once

#include "store/atomic_write.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

// How a setting's text is read (see settings_values.h).
enum class SettingKind { Boolean, CheckState, Text, Integer, LongInteger, Letter };

struct SettingDefault {
    std::string_view name; // the element name, spelled exactly so
    SettingKind kind;
    std::string_view text; // the text the default file holds
};

// Every setting, in the order of the default file.
inline constexpr std::array<SettingDefault, 27> kSettingDefaults{{
    {"PreventMultipleInstance", SettingKind::Boolean, "True"},
    {"AlwaysonTop", SettingKind::Boolean, "True"},
    {"SafetyMechanism", SettingKind::Boolean, "True"},
    {"HyperClick", SettingKind::Boolean, "False"},
    {"RepeatClick", SettingKind::CheckState, "0"},
    {"Delay", SettingKind::Text, "0"},
    {"ClickIntervalinms", SettingKind::Text, "1000"},
    {"Coordx", SettingKind::Text, "0"},
    {"Coordy", SettingKind::Text, "0"},
    {"Clicks", SettingKind::Text, "1"},
    {"Button", SettingKind::Integer, "1"},
    {"HotKey", SettingKind::Letter, "C"},
    {"KeepRepeatClick", SettingKind::Boolean, "False"},
    {"InitialRepeatClicks", SettingKind::LongInteger, "1"},
    {"StartMinimized", SettingKind::Boolean, "False"},
    {"AutoMinimize", SettingKind::CheckState, "0"},
    {"ClickInterval2inms", SettingKind::Text, "1000"},
    {"Range", SettingKind::CheckState, "0"},
    {"Loop", SettingKind::Text, "1"},
    {"XPStyle", SettingKind::Boolean, "1"},
    {"SysTray", SettingKind::Boolean, "0"},
    {"CloseMeansClose", SettingKind::Boolean, "1"},
    {"HideOnMinimize", SettingKind::Boolean, "1"},
    {"TrayIconMode", SettingKind::Integer, "1"},
    {"TrayIconIdleAnimate", SettingKind::Boolean, "1"},
    {"TrayIconRunningAnimate", SettingKind::Boolean, "1"},
    {"TrayIconThemeFile", SettingKind::Text, ".\\IconThemes\\default_icontheme.xml"},
}};

// The elements the main window writes back when it closes, in this order, each by one
// SetConfigValue call. InitialRepeatClicks is among them only while "Keep initial value" is
// ticked and the kept count is above 0; otherwise the file keeps what it holds.
std::vector<std::string_view> MainWindowWriteBackOrder(bool keepRepeatClickTicked,
                                                       int32_t initialRepeatClicks);

// The settings file in a folder (the executable's).
std::string SettingsPath(std::string_view folder);

// The text of the first child of the root whose name equals the name, both lower-cased; the
// empty text when no child matches. nullopt when the file does not load (missing or damaged).
std::optional<std::string> GetConfigValue(const std::string& settingsFile, std::string_view name);

// Sets the text of the first matching child (matched as above) and saves the file, also when no
// child matched: a missing element is never created. False when the file does not load (nothing
// is written then) or the save fails (the old file is then intact).
bool SetConfigValue(const std::string& settingsFile, std::string_view name, std::string_view value);

// Creates or replaces the settings file with the default file: 31 lines of 8-bit text, each
// ended by CR LF, no byte-order mark. False when the write fails (an old file is then intact).
bool WriteDefaultSettings(const std::string& settingsFile);
// The default file's bytes, as WriteDefaultSettings writes them.
std::string DefaultSettingsText();

// What stands at the settings file's place. Reads are limited to kSmallFileLimit (file_read.h):
// a file far larger than any settings file is damaged.
enum class SettingsState { Loads, Missing, Unreadable, Damaged };
SettingsState ExamineSettingsFile(const std::string& settingsFile);

// Where a damaged settings file's bytes are kept: the file's path followed by ".bak".
std::string SettingsBackupPath(const std::string& settingsFile);
// Copies the settings file to its backup path, replacing an earlier backup (a link there is
// replaced, never written through).
WriteResult KeepSettingsBackup(const std::string& settingsFile);

// How writing settings went.
enum class SettingsWrite {
    Saved,
    Unreadable,     // the file is there but cannot be read: nothing written
    BackupFailed,   // a damaged file whose bytes could not be kept: nothing written
    NotRegularFile, // see WriteResult
    ReadOnly,
    ForeignLink,
    Failed,
};
SettingsWrite ToSettingsWrite(WriteResult result);

// Writes the values in this order into the settings file: the file ends up with exactly the
// bytes that one SetConfigValue call per value would leave, but is replaced once, so that an
// interruption leaves either the old file or the new one. A missing file starts from the default
// file; so does a damaged one, after its bytes are kept (KeepSettingsBackup).
using SettingValues = std::vector<std::pair<std::string_view, std::string>>;
SettingsWrite SaveSettings(const std::string& settingsFile, const SettingValues& values);

} // namespace store
