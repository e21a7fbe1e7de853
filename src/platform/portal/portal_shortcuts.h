// The GlobalShortcuts portal's calls for the start/stop shortcut, CTRL + ALT + a letter, as they
// go on the bus.
#pragma once

#include <QDBusArgument>
#include <QDBusMessage>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

#include <cstdint>

namespace platform::portal {

inline constexpr const char* kGlobalShortcuts = "org.freedesktop.portal.GlobalShortcuts";
// The one shortcut the program asks for.
inline constexpr const char* kShortcutId = "start-stop";

// One shortcut as the portal takes it, (sa{sv}): its id and its properties.
struct Shortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const Shortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, Shortcut& shortcut);

// CreateSession's options for the letter ('A'..'Z'), without the handle token.
QVariantMap ShortcutSessionOptions(uint32_t virtualKey);

// BindShortcuts for the letter on the session, with its handle token.
QDBusMessage BindShortcutsCall(const QString& session, uint32_t virtualKey,
                               const QString& handleToken);

} // namespace platform::portal

Q_DECLARE_METATYPE(platform::portal::Shortcut)
