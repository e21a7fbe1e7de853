#include "platform/wayland/wayland_connection.h"

#include "platform/backend_plan.h"
#include "platform/wayland/wayland_factories.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>

namespace platform {
namespace {

// The versions this program speaks; a compositor offering less gets what it offers.
constexpr uint32_t kSeatVersion = 1;
constexpr uint32_t kShmVersion = 1;
constexpr uint32_t kOutputVersion = 4;
constexpr uint32_t kXdgOutputVersion = 2;
constexpr uint32_t kWlrVersion = 1;

template <typename T>
T* Bind(wl_registry* registry, uint32_t name, const wl_interface* interface, uint32_t offered,
        uint32_t wanted) {
    return static_cast<T*>(wl_registry_bind(registry, name, interface, std::min(offered, wanted)));
}

void OnGlobal(void* data, wl_registry*, uint32_t name, const char* interface, uint32_t version) {
    static_cast<WaylandConnection*>(data)->AddGlobal(name, interface, version);
}

void OnGlobalRemove(void* data, wl_registry*, uint32_t name) {
    static_cast<WaylandConnection*>(data)->RemoveGlobal(name);
}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

// wl_output: the mode's size, where xdg-output does not tell the logical place.
void OutputGeometry(void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t,
                    const char*, const char*, int32_t) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->mode.x = x;
    output->mode.y = y;
}
void OutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    if (flags & WL_OUTPUT_MODE_CURRENT) {
        auto* output = static_cast<WaylandOutput*>(data);
        output->mode.width = width;
        output->mode.height = height;
    }
}
void OutputDone(void*, wl_output*) {}
void OutputScale(void*, wl_output*, int32_t) {}
void OutputName(void* data, wl_output*, const char* name) {
    static_cast<WaylandOutput*>(data)->connector = name ? name : "";
}
void OutputDescription(void*, wl_output*, const char*) {}

const wl_output_listener kOutputListener = {OutputGeometry, OutputMode, OutputDone,
                                            OutputScale,    OutputName, OutputDescription};

void XdgPosition(void* data, zxdg_output_v1*, int32_t x, int32_t y) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->logical.x = x;
    output->logical.y = y;
}
void XdgSize(void* data, zxdg_output_v1*, int32_t width, int32_t height) {
    auto* output = static_cast<WaylandOutput*>(data);
    output->logical.width = width;
    output->logical.height = height;
}
void XdgDone(void*, zxdg_output_v1*) {}
void XdgName(void* data, zxdg_output_v1*, const char* name) {
    static_cast<WaylandOutput*>(data)->connector = name ? name : "";
}
void XdgDescription(void*, zxdg_output_v1*, const char*) {}

const zxdg_output_v1_listener kXdgOutputListener = {XdgPosition, XdgSize, XdgDone, XdgName,
                                                    XdgDescription};

LayoutRect PlaceOf(const WaylandOutput& output) {
    return output.logical.width > 0 ? output.logical : output.mode;
}

} // namespace

WaylandConnection::WaylandConnection() : m_display(wl_display_connect(nullptr)) {
    if (!m_display)
        return;
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &kRegistryListener, this);
    // The globals, then what the outputs say of themselves.
    if (!Roundtrip() || !Roundtrip())
        return;
    if (QCoreApplication::instance()) {
        m_notifier = new QSocketNotifier(wl_display_get_fd(m_display), QSocketNotifier::Read);
        QObject::connect(m_notifier, &QSocketNotifier::activated, [this] { ReadEvents(); });
    }
}

WaylandConnection::~WaylandConnection() {
    delete m_notifier;
    if (!m_display)
        return;
    for (const auto& output : m_outputs) {
        if (output->xdgOutput)
            zxdg_output_v1_destroy(output->xdgOutput);
        wl_output_destroy(output->output);
    }
    if (m_toplevels)
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(m_toplevels));
    if (m_screencopy)
        zwlr_screencopy_manager_v1_destroy(m_screencopy);
    if (m_pointerManager)
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(m_pointerManager));
    if (m_xdgOutputManager)
        zxdg_output_manager_v1_destroy(m_xdgOutputManager);
    if (m_shm)
        wl_shm_destroy(m_shm);
    if (m_seat)
        wl_seat_destroy(m_seat);
    wl_registry_destroy(m_registry);
    wl_display_disconnect(m_display);
}

void WaylandConnection::AddGlobal(uint32_t name, const char* interface, uint32_t version) {
    const std::string_view which = interface;
    if (which == wl_seat_interface.name && !m_seat)
        m_seat = Bind<wl_seat>(m_registry, name, &wl_seat_interface, version, kSeatVersion);
    else if (which == wl_shm_interface.name && !m_shm)
        m_shm = Bind<wl_shm>(m_registry, name, &wl_shm_interface, version, kShmVersion);
    else if (which == wl_output_interface.name)
        AddOutput(name, version);
    else if (which == zxdg_output_manager_v1_interface.name && !m_xdgOutputManager) {
        m_xdgOutputManager = Bind<zxdg_output_manager_v1>(
            m_registry, name, &zxdg_output_manager_v1_interface, version, kXdgOutputVersion);
        for (const auto& output : m_outputs)
            WatchOutput(*output);
    } else if (which == zwlr_virtual_pointer_manager_v1_interface.name && !m_pointerManager)
        m_pointerManager = Bind<zwlr_virtual_pointer_manager_v1>(
            m_registry, name, &zwlr_virtual_pointer_manager_v1_interface, version, kWlrVersion);
    else if (which == zwlr_screencopy_manager_v1_interface.name && !m_screencopy)
        m_screencopy = Bind<zwlr_screencopy_manager_v1>(
            m_registry, name, &zwlr_screencopy_manager_v1_interface, version, kWlrVersion);
    else if (which == zwlr_foreign_toplevel_manager_v1_interface.name)
        m_toplevelGlobal = {name, version};
}

