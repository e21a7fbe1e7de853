#include "ui/menu_click.h"

#include <QWidget>

namespace ui {

void OnMenuClick(QAction* item, std::function<void()> handler) {
    item->setCheckable(true);
    QObject::connect(item, &QAction::triggered, item,
                     [item, handler = std::move(handler)](bool checked) {
                         item->setChecked(!checked);
                         handler();
                     });
}

QAction* AddMenuItem(QWidget* menu, const QString& caption, std::function<void()> handler,
                     const QKeySequence& shortcut) {
    auto* item = new QAction(caption, menu);
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    OnMenuClick(item, std::move(handler));
    menu->addAction(item);
    return item;
}

} // namespace ui
