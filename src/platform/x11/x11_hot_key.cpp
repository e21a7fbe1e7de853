#include "platform/x11/x11_hot_key.h"

// The toolkit's headers come before Xlib's, whose macros (Bool, Status) they would trip on.
#include <QSocketNotifier>
#include <QTimer>

#include "platform/x11/x11_factories.h"
#include "platform/x11/x_error_trap.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <optional>

namespace platform {
namespace {

// RegisterHotKey's other modifier flags.
constexpr uint32_t kModShift = 4;
constexpr uint32_t kModWin = 8;
constexpr uint32_t kModNoRepeat = 0x4000;
constexpr uint32_t kKnownModifiers = kModAlt | kModControl | kModShift | kModWin | kModNoRepeat;

// Shift, Lock, Control and Mod1..Mod5 in an event's state; the rest are buttons and the group.
constexpr unsigned int kModifierBits = 0xFF;

std::optional<unsigned int> XModifiers(uint32_t modifiers) {
    if (modifiers & ~kKnownModifiers)
        return std::nullopt;
    unsigned int mask = 0;
    if (modifiers & kModAlt)
        mask |= Mod1Mask;
    if (modifiers & kModControl)
        mask |= ControlMask;
    if (modifiers & kModShift)
        mask |= ShiftMask;
    if (modifiers & kModWin)
        mask |= Mod4Mask;
    return mask;
}

bool HoldsKey(const XModifierKeymap& map, int modifier, KeyCode keycode) {
    const KeyCode* keys = map.modifiermap + modifier * map.max_keypermod;
    return std::find(keys, keys + map.max_keypermod, keycode) != keys + map.max_keypermod;
}

// The modifier (Mod1..Mod5) that Num_Lock sets; 0 when the keyboard has none.
unsigned int NumLockMask(Display* display) {
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap* map = XGetModifierMapping(display);
    unsigned int mask = 0;
    for (int modifier = Mod1MapIndex; map && numLock && modifier <= Mod5MapIndex; ++modifier)
        if (HoldsKey(*map, modifier, numLock))
            mask = 1u << modifier;
    if (map)
        XFreeModifiermap(map);
    return mask;
}

} // namespace

X11HotKeyService::X11HotKeyService() : m_display(XOpenDisplay(nullptr)) {
    if (!m_display)
        return;
    // Held keys then repeat as presses without releases in between.
    Bool supported = False;
    m_detectableRepeat = XkbSetDetectableAutoRepeat(m_display, True, &supported) && supported;
    m_numLockMask = NumLockMask(m_display);
}

X11HotKeyService::~X11HotKeyService() {
    if (m_display)
        XCloseDisplay(m_display); // gives back every grab of the connection
}

int32_t X11HotKeyService::RegisterHotKey(WindowHandle window, int32_t id, uint32_t modifiers,
                                         uint32_t virtualKey) {
    // A registration under the same window and identifier replaces the earlier one, also when the
    // new one fails: a failed registration must not leave the old key grabbed.
    UnregisterHotKey(window, id);
    const std::optional<unsigned int> mask = XModifiers(modifiers);
    if (!m_display || !mask || virtualKey < 'A' || virtualKey > 'Z')
        return 0;
    const KeyCode keycode = XKeysymToKeycode(m_display, XK_a + (virtualKey - 'A'));
    if (keycode == 0 || Conflicts(keycode, *mask) || !Grab(keycode, *mask))
        return 0;
    Registration registration;
    registration.window = window;
    registration.id = id;
    registration.keycode = keycode;
    registration.modifiers = *mask;
    m_registrations.push_back(registration);
    // What the grab's round trip read already lies in the connection's queue, where the socket
    // tells nothing of it.
    if (m_notifier)
        QTimer::singleShot(0, m_notifier.get(), [this] { OnReadable(); });
    return 1;
}

void X11HotKeyService::UnregisterHotKey(WindowHandle window, int32_t id) {
    const Registration* registration = Find(window, id);
    if (!registration)
        return;
    Ungrab(*registration);
    m_registrations.erase(m_registrations.begin() + (registration - m_registrations.data()));
}

bool X11HotKeyService::PollHotKey(WindowHandle window, int32_t id) {
    if (!m_display)
        return false;
    Drain();
    Registration* registration = Find(window, id);
    if (!registration || registration->pendingPresses == 0)
        return false;
    --registration->pendingPresses;
    return true;
}

X11HotKeyService::Registration* X11HotKeyService::Find(WindowHandle window, int32_t id) {
    for (Registration& registration : m_registrations)
        if (registration.window == window && registration.id == id)
            return &registration;
    return nullptr;
}

bool X11HotKeyService::Conflicts(unsigned int keycode, unsigned int modifiers) const {
    return std::any_of(m_registrations.begin(), m_registrations.end(), [&](const auto& other) {
        return other.keycode == keycode && other.modifiers == modifiers;
    });
}

std::vector<unsigned int> X11HotKeyService::LockVariants() const {
    if (m_numLockMask == 0)
        return {0, LockMask};
    return {0, LockMask, m_numLockMask, LockMask | m_numLockMask};
}

bool X11HotKeyService::Grab(unsigned int keycode, unsigned int modifiers) {
    const Window root = DefaultRootWindow(m_display);
    XErrorTrap trap(m_display);
    for (unsigned int lock : LockVariants())
        XGrabKey(m_display, int(keycode), modifiers | lock, root, False, GrabModeAsync,
                 GrabModeAsync);
    if (!trap.AccessDenied())
        return true;
    // Another client holds one of the variants. Ungrabbing touches only our own grabs, so every
    // variant can be given back whether or not it was granted.
    for (unsigned int lock : LockVariants())
        XUngrabKey(m_display, int(keycode), modifiers | lock, root);
    return false;
}

void X11HotKeyService::Ungrab(const Registration& registration) {
    const Window root = DefaultRootWindow(m_display);
    for (unsigned int lock : LockVariants())
        XUngrabKey(m_display, int(registration.keycode), registration.modifiers | lock, root);
    XFlush(m_display);
}

void X11HotKeyService::WhenPressed(std::function<void()> pressed) {
    m_pressed = std::move(pressed);
    if (!m_display || m_notifier)
        return;
    m_notifier =
        std::make_unique<QSocketNotifier>(ConnectionNumber(m_display), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
}

// Read at once, whoever polls: a socket left unread would wake the program again and again.
void X11HotKeyService::OnReadable() {
    Drain();
    if (m_pressed && std::any_of(m_registrations.begin(), m_registrations.end(),
                                 [](const Registration& r) { return r.pendingPresses > 0; }))
        m_pressed();
}

void X11HotKeyService::Drain() {
    // XPending reads what the server has sent without waiting for more.
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type == KeyPress) {
            OnKeyPress(event.xkey.keycode, event.xkey.state);
        } else if (event.type == KeyRelease) {
            if (!IsRepeatRelease(event.xkey.keycode, event.xkey.time))
                OnKeyRelease(event.xkey.keycode);
        } else if (event.type == MappingNotify) {
            XRefreshKeyboardMapping(&event.xmapping);
        }
    }
}

