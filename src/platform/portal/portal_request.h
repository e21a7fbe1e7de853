// One call to a desktop portal method that answers later, through a Request object's Response
// signal: the caller waits for the answer in a local event loop, so the program's windows and
// timers go on while the desktop asks the user.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

class QEventLoop;

namespace platform::portal {

inline constexpr const char* kPortalService = "org.freedesktop.portal.Desktop";
inline constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
inline constexpr const char* kRemoteDesktop = "org.freedesktop.portal.RemoteDesktop";
inline constexpr const char* kScreenCast = "org.freedesktop.portal.ScreenCast";
inline constexpr const char* kSessionInterface = "org.freedesktop.portal.Session";

// Whether the desktop's portal runs or can be started on the session bus (nothing is started).
bool PortalOffered(const QDBusConnection& bus);

// The version property of a portal interface; 0 when the portal or the interface is missing.
uint32_t InterfaceVersion(const QDBusConnection& bus, const QString& interface);

// The desktop's backends (org.freedesktop.impl.portal.*) that serve an interface of the portal
// ("org.freedesktop.impl.portal.RemoteDesktop"): the portal passes calls on to them without
// waiting, so that one that goes away is noticed only by watching it.
QStringList BackendsServing(const QDBusConnection& bus, const QString& implInterface);

// Asks the portal to close a session it made (the desktop ends what it shows for it).
void CloseSession(const QDBusConnection& bus, const QString& session);

struct PortalAnswer {
    enum class Outcome {
        Answered, // response and results hold the portal's answer
        Error,    // the call failed; error says why
        Ended,    // the wait was ended: the portal went away, the session closed, time ran out
    };
    Outcome outcome = Outcome::Ended;
    uint32_t response = 2; // 0 success, 1 the user cancelled, 2 ended otherwise
    QVariantMap results;
    QString error;

    bool Succeeded() const { return outcome == Outcome::Answered && response == 0; }
};

class PortalRequest final : public QObject {
    Q_OBJECT
public:
    explicit PortalRequest(QDBusConnection bus);
    // Calls interface.method on the portal with the arguments, whose last one is the options
    // map (a handle token is added to it), and waits for the answer; timeoutMs < 0 waits until
    // the portal answers, goes away or End is called.
    PortalAnswer Call(const QString& interface, const QString& method, QVariantList arguments,
                      int timeoutMs);

public slots:
    // Ends a wait in progress with Outcome::Ended.
    void End();

private slots:
    void OnResponse(uint response, const QVariantMap& results);

private:
    QString RequestPath(const QString& token) const;

    QDBusConnection m_bus;
    QEventLoop* m_loop = nullptr;
    PortalAnswer m_answer;
};

} // namespace platform::portal
