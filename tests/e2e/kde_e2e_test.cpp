// The real program on a KDE Plasma desktop (a headless KWin), where it clicks through the
// desktop's remote-desktop portal (KDE lets a program that is not sandboxed do so without asking)
// and binds its hot key through the GlobalShortcuts portal, pressed with the portal's keyboard.
#include "kde_session.h"

#include "click/click_rules.h"

#include <QDir>
#include <QTest>

#include <memory>

#include <sys/inotify.h>
#include <unistd.h>

class KdeE2eTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void runClicksWithoutAsking();
    void hotKeyTogglesEveryCopy();
    void changedLetterMovesTheHotKey();
    void pickerTakesThePortalsPicture();

private:
    std::unique_ptr<e2e::KdeSession> m_session;
    std::unique_ptr<e2e::KdeRecorder> m_recorder;
};

namespace {

const QString kCtrlAltC = QStringLiteral("29 56 46");

// Waits until the copies of the folder have made their signal files (after the hot key's
// registration).
bool Registered(const e2e::Program& program, int copies) {
    return e2e::WaitUntil(
        [&] { return QDir(program.Folder()).entryList({"*_HotKey.xml"}).size() == copies; }, 10000);
}

} // namespace

void KdeE2eTest::initTestCase() {
    m_session = std::make_unique<e2e::KdeSession>();
    QVERIFY2(m_session->Start(), "KWin and the portals did not start");
    m_recorder = std::make_unique<e2e::KdeRecorder>(*m_session);
    QVERIFY2(m_recorder->Start(), "the recorder did not start");
}

// Nobody answers: a question would hold the clicks back. A second start from outside
// (`zorvane --toggle`) clicks through the run's one remote-desktop session.
void KdeE2eTest::runClicksWithoutAsking() {
    e2e::Program program(*m_session);
    QVERIFY(program.WriteSettings(e2e::CountedRun(1270, 1015, 500, 3)));
    QVERIFY(program.Start({QStringLiteral("run")}));
    QVERIFY(m_recorder->PressesOnSchedule(0, 3, {1270, 1015}, click::NominalGap(500)));
    QProcess toggle;
    QVERIFY(program.StartCopy(toggle, {"--toggle"}) && toggle.waitForFinished(10000));
    QVERIFY(m_recorder->PressesOnSchedule(3, 3, {1270, 1015}, click::NominalGap(500)));
    QVERIFY(m_session->Hands(QStringLiteral("sessions zorvane1 zorvane_c"))); // and the hot key's
    program.Kill();
}

// The first copy binds CTRL+ALT+C, the second watches its signal file: a press toggles both.
void KdeE2eTest::hotKeyTogglesEveryCopy() {
    e2e::Program first(*m_session);
    QVERIFY(first.WriteSettings(e2e::CountedRun(200, 300, 300, 1000)));
    QVERIFY(first.Start());
    QVERIFY(!first.WaitForWindow().isEmpty()); // loaded: it reads its settings no more
    QVERIFY(first.WriteSettings(e2e::CountedRun(400, 300, 1000, 1000)) &&
            m_session->Adopt(first.Folder()));
    QProcess second;
    QVERIFY(first.StartCopy(second) && Registered(first, 2));
    const size_t before = m_recorder->Presses().size();
    const auto clickedAt = [&](int x) {
        const auto presses = m_recorder->Presses();
        return std::count_if(presses.begin() + qsizetype(before), presses.end(),
                             [x](const e2e::ButtonEvent& p) { return p.x == x; });
    };
    QVERIFY(m_session->Keys(kCtrlAltC));
    QVERIFY(e2e::WaitUntil([&] { return clickedAt(200) > 0 && clickedAt(400) > 0; }, 10000));
    QVERIFY(m_session->Keys(kCtrlAltC));
    const size_t stopped = m_recorder->Presses().size() + 2; // a click of each may be under way
    QVERIFY2(!m_recorder->WaitForPresses(stopped + 1, 1500), "a copy did not stop");
    e2e::SessionUser::End(second);
    first.Kill();
}

// Options > HotKey... in the running program: CTRL+ALT+X toggles, CTRL+ALT+C no longer does.
void KdeE2eTest::changedLetterMovesTheHotKey() {
    e2e::Program program(*m_session);
    QVERIFY(program.WriteSettings(e2e::CountedRun(1240, 980, 0, 1)));
    QVERIFY(program.Start() && Registered(program, 1));
    QVERIFY(m_session->Hands(QStringLiteral("press zorvane HotKey...")));
    QVERIFY(m_session->Hands(QStringLiteral("find zorvane Select your HotKey")));
    QVERIFY(m_session->Keys(QStringLiteral("45")) && m_session->Keys(QStringLiteral("28")));
    QVERIFY2(m_session->Hands(QStringLiteral("sessions zorvane_x")), "X was not bound");
    const size_t before = m_recorder->Presses().size();
    QVERIFY(m_session->Keys(kCtrlAltC));
    QVERIFY2(!m_recorder->WaitForPresses(before + 1, 1500), "CTRL+ALT+C still toggles");
    QVERIFY(m_session->Keys(QStringLiteral("29 56 45")));
    QVERIFY2(m_recorder->WaitForPresses(before + 1, 5000), "CTRL+ALT+X does not toggle");
    program.Kill();
}

// Locate: the Screenshot portal takes the picture the picker freezes, and the program removes the
// file the portal left among the user's pictures.
void KdeE2eTest::pickerTakesThePortalsPicture() {
    const int pictures = inotify_init1(IN_NONBLOCK);
    QVERIFY(inotify_add_watch(pictures, qPrintable(m_session->Pictures()), IN_CREATE) >= 0);
    e2e::Program program(*m_session);
    QVERIFY(program.WriteSettings({{"XPStyle", "False"}}) && program.Start());
    QVERIFY(!program.WaitForWindow().isEmpty());
    QVERIFY(m_session->Hands(QStringLiteral("press zorvane Locate")));
    QVERIFY(m_session->Hands(QStringLiteral("find zorvane Click anywhere")));
    alignas(inotify_event) char created[1024];
    QVERIFY2(
        read(pictures, created, sizeof created) > 0,
        "no picture (scripts/kde_screenshot_files.sh, as root, places what KDE's portal needs)");
    close(pictures);
    QCOMPARE(QDir(m_session->Pictures()).entryList(QDir::Files), QStringList());
    program.Kill();
}

QTEST_MAIN(KdeE2eTest)
#include "kde_e2e_test.moc"
