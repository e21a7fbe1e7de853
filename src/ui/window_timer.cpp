#include "ui/window_timer.h"

namespace ui {

std::optional<WindowTimer::Clock::time_point> WindowTimer::s_tickDue;

WindowTimer::WindowTimer(int interval, QObject* parent) : QObject(parent), m_interval(interval) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WindowTimer::fire);
}

void WindowTimer::setInterval(int milliseconds) {
    m_interval = milliseconds;
    if (m_enabled)
        start(s_tickDue.value_or(Clock::now()));
}

void WindowTimer::setEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        start(s_tickDue.value_or(Clock::now()));
    else
        m_timer.stop();
}

void WindowTimer::start(Clock::time_point base) {
    m_timer.stop();
    if (m_interval <= 0)
        return;
    m_due = base + std::chrono::milliseconds(m_interval);
    arm();
}

void WindowTimer::arm() {
    const auto now = Clock::now();
    if (m_due < now) {
        // Fell behind by more than a tick (a busy or blocked window thread): ticks do not
        // pile up; the next one comes a full interval from now.
        m_due = now + std::chrono::milliseconds(m_interval);
    }
    const auto wait = std::chrono::round<std::chrono::milliseconds>(m_due - now);
    m_timer.start(wait);
}

void WindowTimer::fire() {
    if (!m_enabled || m_interval <= 0)
        return;
    // A tick that comes late (the window thread was held up) is taken as due when it came: the
    // ticks it missed are skipped, not fired back to back, and the schedule goes on from now.
    const auto now = Clock::now();
    const auto due = now - m_due > kLateTick ? now : m_due;
    m_due = due + std::chrono::milliseconds(m_interval);
    arm();
    const auto outer = s_tickDue;
    s_tickDue = due;
    emit Timer();
    s_tickDue = outer;
}

} // namespace ui
