// FrmSysTray: the hidden tray window. It keeps the program's icon in the notification area with
// its tip, answers the icon's mouse messages with its popup menu, hides and restores the main
// window for the tray options, and animates the icon from an icon theme.
#pragma once

#include "tray/icon_theme.h"
#include "tray/tray_owner.h"
#include "tray/tray_window.h"

#include <QIcon>
#include <QObject>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace platform {
class TrayHost;
struct Services;
} // namespace platform
namespace ui {
class WindowTimer;
}
namespace store {
class SettingsReader;
}

class FrmSysTray final : public QObject, public TrayWindow {
    Q_OBJECT

public:
    using HostMaker = std::function<std::unique_ptr<platform::TrayHost>()>;
    // dataFolder: where the icon themes are found when the current directory has none;
    // exeName: the executable's name without extension, the first tip.
    FrmSysTray(TrayOwner& main, platform::Services& services,
               std::unique_ptr<platform::TrayHost> host, std::string dataFolder,
               std::string exeName);
    ~FrmSysTray() override;
    // What the main window calls to use the tray (its trayWindowFactory): the tray window made
    // and loaded. Throws store::DamagedSettings when its settings cannot be read.
    static std::function<std::unique_ptr<TrayWindow>(TrayOwner&)>
    Opener(platform::Services& services, std::string dataFolder, std::string exeName,
           HostMaker makeHost);

    // Reads the tray settings, adds the icon, applies the icon mode and lists the themes.
    void Form_Load(const store::SettingsReader& settings);

    TrayOwner& FSys() const { return m_main; }
    const QString& Tooltip() const { return m_tip; }
    void SetTooltip(const QString& text) override;
    // The icon shown now (a blank icon is a transparent picture).
    const QIcon& Icon() const { return m_icon; }
    // Makes `icon` the icon shown, or the main window's icon; a null icon shows blank.
    void TrayIcon(const QIcon& icon);
    void TrayIconOfMainWindow();

    void FSys_Unload(bool writeSettings) override;
    void mExit_Click();
    void MeQueryUnload(QWidget* window, bool& cancel, int unloadMode) override;
    void MeResize(QWidget* window) override;
    void FSys_Resize() override;
    void UpdateAnimation() override;
    void ShowMainWindow() override;
    store::SettingValues ClosingSettings() const override;

    // A mouse message on the icon, by its number.
    void TrayMouseMessage(int message);

    // --- The popup menu, in its order.
    QMenu* mPopupMenu = nullptr;
    QAction* mStartStop = nullptr;
    QAction* mMouseEvents = nullptr;
    QAction* mAbout = nullptr;
    QAction* mSysTray = nullptr;
    QAction* mTrayIconIdleAnimate = nullptr;
    QAction* mTrayIconRunningAnimate = nullptr;
    std::array<QAction*, 3> mTrayIconMode{};
    QMenu* mChooseIconTheme = nullptr;
    std::vector<QAction*> mIconTheme;
    QAction* mShow = nullptr;
    QAction* mRestore = nullptr;
    QAction* mMinimize = nullptr;
    QAction* mExit = nullptr;

    // --- The animation.
    ui::WindowTimer* TmrAnimation1 = nullptr; // idle
    ui::WindowTimer* TmrAnimation2 = nullptr; // running
    int16_t CurrentIconMode = 0;
    int16_t RestoreWindowState = 0;
    std::string LoadedThemeFile;
    // Idle and running frames; a null icon is an empty slot, and slot 0 always exists.
    std::vector<QIcon> Animation1{QIcon()};
    std::vector<QIcon> Animation2{QIcon()};

    // The menu's commands that act on the tray itself.
    void mTrayIconMode_Click(int index);
    void mIconTheme_Click(std::size_t index);
    void mTrayIconIdleAnimate_Click();
    void mTrayIconRunningAnimate_Click();
    void mRestore_Click();
    void mMinimize_Click() override;
    void TmrAnimation1_Timer();
    void TmrAnimation2_Timer();

signals:
    // Every mouse message on the icon, by its name; nothing in the program needs it.
    void TrayMessage(const QString& name);
    void IconChanged(FrmSysTray* tray);

private:
    void CreateMenu();
    void CreateModeItems();
    void PreparePopupMenu();
    void BuildThemeMenu();
    void ApplyMode(int index);
    void LoadTheme();
    void ShellNotifyModify();
    void ShowNextFrame(const std::vector<QIcon>& frames, std::size_t& index, bool& reset);
    void Animate(ui::WindowTimer* timer, bool ticked, const std::vector<QIcon>& frames);
    void SaveSettings(const store::SettingValues& values);
    bool EngineRunning() const;
    int MainWindowState() const;
    void HideMainWindow(QWidget* window);
    void MinimizeIntoTray(QWidget* window);
    void WatchHost();
    // Calls a command of the main window once the menu is done with (it may remove the tray).
    void Later(std::function<void()> command);

    TrayOwner& m_main;
    QWidget& m_window; // the main window
    platform::Services& m_services;
    std::unique_ptr<platform::TrayHost> m_host;
    std::string m_dataFolder;
    QString m_tip;
    QIcon m_icon;
    QIcon m_blank;
    bool m_added = false;
    int PreviousModeItem = 0;
    tray::IconTheme m_theme;
    std::vector<tray::ThemeItem> m_themeItems; // what the mIconTheme items stand for
    std::size_t IdleFrameIndex = 0;
    std::size_t RunningFrameIndex = 0;
    bool m_resetIdle = false;
    bool m_resetRunning = false;
    ui::WindowTimer* m_hostWatch = nullptr; // while the main window is hidden in the tray
};
