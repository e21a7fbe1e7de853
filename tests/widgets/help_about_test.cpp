// The Help menu: the help text or the message that it is missing, and the about window.
#include "main_window_fixture.h"
#include "shell/about_window.h"
#include "store/atomic_write.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class HelpAboutTest : public QObject {
    Q_OBJECT

private slots:
    void helpShowsTheTextFile();
    void missingHelpFileIsExplained();
    void aboutWindowContents();
    void linksUnderlineOnHoverAndOpen_data();
    void linksUnderlineOnHoverAndOpen();
    void underlinesGoOnlyOverTheBackground();
    void okAndCloseBoxHideTheSameWindow();
};

namespace {

bool Underlined(const QLabel* label) {
    return label->font().underline();
}

// Moves the mouse over a widget, or over a bare spot of the window's background.
void MoveOver(QWidget* widget, QPoint at = {2, 2}) {
    QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QPoint Background(QWidget* window) {
    for (int y = 0; y < window->height(); ++y)
        for (int x = 0; x < window->width(); ++x)
            if (!window->childAt(x, y))
                return {x, y};
    return {};
}

} // namespace

void HelpAboutTest::helpShowsTheTextFile() {
    MainWindowFixture f;
    QVERIFY(store::WriteFileAtomically(f.Path("Zorvane.txt"), "help"));
    f.window->mnHelp->trigger();
    QCOMPARE(f.shell.shownTextFiles, std::vector<std::string>{f.Path("Zorvane.txt")});
    QVERIFY(f.dialogs.shown().empty());
}

void HelpAboutTest::missingHelpFileIsExplained() {
    MainWindowFixture f;
    f.window->mnHelp_Click();
    QVERIFY(f.shell.shownTextFiles.empty());
    QCOMPARE(f.dialogs.shown().size(), size_t{1});
    QCOMPARE(f.dialogs.shown()[0].text,
             std::string("\"Zorvane.txt\" not found.\r\nPls put this file in the same folder as "
                         "this program"));
    QCOMPARE(f.dialogs.shown()[0].title, std::string("Missing Help File"));
    QCOMPARE(f.dialogs.shown()[0].icon, platform::MsgIcon::Information);
}

void HelpAboutTest::aboutWindowContents() {
    platform::FakeShell shell;
    frmAbout about(shell);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Zorvane"));
    QCOMPARE(about.lblTitle->text(), QStringLiteral("Zorvane"));
    QCOMPARE(about.lblVersion->text(), QStringLiteral("Version 2.20"));
    QCOMPARE(about.lblDescription->text(),
             QStringLiteral("Some irritating games or apps requires you to click many hundred "
                            "times, and this program just do that for you automatically."));
    QCOMPARE(about.cmdOK->text(), QStringLiteral("OK"));
    QVERIFY(!about.picIcon->toolTip().isEmpty());
}

void HelpAboutTest::linksUnderlineOnHoverAndOpen_data() {
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("show");
    QTest::newRow("e-mail") << 0 << frmAbout::kEmailTarget << 1;
    QTest::newRow("homepage") << 1 << frmAbout::kHomepageTarget << 3;
    QTest::newRow("school") << 2 << frmAbout::kSchoolTarget << 3;
}

void HelpAboutTest::linksUnderlineOnHoverAndOpen() {
    QFETCH(int, link);
    QFETCH(QString, target);
    QFETCH(int, show);
    platform::FakeShell shell;
    frmAbout about(shell);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QLabel* label = std::array{about.lblEmail, about.lblHomepage, about.lblSchool}[size_t(link)];
    QVERIFY(!Underlined(label));
    // A link is only its text: far right of it on the same line is the window's background.
    const QPoint beside(label->x() + label->fontMetrics().horizontalAdvance(label->text()) + 30,
                        label->geometry().center().y());
    QVERIFY(about.contentsRect().contains(beside));
    QTest::mouseClick(
        about.childAt(beside) ? about.childAt(beside) : &about, Qt::LeftButton, {},
        (about.childAt(beside) ? about.childAt(beside)->mapFrom(&about, beside) : beside));
    QVERIFY(shell.opened.empty());
    MoveOver(label);
    QVERIFY(Underlined(label));
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(shell.opened.size(), size_t{1});
    QCOMPARE(QString::fromStdString(shell.opened[0].target), target);
    QCOMPARE(shell.opened[0].showCommand, show);
    QVERIFY(about.isVisible()); // the window stays open
}

void HelpAboutTest::underlinesGoOnlyOverTheBackground() {
    platform::FakeShell shell;
    frmAbout about(shell);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    MoveOver(about.lblEmail);
    MoveOver(about.lblHomepage); // from one link to the next: both stay underlined
    QVERIFY(Underlined(about.lblEmail));
    QVERIFY(Underlined(about.lblHomepage));
    MoveOver(about.lblDescription); // an ordinary label is no background
    QVERIFY(Underlined(about.lblEmail));
    MoveOver(&about, Background(&about));
    QVERIFY(!Underlined(about.lblEmail));
    QVERIFY(!Underlined(about.lblHomepage));
    QVERIFY(!Underlined(about.lblSchool));
}

void HelpAboutTest::okAndCloseBoxHideTheSameWindow() {
    MainWindowFixture f;
    f.WriteSettings();
    QVERIFY(f.window->Form_Load());
    frmAbout* about = f.window->AboutWindow();
    QVERIFY(about && !about->isVisible());
    // Shown modally; OK hides it and the menu call returns.
    QTimer::singleShot(0, about, [about] { about->cmdOK->click(); });
    f.window->mnAbout_Click();
    QVERIFY(!about->isVisible());
    // The close box hides it too; the same window comes back.
    QTimer::singleShot(0, about, [about] { about->close(); });
    f.window->mnAbout->trigger();
    QVERIFY(!about->isVisible());
    QCOMPARE(f.window->AboutWindow(), about);
    // The program's end unloads it for good.
    f.window->Unload();
    QVERIFY(!about->isVisible());
}

QTEST_MAIN(HelpAboutTest)
#include "help_about_test.moc"
