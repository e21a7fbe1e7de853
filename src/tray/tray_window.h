// What the main window asks of the tray window (the notification-area icon) while the tray is in
// use: the status tip and animation, the close and resize requests it takes over, bringing the
// main window back, and its settings at the program's end.
#pragma once

#include "store/settings_file.h"

#include <QString>

class QWidget;

class TrayWindow {
public:
    virtual ~TrayWindow() = default;

    virtual void SetTooltip(const QString& text) = 0;
    // Switches between the idle and the running animation after a start or a stop.
    virtual void UpdateAnimation() = 0;
    // A close request of `window`: for the user's own close (unloadMode 0) it sets cancel and
    // hides the window in the tray instead, where there is a notification area.
    virtual void MeQueryUnload(QWidget* window, bool& cancel, int unloadMode) = 0;
    // A resize of `window`: a minimized window is hidden in the tray.
    virtual void MeResize(QWidget* window) = 0;
    // The main window's resize notification: remembers its normal or maximized state.
    virtual void FSys_Resize() = 0;
    // Brings the main window back: shown in its remembered state when minimized or hidden, and
    // in front.
    virtual void ShowMainWindow() = 0;
    // Minimizes the main window; with "Hide on minimize" it goes into the tray.
    virtual void mMinimize_Click() = 0;
    // The tray's settings as it writes them when it unloads.
    virtual store::SettingValues ClosingSettings() const = 0;
    // Removes the icon and unloads the tray window. With writeSettings it saves its settings
    // itself; without, they join the main window's save (the program is ending).
    virtual void FSys_Unload(bool writeSettings) = 0;
};
