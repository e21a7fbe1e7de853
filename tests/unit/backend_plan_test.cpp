// Which backend serves each service in each session, and what its user is told.
#include "platform/backend_plan.h"
#include "platform/fake/fake_mouse.h"
#include "platform/notice_once_mouse.h"

#include <QStringList>
#include <QTest>

using platform::Backend;

class BackendPlanTest : public QObject {
    Q_OBJECT

private slots:
    void sessionGetsItsPlan_data();
    void sessionGetsItsPlan();
    void noticeIsSaidAtTheFirstStartOnly();
};

// The facts: the toolkit's platform, then the words of those that hold. The plan: the mouse, the
// hot key, the window finder and the screen capture.
void BackendPlanTest::sessionGetsItsPlan_data() {
    QTest::addColumn<QString>("facts");
    QTest::addColumn<QString>("plan");
    QTest::addColumn<QString>("told");
    const QString notice = QString::fromUtf8(platform::kXwaylandNotice.data());
    const QString cannot = QString::fromUtf8(platform::kNoInputSynthesisText.data());
    const QString gone = QString::fromStdString(platform::CompositorGoneText({}));
    const QString rows[][4] = {
        {"X11", "xcb", "X11 X11 X11 Toolkit", ""},
        {"X11 program in a Wayland session", "xcb session", "X11 X11 X11 Toolkit", notice},
        {"wlroots, before the portals", "wayland session reached pointer toplevels portals",
         "Wlroots None Wlroots Wlroots", ""},
        {"GNOME, KDE: the portals", "wayland session reached portals",
         "Portal Portal SessionBus Portal", ""},
        {"nothing can click", "wayland session reached toplevels", "None None Wlroots Wlroots",
         cannot},
        {"our connection failed", "wayland session", "None None Wlroots Wlroots", gone},
        {"Windows", "windows", "Win32 Win32 Win32 Toolkit", ""}};
    for (const auto& row : rows)
        QTest::newRow(qPrintable(row[0])) << row[1] << row[2] << row[3];
}

void BackendPlanTest::sessionGetsItsPlan() {
    QFETCH(QString, facts);
    QFETCH(QString, told);
    const QStringList words = facts.split(' ');
    platform::SessionFacts session;
    session.windowsSystem = words[0] == "windows";
    session.toolkitPlatform = words[0].toStdString();
    session.waylandSession = words.contains("session");
    session.compositorReached = words.contains("reached");
    session.virtualPointer = words.contains("pointer");
    session.foreignToplevels = words.contains("toplevels");
    session.desktopPortals = words.contains("portals");
    const platform::BackendPlan plan = platform::PlanBackends(session);
    const char* names[] = {"X11", "Win32", "Wlroots", "Portal", "SessionBus", "Toolkit", "None"};
    QStringList chosen;
    for (Backend backend : {plan.mouse, plan.hotKey, plan.windowFinder, plan.screenCapture})
        chosen << names[int(backend)];
    QTEST(chosen.join(' '), "plan");
    QCOMPARE(QString::fromStdString(plan.refusal) +
                 QString::fromUtf8(plan.notice.data(), qsizetype(plan.notice.size())),
             told);
}

void BackendPlanTest::noticeIsSaidAtTheFirstStartOnly() {
    auto inner = std::make_unique<platform::FakeMouseInput>();
    platform::FakeMouseInput& fake = *inner;
    platform::NoticeOnceMouse mouse(std::move(inner), "X11 only");
    fake.readiness = {false, "no display", {}};
    QCOMPARE(mouse.PrepareToClick().problem, std::string("no display")); // kept for a later start
    fake.readiness = {};
    QCOMPARE(mouse.PrepareToClick().notice, std::string("X11 only"));
    QVERIFY(mouse.PrepareToClick().notice.empty());
}

QTEST_APPLESS_MAIN(BackendPlanTest)
#include "backend_plan_test.moc"
