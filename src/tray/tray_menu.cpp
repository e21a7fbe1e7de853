// The tray's popup menu: its items in their order, what each shows when the menu opens, and the
// commands that belong to the main window.
#include "platform/tray_host_service.h"
#include "tray/sys_tray_window.h"
#include "tray/tray_rules.h"
#include "ui/menu_click.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

void FrmSysTray::CreateMenu() {
    mPopupMenu = new QMenu;
    mPopupMenu->setObjectName(QStringLiteral("mPopupMenu"));
    const auto item = [this](const char* caption, std::function<void()> command) {
        return ui::AddMenuItem(mPopupMenu, QString::fromUtf8(caption), std::move(command));
    };
    // The main window's own commands run once the menu has closed: they may remove the tray.
    mStartStop = item("&Start/Stop", [this] { Later([&m = m_main] { m.StartStop(); }); });
    mStartStop->setCheckable(false);
    mPopupMenu->addSeparator();
    mMouseEvents = item("Configure Mouse Events...",
                        [this] { Later([&m = m_main] { m.ToggleMouseEvents(); }); });
    mAbout = item("&Help", [this] { Later([&m = m_main] { m.ShowHelp(); }); });
    mAbout->setCheckable(false);
    mSysTray = item("Use System Tray", [this] { Later([&m = m_main] { m.ToggleSystemTray(); }); });
    mSysTray->setChecked(true);
    mTrayIconIdleAnimate = item("Animate Idle Icon", [this] { mTrayIconIdleAnimate_Click(); });
    mTrayIconRunningAnimate =
        item("Animate Running Icon", [this] { mTrayIconRunningAnimate_Click(); });
    mPopupMenu->addSeparator();
    CreateModeItems();
    mPopupMenu->addSeparator();
    mChooseIconTheme = mPopupMenu->addMenu(QStringLiteral("Choose Icon Theme"));
    mShow = mPopupMenu->addAction(QStringLiteral("Show me the main window"), this,
                                  [this] { ShowMainWindow(); });
    mRestore =
        mPopupMenu->addAction(QStringLiteral("&Restore"), this, [this] { mRestore_Click(); });
    mMinimize =
        mPopupMenu->addAction(QStringLiteral("&Minimize"), this, [this] { mMinimize_Click(); });
    mPopupMenu->addSeparator();
    mExit = mPopupMenu->addAction(QStringLiteral("&Exit Zorvane"), this, [this] { mExit_Click(); });
}

// Radio items: their marks are drawn as bullets. No item need be ticked (a stored mode outside
// 0 to 2 ticks none).
void FrmSysTray::CreateModeItems() {
    auto* group = new QActionGroup(mPopupMenu);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    const char* captions[] = {"Use Blank Icon", "Use Main Form Icon", "Use Icon Theme"};
    for (int index = 0; index < 3; ++index) {
        QAction* mode = ui::AddMenuItem(mPopupMenu, QString::fromUtf8(captions[index]),
                                        [this, index] { mTrayIconMode_Click(index); });
        group->addAction(mode);
        mTrayIconMode[static_cast<std::size_t>(index)] = mode;
    }
    mTrayIconMode[0]->setChecked(true);
}

void FrmSysTray::PreparePopupMenu() {
    mMouseEvents->setChecked(m_main.MouseEventsTicked());
    mStartStop->setText(m_main.StartStopCaption());
    const std::string& loaded = LoadedThemeFile;
    for (std::size_t item = 0; item < mIconTheme.size(); ++item)
        mIconTheme[item]->setChecked(
            tray::ThemeItemTicked(CurrentIconMode, m_themeItems[item].caption, loaded));
    const tray::RestoreMinimize enabled =
        tray::EnabledWindowCommands(m_window.isVisible(), MainWindowState());
    mRestore->setEnabled(enabled.restore);
    mMinimize->setEnabled(enabled.minimize);
}
