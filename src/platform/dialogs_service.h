// Modal message box and one-line input box.
#pragma once

#include <optional>
#include <string>

namespace platform {

enum class MsgIcon { None, Information, Warning, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal message box and answers the button pressed (Cancel or No when the box is
    // closed without a choice, whichever it offers).
    virtual MsgResult MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                 MsgButtons buttons) = 0;
    // Shows a modal one-line input box; nullopt when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
};

} // namespace platform
