// A notification area for tests: it keeps what the tray shows in a record the test owns (so it
// outlives the tray), and sends the icon's mouse messages on request.
#pragma once

#include "platform/tray_host_service.h"

#include <QMenu>

namespace platform {

struct TrayShown {
    bool added = false;
    bool available = true;
    QIcon icon;
    QString tip;
    QMenu* poppedUp = nullptr;
};

class FakeTrayHost final : public TrayHost {
public:
    explicit FakeTrayHost(TrayShown& shown) : m_shown(shown) {}

    void Add(const QIcon& icon, const QString& tip) override {
        m_shown.added = true;
        Modify(icon, tip);
    }
    void Modify(const QIcon& icon, const QString& tip) override {
        m_shown.icon = icon;
        m_shown.tip = tip;
    }
    void Delete() override { m_shown.added = false; }
    bool Available() const override { return m_shown.available; }
    void PopUp(QMenu& menu) override { m_shown.poppedUp = &menu; }

    void Send(int message) { onMessage(message); }

private:
    TrayShown& m_shown;
};

} // namespace platform
