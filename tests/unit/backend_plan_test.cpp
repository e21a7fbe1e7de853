// Which way of clicking each session gets, and what its user is told.
#include "platform/backend_plan.h"
#include "platform/fake/fake_mouse.h"
#include "platform/notice_once_mouse.h"

#include <QTest>

using platform::ClickBackend;

Q_DECLARE_METATYPE(ClickBackend)

class BackendChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void sessionPicksItsBackend_data();
    void sessionPicksItsBackend();
    void noticeIsSaidAtTheFirstStartOnly();
};

// The session's facts as "toolkit platform, Wayland session, virtual pointer, portal".
void BackendChoiceTest::sessionPicksItsBackend_data() {
    QTest::addColumn<QString>("facts");
    QTest::addColumn<ClickBackend>("backend");
    QTest::addColumn<bool>("xwaylandNotice");
    QTest::newRow("X11") << "xcb,0,0,0" << ClickBackend::X11 << false;
    QTest::newRow("X11 program in a Wayland session") << "xcb,1,0,0" << ClickBackend::X11 << true;
    QTest::newRow("wlroots") << "wayland,1,1,0" << ClickBackend::Wlroots << false;
    QTest::newRow("wlroots before the portal") << "wayland,1,1,1" << ClickBackend::Wlroots << false;
    QTest::newRow("GNOME, KDE: the portal") << "wayland,1,0,1" << ClickBackend::Portal << false;
    QTest::newRow("nothing can click") << "wayland,1,0,0" << ClickBackend::Refusing << false;
    QTest::newRow("Windows") << "windows,0,0,0" << ClickBackend::Win32 << false;
}

void BackendChoiceTest::sessionPicksItsBackend() {
    QFETCH(QString, facts);
    QFETCH(bool, xwaylandNotice);
    const QStringList fact = facts.split(',');
    const platform::ClickBackendChoice choice = platform::ChooseClickBackend(
        {fact[0].toStdString(), fact[1] == "1", fact[2] == "1", fact[3] == "1"});
    QTEST(choice.backend, "backend");
    QCOMPARE(choice.notice, xwaylandNotice ? platform::kXwaylandNotice : std::string_view());
}

void BackendChoiceTest::noticeIsSaidAtTheFirstStartOnly() {
    auto inner = std::make_unique<platform::FakeMouseInput>();
    platform::FakeMouseInput& fake = *inner;
    platform::NoticeOnceMouse mouse(std::move(inner), "X11 only");
    fake.readiness = {false, "no display", {}};
    QCOMPARE(mouse.PrepareToClick().problem, std::string("no display")); // kept for a later start
    fake.readiness = {};
    QCOMPARE(mouse.PrepareToClick().notice, std::string("X11 only"));
    QVERIFY(mouse.PrepareToClick().notice.empty());
}

QTEST_APPLESS_MAIN(BackendChoiceTest)
#include "backend_plan_test.moc"
