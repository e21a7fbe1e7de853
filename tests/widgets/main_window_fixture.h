// The main window with fake platform services, for tests on the offscreen platform.
#pragma once

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_mouse.h"
#include "platform/qt/window_timer.h"
#include "shell/main_window.h"

#include <memory>

struct MainWindowFixture {
    platform::FakeMouseInput mouse;
    platform::FakeDialogs dialogs;
    platform::Services services{&mouse, &dialogs};
    std::unique_ptr<frmMain> window;

    MainWindowFixture();

    bool Idle() const;
    // Which timer runs: "delay", "seconds", "tenths", "none"; "several" when more than one.
    QString RunningTimer() const;
    // Runs the tick of whichever timer is enabled, at most maxTicks times, until the window is
    // idle. Answers the number of ticks run.
    int TickUntilIdle(int maxTicks = 100000);
    // Runs ticks until the mouse has clicked `clicks` more times (or maxTicks).
    int TickUntilClicks(size_t clicks, int maxTicks = 100000);
    // Presses (button-down events) made so far.
    size_t Presses() const;
};
