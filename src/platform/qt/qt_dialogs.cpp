#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_factories.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {
namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons) {
    switch (buttons) {
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MsgResult FromQtButton(int button, MsgButtons offered) {
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    default:
        break;
    }
    // Closed without a choice.
    if (offered == MsgButtons::Ok)
        return MsgResult::Ok;
    return offered == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
}

} // namespace

MsgResult QtDialogs::MessageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                MsgButtons buttons) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    ToQtButtons(buttons), QApplication::activeWindow());
    return FromQtButton(box.exec(), buttons);
}

std::optional<std::string> QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
    bool accepted = false;
    const QString answer = QInputDialog::getText(
        QApplication::activeWindow(), QString::fromStdString(title), QString::fromStdString(prompt),
        QLineEdit::Normal, QString::fromStdString(defaultText), &accepted);
    if (!accepted)
        return std::nullopt;
    return answer.toStdString();
}

std::unique_ptr<Dialogs> CreateToolkitDialogs() {
    return std::make_unique<QtDialogs>();
}

} // namespace platform
