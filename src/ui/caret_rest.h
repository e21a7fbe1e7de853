// The text caret rests after a while without input, as desktops let it: a copy left all day with
// the keyboard focus in one of its fields would otherwise wake the system twice a second to blink
// it. The next key, click or activation lets it blink again.
#pragma once

class QApplication;

namespace ui {

void RestCaretWhenIdle(QApplication& application);

} // namespace ui
