// A window timer: an interval in milliseconds and an Enabled switch, ticking on the window
// thread. Enabling a running timer changes nothing; changing the interval of a running timer
// starts its count afresh; an interval of 0 never ticks.
//
// Ticks keep to a nominal schedule: each tick is due one interval after the previous one was
// due, not after it was handled, and a timer enabled while another timer's tick is handled counts
// from the moment that tick was due. So a chain of timers handing over to each other (seconds,
// then tenths) keeps the schedule to the millisecond instead of drifting by the handling time.
// A tick more than a few milliseconds late starts the schedule afresh from when it came, so two
// ticks never come closer than an interval less that slack, however long the thread was held up.
#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <optional>

namespace ui {

class WindowTimer : public QObject {
    Q_OBJECT

public:
    explicit WindowTimer(int interval = 0, QObject* parent = nullptr);

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

signals:
    void Timer();

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kLateTick{5};

    void start(Clock::time_point base);
    void arm();
    void fire();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = false;
    Clock::time_point m_due;

    // The moment the tick being handled was due, while a tick is handled.
    static std::optional<Clock::time_point> s_tickDue;
};

} // namespace ui
