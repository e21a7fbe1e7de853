// An X client of its own that records the mouse buttons it receives, with the server's
// timestamps: the independent witness of the clicks the program makes.
//
//   click_recorder [--geometry WxH+X+Y] [--title TEXT]
//
// It maps one window (the whole screen by default) and writes to standard output, one line each,
// flushed at once:
//   ready <window id>
//   press <button> <root x> <root y> <server time in ms>
//   release <button> <root x> <root y> <server time in ms>
// The window shows how many presses it has received.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Options {
    unsigned width = 0;
    unsigned height = 0;
    int x = 0;
    int y = 0;
    std::string title = "Click target";
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--geometry" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%ux%u+%d+%d", &options.width, &options.height, &options.x,
                            &options.y) != 4)
                return false;
        } else if (arg == "--title" && i + 1 < argc) {
            options.title = argv[++i];
        } else {
            return false;
        }
    }
    return true;
}

void Draw(Display* display, Window window, GC gc, int presses) {
    XClearWindow(display, window);
    const std::string text = "Clicks received: " + std::to_string(presses);
    XDrawString(display, window, gc, 10, 20, text.c_str(), static_cast<int>(text.size()));
    XFlush(display);
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: click_recorder [--geometry WxH+X+Y] [--title TEXT]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "click_recorder: cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    if (options.width == 0 || options.height == 0) {
        options.width = static_cast<unsigned>(DisplayWidth(display, screen));
        options.height = static_cast<unsigned>(DisplayHeight(display, screen));
    }
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), options.x,
                                              options.y, options.width, options.height, 0,
                                              BlackPixel(display, screen), 0xE0F0FF);
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = options.x;
    hints.y = options.y;
    hints.width = static_cast<int>(options.width);
    hints.height = static_cast<int>(options.height);
    XSetWMNormalHints(display, window, &hints);
    XStoreName(display, window, options.title.c_str());
    XSelectInput(display, window,
                 ButtonPressMask | ButtonReleaseMask | ExposureMask | StructureNotifyMask);
    XMapWindow(display, window);
    GC gc = XCreateGC(display, window, 0, nullptr);
    XSetForeground(display, gc, BlackPixel(display, screen));

    int presses = 0;
    bool announced = false;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
        case MapNotify:
            if (!announced) {
                std::printf("ready %lu\n", static_cast<unsigned long>(window));
                std::fflush(stdout);
                announced = true;
            }
            break;
        case Expose:
            if (event.xexpose.count == 0)
                Draw(display, window, gc, presses);
            break;
        case ButtonPress:
        case ButtonRelease: {
            const XButtonEvent& b = event.xbutton;
            const bool press = event.type == ButtonPress;
            std::printf("%s %u %d %d %lu\n", press ? "press" : "release", b.button, b.x_root,
                        b.y_root, static_cast<unsigned long>(b.time));
            std::fflush(stdout);
            if (press)
                Draw(display, window, gc, ++presses);
            break;
        }
        default:
            break;
        }
    }
}
