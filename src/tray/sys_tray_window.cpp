// The tray window's life: loading and unloading the icon, its tip and picture, the icon's mouse
// messages, and the main window's close, minimize and restore while the tray is in use.
#include "tray/sys_tray_window.h"

#include "platform/services.h"
#include "platform/tray_host_service.h"
#include "shell/start_up.h"
#include "store/settings_values.h"
#include "tray/tray_rules.h"
#include "ui/window_timer.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

// How often the tray looks whether its notification area is still there while the main window
// is hidden in it.
constexpr int kHostWatchInterval = 1000;

QIcon BlankIcon() {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    return QIcon(picture);
}

} // namespace

FrmSysTray::FrmSysTray(TrayOwner& main, platform::Services& services,
                       std::unique_ptr<platform::TrayHost> host, std::string dataFolder,
                       std::string exeName)
    : m_main(main), m_window(main.Window()), m_services(services), m_host(std::move(host)),
      m_dataFolder(std::move(dataFolder)), m_blank(BlankIcon()) {
    m_icon = QApplication::windowIcon().isNull() ? m_blank : QApplication::windowIcon();
    TmrAnimation1 = new ui::WindowTimer(tray::kFirstInterval, this);
    TmrAnimation2 = new ui::WindowTimer(tray::kFirstInterval, this);
    connect(TmrAnimation1, &ui::WindowTimer::Timer, this, [this] { TmrAnimation1_Timer(); });
    connect(TmrAnimation2, &ui::WindowTimer::Timer, this, [this] { TmrAnimation2_Timer(); });
    m_hostWatch = new ui::WindowTimer(kHostWatchInterval, this);
    connect(m_hostWatch, &ui::WindowTimer::Timer, this, [this] { WatchHost(); });
    CreateMenu();
    SetTooltip(QString::fromStdString(exeName));
    m_host->onMessage = [this](int message) { TrayMouseMessage(message); };
}

FrmSysTray::~FrmSysTray() {
    if (m_added)
        m_host->Delete();
    delete mPopupMenu;
}

std::function<std::unique_ptr<TrayWindow>(TrayOwner&)>
FrmSysTray::Opener(platform::Services& services, std::string dataFolder, std::string exeName,
                   HostMaker makeHost) {
    return [&services, dataFolder = std::move(dataFolder), exeName = std::move(exeName),
            makeHost = std::move(makeHost)](TrayOwner& main) -> std::unique_ptr<TrayWindow> {
        auto tray = std::make_unique<FrmSysTray>(main, services, makeHost(), dataFolder, exeName);
        tray->Form_Load(store::SettingsReader(main.SettingsFile()));
        return tray;
    };
}

void FrmSysTray::Form_Load(const store::SettingsReader& settings) {
    // Read first: settings that cannot be read leave no icon behind.
    const bool idleAnimate = settings.Boolean("TrayIconIdleAnimate");
    const bool runningAnimate = settings.Boolean("TrayIconRunningAnimate");
    const int16_t mode = settings.Integer("TrayIconMode");
    m_host->Add(m_icon, m_tip);
    m_added = true;
    mTrayIconIdleAnimate->setChecked(idleAnimate);
    mTrayIconRunningAnimate->setChecked(runningAnimate);
    CurrentIconMode = mode;
    ApplyMode(mode);
    BuildThemeMenu();
}

void FrmSysTray::SetTooltip(const QString& text) {
    m_tip = QString::fromStdString(tray::CutTip(text.toStdString()));
    if (m_added)
        m_host->Modify(m_icon, m_tip);
}

void FrmSysTray::TrayIcon(const QIcon& icon) {
    m_icon = icon.isNull() ? m_blank : icon;
    ShellNotifyModify();
}

void FrmSysTray::TrayIconOfMainWindow() {
    TrayIcon(m_window.windowIcon());
}

void FrmSysTray::ShellNotifyModify() {
    emit IconChanged(this);
    if (m_added)
        m_host->Modify(m_icon, m_tip);
}

store::SettingValues FrmSysTray::ClosingSettings() const {
    return {{"TrayIconIdleAnimate", store::BooleanText(mTrayIconIdleAnimate->isChecked())},
            {"TrayIconRunningAnimate", store::BooleanText(mTrayIconRunningAnimate->isChecked())},
            {"TrayIconMode", store::IntegerText(CurrentIconMode)}};
}

void FrmSysTray::FSys_Unload(bool writeSettings) {
    TmrAnimation1->setEnabled(false);
    TmrAnimation2->setEnabled(false);
    m_hostWatch->setEnabled(false);
    if (m_added)
        m_host->Delete();
    m_added = false;
    if (writeSettings)
        SaveSettings(ClosingSettings());
}

