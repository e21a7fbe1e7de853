#include "platform/backend_plan.h"
#include "platform/native.h"
#include "platform/notice_once_mouse.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_screen_capture.h"
#include "platform/services.h"

#ifdef ZORVANE_WAYLAND
#include "platform/portal/bus_instance_service.h"
#include "platform/portal/bus_window_finder.h"
#include "platform/portal/portal_hot_key.h"
#include "platform/portal/portal_mouse.h"
#include "platform/portal/portal_request.h"
#include "platform/portal/portal_screen_capture.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_hot_key.h"
#include "platform/wayland/wayland_mouse.h"
#include "platform/wayland/wayland_screen_capture.h"
#include "platform/wayland/wayland_window_finder.h"
#endif

#include <cstdlib>

namespace platform {

NativeServices::NativeServices(const std::string& toolkitPlatform, const std::string& configFolder)
    : m_dialogs(std::make_unique<QtDialogs>()), m_shell(CreateNativeShell()),
      m_visualStyles(CreateNativeVisualStyles()) {
    SessionFacts facts;
    facts.toolkitPlatform = toolkitPlatform;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    facts.waylandSession = wayland && *wayland;
    if (toolkitPlatform == "wayland")
        CreateWaylandBackends();
    else
        CreateNativeBackends();
#ifdef ZORVANE_WAYLAND
    facts.virtualPointer = m_wayland && m_wayland->VirtualPointerManager();
    facts.remoteDesktopPortal =
        m_wayland && !facts.virtualPointer && portal::PortalOffered(QDBusConnection::sessionBus());
#endif
    const ClickBackendChoice choice = ChooseClickBackend(facts);
    if (choice.backend == ClickBackend::Portal)
        CreatePortalBackends(configFolder);
    if (!choice.notice.empty())
        m_mouse = std::make_unique<NoticeOnceMouse>(std::move(m_mouse), std::string(choice.notice));
    m_services = {m_mouse.get(), m_dialogs.get(),      m_hotKey.get(), m_windows.get(),
                  m_shell.get(), m_visualStyles.get(), m_screen.get()};
}

NativeServices::~NativeServices() = default;

void NativeServices::CreateNativeBackends() {
    m_mouse = CreateNativeMouseInput();
    m_hotKey = CreateNativeHotKeyService();
    m_windows = CreateNativeWindowFinder();
    m_screen = std::make_unique<QtScreenCapture>();
}

#ifdef ZORVANE_WAYLAND
void NativeServices::CreateWaylandBackends() {
    m_wayland = std::make_unique<WaylandConnection>();
    m_mouse = std::make_unique<WaylandMouseInput>(*m_wayland);
    m_hotKey = std::make_unique<WaylandHotKey>();
    m_windows = std::make_unique<WaylandWindowFinder>(*m_wayland);
    m_screen = std::make_unique<WaylandScreenCapture>(*m_wayland);
}

void NativeServices::OnSessionLost(std::function<void(const std::string&)> handler) {
    if (m_wayland)
        m_wayland->OnBroken(std::move(handler));
}

// GNOME and KDE: clicks, the hot key and the picture through the desktop's portals; the running
// copy over the session bus where the compositor lists no windows.
void NativeServices::CreatePortalBackends(const std::string& configFolder) {
    m_mouse = std::make_unique<PortalMouseInput>(configFolder);
    m_hotKey = std::make_unique<PortalHotKey>();
    m_screen = std::make_unique<PortalScreenCapture>();
    if (!m_wayland->ForeignToplevelManager()) {
        m_windows = std::make_unique<BusWindowFinder>(configFolder);
        m_instanceFolder = configFolder;
    }
}

void NativeServices::AnswerForMainWindow(QWidget& window) {
    if (!m_instanceFolder.empty() && !m_instance)
        m_instance = std::make_unique<InstanceService>(m_instanceFolder, window);
}
#else
void NativeServices::CreatePortalBackends(const std::string&) {}

void NativeServices::AnswerForMainWindow(QWidget&) {}

void NativeServices::CreateWaylandBackends() {
    CreateNativeBackends();
}

void NativeServices::OnSessionLost(std::function<void(const std::string&)>) {}
#endif

} // namespace platform
