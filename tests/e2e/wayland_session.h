// End-to-end tests on a Wayland desktop: a headless sway (the wlroots family's stand-in) run as the
// session's unprivileged user, the Wayland click recorder, and the test's own hands there (a
// virtual pointer of its own, and wtype for keys).
#pragma once

#include "harness.h"
#include "session_user.h"

#include <QJsonObject>
#include <QRect>

namespace e2e {

class SwaySession : public UserSession {
public:
    // With xwayland, an X server for X11 clients runs beside (both variables set for clients).
    explicit SwaySession(bool xwayland = false);
    ~SwaySession() override;
    bool Start();
    // Ends the compositor, as when a session ends under its programs.
    void Stop() { SessionUser::End(m_sway); }
    QProcessEnvironment Environment() const override;
    QStringList FindWindows(const QString& caption) const override;
    // swaymsg's answer, or a null string when it failed.
    QString Swaymsg(const QStringList& arguments) const;
    // The window of that exact title: its place on the output, and whether it has the focus.
    QRect WindowRect(const QString& title) const;
    bool Focused(const QString& title) const;
    // Moves the pointer there and clicks (the test's own virtual pointer).
    bool ClickAt(int x, int y) const;
    // Types keys into the focused window (wtype's arguments: "-k Tab", "-M ctrl x -m ctrl").
    bool Keys(const QString& wtypeArguments) const;
    // The X display of the Xwayland server, when there is one.
    QString XDisplay() const { return m_xDisplay; }

private:
    std::vector<QJsonObject> Windows() const;
    bool RunTool(const QString& program, const QStringList& arguments) const;

    bool m_xwayland;
    QProcess m_sway;
    QString m_display;
    QString m_socket;
    QString m_xDisplay;
};

// The Wayland click recorder, filling the output as sway's one tiled window. Positions are made
// absolute with the window's place, which sway tells.
class WaylandRecorder : public RecorderLog {
public:
    explicit WaylandRecorder(const SwaySession& session) : m_session(session) {}
    bool Start();
    // The presses at their places on the output.
    std::vector<ButtonEvent> Presses();

private:
    const SwaySession& m_session;
    QPoint m_origin;
};

} // namespace e2e
