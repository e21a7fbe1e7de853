#include "shell/window_on_top.h"

#include <QWidget>
#include <QWindow>

namespace shell {

void SetTopMost(QWidget* window, bool on) {
    Qt::WindowFlags flags = window->windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (QWindow* native = window->windowHandle()) {
        // Changing the widget's flags would hide and recreate a shown window; tell the native
        // window directly and keep the widget's record in step.
        window->overrideWindowFlags(flags);
        native->setFlags(flags);
    } else {
        window->setWindowFlags(flags);
    }
}

} // namespace shell
