// While an XErrorTrap lives, the X errors of one connection are recorded instead of reaching the
// process's error handler (Xlib's default one ends the program): a window may vanish between two
// requests, and another client may hold a grab. Errors of other connections pass on unchanged.
// Include only from X11 backend sources.
#pragma once

#include <X11/Xlib.h>

namespace platform {

class XErrorTrap {
public:
    explicit XErrorTrap(Display* display) : m_display(display) {
        s_display = display;
        s_accessDenied = false;
        s_previous = XSetErrorHandler(&XErrorTrap::Handle);
    }
    ~XErrorTrap() {
        XSync(m_display, False);
        XSetErrorHandler(s_previous);
        s_display = nullptr;
    }
    XErrorTrap(const XErrorTrap&) = delete;
    XErrorTrap& operator=(const XErrorTrap&) = delete;

    // Waits until the server has handled the requests made so far; answers whether one of them
    // met another client's grab.
    bool AccessDenied() {
        XSync(m_display, False);
        return s_accessDenied;
    }

private:
    static int Handle(Display* display, XErrorEvent* error) {
        if (display != s_display)
            return s_previous ? s_previous(display, error) : 0;
        if (error->error_code == BadAccess)
            s_accessDenied = true;
        return 0;
    }

    Display* m_display;
    static inline Display* s_display = nullptr;
    static inline bool s_accessDenied = false;
    static inline XErrorHandler s_previous = nullptr;
};

} // namespace platform
