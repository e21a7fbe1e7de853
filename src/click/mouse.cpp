#include "click/mouse.h"

namespace click {

int32_t cMouse::x() const {
    return m_input.GetCursorPos().x;
}

int32_t cMouse::y() const {
    return m_input.GetCursorPos().y;
}

void cMouse::setX(int32_t value) {
    MoveTo(value, y());
}

void cMouse::setY(int32_t value) {
    MoveTo(x(), value);
}

void cMouse::MoveTo(int32_t x, int32_t y) {
    m_input.SetCursorPos(x, y);
}

void cMouse::Click(int32_t eButton) {
    uint32_t down = kLeftDownFlags;
    uint32_t up = kLeftUpFlags;
    if (eButton == kRightButton) {
        down = kRightDownFlags;
        up = kRightUpFlags;
    } else if (eButton == kMiddleButton) {
        down = kMiddleDownFlags;
        up = kMiddleUpFlags;
    }
    m_input.MouseEvent(down);
    m_input.MouseEvent(up);
}

} // namespace click
