#include "ui/menu_shortcuts.h"

#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QWidget>

namespace ui {
namespace {

class ShortcutPassage final : public QObject {
public:
    ShortcutPassage(QObject* parent, const QList<QAction*>& actions)
        : QObject(parent), m_actions(actions) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* action : m_actions)
            if (!action->shortcut().isEmpty() && action->shortcut() == pressed) {
                event->ignore(); // not the box's: the shortcut goes to its menu
                return true;
            }
        return QObject::eventFilter(watched, event);
    }

private:
    QList<QAction*> m_actions;
};

} // namespace

void LetShortcutsThrough(QWidget* window, const QList<QAction*>& actions) {
    auto* passage = new ShortcutPassage(window, actions);
    for (QLineEdit* edit : window->findChildren<QLineEdit*>())
        edit->installEventFilter(passage);
}

} // namespace ui
