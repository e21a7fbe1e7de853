#include "platform/qt/qt_factories.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>

namespace platform {
namespace {

// The toolkit reports what the user did with the icon; each report is the message the shell
// would have sent.
int MessageOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return 514; // left button up
    case QSystemTrayIcon::DoubleClick:
        return 515; // left double click
    case QSystemTrayIcon::Context:
        return 517; // right button up
    case QSystemTrayIcon::MiddleClick:
        return 520; // middle button up
    case QSystemTrayIcon::Unknown:
        break;
    }
    return 0;
}

class QtTrayHost final : public TrayHost {
public:
    QtTrayHost() {
        QObject::connect(&m_icon, &QSystemTrayIcon::activated, &m_icon,
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             if (onMessage)
                                 onMessage(MessageOf(reason));
                         });
    }

    void Add(const QIcon& icon, const QString& tip) override {
        Modify(icon, tip);
        m_icon.show();
    }

    // Only what changed goes to the notification area: a countdown tick changes the tip alone,
    // and the icon is not drawn again for it.
    void Modify(const QIcon& icon, const QString& tip) override {
        if (icon.cacheKey() != m_icon.icon().cacheKey())
            m_icon.setIcon(icon);
        if (tip != m_icon.toolTip())
            m_icon.setToolTip(tip);
    }

    void Delete() override { m_icon.hide(); }

    bool Available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void PopUp(QMenu& menu) override { menu.popup(QCursor::pos()); }

private:
    QSystemTrayIcon m_icon;
};

} // namespace

std::unique_ptr<TrayHost> MakeSystemTrayHost() {
    return std::make_unique<QtTrayHost>();
}

} // namespace platform
