#include "x_client.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace xtest {
namespace {

// The tests' connections never end the program on an error; the last one is kept for GrabKey.
int g_lastError = 0;
int g_foreignErrors = 0;
Display* g_ownDisplay = nullptr;

int RecordError(Display* display, XErrorEvent* error) {
    if (display == g_ownDisplay)
        g_lastError = error->error_code;
    else
        ++g_foreignErrors;
    return 0;
}

Atom Intern(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

std::optional<long> ReadLong(Display* display, Window window, Atom name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::optional<long> value;
    if (XGetWindowProperty(display, window, name, 0, 1, False, type, &actualType, &format, &items,
                           &after, &data) == Success &&
        data && actualType == type && format == 32 && items == 1)
        value = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return value;
}

} // namespace

XClient::XClient(const std::string& display) : m_display(XOpenDisplay(display.c_str())) {
    g_ownDisplay = m_display;
    XSetErrorHandler(&RecordError);
}

int XClient::ForeignErrors() {
    return g_foreignErrors;
}

XClient::~XClient() {
    if (m_display)
        XCloseDisplay(m_display);
}

unsigned long XClient::CreateWindow(const WindowSpec& spec, unsigned long parent) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = spec.overrideRedirect ? True : False;
    const Window window =
        XCreateWindow(m_display, parent ? parent : DefaultRootWindow(m_display), 10, 10, 200, 100,
                      0, CopyFromParent, spec.inputOnly ? InputOnly : InputOutput, CopyFromParent,
                      CWOverrideRedirect, &attributes);
    if (spec.netName)
        XChangeProperty(m_display, window, Intern(m_display, "_NET_WM_NAME"),
                        Intern(m_display, "UTF8_STRING"), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(spec.netName->data()),
                        int(spec.netName->size()));
    if (spec.name)
        XChangeProperty(m_display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(spec.name->data()),
                        int(spec.name->size()));
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(m_display, window, &hints);
    XSync(m_display, False);
    return window;
}

void XClient::SetClass(unsigned long window, const std::string& name) {
    const std::string both = name + '\0' + name + '\0';
    XChangeProperty(m_display, window, XA_WM_CLASS, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(both.data()), int(both.size()));
    XSync(m_display, False);
}

void XClient::Map(unsigned long window) {
    XMapWindow(m_display, window);
    XSync(m_display, False);
}

void XClient::Unmap(unsigned long window) {
    XUnmapWindow(m_display, window);
    XSync(m_display, False);
}

void XClient::Destroy(unsigned long window) {
    XDestroyWindow(m_display, window);
    XSync(m_display, False);
}

void XClient::Reparent(unsigned long window, unsigned long parent) {
    XReparentWindow(m_display, window, parent, 0, 0);
    XSync(m_display, False);
}

void XClient::SetWmState(unsigned long window, long state) {
    const Atom wmState = Intern(m_display, "WM_STATE");
    const long data[2] = {state, long(None)};
    XChangeProperty(m_display, window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data), 2);
    XSync(m_display, False);
}

void XClient::Iconify(unsigned long window) {
    XIconifyWindow(m_display, window, DefaultScreen(m_display));
    XSync(m_display, False);
}

void XClient::SwitchDesktop(long desktop) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = DefaultRootWindow(m_display);
    event.xclient.message_type = Intern(m_display, "_NET_CURRENT_DESKTOP");
    event.xclient.format = 32;
    event.xclient.data.l[0] = desktop;
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, DefaultRootWindow(m_display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XSync(m_display, False);
}

void XClient::Withdraw(unsigned long window) {
    XWithdrawWindow(m_display, window, DefaultScreen(m_display));
    XSync(m_display, False);
}

MapState XClient::State(unsigned long window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_display, window, &attributes))
        return MapState::Gone;
    switch (attributes.map_state) {
    case IsViewable:
        return MapState::Viewable;
    case IsUnviewable:
        return MapState::Unviewable;
    default:
        return MapState::Unmapped;
    }
}

std::optional<long> XClient::WmState(unsigned long window) {
    const Atom wmState = Intern(m_display, "WM_STATE");
    return ReadLong(m_display, window, wmState, wmState);
}

unsigned long XClient::FocusWindow() {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus;
}

namespace {

std::vector<Window> Children(Display* display, Window window, Window* parentOut = nullptr) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return {};
    std::vector<Window> out(children, children + count);
    if (children)
        XFree(children);
    if (parentOut)
        *parentOut = parent;
    return out;
}

} // namespace

unsigned long XClient::Parent(unsigned long window) {
    Window parent = None;
    Children(m_display, window, &parent);
    return parent;
}

unsigned long XClient::TopmostTopLevel() {
    const std::vector<Window> children = Children(m_display, DefaultRootWindow(m_display));
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(m_display, *child, &attributes) &&
            attributes.map_state == IsViewable && !attributes.override_redirect)
            return *child;
    }
    return 0;
}

unsigned long XClient::ActiveWindow() {
    return ReadLong(m_display, DefaultRootWindow(m_display),
                    Intern(m_display, "_NET_ACTIVE_WINDOW"), XA_WINDOW)
        .value_or(0);
}

bool XClient::WindowManagerRuns() {
    return ReadLong(m_display, DefaultRootWindow(m_display),
                    Intern(m_display, "_NET_SUPPORTING_WM_CHECK"), XA_WINDOW)
        .has_value();
}

bool XClient::GrabControlAlt(char letter) {
    g_lastError = 0;
    XGrabKey(
        m_display, XKeysymToKeycode(m_display, XStringToKeysym(std::string(1, letter).c_str())),
        ControlMask | Mod1Mask, DefaultRootWindow(m_display), False, GrabModeAsync, GrabModeAsync);
    XSync(m_display, False);
    return g_lastError == 0;
}

void XClient::UngrabControlAlt(char letter) {
    XUngrabKey(m_display,
               XKeysymToKeycode(m_display, XStringToKeysym(std::string(1, letter).c_str())),
               ControlMask | Mod1Mask, DefaultRootWindow(m_display));
    XSync(m_display, False);
}

bool XClient::RepeatRate(unsigned int& delay, unsigned int& interval) {
    return XkbGetAutoRepeatRate(m_display, XkbUseCoreKbd, &delay, &interval);
}

unsigned int XClient::LockedModifiers() {
    XkbStateRec state{};
    XkbGetState(m_display, XkbUseCoreKbd, &state);
    return state.locked_mods;
}

} // namespace xtest