void X11HotKeyService::OnKeyPress(unsigned int keycode, unsigned int state) {
    // Exactly the registered modifiers: with Control+Alt both held and no Shift or other
    // modifier; CapsLock and NumLock do not matter.
    const unsigned int held = state & kModifierBits & ~(LockMask | m_numLockMask);
    for (Registration& registration : m_registrations) {
        if (registration.keycode != keycode || registration.modifiers != held ||
            registration.keyDown)
            continue; // another key, other modifiers, or key repeat
        registration.keyDown = true;
        ++registration.pendingPresses;
    }
}

void X11HotKeyService::OnKeyRelease(unsigned int keycode) {
    for (Registration& registration : m_registrations)
        if (registration.keycode == keycode)
            registration.keyDown = false;
}

// Without detectable key repeat the server sends a held key as release-press pairs with one
// timestamp; such a release and its press are dropped together.
bool X11HotKeyService::IsRepeatRelease(unsigned int keycode, unsigned long time) {
    if (m_detectableRepeat || XEventsQueued(m_display, QueuedAfterReading) == 0)
        return false;
    XEvent next;
    XPeekEvent(m_display, &next);
    if (next.type != KeyPress || next.xkey.keycode != keycode || next.xkey.time != time)
        return false;
    XNextEvent(m_display, &next);
    return true;
}

std::unique_ptr<HotKeyService> CreateX11HotKey() {
    return std::make_unique<X11HotKeyService>();
}

} // namespace platform
