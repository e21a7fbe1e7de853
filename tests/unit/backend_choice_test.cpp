// Which way of clicking each session gets, and what its user is told.
#include "platform/backend_choice.h"
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

void BackendChoiceTest::sessionPicksItsBackend_data() {
    QTest::addColumn<QString>("toolkit");
    QTest::addColumn<bool>("waylandSession");
    QTest::addColumn<bool>("virtualPointer");
    QTest::addColumn<bool>("portal");
    QTest::addColumn<ClickBackend>("backend");
    QTest::addColumn<bool>("xwaylandNotice");
    QTest::newRow("X11") << "xcb" << false << false << false << ClickBackend::X11 << false;
    QTest::newRow("X11 program in a Wayland session")
        << "xcb" << true << false << false << ClickBackend::X11 << true;
    QTest::newRow("wlroots") << "wayland" << true << true << false << ClickBackend::Wlroots
                             << false;
    QTest::newRow("wlroots before the portal")
        << "wayland" << true << true << true << ClickBackend::Wlroots << false;
    QTest::newRow("GNOME, KDE: the portal")
        << "wayland" << true << false << true << ClickBackend::Portal << false;
    QTest::newRow("nothing can click")
        << "wayland" << true << false << false << ClickBackend::Refusing << false;
    QTest::newRow("Windows") << "windows" << false << false << false << ClickBackend::Win32
                             << false;
}

void BackendChoiceTest::sessionPicksItsBackend() {
    QFETCH(QString, toolkit);
    QFETCH(bool, xwaylandNotice);
    platform::SessionFacts facts;
    facts.toolkitPlatform = toolkit.toStdString();
    QFETCH(bool, waylandSession);
    QFETCH(bool, virtualPointer);
    QFETCH(bool, portal);
    facts.waylandSession = waylandSession;
    facts.virtualPointer = virtualPointer;
    facts.remoteDesktopPortal = portal;
    const platform::ClickBackendChoice choice = platform::ChooseClickBackend(facts);
    QTEST(choice.backend, "backend");
    QCOMPARE(choice.notice == platform::kXwaylandNotice, xwaylandNotice);
    QCOMPARE(choice.notice.empty(), !xwaylandNotice);
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
#include "backend_choice_test.moc"
