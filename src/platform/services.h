// The native services a running program uses, chosen once at start-up.
#pragma once

#include "platform/dialogs_service.h"
#include "platform/hot_key_service.h"
#include "platform/mouse_service.h"
#include "platform/screen_capture_service.h"
#include "platform/shell_service.h"
#include "platform/visual_styles_service.h"
#include "platform/window_finder_service.h"

#include <functional>
#include <memory>
#include <string>

class QObject;
class QWidget;

namespace platform {

struct Services {
    MouseInput* mouse = nullptr;
    Dialogs* dialogs = nullptr;
    HotKeyService* hotKey = nullptr;
    WindowFinder* windows = nullptr;
    Shell* shell = nullptr;
    VisualStyles* visualStyles = nullptr;
    ScreenCaptureService* screen = nullptr;
};

class WaylandConnection;

// Owns the services of the session the program runs in: on Linux the toolkit's platform
// ("wayland" or "xcb") decides between the Wayland and the X11 backends; Windows has its own.
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
    // Called once when the display server goes away under the program.
    void OnSessionLost(std::function<void(const std::string& why)> handler);
    // Where the running copy is found over the session bus, the main window answers there.
    void AnswerForMainWindow(QWidget& window);

private:
    void CreateWaylandBackends();
    void CreateNativeBackends();
    void CreatePortalBackends(const std::string& configFolder);

    std::unique_ptr<WaylandConnection> m_wayland;
    std::unique_ptr<MouseInput> m_mouse;
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<HotKeyService> m_hotKey;
    std::unique_ptr<WindowFinder> m_windows;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<VisualStyles> m_visualStyles;
    std::unique_ptr<ScreenCaptureService> m_screen;
    Services m_services;
    std::string m_instanceFolder;        // set where the running copy is found over the session bus
    std::unique_ptr<QObject> m_instance; // what answers there for the main window
};

} // namespace platform
