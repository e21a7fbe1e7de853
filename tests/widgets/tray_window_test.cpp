// The tray window with a fake notification area: its tip, its menu as the main window's state
// prepares it, its commands, hiding and restoring the main window, the icon modes and the theme
// animation, the theme submenu, and its settings.
#include "main_window_fixture.h"
#include "platform/fake/fake_tray_host.h"
#include "store/settings_file.h"
#include "tray/sys_tray_window.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <unistd.h>

namespace {

QColor Colour(const QIcon& icon) {
    const QImage picture = icon.pixmap(QSize(32, 32)).toImage();
    return picture.pixelColor(picture.width() / 2, picture.height() / 2);
}

QIcon Filled(Qt::GlobalColor colour, int side = 32) {
    QPixmap picture(side, side);
    picture.fill(colour);
    return QIcon(picture);
}

struct TrayFixture : MainWindowFixture {
    platform::TrayShown shown;
    platform::FakeTrayHost* host = nullptr; // while the tray lives

    TrayFixture(std::initializer_list<std::pair<std::string, std::string>> given = {}) {
        std::vector<std::pair<std::string, std::string>> settings{{"SysTray", "True"}};
        settings.insert(settings.end(), given);
        WriteSettings(settings);
        window->trayWindowFactory = FrmSysTray::Opener(services, app.dataFolder, "zorvane", [this] {
            auto made = std::make_unique<platform::FakeTrayHost>(shown);
            host = made.get();
            return made;
        });
    }
    FrmSysTray& Tray() const { return *dynamic_cast<FrmSysTray*>(window->FormSys); }
    std::string Stored(const char* name) const {
        return store::GetConfigValue(SettingsFile(), name).value_or("<none>");
    }
    // A theme in IconThemes: idle frames red, green, blue; running yellow, then a file that is no
    // picture (an empty slot).
    std::string WriteTheme(const QString& name) const {
        QDir(folder.path()).mkpath("IconThemes/frames");
        const std::pair<const char*, Qt::GlobalColor> frames[] = {
            {"a", Qt::red}, {"b", Qt::green}, {"c", Qt::blue}, {"x", Qt::yellow}};
        for (const auto& [frame, colour] : frames)
            Filled(colour).pixmap(32, 32).save(
                folder.filePath(QString("IconThemes/frames/%1.png").arg(frame)));
        QPixmap tall(48, 512); // taller than an icon, not wider
        tall.fill(Qt::green);
        tall.save(folder.filePath("IconThemes/frames/b.png"));
        QFile junk(folder.filePath("IconThemes/frames/junk.png"));
        junk.open(QIODevice::WriteOnly);
        junk.write(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0 \0\0\0 \b\6\0\0\0\0\0\0\0", 33));
        QString xml = "<t><idle FrameInterval='40'>";
        for (const char* frame : {"a", "b", "missing", "c"})
            xml += QString("<f>%1/IconThemes/frames/%2.png</f>").arg(folder.path(), frame);
        xml += QString("</idle><Running FrameInterval='120'><f>%1/IconThemes/frames/x.png</f>"
                       "<f>%1/IconThemes/frames/junk.png</f></Running></t>")
                   .arg(folder.path());
        QFile theme(folder.filePath("IconThemes/" + name));
        theme.open(QIODevice::WriteOnly);
        theme.write(xml.toUtf8());
        return theme.fileName().toStdString();
    }
};

QStringList Captions(const QMenu& menu) {
    QStringList captions;
    for (const QAction* item : menu.actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return captions;
}

} // namespace

class TrayWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setWindowIcon(Filled(Qt::magenta)); }
    void tipFollowsTheRun_data();
    void tipFollowsTheRun();
    void menuIsPrepared_data();
    void menuIsPrepared();
    void commandsReachTheMainWindow();
    void mainWindowHidesAndComesBack();
    void themeAnimates();
    void themeSubmenu();
    void damagedTraySettings();
};

void TrayWindowTest::tipFollowsTheRun_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("ticked");
    QTest::newRow("blank") << "0" << 0;
    QTest::newRow("main icon") << "1" << 1;
    QTest::newRow("theme") << "2" << 2;
    QTest::newRow("out of range") << "7" << -1;
}

