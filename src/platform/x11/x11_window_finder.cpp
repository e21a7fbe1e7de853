#include "platform/x11/x11_window_finder.h"

#include "platform/x11/x11_factories.h"
#include "platform/x11/x_error_trap.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>

namespace platform {
namespace {

constexpr long kMaxPropertyLongs = 0x10000; // 256 KiB, ample for names and client lists
constexpr int kFrameDepth = 3;              // how deep a window manager's frame may nest a client
constexpr long kSourcePager = 2;            // _NET_ACTIVE_WINDOW: the request comes from a pager
constexpr unsigned long kAllDesktops = 0xFFFFFFFF; // _NET_WM_DESKTOP of a window on every desktop

struct Property {
    Atom type = None;
    std::vector<unsigned char> bytes; // format 8
    std::vector<long> longs;          // format 32 (Xlib hands those out as longs)
};

// The property of the given type (AnyPropertyType for any); nothing when it is missing, of
// another type, or the window is gone.
std::optional<Property> ReadProperty(Display* display, Window window, Atom name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, kMaxPropertyLongs, False, type, &actualType,
                           &format, &items, &after, &data) != Success)
        return std::nullopt;
    std::optional<Property> property;
    if (data && actualType != None && (type == AnyPropertyType || actualType == type)) {
        property.emplace();
        property->type = actualType;
        if (format == 8)
            property->bytes.assign(data, data + items);
        else if (format == 32)
            property->longs.assign(reinterpret_cast<long*>(data),
                                   reinterpret_cast<long*>(data) + items);
    }
    if (data)
        XFree(data);
    return property;
}

std::optional<Window> ReadWindow(Display* display, Window window, Atom name) {
    const std::optional<Property> property = ReadProperty(display, window, name, XA_WINDOW);
    if (!property || property->longs.empty())
        return std::nullopt;
    return Window(property->longs.front());
}

// A CARDINAL; Xlib hands format-32 items out as longs, so only the low 32 bits count.
std::optional<unsigned long> ReadCardinal(Display* display, Window window, Atom name) {
    const std::optional<Property> property = ReadProperty(display, window, name, XA_CARDINAL);
    if (!property || property->longs.empty())
        return std::nullopt;
    return static_cast<unsigned long>(property->longs.front()) & 0xFFFFFFFFul;
}

std::string Latin1ToUtf8(const std::vector<unsigned char>& text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::vector<Window> Children(Display* display, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return {};
    std::vector<Window> out(children, children + count);
    if (children)
        XFree(children);
    std::reverse(out.begin(), out.end()); // topmost first
    return out;
}

} // namespace

X11WindowFinder::X11WindowFinder() : m_display(XOpenDisplay(nullptr)) {}

X11WindowFinder::~X11WindowFinder() {
    if (m_display)
        XCloseDisplay(m_display);
}

WindowHandle X11WindowFinder::FindWindow(const std::string& caption) {
    return FindProgramWindow(caption, {});
}

WindowHandle X11WindowFinder::FindProgramWindow(const std::string& caption,
                                                const std::string& program) {
    if (!m_display)
        return 0;
    XErrorTrap trap(m_display);
    WindowHandle hidden = 0;
    for (unsigned long window : Candidates()) {
        if (Caption(window) != caption || (!program.empty() && ProgramClass(window) != program))
            continue;
        const Shown shown = ShownState(window);
        if (shown == Shown::Yes)
            return window;
        if (shown == Shown::Hidden && hidden == 0)
            hidden = window;
    }
    return hidden;
}

bool X11WindowFinder::IsIconic(WindowHandle window) {
    if (!m_display || window == 0)
        return false;
    XErrorTrap trap(m_display);
    return WmState(window) == IconicState;
}

void X11WindowFinder::Restore(WindowHandle window) {
    if (!m_display || window == 0)
        return;
    XErrorTrap trap(m_display);
    // Mapping an iconic window is how a client returns it to the normal state (ICCCM 4.1.4).
    XMapRaised(m_display, window);
    if (WindowManagerActivates())
        RequestActivation(window);
}

void X11WindowFinder::SetForegroundWindow(WindowHandle window) {
    if (!m_display || window == 0)
        return;
    XErrorTrap trap(m_display);
    MapIfHidden(window);
    if (WindowManagerActivates()) {
        RequestActivation(window);
        return;
    }
    XRaiseWindow(m_display, window);
    XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
}

std::vector<WindowHandle> X11WindowFinder::TopLevelWindows() {
    if (!m_display)
        return {};
    XErrorTrap trap(m_display); // a window may go while it is looked at
    const std::vector<unsigned long> windows = Candidates();
    return {windows.begin(), windows.end()};
}

std::vector<unsigned long> X11WindowFinder::Candidates() {
    std::vector<unsigned long> out = ManagedClients();
    AddTreeClients(out);
    return out;
}

std::vector<unsigned long> X11WindowFinder::ManagedClients() {
    const std::optional<Property> list = ReadProperty(m_display, DefaultRootWindow(m_display),
                                                      Intern("_NET_CLIENT_LIST"), XA_WINDOW);
    if (!list)
        return {};
    return {list->longs.begin(), list->longs.end()};
}

