#include "platform/portal/portal_shortcuts.h"

#include "platform/portal/portal_request.h"
#include "platform/portal/portal_rules.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>

namespace platform::portal {

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

namespace {

// Both types: Qt marshals a list's elements by their own registration, and without it drops the
// whole list from the call.
QList<Shortcut> Shortcuts(uint32_t virtualKey) {
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    return {{QString::fromLatin1(kShortcutId),
             {{"description", QStringLiteral("Start or stop clicking")},
              {"preferred_trigger", QString::fromStdString(PreferredTrigger(virtualKey))}}}};
}

} // namespace

// KDE 5.27 registers only the shortcuts CreateSession gives (its BindShortcuts registers nothing);
// later desktops register those BindShortcuts gives: both get them.
QVariantMap ShortcutSessionOptions(uint32_t virtualKey) {
    return {{"session_handle_token", QString::fromStdString(ShortcutSessionToken(virtualKey))},
            {"shortcuts", QVariant::fromValue(Shortcuts(virtualKey))}};
}

QDBusMessage BindShortcutsCall(const QString& session, uint32_t virtualKey,
                               const QString& handleToken) {
    QDBusMessage bind = QDBusMessage::createMethodCall(
        kPortalService, kPortalPath, kGlobalShortcuts, QStringLiteral("BindShortcuts"));
    bind << QVariant::fromValue(QDBusObjectPath(session))
         << QVariant::fromValue(Shortcuts(virtualKey)) << QString()
         << QVariantMap{{"handle_token", handleToken}};
    return bind;
}

} // namespace platform::portal
