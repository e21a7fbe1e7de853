// Keeping a window above all others.
#pragma once

class QWidget;

namespace shell {

// Places the window above all others (on) or back among them (off). A visible window keeps its
// place and is not hidden or redrawn on the way.
void SetTopMost(QWidget* window, bool on);

} // namespace shell
