// What the main window asks of the tray window (the notification-area icon) while the tray is in
// use: the status tip and animation, and the close and resize requests it takes over.
#pragma once

#include <QString>

class QWidget;

class TrayWindow {
public:
    virtual ~TrayWindow() = default;

    virtual void SetTooltip(const QString& text) = 0;
    // Switches between the idle and the running animation after a start or a stop.
    virtual void UpdateAnimation() = 0;
    // A close request of `window`: for the user's own close (unloadMode 0) it sets cancel and
    // hides the window in the tray instead.
    virtual void MeQueryUnload(QWidget* window, bool& cancel, int unloadMode) = 0;
    // A resize of `window`: a minimized window is hidden in the tray.
    virtual void MeResize(QWidget* window) = 0;
    // The main window's resize notification: remembers its normal or maximized state.
    virtual void FSys_Resize() = 0;
    // Removes the icon and unloads the tray window.
    virtual void FSys_Unload() = 0;
};