// Writes tray settings at once; a save that fails is told.
void FrmSysTray::SaveSettings(const store::SettingValues& values) {
    const std::string& file = m_main.SettingsFile();
    const store::SettingsWrite result = store::SaveSettings(file, values);
    if (result != store::SettingsWrite::Saved)
        m_services.dialogs->MessageBox(shell::SettingsNotSavedText(result, file),
                                       "Configuration File Error", platform::MsgIcon::Warning,
                                       platform::MsgButtons::Ok);
}

void FrmSysTray::Later(std::function<void()> command) {
    QTimer::singleShot(0, &m_window, std::move(command));
}

void FrmSysTray::mExit_Click() {
    Later([&main = m_main] { main.Exit(); });
}

// --- The icon's mouse messages.

void FrmSysTray::TrayMouseMessage(int message) {
    const QString name = QString::fromStdString(tray::TrayMessageName(message));
    switch (tray::ActionOf(message)) {
    case tray::TrayAction::RestoreOrMinimize:
        emit TrayMessage(name);
        if (MainWindowState() == tray::kMinimized)
            mRestore_Click();
        else
            mMinimize_Click();
        return;
    case tray::TrayAction::PopUpMenu:
        PreparePopupMenu();
        emit TrayMessage(name);
        m_host->PopUp(*mPopupMenu);
        return;
    case tray::TrayAction::None:
        emit TrayMessage(name);
        return;
    }
}

// --- The main window in the tray.

int FrmSysTray::MainWindowState() const {
    if (m_window.isMinimized())
        return tray::kMinimized;
    return m_window.isMaximized() ? tray::kMaximized : tray::kNormal;
}

void FrmSysTray::FSys_Resize() {
    if (MainWindowState() != tray::kMinimized)
        RestoreWindowState = static_cast<int16_t>(MainWindowState());
}

// A window is hidden only into a notification area that is there: without one it stays
// minimized on the taskbar, where the user can find it.
void FrmSysTray::HideMainWindow(QWidget* window) {
    if (!m_host->Available())
        return;
    // A second start shows a window hidden in the tray from outside (it brings the running copy
    // forward); the toolkit still counts it hidden, and would not hide it again.
    if (window->isHidden() && window->windowHandle() && window->windowHandle()->isExposed())
        window->show();
    window->hide();
    if (window == &m_window)
        m_hostWatch->setEnabled(true);
}

// Straight into the tray: hidden first, then recorded as minimized without asking the window
// manager to minimize it. That request leaves the window marked to start minimized, and a
// manager that reads the mark when Restore maps the window again maps it minimized, which hides
// it in the tray once more. Without a notification area the window is minimized as usual.
void FrmSysTray::MinimizeIntoTray(QWidget* window) {
    if (!m_host->Available()) {
        window->setWindowState(window->windowState() | Qt::WindowMinimized);
        return;
    }
    HideMainWindow(window);
    window->overrideWindowState(window->windowState() | Qt::WindowMinimized);
}

// Without a notification area there is no tray to hide in: the close box closes.
void FrmSysTray::MeQueryUnload(QWidget* window, bool& cancel, int unloadMode) {
    if (unloadMode != 0 || !m_host->Available())
        return;
    cancel = true;
    MinimizeIntoTray(window);
}

// The state to restore is remembered by FSys_Resize, which the main window calls first.
void FrmSysTray::MeResize(QWidget* window) {
    if (window->isMinimized())
        HideMainWindow(window);
}

// The notification area went away (its host ended) while the main window was hidden in it: the
// window comes back rather than staying out of reach.
void FrmSysTray::WatchHost() {
    if (m_window.isVisible()) {
        m_hostWatch->setEnabled(false);
        return;
    }
    if (!m_host->Available())
        mRestore_Click();
}

void FrmSysTray::mRestore_Click() {
    if (m_window.isVisible() && !m_window.isMinimized())
        return;
    m_hostWatch->setEnabled(false);
    m_window.setWindowState(RestoreWindowState == tray::kMaximized ? Qt::WindowMaximized
                                                                   : Qt::WindowNoState);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
    m_services.windows->SetForegroundWindow(static_cast<platform::WindowHandle>(m_window.winId()));
}

// With "Hide on minimize" the minimized window goes into the tray, as the main window's resize
// would hide it.
void FrmSysTray::mMinimize_Click() {
    if (m_main.HideOnMinimize())
        MinimizeIntoTray(&m_window);
    else
        m_window.setWindowState(m_window.windowState() | Qt::WindowMinimized);
}

// This copy's own main window, also when other copies run with the same caption.
void FrmSysTray::ShowMainWindow() {
    if (!m_window.isVisible() || m_window.isMinimized()) {
        mRestore_Click();
        return;
    }
    m_window.raise();
    m_window.activateWindow();
    m_services.windows->SetForegroundWindow(static_cast<platform::WindowHandle>(m_window.winId()));
}

bool FrmSysTray::EngineRunning() const {
    return m_main.StartStopCaption() != QStringLiteral("&START");
}
