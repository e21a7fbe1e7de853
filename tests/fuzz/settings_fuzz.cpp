// Reads every setting of any bytes taken as the settings file, each by its kind, then writes one
// back: a file that loads answers every read with a value or the damaged-settings condition, a
// file that does not load is never written, and a write changes only the element it names.
#include "fuzz_support.h"
#include "store/settings_file.h"
#include "store/settings_values.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace {

// Reads the setting by its kind; false when the reader reports the file damaged.
bool ReadByKind(const store::SettingsReader& reader, const store::SettingDefault& setting) {
    const std::string name(setting.name);
    try {
        switch (setting.kind) {
        case store::SettingKind::Boolean:
            store::BooleanText(reader.Boolean(name));
            break;
        case store::SettingKind::CheckState:
            fuzz::Expect(store::IntegerText(reader.CheckState(name)).size() == 1);
            break;
        case store::SettingKind::Integer:
            store::ButtonText(reader.Button(name));
            reader.Integer(name);
            break;
        case store::SettingKind::LongInteger:
            store::IntegerText(reader.LongInteger(name));
            break;
        case store::SettingKind::Letter: {
            const char letter = reader.HotKey(name);
            fuzz::Expect(letter >= 'A' && letter <= 'Z');
            fuzz::Expect(store::HotKeyText(letter) == std::string(1, letter));
            break;
        }
        case store::SettingKind::Text:
            store::NumberBoxText(reader.Text(name));
            break;
        }
        return true;
    } catch (const store::DamagedSettings&) {
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string file = fuzz::ScratchFile("config.xml");
    fuzz::WriteFile(file, input);

    std::array<std::optional<std::string>, store::kSettingDefaults.size()> before;
    const store::SettingsReader reader(file);
    for (size_t i = 0; i < store::kSettingDefaults.size(); ++i) {
        const store::SettingDefault& setting = store::kSettingDefaults[i];
        before[i] = store::GetConfigValue(file, setting.name);
        const bool read = ReadByKind(reader, setting);
        fuzz::Expect(before[i] || !read);
        fuzz::Expect(read || !before[i] || setting.kind != store::SettingKind::Text);
    }
    const bool loads = before[0].has_value();
    try {
        const store::SettingsReader::RepeatClicks clicks = reader.ReadRepeatClicks();
        fuzz::Expect(loads && (clicks.keep || clicks.initial == 0));
    } catch (const store::DamagedSettings&) {
    }

    const std::string value = store::NumberBoxText(input.substr(0, 24));
    if (!store::SetConfigValue(file, "Delay", value)) {
        fuzz::Expect(!loads || fuzz::ReadFile(file) == input);
        return 0;
    }
    fuzz::Expect(loads);
    // Character references can make texts that a save must change (a lone CR, blanks only);
    // without them every other element reads as before.
    const bool plain = input.find("&#") == std::string::npos;
    for (size_t i = 0; i < store::kSettingDefaults.size(); ++i) {
        const std::string_view name = store::kSettingDefaults[i].name;
        const std::optional<std::string> after = store::GetConfigValue(file, name);
        fuzz::Expect(after.has_value());
        if (name == "Delay")
            fuzz::Expect(*after == value || (before[i]->empty() && after->empty()));
        else if (plain)
            fuzz::Expect(*after == *before[i]);
    }
    return 0;
}