void WaylandConnection::AddOutput(uint32_t name, uint32_t version) {
    auto output = std::make_unique<WaylandOutput>();
    output->name = name;
    output->output =
        Bind<wl_output>(m_registry, name, &wl_output_interface, version, kOutputVersion);
    wl_output_add_listener(output->output, &kOutputListener, output.get());
    WatchOutput(*output);
    m_outputs.push_back(std::move(output));
}

void WaylandConnection::WatchOutput(WaylandOutput& output) {
    if (!m_xdgOutputManager || output.xdgOutput)
        return;
    output.xdgOutput = zxdg_output_manager_v1_get_xdg_output(m_xdgOutputManager, output.output);
    zxdg_output_v1_add_listener(output.xdgOutput, &kXdgOutputListener, &output);
}

// An output unplugged goes from the layout; other globals this program holds do not go away
// while a compositor runs.
void WaylandConnection::RemoveGlobal(uint32_t name) {
    const auto gone = std::find_if(m_outputs.begin(), m_outputs.end(),
                                   [name](const auto& output) { return output->name == name; });
    if (gone == m_outputs.end())
        return;
    if ((*gone)->xdgOutput)
        zxdg_output_v1_destroy((*gone)->xdgOutput);
    wl_output_destroy((*gone)->output);
    m_outputs.erase(gone);
}

zwlr_foreign_toplevel_manager_v1* WaylandConnection::ForeignToplevelManager() {
    if (!m_toplevels && m_toplevelGlobal && Connected())
        m_toplevels = Bind<zwlr_foreign_toplevel_manager_v1>(
            m_registry, m_toplevelGlobal->first, &zwlr_foreign_toplevel_manager_v1_interface,
            m_toplevelGlobal->second, kWlrVersion);
    return m_toplevels;
}

LayoutRect WaylandConnection::LayoutBounds() const {
    if (m_outputs.empty())
        return {};
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (const auto& output : m_outputs) {
        const LayoutRect place = PlaceOf(*output);
        left = std::min(left, place.x);
        top = std::min(top, place.y);
        right = std::max(right, place.x + place.width);
        bottom = std::max(bottom, place.y + place.height);
    }
    return {left, top, right - left, bottom - top};
}

const WaylandOutput* WaylandConnection::OutputAt(int32_t x, int32_t y) const {
    for (const auto& output : m_outputs)
        if (PlaceOf(*output).Contains(x, y))
            return output.get();
    return m_outputs.empty() ? nullptr : m_outputs.front().get();
}

const WaylandOutput* WaylandConnection::OutputNamed(const std::string& connector) const {
    for (const auto& output : m_outputs)
        if (output->connector == connector)
            return output.get();
    return nullptr;
}

bool WaylandConnection::Roundtrip() {
    if (!Connected())
        return false;
    if (wl_display_roundtrip(m_display) < 0)
        return !CheckBroken();
    return true;
}

void WaylandConnection::Flush() {
    if (Connected() && wl_display_flush(m_display) < 0 && errno != EAGAIN)
        CheckBroken();
}

bool WaylandConnection::DispatchUntil(const std::function<bool()>& done, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (!Connected())
            return false;
        while (wl_display_prepare_read(m_display) != 0)
            wl_display_dispatch_pending(m_display);
        wl_display_flush(m_display);
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            wl_display_cancel_read(m_display);
            return done();
        }
        pollfd watched{wl_display_get_fd(m_display), POLLIN, 0};
        if (::poll(&watched, 1, int(left)) <= 0) {
            wl_display_cancel_read(m_display);
            continue;
        }
        if (wl_display_read_events(m_display) < 0 || wl_display_dispatch_pending(m_display) < 0)
            return !CheckBroken() && done();
    }
    return true;
}

void WaylandConnection::OnBroken(std::function<void(const std::string&)> handler) {
    m_onBroken = std::move(handler);
}

// Events that arrive while the program waits in its event loop: outputs coming and going, window
// titles. A read that fails means the compositor went away.
void WaylandConnection::ReadEvents() {
    if (!Connected())
        return;
    if (wl_display_prepare_read(m_display) == 0) {
        if (wl_display_read_events(m_display) < 0) {
            CheckBroken();
            return;
        }
    }
    if (wl_display_dispatch_pending(m_display) < 0)
        CheckBroken();
}

bool WaylandConnection::CheckBroken() {
    const int error = wl_display_get_error(m_display);
    if (error == 0 || m_broken)
        return m_broken;
    m_broken = true;
    if (m_notifier)
        m_notifier->setEnabled(false);
    // A refused request ends only this connection: the services say so at the next Start. A
    // compositor that went away ends the whole session.
    if (error == EPROTO) {
        m_problem = "the compositor refused a request of Zorvane's";
        return true;
    }
    m_problem = "the compositor went away (" + std::string(std::strerror(error)) + ")";
    if (m_onBroken)
        m_onBroken(m_problem);
    return true;
}

void AddCompositorFacts(WaylandConnection& connection, SessionFacts& facts) {
    facts.compositorReached = connection.Connected();
    facts.compositorProblem = connection.Problem();
    facts.virtualPointer = connection.VirtualPointerManager() != nullptr;
    facts.foreignToplevels = connection.ForeignToplevelsOffered();
}

bool WaylandDisplayAnswers() {
    wl_display* display = wl_display_connect(nullptr);
    if (display)
        wl_display_disconnect(display);
    return display != nullptr;
}

} // namespace platform
