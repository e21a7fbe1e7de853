// The GlobalShortcuts portal's calls as they go on the bus: the shortcut for CTRL + ALT + the
// letter in CreateSession's options (KDE 5.27 registers only those) and in BindShortcuts, each as
// a(sa{sv}), in a session named after the letter.
#include "platform/portal/portal_shortcuts.h"

#include <QDBusMetaType>
#include <QtTest>

using namespace platform::portal;

class PortalShortcutsTest : public QObject {
    Q_OBJECT

private slots:
    void calls_data() {
        QTest::addColumn<char>("letter");
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("trigger");
        QTest::newRow("C") << 'C' << "zorvane_c"
                           << "CTRL+ALT+c";
        QTest::newRow("Z") << 'Z' << "zorvane_z"
                           << "CTRL+ALT+z";
    }
    void calls();
};

// The signature the values go on the bus with: Qt leaves out a value it cannot marshal.
static QString Signature(const QVariantList& values) {
    QString signature;
    for (const QVariant& value : values)
        signature += QLatin1String(QDBusMetaType::typeToSignature(value.metaType()));
    return signature;
}

void PortalShortcutsTest::calls() {
    QFETCH(char, letter);
    QFETCH(QString, token);
    QFETCH(QString, trigger);
    const QVariantMap options = ShortcutSessionOptions(uint32_t(letter));
    QCOMPARE(options.value("session_handle_token").toString(), token);
    const QDBusMessage bind = BindShortcutsCall("/session/t", uint32_t(letter), "b");
    QCOMPARE(Signature(bind.arguments()), QStringLiteral("oa(sa{sv})sa{sv}"));
    for (const QVariant& given : {options.value("shortcuts"), bind.arguments().value(1)}) {
        QCOMPARE(Signature({given}), QStringLiteral("a(sa{sv})"));
        const auto shortcuts = given.value<QList<Shortcut>>();
        QCOMPARE(shortcuts.size(), 1);
        QCOMPARE(shortcuts[0].id, QString::fromLatin1(kShortcutId));
        QCOMPARE(shortcuts[0].properties.value("preferred_trigger").toString(), trigger);
    }
}

QTEST_GUILESS_MAIN(PortalShortcutsTest)
#include "portal_shortcuts_test.moc"