// The root's children from the top; for a frame without WM_STATE, the client inside it. Windows
// that are hidden, or shown without a window manager, have no WM_STATE and stand for themselves.
void X11WindowFinder::AddTreeClients(std::vector<unsigned long>& out) {
    for (Window child : Children(m_display, DefaultRootWindow(m_display))) {
        const unsigned long window = ClientWithin(child, kFrameDepth).value_or(child);
        if (std::find(out.begin(), out.end(), window) == out.end())
            out.push_back(window);
    }
}

// The window itself when it has WM_STATE, else the first such window below it.
std::optional<unsigned long> X11WindowFinder::ClientWithin(unsigned long window, int depth) {
    if (WmState(window))
        return window;
    if (depth == 0)
        return std::nullopt;
    for (Window child : Children(m_display, window))
        if (const std::optional<unsigned long> client = ClientWithin(child, depth - 1))
            return client;
    return std::nullopt;
}

std::optional<std::string> X11WindowFinder::Caption(unsigned long window) {
    const std::optional<Property> netName =
        ReadProperty(m_display, window, Intern("_NET_WM_NAME"), Intern("UTF8_STRING"));
    if (netName)
        return std::string(netName->bytes.begin(), netName->bytes.end());
    const std::optional<Property> name =
        ReadProperty(m_display, window, XA_WM_NAME, AnyPropertyType);
    if (!name)
        return std::nullopt;
    if (name->type == XA_STRING)
        return Latin1ToUtf8(name->bytes);
    return std::string(name->bytes.begin(), name->bytes.end());
}

std::optional<std::string> X11WindowFinder::ProgramClass(unsigned long window) {
    const std::optional<Property> wmClass = ReadProperty(m_display, window, XA_WM_CLASS, XA_STRING);
    if (!wmClass)
        return std::nullopt;
    // The instance name, a NUL, the class name, a NUL.
    const std::string both(wmClass->bytes.begin(), wmClass->bytes.end());
    const size_t start = both.find('\0');
    if (start == std::string::npos)
        return std::nullopt;
    return std::string(both.c_str() + start + 1);
}

X11WindowFinder::Shown X11WindowFinder::ShownState(unsigned long window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(m_display, window, &attributes) || attributes.override_redirect ||
        attributes.c_class == InputOnly)
        return Shown::No;
    // A window manager may leave the client mapped inside an unmapped frame (iconic, or on
    // another desktop), or unmap it while iconic.
    if (attributes.map_state != IsUnmapped || WmState(window) == IconicState)
        return Shown::Yes;
    return Shown::Hidden;
}

std::optional<long> X11WindowFinder::WmState(unsigned long window) {
    const Atom wmState = Intern("WM_STATE");
    const std::optional<Property> state = ReadProperty(m_display, window, wmState, wmState);
    if (!state || state->longs.empty())
        return std::nullopt;
    return state->longs.front();
}

// A window manager runs (its check window names itself) and offers _NET_ACTIVE_WINDOW.
bool X11WindowFinder::WindowManagerActivates() {
    const Window root = DefaultRootWindow(m_display);
    const Atom check = Intern("_NET_SUPPORTING_WM_CHECK");
    const std::optional<Window> checkWindow = ReadWindow(m_display, root, check);
    if (!checkWindow || ReadWindow(m_display, *checkWindow, check) != checkWindow)
        return false;
    const std::optional<Property> supported =
        ReadProperty(m_display, root, Intern("_NET_SUPPORTED"), XA_ATOM);
    const long activeWindow = long(Intern("_NET_ACTIVE_WINDOW"));
    return supported && std::find(supported->longs.begin(), supported->longs.end(), activeWindow) !=
                            supported->longs.end();
}

// Window managers may refuse to activate a window of another desktop (openbox does), so the
// desktop is switched first, as a pager does.
void X11WindowFinder::RequestActivation(unsigned long window) {
    const Window root = DefaultRootWindow(m_display);
    const std::optional<unsigned long> desktop =
        ReadCardinal(m_display, window, Intern("_NET_WM_DESKTOP"));
    const std::optional<unsigned long> current =
        ReadCardinal(m_display, root, Intern("_NET_CURRENT_DESKTOP"));
    if (desktop && current && *desktop != *current && *desktop != kAllDesktops)
        SendToWindowManager(root, "_NET_CURRENT_DESKTOP", {long(*desktop), CurrentTime});
    // No window of ours is active: the third item stays 0.
    SendToWindowManager(window, "_NET_ACTIVE_WINDOW", {kSourcePager, CurrentTime});
}

void X11WindowFinder::SendToWindowManager(unsigned long window, const char* type,
                                          std::initializer_list<long> data) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = Intern(type);
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(m_display, DefaultRootWindow(m_display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void X11WindowFinder::MapIfHidden(unsigned long window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(m_display, window, &attributes) && attributes.map_state == IsUnmapped)
        XMapRaised(m_display, window);
}

unsigned long X11WindowFinder::Intern(const char* name) {
    return XInternAtom(m_display, name, False);
}

std::unique_ptr<WindowFinder> CreateX11WindowFinder() {
    return std::make_unique<X11WindowFinder>();
}

} // namespace platform
