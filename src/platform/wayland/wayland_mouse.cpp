#include "platform/wayland/wayland_mouse.h"

#include "platform/backend_plan.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wayland_factories.h"

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <chrono>

namespace platform {
namespace {

// evdev button codes (linux/input-event-codes.h).
constexpr uint32_t kBtnLeft = 0x110;
constexpr uint32_t kBtnRight = 0x111;
constexpr uint32_t kBtnMiddle = 0x112;

struct ButtonAction {
    uint32_t flag;
    uint32_t code;
    bool press;
};

// mouse_event's button flags in the order Windows applies them.
constexpr ButtonAction kButtonActions[] = {
    {kMouseEventLeftDown, kBtnLeft, true},     {kMouseEventLeftUp, kBtnLeft, false},
    {kMouseEventRightDown, kBtnRight, true},   {kMouseEventRightUp, kBtnRight, false},
    {kMouseEventMiddleDown, kBtnMiddle, true}, {kMouseEventMiddleUp, kBtnMiddle, false},
};

uint32_t NowMs() {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace

// Made now and kept: a pointer made just before a click may lose its first button.
WaylandMouseInput::WaylandMouseInput(WaylandConnection& connection) : m_connection(connection) {
    if (!connection.VirtualPointerManager())
        return;
    m_pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(
        connection.VirtualPointerManager(), connection.Seat());
    connection.Roundtrip();
}

WaylandMouseInput::~WaylandMouseInput() {
    if (m_pointer && m_connection.Connected()) {
        zwlr_virtual_pointer_v1_destroy(m_pointer);
        m_connection.Flush();
    }
}

ClickReadiness WaylandMouseInput::PrepareToClick() {
    if (!m_connection.Connected())
        return {false, CompositorGoneText(m_connection.Problem()), {}};
    return {};
}

void WaylandMouseInput::SetCursorPos(int32_t x, int32_t y) {
    const LayoutRect layout = m_connection.LayoutBounds();
    if (!m_pointer || !m_connection.Connected() || layout.width <= 0 || layout.height <= 0)
        return;
    x = std::clamp(x, layout.x, layout.x + layout.width - 1);
    y = std::clamp(y, layout.y, layout.y + layout.height - 1);
    zwlr_virtual_pointer_v1_motion_absolute(m_pointer, NowMs(), uint32_t(x - layout.x),
                                            uint32_t(y - layout.y), uint32_t(layout.width),
                                            uint32_t(layout.height));
    zwlr_virtual_pointer_v1_frame(m_pointer);
    m_connection.Flush();
    m_known = {x, y};
}

void WaylandMouseInput::MouseEvent(uint32_t flags) {
    if (!m_pointer || !m_connection.Connected())
        return;
    for (const ButtonAction& action : kButtonActions)
        if (flags & action.flag)
            Button(action.code, action.press);
    m_connection.Flush();
}

void WaylandMouseInput::Button(uint32_t code, bool press) {
    zwlr_virtual_pointer_v1_button(m_pointer, NowMs(), code,
                                   press ? WL_POINTER_BUTTON_STATE_PRESSED
                                         : WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(m_pointer);
}

std::unique_ptr<MouseInput> CreateWlrootsMouse(WaylandConnection& connection) {
    return std::make_unique<WaylandMouseInput>(connection);
}

} // namespace platform
