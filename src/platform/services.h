// The native services a running program uses, chosen once at start-up.
#pragma once

#include "platform/dialogs.h"
#include "platform/hot_key.h"
#include "platform/mouse_input.h"
#include "platform/screen_capture_service.h"
#include "platform/shell.h"
#include "platform/visual_styles.h"
#include "platform/window_finder.h"

#include <functional>
#include <memory>
#include <string>

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
    explicit NativeServices(const std::string& toolkitPlatform);
    ~NativeServices();
    NativeServices(const NativeServices&) = delete;
    NativeServices& operator=(const NativeServices&) = delete;

    Services& services() { return m_services; }
    // Called once when the display server goes away under the program.
    void OnSessionLost(std::function<void(const std::string& why)> handler);

private:
    void CreateWaylandBackends();
    void CreateNativeBackends();

    std::unique_ptr<WaylandConnection> m_wayland;
    std::unique_ptr<MouseInput> m_mouse;
    std::unique_ptr<Dialogs> m_dialogs;
    std::unique_ptr<HotKeyService> m_hotKey;
    std::unique_ptr<WindowFinder> m_windows;
    std::unique_ptr<Shell> m_shell;
    std::unique_ptr<VisualStyles> m_visualStyles;
    std::unique_ptr<ScreenCaptureService> m_screen;
    Services m_services;
};

} // namespace platform
