#include "shell/main_window.h"

#include "platform/qt/menu_click.h"
#include "platform/qt/twips.h"
#include "platform/qt/window_timer.h"

#include <QAction>
#include <QGroupBox>
#include <QMenuBar>
#include <QVBoxLayout>

namespace {

constexpr int kWidthTwips = 5025;
constexpr int kHeightTwips = 4785;

} // namespace

frmMain::frmMain(platform::Services& services, QWidget* parent)
    : QMainWindow(parent), m_services(services),
      objMouse(std::make_unique<click::cMouse>(*services.mouse)) {
    setWindowTitle(
        QStringLiteral("Zorvane %1.%2").arg(ZORVANE_VERSION_MAJOR).arg(ZORVANE_VERSION_MINOR));
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);
    setCentralWidget(central);
    CreateClickSettings(central);
    CreateCountdownDisplay(central);
    CreateMenus();
    CreateTimers();
    setFixedSize(platform::PixelsFromTwips(kWidthTwips), platform::PixelsFromTwips(kHeightTwips));
}

frmMain::~frmMain() = default;

void frmMain::CreateMenus() {
    mnFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnExit = mnFile->addAction(QStringLiteral("E&xit"));
    mnExit->setShortcut(Qt::Key_F12);
    connect(mnExit, &QAction::triggered, this, [this] { close(); });

    mnOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    mnSafetyMechanism = platform::AddMenuItem(mnOptions, QStringLiteral("Safety Mechanism"),
                                              [this] { mnSafetyMechanism_Click(); });
    mnSafetyMechanism->setChecked(true);
    mnHyperClick = platform::AddMenuItem(
        mnOptions, QStringLiteral("Hyper-Click"), [this] { mnHyperClick_Click(); },
        QKeySequence(Qt::CTRL | Qt::Key_H));
    mnKeepRepeatClick = platform::AddMenuItem(
        mnOptions, QStringLiteral("Keep initial value in RepeatClick textfield"),
        [this] { mnKeepRepeatClick_Click(); });
}
