#include "platform/portal/bus_instance_service.h"

#include "platform/portal/portal_factories.h"

#include "platform/portal/portal_rules.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace platform {

bool InstanceWindowIconic(const QWidget& window) {
    return window.isMinimized() || !window.isVisible();
}

void RestoreInstanceWindow(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
}

void RaiseInstanceWindow(QWidget& window) {
    window.raise();
    window.activateWindow();
}

InstanceService::InstanceService(const std::string& configFolder, QWidget& mainWindow)
    : m_window(&mainWindow) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString name = QString::fromStdString(portal::InstanceBusName(configFolder));
    if (!bus.isConnected() ||
        !bus.registerObject(kInstanceObjectPath, this, QDBusConnection::ExportAllSlots))
        return;
    const auto owned =
        bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (owned.isValid() && owned.value() == QDBusConnectionInterface::ServiceRegistered)
        m_name = name;
    else
        bus.unregisterObject(kInstanceObjectPath);
}

InstanceService::~InstanceService() {
    if (m_name.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.interface()->unregisterService(m_name);
    bus.unregisterObject(kInstanceObjectPath);
}

QString InstanceService::Caption() const {
    return m_window ? m_window->windowTitle() : QString();
}

bool InstanceService::IsMinimized() const {
    return m_window && InstanceWindowIconic(*m_window);
}

void InstanceService::Restore() {
    if (m_window)
        RestoreInstanceWindow(*m_window);
}

void InstanceService::Activate(const QString& activationToken) {
    if (!m_window)
        return;
    // The Wayland platform of Qt hands this variable to the compositor with the next activation
    // request, and clears it; Qt offers no other way to pass a token on.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    RaiseInstanceWindow(*m_window);
}

std::unique_ptr<QObject> AnswerOnSessionBus(const std::string& configFolder, QWidget& mainWindow) {
    return std::make_unique<InstanceService>(configFolder, mainWindow);
}

} // namespace platform
