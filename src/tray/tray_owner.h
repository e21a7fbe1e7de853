// What the tray window may ask of the main window that owns it: the state its menu shows, the
// main window's commands its menu runs, and the window it hides and restores.
#pragma once

#include <QString>

#include <string>

class QWidget;

class TrayOwner {
public:
    virtual ~TrayOwner() = default;

    // The main window itself, which the tray hides, minimizes and restores.
    virtual QWidget& Window() = 0;
    // The Start/Stop caption: "&START" when idle, "&STOP!" while clicking.
    virtual QString StartStopCaption() const = 0;
    // Whether the Mouse Events window is shown (its menu item is ticked).
    virtual bool MouseEventsTicked() const = 0;
    // The option "Hide on minimize".
    virtual bool HideOnMinimize() const = 0;
    virtual const std::string& SettingsFile() const = 0;

    // The main window's commands.
    virtual void StartStop() = 0;         // Start/Stop
    virtual void ToggleMouseEvents() = 0; // Configure Mouse Events...
    virtual void ShowHelp() = 0;          // Help
    virtual void ToggleSystemTray() = 0;  // Use System Tray
    virtual void Exit() = 0;              // File > Exit
};
