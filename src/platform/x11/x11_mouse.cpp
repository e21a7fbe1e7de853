#include "platform/x11/x11_mouse.h"

#include "platform/backend_plan.h"
#include "platform/x11/x11_factories.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <algorithm>

namespace platform {
namespace {

struct ButtonAction {
    uint32_t flag;
    unsigned int button; // X button number
    bool press;
};

// mouse_event's button flags in the order Windows applies them, mapped to X buttons.
constexpr ButtonAction kButtonActions[] = {
    {kMouseEventLeftDown, 1, true},   {kMouseEventLeftUp, 1, false},
    {kMouseEventRightDown, 3, true},  {kMouseEventRightUp, 3, false},
    {kMouseEventMiddleDown, 2, true}, {kMouseEventMiddleUp, 2, false},
};

} // namespace

X11MouseInput::X11MouseInput() : m_display(XOpenDisplay(nullptr)) {}

X11MouseInput::~X11MouseInput() {
    if (m_display)
        XCloseDisplay(m_display);
}

ClickReadiness X11MouseInput::PrepareToClick() {
    if (!m_display)
        return {false, std::string(kNoDisplayText), {}};
    return {};
}

Point X11MouseInput::GetCursorPos() {
    if (!m_display)
        return {};
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned int mask = 0;
    XQueryPointer(m_display, DefaultRootWindow(m_display), &root, &child, &rootX, &rootY, &winX,
                  &winY, &mask);
    return {rootX, rootY};
}

// X takes 16-bit coordinates: a place beyond the screen is held at its edge, as Windows holds the
// pointer, rather than wrapped round to somewhere on it. The root spans every monitor.
void X11MouseInput::SetCursorPos(int32_t x, int32_t y) {
    if (!m_display)
        return;
    const int screen = DefaultScreen(m_display);
    x = std::clamp(x, 0, std::max(0, DisplayWidth(m_display, screen) - 1));
    y = std::clamp(y, 0, std::max(0, DisplayHeight(m_display, screen) - 1));
    XTestFakeMotionEvent(m_display, screen, x, y, CurrentTime);
    XFlush(m_display);
}

void X11MouseInput::MouseEvent(uint32_t flags) {
    if (!m_display)
        return;
    for (const ButtonAction& action : kButtonActions)
        if (flags & action.flag)
            XTestFakeButtonEvent(m_display, action.button, action.press ? True : False,
                                 CurrentTime);
    XFlush(m_display);
}

std::unique_ptr<MouseInput> CreateX11Mouse() {
    return std::make_unique<X11MouseInput>();
}

bool X11DisplayAnswers() {
    Display* display = XOpenDisplay(nullptr);
    if (display)
        XCloseDisplay(display);
    return display != nullptr;
}

} // namespace platform
