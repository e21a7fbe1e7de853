// Menu items whose click handlers flip their own check marks, so that program code can call a
// handler and get exactly what a click gives.
#pragma once

#include <QAction>

#include <functional>

namespace ui {

// Makes the item checkable and calls handler when the user chooses it, with the check mark as it
// was before the choice (the toolkit's own flip is undone first).
void OnMenuClick(QAction* item, std::function<void()> handler);

// A checkable item that is not flipped by a choice (its handler decides).
QAction* AddMenuItem(QWidget* menu, const QString& caption, std::function<void()> handler,
                     const QKeySequence& shortcut = {});

} // namespace ui