void TrayWindowTest::tipFollowsTheRun() {
    QFETCH(QString, mode);
    QFETCH(int, ticked);
    TrayFixture f{{"TrayIconMode", mode.toStdString()}};
    QVERIFY(f.window->Form_Load());
    QVERIFY(f.shown.added);
    QCOMPARE(f.shown.tip, QStringLiteral("zorvane"));
    for (int item = 0; item < 3; ++item)
        QCOMPARE(f.Tray().mTrayIconMode[item]->isChecked(), item == ticked);
    f.window->txtInterval->setText("1500");
    f.window->btnStartStop_Click();
    f.window->tmr1sec_Timer();
    QCOMPARE(f.shown.tip, QStringLiteral("Zorvane: 0hr 0min 0sec 500ms to next click"));
    f.window->txtHr->setText(QString(60, '9')); // a tip the shell would not keep is cut
    f.window->tmrClick_Timer();
    QCOMPARE(f.shown.tip.size(), 63);
    f.window->btnStartStop_Click();
    QCOMPARE(f.shown.tip, QStringLiteral("Zorvane: idle"));
    // The program's end removes the icon and writes the mode back as it was read.
    f.window->Unload();
    QVERIFY(!f.shown.added);
    QCOMPARE(f.Stored("TrayIconMode"), mode.toStdString());
}

void TrayWindowTest::menuIsPrepared_data() {
    QTest::addColumn<int>("state"); // 0 normal, 1 minimized, 2 maximized, 3 hidden
    QTest::addColumn<bool>("running");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("minimize");
    QTest::newRow("normal, idle") << 0 << false << false << true;
    QTest::newRow("minimized, running") << 1 << true << true << false;
    QTest::newRow("maximized, idle") << 2 << false << true << true;
    QTest::newRow("hidden, running") << 3 << true << true << false;
}

void TrayWindowTest::menuIsPrepared() {
    QFETCH(int, state);
    QFETCH(bool, running);
    QFETCH(bool, restore);
    QFETCH(bool, minimize);
    TrayFixture f{{"HideOnMinimize", "False"}};
    frmMain& w = *f.window;
    QVERIFY(w.Form_Load());
    FrmSysTray& tray = f.Tray();
    QCOMPARE(
        Captions(*tray.mPopupMenu),
        (QStringList{"&Start/Stop", "-", "Configure Mouse Events...", "&Help", "Use System Tray",
                     "Animate Idle Icon", "Animate Running Icon", "-", "Use Blank Icon",
                     "Use Main Form Icon", "Use Icon Theme", "-", "Choose Icon Theme",
                     "Show me the main window", "&Restore", "&Minimize", "-", "&Exit Zorvane"}));
    if (running)
        w.btnStartStop_Click();
    w.mnMouseEvents_Click();
    const Qt::WindowStates states[] = {Qt::WindowNoState, Qt::WindowMinimized, Qt::WindowMaximized,
                                       Qt::WindowNoState};
    w.setWindowState(states[state]);
    if (state == 3)
        w.hide();
    QStringList seen; // what the menu showed when the message was told, and whether it was up
    connect(&tray, &FrmSysTray::TrayMessage, &tray, [&](const QString& name) {
        seen << name << tray.mStartStop->text() << QString::number(f.shown.poppedUp != nullptr);
    });
    f.host->Send(517);
    QCOMPARE(seen, (QStringList{"RBUTTONUP", running ? "&STOP!" : "&START", "0"}));
    QCOMPARE(f.shown.poppedUp, tray.mPopupMenu);
    QCOMPARE(tray.mMouseEvents->isChecked(), true);
    QCOMPARE(tray.mRestore->isEnabled(), restore);
    QCOMPARE(tray.mMinimize->isEnabled(), minimize);
    QVERIFY(tray.mSysTray->isChecked());
}

