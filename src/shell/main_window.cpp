#include "shell/main_window.h"

#include "events/sequence_window.h"
#include "picker/capture_window.h"
#include "shell/about_window.h"
#include "store/settings_file.h"
#include "tray/tray_window.h"
#include "ui/menu_click.h"
#include "ui/menu_shortcuts.h"
#include "ui/twips.h"
#include "ui/window_timer.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kWidthTwips = 5025;
constexpr int kHeightTwips = 4785;

} // namespace

frmMain::frmMain(platform::Services& services, shell::AppInfo app, QWidget* parent)
    : QMainWindow(parent), m_services(services), m_app(std::move(app)),
      m_settingsFile(store::SettingsPath(m_app.configFolder)),
      objMouse(std::make_unique<click::cMouse>(*services.mouse)),
      m_hotKey(std::make_unique<click::HotKey>(*services.hotKey, m_app.configFolder)) {
    setWindowTitle(QString::fromStdString(shell::MainCaption()));
    objMouse->WhenClickingStops([this](const std::string& why) { ClickingStopped(why); });
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);
    setCentralWidget(central);
    CreateClickSettings(central);
    CreateCountdownDisplay(central);
    CreateMenus();
    CreateTimers();
    CreateHotKeyTimer();
    CreateMouseInfoTimer();
    NameControls();
    ui::LetShortcutsThrough(this, {mnMouseEvents});
    // The controls keep their places when the window is made shorter (the location picker does
    // that): the lower part is cut off, not squeezed.
    const int width = ui::PixelsFromTwips(kWidthTwips);
    central->setFixedSize(width,
                          ui::PixelsFromTwips(kHeightTwips) - menuBar()->sizeHint().height());
    setFixedWidth(width);
    SetHeightTwips(kHeightTwips);
}

// The window manager's frame is known once the window is shown; the height includes it.
void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    SetHeightTwips(m_heightTwips);
}

// The picker serves this window only; it goes with it (without its closing steps, which would
// act on this window). The services, which outlive the window, no longer call it.
frmMain::~frmMain() {
    delete m_capture.data();
    m_hotKey->WhenPressed({});
    objMouse->WhenClickingStops({});
}

// Every control and menu item carries its name, for accessibility tools and tests; the fields also
// carry what a screen reader calls them.
void frmMain::NameControls() {
    const std::pair<QObject*, const char*> named[] = {{fraCoord, "fraCoord"},
                                                      {txtX, "txtX"},
                                                      {txtY, "txtY"},
                                                      {btnLocate, "btnLocate"},
                                                      {Frame3, "Frame3"},
                                                      {txtDelay, "txtDelay"},
                                                      {btnHideFrame, "btnHideFrame"},
                                                      {fraInterval, "fraInterval"},
                                                      {txtInterval, "txtInterval"},
                                                      {chkRange, "chkRange"},
                                                      {txtInterval2, "txtInterval2"},
                                                      {optButton[0], "optButton0"},
                                                      {optButton[1], "optButton1"},
                                                      {btnStartStop, "btnStartStop"},
                                                      {fraRepeat, "fraRepeat"},
                                                      {chkRepeatClick, "chkRepeatClick"},
                                                      {txtRepeatClick, "txtRepeatClick"},
                                                      {fraCountdown, "fraCountdown"},
                                                      {txtHr, "txtHr"},
                                                      {txtMin, "txtMin"},
                                                      {txtSec, "txtSec"},
                                                      {txtMilliSec, "txtMilliSec"},
                                                      {mnExit, "mnExit"},
                                                      {mnTop, "mnTop"},
                                                      {mnSafetyMechanism, "mnSafetyMechanism"},
                                                      {mnHyperClick, "mnHyperClick"},
                                                      {mnKeepRepeatClick, "mnKeepRepeatClick"},
                                                      {mnStartMinimized, "mnStartMinimized"},
                                                      {mnPrevInstance, "mnPrevInstance"},
                                                      {mnXPStyle, "mnXPStyle"},
                                                      {mnSysTray, "mnSysTray"},
                                                      {mnCloseMeansClose, "mnCloseMeansClose"},
                                                      {mnHideOnMinimize, "mnHideOnMinimize"},
                                                      {mnHotKey, "mnHotKey"},
                                                      {mnMouseEvents, "mnMouseEvents"},
                                                      {mnHelp, "mnHelp"},
                                                      {mnAbout, "mnAbout"}};
    for (const auto& [object, name] : named)
        object->setObjectName(QLatin1String(name));
    // What a screen reader says for the controls whose caption alone does not tell what they are
    // (a field would take its frame's caption, the same for all of the frame's fields).
    const std::pair<QWidget*, const char*> spoken[] = {
        {txtX, "x"},
        {txtY, "y"},
        {txtDelay, "delay in seconds"},
        {txtInterval, "interval in ms"},
        {chkRange, "random interval"},
        {txtInterval2, "upper interval in ms"},
        {chkRepeatClick, "click a set number of times"},
        {txtRepeatClick, "clicks"},
        {txtHr, "hours"},
        {txtMin, "minutes"},
        {txtSec, "seconds"},
        {txtMilliSec, "milliseconds"}};
    for (const auto& [widget, name] : spoken)
        widget->setAccessibleName(QLatin1String(name));
}

