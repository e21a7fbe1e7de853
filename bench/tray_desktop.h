// The notification area for the tray benchmarks: openbox and trayer on the benchmark's X server,
// trayer's panel and the program's icon in it as an X client of our own sees them, and the icon
// themes the build placed beside the program.
#pragma once

#include "harness.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstring>
#include <sys/prctl.h>

// --- The notification area as an X client of our own sees it.

inline int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

class TrayView {
public:
    explicit TrayView(const e2e::XServer& server)
        : m_display(XOpenDisplay(server.Display().toLocal8Bit().constData())) {
        XSetErrorHandler(IgnoreErrors);
    }
    ~TrayView() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    TrayView(const TrayView&) = delete;
    TrayView& operator=(const TrayView&) = delete;

    bool Open() const { return m_display != nullptr; }

    bool WindowManagerRuns() const {
        const Atom check = XInternAtom(m_display, "_NET_SUPPORTING_WM_CHECK", False);
        return Property(DefaultRootWindow(m_display), check, XA_WINDOW) != 0;
    }

    // trayer's panel window, or 0.
    Window Panel() const { return Find(DefaultRootWindow(m_display), "panel", "trayer", 0); }

    // The window of process `pid` embedded anywhere under `panel`, or 0.
    Window IconOf(Window panel, qint64 pid) const {
        return panel ? Find(panel, "zorvane", "zorvane", pid) : 0;
    }

    // The window's picture as the server shows it; empty when it cannot be read.
    QByteArray Picture(Window window) const {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(m_display, window, &attributes))
            return {};
        XImage* image = XGetImage(m_display, window, 0, 0, unsigned(attributes.width),
                                  unsigned(attributes.height), AllPlanes, ZPixmap);
        if (!image)
            return {};
        QByteArray bytes(image->data, image->bytes_per_line * image->height);
        XDestroyImage(image);
        return bytes;
    }

private:
    unsigned long Property(Window window, Atom name, Atom type) const {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long left = 0;
        unsigned char* data = nullptr;
        unsigned long value = 0;
        if (XGetWindowProperty(m_display, window, name, 0, 1, False, type, &actual, &format, &count,
                               &left, &data) == Success &&
            data && count == 1 && format == 32)
            value = *reinterpret_cast<unsigned long*>(data);
        if (data)
            XFree(data);
        return value;
    }

    bool Matches(Window window, const char* name, const char* kind, qint64 pid) const {
        XClassHint hint{};
        if (!XGetClassHint(m_display, window, &hint))
            return false;
        const bool match =
            std::strcmp(hint.res_name, name) == 0 && std::strcmp(hint.res_class, kind) == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        return match && (pid == 0 || Property(window, pidAtom, XA_CARDINAL) == quint64(pid));
    }

    // The first window under `top` (depth first) with this class and, unless 0, process id.
    Window Find(Window top, const char* name, const char* kind, qint64 pid) const {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(m_display, top, &root, &parent, &children, &count))
            return 0;
        Window found = 0;
        for (unsigned int i = 0; i < count && !found; ++i)
            found = Matches(children[i], name, kind, pid) ? children[i]
                                                          : Find(children[i], name, kind, pid);
        if (children)
            XFree(children);
        return found;
    }

    Display* m_display;
};

// --- openbox and trayer on the server.

class Desktop {
public:
    explicit Desktop(const e2e::XServer& server) : m_server(server) {}
    ~Desktop() {
        for (QProcess* process : {&m_panel, &m_windowManager}) {
            process->kill();
            process->waitForFinished(3000);
        }
    }

    bool Start(const TrayView& view) {
        Launch(m_windowManager, QStringLiteral("openbox"), {});
        if (!e2e::WaitUntil([&] { return view.WindowManagerRuns(); }, 10000))
            return false;
        Launch(
            m_panel, QStringLiteral("trayer"),
            {"--edge", "bottom", "--align", "right", "--widthtype", "request", "--height", "32"});
        return e2e::WaitUntil([&] { return view.Panel() != 0; }, 10000);
    }

private:
    void Launch(QProcess& process, const QString& program, const QStringList& arguments) {
        process.setProcessEnvironment(m_server.Environment());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        process.start(program, arguments);
    }

    const e2e::XServer& m_server;
    QProcess m_windowManager;
    QProcess m_panel;
};

// --- The program.

// The icon themes the build placed beside the program, copied beside the program's copy.
inline bool CopyIconThemes(const e2e::Program& program) {
    const QDir from(QStringLiteral(ZORVANE_PROGRAM_FOLDER "/IconThemes"));
    const QDir to(program.FilePath(QStringLiteral("IconThemes")));
    QDirIterator files(from.path(), QDir::Files, QDirIterator::Subdirectories);
    bool copied = false;
    while (files.hasNext()) {
        const QString file = files.next();
        const QString target = to.filePath(from.relativeFilePath(file));
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            return false;
        copied = true;
    }
    return copied;
}
