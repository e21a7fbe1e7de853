#include "ui/typing_limit.h"

namespace ui {

TypingLimit::TypingLimit(QLineEdit* edit, int maxLength)
    : QValidator(edit), m_maxLength(maxLength), m_lengthBefore(edit->text().size()) {
    connect(edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_lengthBefore = text.size(); });
}

QValidator::State TypingLimit::validate(QString& input, int& /*pos*/) const {
    if (input.size() > m_maxLength && input.size() > m_lengthBefore)
        return Invalid;
    return Acceptable;
}

void SetTypingLimit(QLineEdit* edit, int maxLength) {
    edit->setValidator(new TypingLimit(edit, maxLength));
}

} // namespace ui
