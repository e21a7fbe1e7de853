// One running copy on desktops that let no program see the others' windows (GNOME, KDE): the
// first copy of a settings folder owns a well-known name on the session bus and answers there
// for its main window (BusWindowFinder asks it).
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <string>

namespace platform {

// Where the copy answers on the bus.
inline constexpr const char* kInstanceObjectPath = "/org/zorvane/Zorvane";
inline constexpr const char* kInstanceInterface = "org.zorvane.Zorvane.Instance";

// A window hidden in the tray counts as minimized, so that bringing it forward shows it.
bool InstanceWindowIconic(const QWidget& window);
void RestoreInstanceWindow(QWidget& window);
void RaiseInstanceWindow(QWidget& window);

// What the first copy puts on the bus: its main window's caption and state, and the commands
// that bring it forward.
class InstanceService final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zorvane.Zorvane.Instance")
public:
    // Serves the window under the folder's name. Owned() is false when another copy holds it
    // (or there is no session bus): this copy then runs without answering.
    InstanceService(const std::string& configFolder, QWidget& mainWindow);
    ~InstanceService() override;
    bool Owned() const { return !m_name.isEmpty(); }

public slots:
    QString Caption() const;
    bool IsMinimized() const;
    void Restore();
    // Brings the window to the front with the token the asking copy was started with (empty
    // when it had none: the desktop may then only tell the user that the window wants focus).
    void Activate(const QString& activationToken);

private:
    QPointer<QWidget> m_window;
    QString m_name;
};

} // namespace platform
