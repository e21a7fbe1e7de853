#include "platform/portal/bus_window_finder.h"

#include "platform/portal/bus_instance_service.h"
#include "platform/portal/portal_factories.h"
#include "platform/portal/portal_rules.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace platform {
namespace {

constexpr int kAnswerMs = 3000;

// The token this process's launcher gave it, to hand on to the copy it brings forward.
QString OwnActivationToken() {
    for (const char* variable : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
        if (const QString token = qEnvironmentVariable(variable); !token.isEmpty())
            return token;
    return {};
}

QWidget* OwnWindow(WindowHandle window) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->isWindow() && widget->internalWinId() == window && window != 0)
            return widget;
    return nullptr;
}

} // namespace

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
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, kInstanceObjectPath, kInstanceInterface, method);
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
    return widget && InstanceWindowIconic(*widget);
}

void BusWindowFinder::Restore(WindowHandle window) {
    if (window == kOtherCopy) {
        CallOtherCopy(m_name, "Restore");
    } else if (QWidget* widget = OwnWindow(window)) {
        RestoreInstanceWindow(*widget);
    }
}

void BusWindowFinder::SetForegroundWindow(WindowHandle window) {
    if (window == kOtherCopy) {
        CallOtherCopy(m_name, "Activate", {OwnActivationToken()});
    } else if (QWidget* widget = OwnWindow(window)) {
        RaiseInstanceWindow(*widget);
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

std::unique_ptr<WindowFinder> CreateBusWindowFinder(const std::string& configFolder) {
    return std::make_unique<BusWindowFinder>(configFolder);
}

} // namespace platform