void frmMain::CreateMenus() {
    mnFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnExit = mnFile->addAction(QStringLiteral("E&xit"));
    mnExit->setShortcut(Qt::Key_F12);
    connect(mnExit, &QAction::triggered, this, [this] { Unload(); });

    CreateOptionsMenu();

    mnHelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    mnHelp = mnHelpMenu->addAction(QStringLiteral("&Help"));
    mnHelp->setShortcut(Qt::Key_F1);
    connect(mnHelp, &QAction::triggered, this, [this] { mnHelp_Click(); });
    mnAbout = mnHelpMenu->addAction(QStringLiteral("&About"));
    mnAbout->setShortcut(Qt::Key_F2);
    connect(mnAbout, &QAction::triggered, this, [this] { mnAbout_Click(); });
}

void frmMain::CreateOptionsMenu() {
    using ui::AddMenuItem;
    mnOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    mnTop = AddMenuItem(
        mnOptions, QStringLiteral("Always on &Top"), [this] { mnTop_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_T));
    mnSafetyMechanism = AddMenuItem(mnOptions, QStringLiteral("Safety Mechanism"),
                                    [this] { mnSafetyMechanism_Click(); });
    mnSafetyMechanism->setChecked(true);
    mnHyperClick = AddMenuItem(
        mnOptions, QStringLiteral("Hyper-Click"), [this] { mnHyperClick_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_H));
    mnKeepRepeatClick =
        AddMenuItem(mnOptions, QStringLiteral("Keep initial value in RepeatClick textfield"),
                    [this] { mnKeepRepeatClick_Click(); });
    mnStartMinimized = AddMenuItem(mnOptions, QStringLiteral("Start Minimized"),
                                   [this] { mnStartMinimized_Click(); });
    mnPrevInstance = AddMenuItem(mnOptions, QStringLiteral("Prevent Multiple Instance"),
                                 [this] { mnPrevInstance_Click(); });
    mnXPStyle = AddMenuItem(
        mnOptions, QStringLiteral("Use XP Visual Styles (add prg startup time if enabled on xp)"),
        [this] { mnXPStyle_Click(); });
    mnSysTray =
        AddMenuItem(mnOptions, QStringLiteral("Use System Tray"), [this] { mnSysTray_Click(); });
    mnCloseMeansClose = AddMenuItem(mnOptions, QStringLiteral("Close means close (sysTray option)"),
                                    [this] { mnCloseMeansClose_Click(); });
    mnHideOnMinimize = AddMenuItem(mnOptions, QStringLiteral("Hide on minimize (sysTray option)"),
                                   [this] { mnHideOnMinimize_Click(); });
    mnHotKey = mnOptions->addAction(QStringLiteral("HotKey..."));
    connect(mnHotKey, &QAction::triggered, this, [this] { mnHotKey_Click(); });
    mnMouseEvents = AddMenuItem(
        mnOptions, QStringLiteral("Configure Mouse Events..."), [this] { mnMouseEvents_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_E));
}
