// The native services of the session the program runs in: the session's facts are found once at
// start-up, the backend plan answers which backend serves each service, and exactly that plan is
// built through each backend folder's factories.
#pragma once

#include "platform/backend_plan.h"
#include "platform/services.h"
#include "platform/tray_host_service.h"

#include <functional>
#include <memory>
#include <string>

class QObject;
class QWidget;

namespace platform {

class WaylandConnection;

class NativeServices {
public:
    // configFolder: where the portals' backends keep what they keep (a Wayland desktop's leave to
    // click), and whose copies count as one program for finding the running copy.
    explicit NativeServices(const std::string& toolkitPlatform,
                            const std::string& configFolder = {});
    ~NativeServices();
    NativeServices(const NativeServices&) = delete;
    NativeServices& operator=(const NativeServices&) = delete;

    Services& services() { return m_services; }
    const BackendPlan& Plan() const { return m_plan; }
    // Called once when the display server goes away under the program.
    void OnSessionLost(std::function<void(const std::string& why)> handler);
    // Where the running copy is found over the session bus, the main window answers there.
    void AnswerForMainWindow(QWidget& window);
    // The system's notification area.
    static std::unique_ptr<TrayHost> MakeTrayHost();
    // Whether a display server of the kind answers, before the toolkit tries it (the toolkit
    // ends the process when none does). Always true on Windows.
    static bool WaylandDisplayAnswers();
    static bool X11DisplayAnswers();

private:
    SessionFacts FindFacts(const std::string& toolkitPlatform);
    std::unique_ptr<MouseInput> CreateMouse() const;
    std::unique_ptr<HotKeyService> CreateHotKey() const;
    std::unique_ptr<WindowFinder> CreateWindowFinder() const;
    std::unique_ptr<ScreenCaptureService> CreateScreenCapture() const;

    std::string m_configFolder;
#ifndef _WIN32
    std::unique_ptr<WaylandConnection> m_wayland; // our own, on the wayland platform
#endif
    BackendPlan m_plan;
    std::unique_ptr<MouseInput> m_mouse;
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<HotKeyService> m_hotKey;
    std::unique_ptr<WindowFinder> m_windows;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<VisualStyles> m_visualStyles;
    std::unique_ptr<ScreenCaptureService> m_screen;
    Services m_services;
    std::unique_ptr<QObject> m_instance; // what answers on the session bus for the main window
};

} // namespace platform
