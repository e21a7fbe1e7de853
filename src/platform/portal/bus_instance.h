// One running copy on desktops that let no program see the others' windows (GNOME, KDE): the
// first copy of a settings folder owns a well-known name on the session bus and answers there
// for its main window; a second copy finds it by that name and asks it to come forward, passing
// on the activation token its launcher gave it so that the desktop lets the window take the
// focus.
#pragma once

#include "platform/window_finder.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <string>

namespace platform {

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

// Finds the main window of the copy that owns the folder's name, or one of this process's own
// windows, by its exact caption.
class BusWindowFinder final : public WindowFinder {
public:
    explicit BusWindowFinder(std::string configFolder);
    WindowHandle FindWindow(const std::string& caption) override;
    bool IsIconic(WindowHandle window) override;
    void Restore(WindowHandle window) override;
    void SetForegroundWindow(WindowHandle window) override;
    // This process's own top-level windows (their ids), and the other copy's when one answers.
    std::vector<WindowHandle> TopLevelWindows() override;

    // The handle that stands for the other copy's main window.
    static constexpr WindowHandle kOtherCopy = ~WindowHandle{0};

private:
    std::string m_name;
};

} // namespace platform
