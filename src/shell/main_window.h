// frmMain: the main window. It holds the click settings in its controls, runs the click engine,
// and starts and ends the program. Its member definitions live with their subsystems: click/
// (settings, run, countdown, hot key), shell/ (start-up, shut-down, options, help and about),
// picker/ (the location picker's side of the window).
#pragma once

#include "click/hot_key.h"
#include "click/mouse.h"
#include "click/signal_relay.h"
#include "events/mouse_events_owner.h"
#include "picker/capture_window.h"
#include "picker/picker_owner.h"
#include "platform/services.h"
#include "shell/app_info.h"
#include "tray/tray_owner.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QFileSystemWatcher;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class SequenceWindow;
class TrayWindow;
class frmAbout;

namespace ui {
class WindowTimer;
}
namespace store {
class SettingsReader;
class XmlDocument;
} // namespace store

class frmMain : public QMainWindow, public MouseEventsOwner, public PickerOwner, public TrayOwner {
    Q_OBJECT

public:
    frmMain(platform::Services& services, shell::AppInfo app, QWidget* parent = nullptr);
    ~frmMain() override;

    // --- Click settings: the coordinates frame and the Hyper-Click frame covering it.
    QGroupBox* fraCoord = nullptr;
    QLineEdit* txtX = nullptr;
    QLineEdit* txtY = nullptr;
    QPushButton* btnLocate = nullptr;
    QGroupBox* Frame3 = nullptr; // the Hyper-Click frame
    QLineEdit* txtDelay = nullptr;
    QPushButton* btnHideFrame = nullptr;
    // The interval frame.
    QGroupBox* fraInterval = nullptr;
    QLineEdit* txtInterval = nullptr;
    QCheckBox* chkRange = nullptr;
    QLineEdit* txtInterval2 = nullptr;
    // The buttons to click with, and start/stop.
    std::array<QRadioButton*, 2> optButton{};
    QPushButton* btnStartStop = nullptr;
    // The repeat frame.
    QGroupBox* fraRepeat = nullptr;
    QCheckBox* chkRepeatClick = nullptr;
    QLineEdit* txtRepeatClick = nullptr;
    // The countdown frame.
    QGroupBox* fraCountdown = nullptr;
    QLineEdit* txtHr = nullptr;
    QLineEdit* txtMin = nullptr;
    QLineEdit* txtSec = nullptr;
    QLineEdit* txtMilliSec = nullptr;

    // --- Menus, in their order.
    QMenu* mnFile = nullptr;
    QAction* mnExit = nullptr;
    QMenu* mnOptions = nullptr;
    QAction* mnTop = nullptr;
    QAction* mnSafetyMechanism = nullptr;
    QAction* mnHyperClick = nullptr;
    QAction* mnKeepRepeatClick = nullptr;
    QAction* mnStartMinimized = nullptr;
    QAction* mnPrevInstance = nullptr;
    QAction* mnXPStyle = nullptr;
    QAction* mnSysTray = nullptr;
    QAction* mnCloseMeansClose = nullptr;
    QAction* mnHideOnMinimize = nullptr;
    QAction* mnHotKey = nullptr;
    QAction* mnMouseEvents = nullptr;
    QMenu* mnHelpMenu = nullptr;
    QAction* mnHelp = nullptr;
    QAction* mnAbout = nullptr;

    // --- Timers of the click run.
    ui::WindowTimer* tmrDelay = nullptr;
    ui::WindowTimer* tmr1sec = nullptr;
    ui::WindowTimer* tmrClick = nullptr;
    ui::WindowTimer* tmrHotKey = nullptr;    // on while the hot key is served; never ticks
    ui::WindowTimer* tmrMouseInfo = nullptr; // 10 ms, while the picker is open

    // The Mouse Events window while it is loaded, the tray window while the tray is in use.
    SequenceWindow* frmMouseEvents = nullptr;
    TrayWindow* FormSys = nullptr;
    // How those windows come into being; unset where the program has none.
    std::function<std::unique_ptr<TrayWindow>(TrayOwner&)> trayWindowFactory;
    std::function<SequenceWindow*(MouseEventsOwner&)> mouseEventsWindowFactory;

    // --- Start-up and shut-down. Form_Load fills the window from the settings file, shows it and
    // runs what the command line asks for; false when the settings were damaged and the program
    // must end (the default file has been written and the user told). Unload ends the program
    // from code (File > Exit, the end of an unattended sequence).
    bool Form_Load();
    void Unload();
    // The same when the session or a signal ends the program: a problem is told on standard
    // error, not in a message box.
    void UnloadForSession();
    // The display server went away under the program: only what needs no display is done (the
    // signal file given up, the settings written back), and the caller ends the process.
    void EndForLostSession(const std::string& why);
    // True once the load has read every setting into the window and made its signal file: from
    // then on the program's end writes the settings back.
    bool SettingsLoaded() const { return m_settingsLoaded; }
    frmAbout* AboutWindow() const { return m_about.get(); }
    // The about window, loaded hidden on first use.
    frmAbout& AboutForm();
    const std::string& SettingsFile() const override { return m_settingsFile; }

    // --- Click settings handlers.
    void chkRange_Click();
    void chkRepeatClick_Click();
    void mnHyperClick_Click();
    void btnHideFrame_Click();
    void mnSafetyMechanism_Click();
    void mnKeepRepeatClick_Click();

