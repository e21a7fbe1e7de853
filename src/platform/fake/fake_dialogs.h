// Dialogs that never block: they record every box and answer from a script.
#pragma once

#include "platform/dialogs_service.h"

#include <deque>
#include <functional>
#include <vector>

namespace platform {

class FakeDialogs final : public Dialogs {
public:
    struct Shown {
        std::string text;
        std::string title;
        MsgIcon icon;
        MsgButtons buttons;
    };
    struct Asked {
        std::string prompt;
        std::string title;
        std::string defaultText;
    };

    MsgResult MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override;
    std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;

    // The next answers, in order; without one a message box answers Ok (or the first button it
    // offers) and an input box is cancelled.
    void scriptMessageAnswer(MsgResult answer) { m_messageAnswers.push_back(answer); }
    void scriptInputAnswer(std::optional<std::string> answer) {
        m_inputAnswers.push_back(std::move(answer));
    }

    // Runs while a message box is shown, as timers do in a real box's own event loop.
    std::function<void()> whileShown;
    const std::vector<Shown>& shown() const { return m_shown; }
    const std::vector<Asked>& asked() const { return m_asked; }
    void clear();

private:
    std::vector<Shown> m_shown;
    std::vector<Asked> m_asked;
    std::deque<MsgResult> m_messageAnswers;
    std::deque<std::optional<std::string>> m_inputAnswers;
};

} // namespace platform