void TrayWindowTest::commandsReachTheMainWindow() {
    TrayFixture f{{"ClickIntervalinms", "5000"}};
    frmMain& w = *f.window;
    QVERIFY(w.Form_Load());
    f.Tray().mStartStop->trigger();
    QTRY_VERIFY(!f.Idle());
    f.Tray().mStartStop->trigger();
    QTRY_VERIFY(f.Idle());
    f.Tray().mMouseEvents->trigger();
    QTRY_VERIFY(w.Sequence().bFormMouseEventsLoaded);
    f.Tray().mTrayIconIdleAnimate->trigger();
    f.Tray().mTrayIconMode[0]->trigger();
    QCOMPARE(Colour(f.shown.icon).alpha(), 0); // blank
    f.Tray().mTrayIconMode[1]->trigger();
    QCOMPARE(Colour(f.shown.icon), QColor(Qt::magenta));
    // Turning the tray off writes its settings at once.
    f.Tray().mSysTray->trigger();
    QTRY_VERIFY(!w.FormSys);
    QVERIFY(!f.shown.added);
    QCOMPARE(f.Stored("TrayIconIdleAnimate"), std::string("False"));
    QCOMPARE(f.Stored("TrayIconMode"), std::string("1"));
    w.mnSysTray_Click();
    QVERIFY(f.shown.added);
    f.Tray().mTrayIconRunningAnimate->trigger();
    f.Tray().mTrayIconIdleAnimate->trigger();
    f.Tray().mExit->trigger();
    QTRY_VERIFY(!f.shown.added);
    QVERIFY(!w.isVisible());
    QCOMPARE(f.Stored("TrayIconRunningAnimate"), std::string("False"));
    QCOMPARE(f.Stored("TrayIconIdleAnimate"), std::string("True"));
    QCOMPARE(f.Stored("SysTray"), std::string("True"));
}

void TrayWindowTest::mainWindowHidesAndComesBack() {
    TrayFixture f{{"CloseMeansClose", "False"}};
    frmMain& w = *f.window;
    QVERIFY(w.Form_Load());
    w.setWindowState(Qt::WindowMaximized);
    f.host->Send(515); // double click: minimize, and hide
    QVERIFY(!w.isVisible());
    f.host->Send(515); // back as it was
    QVERIFY(w.isVisible());
    QVERIFY(w.isMaximized() && !w.isMinimized());
    w.setWindowState(Qt::WindowNoState);
    w.close(); // the close box keeps the program in the tray
    QVERIFY(!w.isVisible() && w.FormSys);
    f.Tray().mRestore->trigger();
    QVERIFY(w.isVisible() && !w.isMinimized() && !w.isMaximized());
    // The notification area goes away while the window is hidden in it: the window comes back.
    w.close();
    QVERIFY(!w.isVisible());
    f.shown.available = false;
    QTRY_VERIFY_WITH_TIMEOUT(w.isVisible(), 3000);
    // Without one there is no tray to hide in: the close box closes the program.
    QVERIFY(w.close());
    QVERIFY(!w.isVisible() && !w.FormSys);
    // Started minimized, the window waits in the tray.
    TrayFixture started{{"StartMinimized", "True"}};
    QVERIFY(started.window->Form_Load());
    QVERIFY(!started.window->isVisible() && started.window->isMinimized());
}

