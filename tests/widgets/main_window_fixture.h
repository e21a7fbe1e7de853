// The main window with fake platform services and a folder of its own (its settings file,
// signal files and help file live there), for tests on the offscreen platform.
#pragma once

#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_hot_key.h"
#include "platform/fake/fake_mouse.h"
#include "platform/fake/fake_shell.h"
#include "platform/fake/fake_visual_styles.h"
#include "platform/fake/fake_window_finder.h"
#include "platform/qt/qt_screen_capture.h"
#include "shell/main_window.h"
#include "ui/window_timer.h"

#include <QTemporaryDir>

#include <memory>

// While it lives, every write that makes a file larger than a few bytes fails, as on a full disk.
class FullDisk {
public:
    FullDisk();
    ~FullDisk();
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    unsigned long long m_limit = 0;
    void (*m_handler)(int) = nullptr;
};

struct MainWindowFixture {
    platform::FakeMouseInput mouse;
    platform::FakeDialogs dialogs;
    platform::FakeHotKeyService hotKey;
    platform::FakeWindowFinder windows;
    platform::FakeShell shell;
    platform::FakeVisualStyles visualStyles;
    platform::QtScreenCapture screen;
    platform::Services services{&mouse, &dialogs,      &hotKey, &windows,
                                &shell, &visualStyles, &screen};
    QTemporaryDir folder;
    shell::AppInfo app;
    std::unique_ptr<frmMain> window;

    // The window as designed, not loaded from any settings file.
    explicit MainWindowFixture(std::vector<std::string> arguments = {});

    // A path in the window's folder.
    std::string Path(const QString& name) const;
    // The settings file of the window's folder.
    std::string SettingsFile() const;
    // Writes the default settings file, then sets the given elements' texts.
    void WriteSettings(const std::vector<std::pair<std::string, std::string>>& values = {});

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
