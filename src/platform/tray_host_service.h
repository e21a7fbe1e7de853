// The notification area: one icon with its tip, the mouse messages it reports and the menu it
// pops up (Shell_NotifyIcon and the tray's callback messages). The system's backend speaks the
// XEmbed tray and the StatusNotifierItem protocol through QSystemTrayIcon; tests use a fake.
#pragma once

#include <QIcon>
#include <QString>

#include <functional>
#include <memory>

class QMenu;

namespace platform {

class TrayHost {
public:
    virtual ~TrayHost() = default;

    // Puts the icon in the notification area (NIM_ADD). Where there is no notification area yet,
    // the icon appears when one starts.
    virtual void Add(const QIcon& icon, const QString& tip) = 0;
    // Shows a new icon or tip (NIM_MODIFY).
    virtual void Modify(const QIcon& icon, const QString& tip) = 0;
    // Takes the icon away (NIM_DELETE).
    virtual void Delete() = 0;
    // Whether a notification area is there to hold the icon now.
    virtual bool Available() const = 0;
    // Pops the menu up at the mouse pointer; it stays open until the user leaves it.
    virtual void PopUp(QMenu& menu) = 0;

    // Called with the number of each mouse message on the icon (tray_rules.h: 512 to 521).
    std::function<void(int message)> onMessage;
};

} // namespace platform