void TrayWindowTest::themeAnimates() {
    TrayFixture f{{"TrayIconMode", "2"}};
    f.WriteSettings({{"SysTray", "True"},
                     {"TrayIconMode", "2"},
                     {"TrayIconThemeFile", f.WriteTheme("default_icontheme.xml")}});
    frmMain& w = *f.window;
    // Nothing on standard error about the damaged picture.
    QTemporaryFile errors;
    const int standardError = errors.open() ? ::dup(STDERR_FILENO) : -1;
    ::dup2(errors.handle(), STDERR_FILENO);
    const bool loaded = w.Form_Load();
    ::dup2(standardError, STDERR_FILENO);
    ::close(standardError);
    QVERIFY(loaded && QFileInfo(errors.fileName()).size() == 0);
    // Green, kept small, its shape kept.
    QCOMPARE(f.shown.icon.availableSizes(), QList<QSize>{QSize(6, 64)});
    FrmSysTray& tray = f.Tray();
    // Idle frames red, green, blue show green first and red last; the missing one is skipped.
    QList<QColor> idle{Colour(f.shown.icon)};
    for (int tick = 0; tick < 3; ++tick) {
        tray.TmrAnimation1_Timer();
        idle << Colour(f.shown.icon);
    }
    QCOMPARE(idle, (QList<QColor>{Qt::green, Qt::blue, Qt::red, Qt::green}));
    QVERIFY(tray.TmrAnimation1->isEnabled() && !tray.TmrAnimation2->isEnabled());
    QCOMPARE(tray.TmrAnimation1->interval(), 50); // 40 raised to the shortest
    w.btnStartStop_Click();                       // running: the empty slot after yellow first
    QVERIFY(!tray.TmrAnimation1->isEnabled() && tray.TmrAnimation2->isEnabled());
    QCOMPARE(Colour(f.shown.icon).alpha(), 0);
    tray.TmrAnimation2_Timer();
    QCOMPARE(Colour(f.shown.icon), QColor(Qt::yellow));
    tray.mTrayIconRunningAnimate->trigger();
    QVERIFY(!tray.TmrAnimation2->isEnabled());
    w.btnStartStop_Click();
    QCOMPARE(Colour(f.shown.icon), QColor(Qt::green));
    // Another mode stops the animation; back to the theme, its frames are not read again.
    tray.mTrayIconMode[1]->trigger();
    QVERIFY(!tray.TmrAnimation1->isEnabled());
    QCOMPARE(Colour(f.shown.icon), QColor(Qt::magenta));
    QVERIFY(QDir(f.folder.filePath("IconThemes")).removeRecursively());
    tray.mTrayIconMode[2]->trigger();
    QCOMPARE(Colour(f.shown.icon), QColor(Qt::green));
    QVERIFY(tray.mTrayIconMode[2]->isChecked() && !tray.mTrayIconMode[1]->isChecked());
}

void TrayWindowTest::themeSubmenu() {
    TrayFixture f;
    f.WriteTheme("default_icontheme.xml");
    const std::string stars = f.WriteTheme("stars & moons.xml");
    QDir(f.folder.path()).mkpath("IconThemes/more");
    QVERIFY(f.window->Form_Load());
    FrmSysTray& tray = f.Tray();
    QStringList captions = Captions(*tray.mChooseIconTheme);
    QCOMPARE(captions.takeFirst(), QStringLiteral("default_icontheme.xml"));
    QCOMPARE(captions, QStringList{"stars && moons.xml"}); // no sub-folder, '&' shown as is
    tray.mIconTheme[1]->trigger();
    QCOMPARE(f.Stored("TrayIconThemeFile"), stars);
    QVERIFY(tray.mTrayIconMode[2]->isChecked());
    QCOMPARE(Colour(f.shown.icon), QColor(Qt::green));
    f.host->Send(517);
    QVERIFY(!tray.mIconTheme[0]->isChecked() && tray.mIconTheme[1]->isChecked());
    // Without the folder, only "default", which stores an empty path: a blank icon.
    f.window->mnSysTray_Click();
    QVERIFY(QDir(f.folder.filePath("IconThemes")).removeRecursively());
    f.window->mnSysTray_Click();
    QCOMPARE(Captions(*f.Tray().mChooseIconTheme), QStringList{"default"});
    f.Tray().mIconTheme[0]->trigger();
    QCOMPARE(f.Stored("TrayIconThemeFile"), std::string());
    QCOMPARE(Colour(f.shown.icon).alpha(), 0);
}

void TrayWindowTest::damagedTraySettings() {
    // At start-up the settings recovery takes over; from the menu, the tray stays off.
    TrayFixture atStart{{"TrayIconIdleAnimate", "maybe"}};
    QVERIFY(!atStart.window->Form_Load());
    TrayFixture fromMenu{{"SysTray", "False"}, {"TrayIconMode", "abc"}};
    QVERIFY(fromMenu.window->Form_Load());
    QFile file(QString::fromStdString(fromMenu.SettingsFile()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    fromMenu.window->mnSysTray_Click();
    QVERIFY(!fromMenu.window->FormSys && !fromMenu.window->mnSysTray->isChecked());
    QVERIFY(!fromMenu.shown.added);
    QCOMPARE(fromMenu.dialogs.shown().size(), size_t{1});
    QVERIFY(fromMenu.dialogs.shown()[0].text.find("TrayIconMode") != std::string::npos);
    file.seek(0);
    QCOMPARE(file.readAll(), before);
}

QTEST_MAIN(TrayWindowTest)
#include "tray_window_test.moc"
