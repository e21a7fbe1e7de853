#include "store/settings_file.h"

#include "runtime/conversions.h"
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
    if (!document.load(settingsFile))
        return std::nullopt;
    return FindSetting(document, name).nodeTypedValue();
}

bool SetConfigValue(const std::string& settingsFile, std::string_view name,
                    std::string_view value) {
    XmlDocument document;
    if (!document.load(settingsFile))
        return false;
    if (XmlNode setting = FindSetting(document, name))
        setting.setNodeTypedValue(value);
    return document.save(settingsFile);
}

bool WriteDefaultSettings(const std::string& settingsFile) {
    TextStream stream = CreateTextFile(settingsFile);
    stream.WriteLine(std::string("<?xml version=") + '"' + "1.0" + '"' + "?>");
    stream.WriteLine("<!-- Do not change this file yourself, or else you may cause the application "
                     "to malfunction! -->");
    stream.WriteLine("<Settings>");
    for (const SettingDefault& setting : kSettingDefaults) {
        std::string line = "   <";
        line.append(setting.name).append(">").append(setting.text);
        line.append("</").append(setting.name).append(">");
        stream.WriteLine(line);
    }
    stream.WriteLine("</Settings>");
    return stream.Close();
}

} // namespace store
