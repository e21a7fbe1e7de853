#include "platform/wayland/wayland_window_finder.h"

#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_factories.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>

namespace platform {

struct WaylandWindowFinder::Toplevel {
    zwlr_foreign_toplevel_handle_v1* handle = nullptr;
    WindowHandle id = 0;
    std::string title, pendingTitle;
    std::string appId, pendingAppId;
    bool minimized = false, pendingMinimized = false;
    bool closed = false;
};

namespace {

using Toplevel = WaylandWindowFinder::Toplevel;

Toplevel& Of(void* data) {
    return *static_cast<Toplevel*>(data);
}

void OnTitle(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title) {
    Of(data).pendingTitle = title ? title : "";
}
void OnAppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
    Of(data).pendingAppId = appId ? appId : "";
}
void OnOutputEnter(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
void OnOutputLeave(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}
void OnState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
    bool minimized = false;
    const auto* state = static_cast<const uint32_t*>(states->data);
    for (size_t i = 0; i < states->size / sizeof(uint32_t); ++i)
        minimized = minimized || state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_MINIMIZED;
    Of(data).pendingMinimized = minimized;
}
// Changes count once the compositor says the batch is complete.
void OnDone(void* data, zwlr_foreign_toplevel_handle_v1*) {
    Toplevel& toplevel = Of(data);
    toplevel.title = toplevel.pendingTitle;
    toplevel.appId = toplevel.pendingAppId;
    toplevel.minimized = toplevel.pendingMinimized;
}
void OnClosed(void* data, zwlr_foreign_toplevel_handle_v1*) {
    Of(data).closed = true;
}

const zwlr_foreign_toplevel_handle_v1_listener kToplevelListener = {
    OnTitle, OnAppId, OnOutputEnter, OnOutputLeave, OnState, OnDone, OnClosed};

void OnToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                zwlr_foreign_toplevel_handle_v1* handle) {
    static_cast<WaylandWindowFinder*>(data)->Adopt(handle);
}
void OnFinished(void*, zwlr_foreign_toplevel_manager_v1*) {}

const zwlr_foreign_toplevel_manager_v1_listener kManagerListener = {OnToplevel, OnFinished};

} // namespace

WaylandWindowFinder::WaylandWindowFinder(WaylandConnection& connection)
    : m_connection(connection) {}

WaylandWindowFinder::~WaylandWindowFinder() {
    if (!m_connection.Connected())
        return;
    for (const auto& toplevel : m_toplevels)
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel->handle);
    m_connection.Flush();
}

void WaylandWindowFinder::Adopt(zwlr_foreign_toplevel_handle_v1* handle) {
    auto toplevel = std::make_unique<Toplevel>();
    toplevel->handle = handle;
    toplevel->id = ++m_lastId;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kToplevelListener, toplevel.get());
    m_toplevels.push_back(std::move(toplevel));
}

// Listening starts at the first question; the first answers need two round trips (the windows,
// then what each says of itself). From then on the compositor tells of every change, and windows
// that closed are let go.
bool WaylandWindowFinder::Listen() {
    if (!m_listening) {
        zwlr_foreign_toplevel_manager_v1* manager = m_connection.ForeignToplevelManager();
        if (!manager)
            return false;
        zwlr_foreign_toplevel_manager_v1_add_listener(manager, &kManagerListener, this);
        m_listening = true;
        m_connection.Roundtrip();
    }
    if (!m_connection.Roundtrip())
        return false;
    for (auto it = m_toplevels.begin(); it != m_toplevels.end();) {
        if (!(*it)->closed) {
            ++it;
            continue;
        }
        zwlr_foreign_toplevel_handle_v1_destroy((*it)->handle);
        it = m_toplevels.erase(it);
    }
    return true;
}

WaylandWindowFinder::Toplevel* WaylandWindowFinder::Find(WindowHandle window) {
    const auto found = std::find_if(m_toplevels.begin(), m_toplevels.end(),
                                    [window](const auto& t) { return t->id == window; });
    return found == m_toplevels.end() || (*found)->closed ? nullptr : found->get();
}

WindowHandle WaylandWindowFinder::FindWindow(const std::string& caption) {
    return FindProgramWindow(caption, {});
}

WindowHandle WaylandWindowFinder::FindProgramWindow(const std::string& caption,
                                                    const std::string& program) {
    if (!Listen())
        return 0;
    for (const auto& toplevel : m_toplevels)
        if (toplevel->title == caption && (program.empty() || toplevel->appId == program))
            return toplevel->id;
    return 0;
}

std::vector<WindowHandle> WaylandWindowFinder::TopLevelWindows() {
    std::vector<WindowHandle> windows;
    if (!Listen())
        return windows;
    for (const auto& toplevel : m_toplevels)
        windows.push_back(toplevel->id);
    return windows;
}

bool WaylandWindowFinder::IsIconic(WindowHandle window) {
    const Toplevel* toplevel = Find(window);
    return toplevel && toplevel->minimized;
}

void WaylandWindowFinder::Restore(WindowHandle window) {
    if (Toplevel* toplevel = Find(window)) {
        zwlr_foreign_toplevel_handle_v1_unset_minimized(toplevel->handle);
        m_connection.Roundtrip();
    }
}

void WaylandWindowFinder::SetForegroundWindow(WindowHandle window) {
    Toplevel* toplevel = Find(window);
    if (!toplevel || !m_connection.Seat())
        return;
    zwlr_foreign_toplevel_handle_v1_activate(toplevel->handle, m_connection.Seat());
    m_connection.Roundtrip();
}

std::unique_ptr<WindowFinder> CreateWlrootsWindowFinder(WaylandConnection& connection) {
    return std::make_unique<WaylandWindowFinder>(connection);
}

} // namespace platform
