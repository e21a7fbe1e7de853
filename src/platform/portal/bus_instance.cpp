#include "platform/portal/bus_instance.h"

#include "platform/portal/portal_rules.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace platform {
namespace {

constexpr const char* kObjectPath = "/org/zorvane/Zorvane";
constexpr const char* kInterface = "org.zorvane.Zorvane.Instance";
constexpr int kAnswerMs = 3000;

// The token this process's launcher gave it, to hand on to the copy it brings forward.
QString OwnActivationToken() {
    for (const char* variable : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
        if (const QString token = qEnvironmentVariable(variable); !token.isEmpty())
            return token;
    return {};
}

// A window hidden in the tray counts as minimized, so that bringing it forward shows it.
bool IsIconicWidget(const QWidget& window) {
    return window.isMinimized() || !window.isVisible();
}

void RestoreWidget(QWidget& window) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
}

void RaiseWidget(QWidget& window) {
    window.raise();
    window.activateWindow();
}

QWidget* OwnWindow(WindowHandle window) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isWindow() && widget->internalWinId() == window && window != 0)
            return widget;
    return nullptr;
}

} // namespace

InstanceService::InstanceService(const std::string& configFolder, QWidget& mainWindow)
    : m_window(&mainWindow) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString name = QString::fromStdString(portal::InstanceBusName(configFolder));
    if (!bus.isConnected() ||
        !bus.registerObject(kObjectPath, this, QDBusConnection::ExportAllSlots))
        return;
    const auto owned =
        bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (owned.isValid() && owned.value() == QDBusConnectionInterface::ServiceRegistered)
        m_name = name;
    else
        bus.unregisterObject(kObjectPath);
}

InstanceService::~InstanceService() {
    if (m_name.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.interface()->unregisterService(m_name);
    bus.unregisterObject(kObjectPath);
}

QString InstanceService::Caption() const {
    return m_window ? m_window->windowTitle() : QString();
}

bool InstanceService::IsMinimized() const {
    return m_window && IsIconicWidget(*m_window);
}

void InstanceService::Restore() {
    if (m_window)
        RestoreWidget(*m_window);
}

void InstanceService::Activate(const QString& activationToken) {
    if (!m_window)
        return;
    // The Wayland platform of Qt hands this variable to the compositor with the next activation
    // request, and clears it; Qt offers no other way to pass a token on.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    RaiseWidget(*m_window);
}

BusWindowFinder::BusWindowFinder(std::string configFolder)
    : m_name(portal::InstanceBusName(configFolder)) {}

namespace {

// Calls the other copy; an empty message when it does not answer (or this process owns the name).
QDBusMessage CallOtherCopy(const std::string& name, const char* method,
                           const QVariantList& arguments = {}) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString service = QString::fromStdString(name);
    if (!bus.isConnected() || bus.interface()->serviceOwner(service).value() == bus.baseService())
        return {};
    QDBusMessage call = QDBusMessage::createMethodCall(service, kObjectPath, kInterface, method);
    call.setArguments(arguments);
    call.setAutoStartService(false);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kAnswerMs);
    return reply.type() == QDBusMessage::ReplyMessage ? reply : QDBusMessage();
}

} // namespace

WindowHandle BusWindowFinder::FindWindow(const std::string& caption) {
    const QString title = QString::fromStdString(caption);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isWindow() && widget->windowTitle() == title && widget->internalWinId())
            return widget->internalWinId();
    const QDBusMessage reply = CallOtherCopy(m_name, "Caption");
    if (!reply.arguments().isEmpty() && reply.arguments().first().toString() == title)
        return kOtherCopy;
    return 0;
}

bool BusWindowFinder::IsIconic(WindowHandle window) {
    if (window == kOtherCopy) {
        const QDBusMessage reply = CallOtherCopy(m_name, "IsMinimized");
        return !reply.arguments().isEmpty() && reply.arguments().first().toBool();
    }
    const QWidget* widget = OwnWindow(window);
    return widget && IsIconicWidget(*widget);
}

void BusWindowFinder::Restore(WindowHandle window) {
    if (window == kOtherCopy) {
        CallOtherCopy(m_name, "Restore");
    } else if (QWidget* widget = OwnWindow(window)) {
        RestoreWidget(*widget);
    }
}

void BusWindowFinder::SetForegroundWindow(WindowHandle window) {
    if (window == kOtherCopy) {
        CallOtherCopy(m_name, "Activate", {OwnActivationToken()});
    } else if (QWidget* widget = OwnWindow(window)) {
        RaiseWidget(*widget);
    }
}

std::vector<WindowHandle> BusWindowFinder::TopLevelWindows() {
    std::vector<WindowHandle> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isWindow() && widget->internalWinId())
            windows.push_back(widget->internalWinId());
    if (!CallOtherCopy(m_name, "Caption").arguments().isEmpty())
        windows.push_back(kOtherCopy);
    return windows;
}

} // namespace platform