    // --- The click run. btnStartStop_Click starts when the caption is "&START" and stops
    // otherwise, or ends a halted sequence; other windows and modules press it through this call.
    void btnStartStop_Click();
    // --- What the Mouse Events window asks (MouseEventsOwner); the sequence's state is shared
    // with the command line.
    SequenceState& Sequence() override { return m_sequence; }
    bool SequenceHalted() const override { return m_sequenceHalted; }
    // Asked by "Start events" (the user's, an unattended start's and each loop restart's).
    bool SequenceSafetyAllows(bool loopTicked, const QString& loopText,
                              const std::vector<std::string>& rowIntervals) override;
    void ApplyRow(const events::EventRecord& row) override;
    void PickForRow(int row) override;
    void MouseEventsOpened() override;
    void MouseEventsClosed(const SequenceWindow& window) override;
    void tmrDelay_Timer();
    void tmr1sec_Timer();
    void tmrClick_Timer();

    // --- The global hot key. tmrHotKey_Timer serves one press; ServeHotKey every press waiting.
    bool tmrHotKey_Timer();
    void ServeHotKey();
    // Turns the hot key's poll back on after a time it was not served, dropping what came then.
    void ServeHotKeyAgain();
    // Waits until the owner's last press has reached the other copies' signal files.
    void WaitForHotKeyRelay();
    click::HotKey& HotKeyModule() { return *m_hotKey; }
    const std::string& HotKeyFile() const { return strHotKeyFile; }

    // --- The location picker.
    void btnLocate_Click();
    void tmrMouseInfo_Timer();
    // Shows the picker for the main window (numRowNo 0) or for an event row (numRowNo > 0).
    void ShowPicker();
    frmCapture* CaptureWindow() const { return m_capture; }
    // What the picker asks (PickerOwner).
    platform::ScreenCaptureService* ScreenCapture() const override { return m_services.screen; }
    void BeginPicking() override;
    void ShowCoordinatesLive() override;
    void ShowPointerPosition() override;
    void EndPicking() override;
    // The window's outer height in twips.
    void SetHeightTwips(int twips);
    int HeightTwips() const { return m_heightTwips; }

    // --- Window options, help and about.
    void mnTop_Click();
    void mnStartMinimized_Click();
    void mnPrevInstance_Click();
    void mnXPStyle_Click();
    void mnSysTray_Click();
    void mnCloseMeansClose_Click();
    void mnHideOnMinimize_Click();
    void mnMouseEvents_Click();
    void mnHotKey_Click();
    void mnHelp_Click();
    void mnAbout_Click();

    // --- What the picker and the tray window ask (PickerOwner, TrayOwner).
    QWidget& Window() override { return *this; }
    QString StartStopCaption() const override;
    bool MouseEventsTicked() const override;
    bool HideOnMinimize() const override;
    void StartStop() override { btnStartStop_Click(); }
    void ToggleMouseEvents() override { mnMouseEvents_Click(); }
    void ShowHelp() override { mnHelp_Click(); }
    void ToggleSystemTray() override { mnSysTray_Click(); }
    void Exit() override { Unload(); }

    int32_t InitialRepeatClicks() const { return numInitialRepeatClicks; }
    void SetInitialRepeatClicks(int32_t value) { numInitialRepeatClicks = value; }
    click::cMouse& Mouse() override { return *objMouse; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateMenus();
    void CreateOptionsMenu();
    void CreateClickSettings(QWidget* parent);
    void CreateCountdownDisplay(QWidget* parent);
    void CreateTimers();
    void CreateHotKeyTimer();
    void CreateMouseInfoTimer();
    void NameControls();

    // Click run.
    bool IsIdle() const;
    bool RunNextSequenceRow();
    bool CheckDelay();
    bool CheckRepeatCount();
    bool CheckSafety();
    bool CheckClicking();
    void ClickingStopped(const std::string& why);
    void StartRun();
    void SetIdleState(bool bIdle);
    void ScheduleNextClick();
    void ClickStep();
    void EndOfRow();
    void EndOfSequence();
    void ShowSettingMessage(const char* text, const char* title);

    // Hot key.
    void CreateHotKeySignalFile();
    void WatchSignalFolder();
    void RelayHotKeyPress();
    void UnloadHotKey();
    char HotKeyLetter() const;

    // Countdown display.
    void RefreshTrayTooltip();
    void RefreshTrayAnimation();

    // Start-up and shut-down.
    void LoadWindowOptions(const store::SettingsReader& settings);
    void LoadClickSettings(const store::SettingsReader& settings);
    void LoadHotKey(const store::SettingsReader& settings);
    void RunCommandLine();
    void Form_QueryUnload(bool& cancel, int unloadMode);
    void Form_Unload();
    void Form_Resize();
    void WriteSettingsBack();
    void UnloadPicker();
    void CreateTrayWindow();
    void UseTrayFromMenu();
    void RemoveTrayWindow(bool writeSettings);

    platform::Services& m_services;
    shell::AppInfo m_app;
    std::string m_settingsFile;
    std::unique_ptr<click::cMouse> objMouse;
    std::unique_ptr<click::HotKey> m_hotKey;
    std::string strHotKeyFile;
    QFileSystemWatcher* m_signalFolderWatcher = nullptr;
    std::unique_ptr<click::SignalRelay> m_relay;
    int m_runBoxesOpen = 0; // boxes of the click run open now
    std::unique_ptr<frmAbout> m_about;
    std::unique_ptr<TrayWindow> m_tray;
    QPointer<frmCapture> m_capture;
    int m_heightTwips = 0;
    int32_t numInitialRepeatClicks = 0;
    SequenceState m_sequence;
    bool m_sequenceHalted = false;
    bool m_unloadingByCode = false;
    bool m_unloadingForSession = false;
    bool m_unloaded = false;
    bool m_settingsLoaded = false;
};
