// The longest text a user may type into a line edit. Unlike QLineEdit::setMaxLength it leaves
// texts set by the program whole, and lets the user shorten a longer text.
#pragma once

#include <QLineEdit>
#include <QValidator>

namespace ui {

class TypingLimit : public QValidator {
    Q_OBJECT

public:
    TypingLimit(QLineEdit* edit, int maxLength);
    State validate(QString& input, int& pos) const override;
    int maxLength() const { return m_maxLength; }

private:
    int m_maxLength;
    qsizetype m_lengthBefore = 0;
};

// Installs a typing limit on a line edit.
void SetTypingLimit(QLineEdit* edit, int maxLength);

} // namespace ui
