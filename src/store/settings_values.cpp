#include "store/settings_values.h"

#include "runtime/conversions.h"
#include "store/settings_file.h"

namespace store {
namespace {

char HotKeyLetter(char c) {
    const char upper = runtime::ToUpperAscii(std::string_view(&c, 1)).front();
    return upper >= 'A' && upper <= 'Z' ? upper : 'C';
}

} // namespace

std::optional<bool> ReadBoolean(std::string_view text) {
    return runtime::BoolFromText(text);
}

std::optional<int16_t> ReadCheckState(std::string_view text) {
    const auto state = runtime::Int16FromText(text);
    if (!state || *state < 0 || *state > 2)
        return std::nullopt;
    return state;
}

std::optional<int16_t> ReadInteger(std::string_view text) {
    return runtime::Int16FromText(text);
}

std::optional<int32_t> ReadLongInteger(std::string_view text) {
    return runtime::Int32FromText(text);
}

std::optional<char> ReadHotKey(std::string_view text) {
    if (text.empty())
        return std::nullopt;
    return HotKeyLetter(text.front());
}

std::optional<MouseButton> ReadButton(std::string_view text) {
    const auto value = runtime::Int16FromText(text);
    if (!value)
        return std::nullopt;
    return *value == 2 ? MouseButton::Right : MouseButton::Left;
}

std::string BooleanText(bool value) {
    return runtime::FormatBool(value);
}

std::string IntegerText(int32_t value) {
    return std::to_string(value);
}

std::string NumberBoxText(std::string_view boxText) {
    return runtime::FormatNumber(runtime::Val(boxText));
}

std::string ButtonText(MouseButton button) {
    return button == MouseButton::Right ? "2" : "1";
}

std::string HotKeyText(char letter) {
    return std::string(1, HotKeyLetter(letter));
}

template <typename Value, typename Read>
Value SettingsReader::Converted(std::string_view name, Read read) const {
    const std::optional<Value> value = read(Text(name));
    if (!value)
        throw DamagedSettings("The setting " + std::string(name) + " in " + file_ +
                              " is missing or holds an unacceptable value");
    return *value;
}

bool SettingsReader::Boolean(std::string_view name) const {
    return Converted<bool>(name, ReadBoolean);
}

int16_t SettingsReader::CheckState(std::string_view name) const {
    return Converted<int16_t>(name, ReadCheckState);
}

int16_t SettingsReader::Integer(std::string_view name) const {
    return Converted<int16_t>(name, ReadInteger);
}

int32_t SettingsReader::LongInteger(std::string_view name) const {
    return Converted<int32_t>(name, ReadLongInteger);
}

std::string SettingsReader::Text(std::string_view name) const {
    std::optional<std::string> text = GetConfigValue(file_, name);
    if (!text)
        throw DamagedSettings("The settings file " + file_ + " does not load");
    return std::move(*text);
}

char SettingsReader::HotKey(std::string_view name) const {
    return Converted<char>(name, ReadHotKey);
}

MouseButton SettingsReader::Button(std::string_view name) const {
    return Converted<MouseButton>(name, ReadButton);
}

SettingsReader::RepeatClicks SettingsReader::ReadRepeatClicks() const {
    RepeatClicks clicks;
    clicks.keep = Boolean("KeepRepeatClick");
    if (clicks.keep) {
        clicks.initial = LongInteger("InitialRepeatClicks");
        clicks.boxText = IntegerText(clicks.initial);
    } else {
        clicks.boxText = Text("Clicks");
    }
    return clicks;
}

} // namespace store
