// Menu shortcuts that text boxes would otherwise take: a line edit claims CTRL+E (end of line)
// and other editing keys before the menu sees them.
#pragma once

#include <QList>

class QAction;
class QWidget;

namespace ui {

// Every line edit inside `window` lets the shortcuts of these actions through to their menu.
void LetShortcutsThrough(QWidget* window, const QList<QAction*>& actions);

} // namespace ui
