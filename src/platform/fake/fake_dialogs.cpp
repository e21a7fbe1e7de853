#include "platform/fake/fake_dialogs.h"

namespace platform {

MsgResult FakeDialogs::MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                  MsgButtons buttons) {
    m_shown.push_back({text, title, icon, buttons});
    if (whileShown)
        whileShown();
    if (!m_messageAnswers.empty()) {
        const MsgResult answer = m_messageAnswers.front();
        m_messageAnswers.pop_front();
        return answer;
    }
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::Yes
                                                                              : MsgResult::Ok;
}

std::optional<std::string> FakeDialogs::InputBox(const std::string& prompt,
                                                 const std::string& title,
                                                 const std::string& defaultText) {
    m_asked.push_back({prompt, title, defaultText});
    if (m_inputAnswers.empty())
        return std::nullopt;
    auto answer = std::move(m_inputAnswers.front());
    m_inputAnswers.pop_front();
    return answer;
}

void FakeDialogs::clear() {
    m_shown.clear();
    m_asked.clear();
    m_messageAnswers.clear();
    m_inputAnswers.clear();
}

} // namespace platform
