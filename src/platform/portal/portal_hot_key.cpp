#include "platform/portal/portal_hot_key.h"

#include "platform/portal/portal_factories.h"

#include "platform/portal/portal_request.h"
#include "platform/portal/portal_rules.h"
#include "platform/portal/portal_shortcuts.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>

namespace platform {
namespace {

using portal::kGlobalShortcuts;
using portal::kShortcutId;

constexpr int kQuickAnswerMs = 25000;
constexpr int kQuickCallMs = 5000;

// The name one copy of this user holds while it serves the letter, as a key grab is held.
QString LetterBusName(uint32_t virtualKey) {
    return QStringLiteral("org.zorvane.Zorvane.HotKey.%1").arg(QChar(char(virtualKey)));
}

} // namespace

class PortalHotKey::Session final : public QObject {
    Q_OBJECT
public:
    ~Session() override { End(); }

    bool Begin(uint32_t virtualKey);
    void End();
    std::function<void()> pressed;
    bool TakePress() {
        if (m_presses == 0)
            return false;
        --m_presses;
        return true;
    }

private slots:
    void OnActivated(const QDBusObjectPath& session, const QString& shortcut, qulonglong time,
                     const QVariantMap& options) {
        Q_UNUSED(time);
        Q_UNUSED(options);
        if (session.path() != m_handle || shortcut != QLatin1String(kShortcutId))
            return;
        ++m_presses;
        if (pressed)
            pressed();
    }
    void OnClosed() { End(); }

private:
    bool Bind(uint32_t virtualKey);
    void Listen(bool on);

    QDBusConnection m_bus = QDBusConnection::sessionBus();
    QString m_name;   // the letter's name while this copy holds it
    QString m_handle; // the shortcuts session
    int m_presses = 0;
};

// The shortcut goes in CreateSession's options and again in BindShortcuts: KDE 5.27 registers
// those of the first, later desktops those of the second. The desktop may bind another trigger
// than the one preferred (the user's own in its settings): that one stands.
bool PortalHotKey::Session::Begin(uint32_t virtualKey) {
    End();
    if (portal::InterfaceVersion(m_bus, kGlobalShortcuts) == 0)
        return false;
    const QString name = LetterBusName(virtualKey);
    const auto owned =
        m_bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (!owned.isValid() || owned.value() != QDBusConnectionInterface::ServiceRegistered)
        return false;
    m_name = name;
    portal::PortalRequest request(m_bus);
    const portal::PortalAnswer answer =
        request.Call(kGlobalShortcuts, QStringLiteral("CreateSession"),
                     {portal::ShortcutSessionOptions(virtualKey)}, kQuickAnswerMs);
    m_handle = answer.results.value(QStringLiteral("session_handle")).toString();
    if (!answer.Succeeded() || m_handle.isEmpty()) {
        End();
        return false;
    }
    Listen(true);
    if (!Bind(virtualKey)) {
        End();
        return false;
    }
    return true;
}

// Only the call's own reply is awaited (a refusal of the call comes at once); the answer may wait
// for a dialog in which the desktop lets the user confirm or change the trigger, while the
// program's start goes on. Presses arrive as Activated signals.
bool PortalHotKey::Session::Bind(uint32_t virtualKey) {
    static int binds = 0;
    const QDBusMessage reply =
        m_bus.call(portal::BindShortcutsCall(m_handle, virtualKey,
                                             QStringLiteral("zorvanebind%1").arg(++binds)),
                   QDBus::Block, kQuickCallMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void PortalHotKey::Session::Listen(bool on) {
    const auto wire = [&](const char* interface, const QString& path, const char* signal,
                          const char* slot) {
        if (on)
            m_bus.connect(portal::kPortalService, path, interface, signal, this, slot);
        else
            m_bus.disconnect(portal::kPortalService, path, interface, signal, this, slot);
    };
    wire(kGlobalShortcuts, portal::kPortalPath, "Activated",
         SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    wire(portal::kSessionInterface, m_handle, "Closed", SLOT(OnClosed()));
}

void PortalHotKey::Session::End() {
    if (!m_handle.isEmpty()) {
        Listen(false);
        portal::CloseSession(m_bus, m_handle);
        m_handle.clear();
    }
    if (!m_name.isEmpty()) {
        m_bus.interface()->unregisterService(m_name);
        m_name.clear();
    }
    m_presses = 0;
}

PortalHotKey::PortalHotKey() : m_session(std::make_unique<Session>()) {}

PortalHotKey::~PortalHotKey() = default;

int32_t PortalHotKey::RegisterHotKey(WindowHandle, int32_t, uint32_t, uint32_t virtualKey) {
    if (virtualKey < 'A' || virtualKey > 'Z')
        return 0;
    return m_session->Begin(virtualKey) ? 1 : 0;
}

void PortalHotKey::UnregisterHotKey(WindowHandle, int32_t) {
    m_session->End();
}

bool PortalHotKey::PollHotKey(WindowHandle, int32_t) {
    return m_session->TakePress();
}

void PortalHotKey::WhenPressed(std::function<void()> pressed) {
    m_session->pressed = std::move(pressed);
}

std::unique_ptr<HotKeyService> CreatePortalHotKey() {
    return std::make_unique<PortalHotKey>();
}

} // namespace platform

#include "portal_hot_key.moc"
