// How each kind of setting is read from its stored text, and the texts written back.
// Toolkit-free; the windows call these when they fill their controls and when they close.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace store {

enum class MouseButton { Left, Right };

// Readers: nullopt when the text is not acceptable for its kind (a damaged settings file).

// "True" / "False" in any letter case, or a number (0 is False, any other number True).
std::optional<bool> ReadBoolean(std::string_view text);
// A check box state: a number rounded half to even into 16 bits that is 0, 1 or 2.
std::optional<int16_t> ReadCheckState(std::string_view text);
// A number rounded half to even into 16 bits.
std::optional<int16_t> ReadInteger(std::string_view text);
// A number rounded half to even into 32 bits (InitialRepeatClicks).
std::optional<int32_t> ReadLongInteger(std::string_view text);
// The hot-key letter: the first character upper-cased; a letter A to Z is kept, anything else
// becomes 'C'. nullopt for the empty text.
std::optional<char> ReadHotKey(std::string_view text);
// The mouse button: a 16-bit integer, 2 for the right button, any other for the left.
std::optional<MouseButton> ReadButton(std::string_view text);

// Texts written back.

// "True" or "False".
std::string BooleanText(bool value);
// The decimal state: "0", "1" or "2" for a check box.
std::string IntegerText(int32_t value);
// A number box's text as stored: its leading number in shortest decimal form ("12abc" gives
// "12", "abc" and "" give "0").
std::string NumberBoxText(std::string_view boxText);
// "2" for the right button, "1" for the left.
std::string ButtonText(MouseButton button);
// The hot-key letter in upper case; anything but a letter is written as "C".
std::string HotKeyText(char letter);

// The damaged-settings condition: the file does not load, a Boolean, check-box, integer or
// hot-key element is missing, or its text is not acceptable. Start-up recovers from it by
// writing the default file.
class DamagedSettings : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads settings from one settings file, each by one GetConfigValue call and the conversion of
// its kind. Every read throws DamagedSettings when the file does not load; every kind but Text
// also when its conversion fails (a missing element reads as the empty text).
class SettingsReader {
public:
    explicit SettingsReader(std::string settingsFile) : file_(std::move(settingsFile)) {}

    bool Boolean(std::string_view name) const;
    int16_t CheckState(std::string_view name) const;
    int16_t Integer(std::string_view name) const;
    int32_t LongInteger(std::string_view name) const;
    // The stored text unchanged; "" for a missing element.
    std::string Text(std::string_view name) const;
    char HotKey(std::string_view name) const;
    MouseButton Button(std::string_view name) const;

    // The number-of-clicks settings as the main window takes them: KeepRepeatClick, then either
    // InitialRepeatClicks (read only when kept), whose decimal text also becomes the clicks
    // box's text, or Clicks for the box.
    struct RepeatClicks {
        bool keep = false;
        int32_t initial = 0; // 0 when not kept
        std::string boxText;
    };
    RepeatClicks ReadRepeatClicks() const;

private:
    template <typename Value, typename Read>
    Value Converted(std::string_view name, Read read) const;

    std::string file_;
};

} // namespace store
