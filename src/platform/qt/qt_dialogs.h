// Message and input boxes over QMessageBox and QInputDialog, parented to the active window.
#pragma once

#include "platform/dialogs_service.h"

namespace platform {

class QtDialogs final : public Dialogs {
public:
    MsgResult MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
};

} // namespace platform
