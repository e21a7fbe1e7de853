// What the countdown display tells the notification-area icon while the tray is in use.
#pragma once

#include <QString>

class TrayStatus {
public:
    virtual ~TrayStatus() = default;
    virtual void SetTooltip(const QString& text) = 0;
    // Switches between the idle and the running animation after a start or a stop.
    virtual void UpdateAnimation() = 0;
};
