#include "platform/native_services.h"

#include "platform/no_hot_key.h"
#include "platform/notice_once_mouse.h"
#include "platform/qt/qt_factories.h"
#include "platform/refusing_mouse.h"

#ifdef _WIN32
#include "platform/win/win_factories.h"
#else
#include "platform/portal/portal_factories.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_factories.h"
#include "platform/x11/x11_factories.h"
#endif

#include <QObject>

#include <cstdlib>

namespace platform {

NativeServices::NativeServices(const std::string& toolkitPlatform, const std::string& configFolder)
    : m_configFolder(configFolder), m_dialogs(CreateToolkitDialogs()) {
    m_plan = PlanBackends(FindFacts(toolkitPlatform));
    m_mouse = CreateMouse();
    if (!m_plan.notice.empty())
        m_mouse = std::make_unique<NoticeOnceMouse>(std::move(m_mouse), std::string(m_plan.notice));
    m_hotKey = CreateHotKey();
    m_windows = CreateWindowFinder();
    m_screen = CreateScreenCapture();
#ifdef _WIN32
    m_shell = CreateWin32Shell();
    m_visualStyles = CreateWin32VisualStyles();
#else
    m_shell = CreateToolkitShell();
    m_visualStyles = CreateToolkitVisualStyles();
#endif
    m_services = {m_mouse.get(), m_dialogs.get(),      m_hotKey.get(), m_windows.get(),
                  m_shell.get(), m_visualStyles.get(), m_screen.get()};
}

NativeServices::~NativeServices() = default;

// On the wayland platform our own connection to the compositor tells what it offers; the portals
// are asked only where the compositor cannot click itself, so that a wlroots desktop starts
// without waiting for the session bus.
SessionFacts NativeServices::FindFacts(const std::string& toolkitPlatform) {
    SessionFacts facts;
    facts.toolkitPlatform = toolkitPlatform;
#ifdef _WIN32
    facts.windowsSystem = true;
#else
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    facts.waylandSession = wayland && *wayland;
    if (toolkitPlatform != "wayland")
        return facts;
    m_wayland = std::make_unique<WaylandConnection>();
    AddCompositorFacts(*m_wayland, facts);
    facts.desktopPortals = !facts.virtualPointer && DesktopPortalsOffered();
#endif
    return facts;
}

std::unique_ptr<MouseInput> NativeServices::CreateMouse() const {
    switch (m_plan.mouse) {
#ifdef _WIN32
    case Backend::Win32:
        return CreateWin32Mouse();
#else
    case Backend::X11:
        return CreateX11Mouse();
    case Backend::Wlroots:
        return CreateWlrootsMouse(*m_wayland);
    case Backend::Portal:
        return CreatePortalMouse(m_configFolder);
#endif
    default:
        return std::make_unique<RefusingMouse>(m_plan.refusal);
    }
}

std::unique_ptr<HotKeyService> NativeServices::CreateHotKey() const {
    switch (m_plan.hotKey) {
#ifdef _WIN32
    case Backend::Win32:
        return CreateWin32HotKey();
#else
    case Backend::X11:
        return CreateX11HotKey();
    case Backend::Portal:
        return CreatePortalHotKey();
#endif
    default:
        return std::make_unique<NoHotKey>();
    }
}

std::unique_ptr<WindowFinder> NativeServices::CreateWindowFinder() const {
    switch (m_plan.windowFinder) {
#ifdef _WIN32
    default:
        return CreateWin32WindowFinder();
#else
    case Backend::Wlroots:
        return CreateWlrootsWindowFinder(*m_wayland);
    case Backend::SessionBus:
        return CreateBusWindowFinder(m_configFolder);
    default:
        return CreateX11WindowFinder();
#endif
    }
}

std::unique_ptr<ScreenCaptureService> NativeServices::CreateScreenCapture() const {
    switch (m_plan.screenCapture) {
#ifndef _WIN32
    case Backend::Wlroots:
        return CreateWlrootsScreenCapture(*m_wayland);
    case Backend::Portal:
        return CreatePortalScreenCapture();
#endif
    default:
        return CreateToolkitScreenCapture();
    }
}

void NativeServices::AnswerForMainWindow([[maybe_unused]] QWidget& window) {
#ifndef _WIN32
    if (m_plan.windowFinder == Backend::SessionBus && !m_instance)
        m_instance = AnswerOnSessionBus(m_configFolder, window);
#endif
}

void NativeServices::OnSessionLost(
    [[maybe_unused]] std::function<void(const std::string& why)> handler) {
#ifndef _WIN32
    if (m_wayland)
        m_wayland->OnBroken(std::move(handler));
#endif
}

std::unique_ptr<TrayHost> NativeServices::MakeTrayHost() {
    return MakeSystemTrayHost();
}

#ifdef _WIN32
bool NativeServices::WaylandDisplayAnswers() {
    return true;
}

bool NativeServices::X11DisplayAnswers() {
    return true;
}
#else
bool NativeServices::WaylandDisplayAnswers() {
    return platform::WaylandDisplayAnswers();
}

bool NativeServices::X11DisplayAnswers() {
    return platform::X11DisplayAnswers();
}
#endif

} // namespace platform
