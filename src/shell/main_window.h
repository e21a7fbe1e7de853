// frmMain: the main window. It holds the click settings in its controls, runs the click engine,
// and starts and ends the program. Its member definitions live with their subsystems:
// click/ (settings, run, countdown), shell/ (start-up, shut-down, options).
#pragma once

#include "click/mouse.h"
#include "platform/services.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class SequenceWindow;
class TrayStatus;

namespace platform {
class WindowTimer;
}

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMain(platform::Services& services, QWidget* parent = nullptr);
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

    // --- Menus.
    QMenu* mnFile = nullptr;
    QAction* mnExit = nullptr;
    QMenu* mnOptions = nullptr;
    QAction* mnSafetyMechanism = nullptr;
    QAction* mnHyperClick = nullptr;
    QAction* mnKeepRepeatClick = nullptr;
    QAction* mnSysTray = nullptr;

    // --- Timers of the click run.
    platform::WindowTimer* tmrDelay = nullptr;
    platform::WindowTimer* tmr1sec = nullptr;
    platform::WindowTimer* tmrClick = nullptr;

    // --- Values shared with the other windows and the command line.
    bool bAutorun = false;
    bool bAutoloadEvents = false;
    bool bAutoTerminate = false;
    bool bFormMouseEventsLoaded = false;
    int16_t numRowNo = 0;
    int16_t numTotalEventsToRun = 0;
    int16_t numEventsExecuted = 0;

    // The Mouse Events window while it is loaded, the tray window while the tray is in use.
    SequenceWindow* frmMouseEvents = nullptr;
    TrayStatus* FormSys = nullptr;

    // --- Click settings handlers.
    void chkRange_Click();
    void chkRepeatClick_Click();
    void mnHyperClick_Click();
    void btnHideFrame_Click();
    void mnSafetyMechanism_Click();
    void mnKeepRepeatClick_Click();

    // --- The click run. btnStartStop_Click starts when the caption is "&START" and stops
    // otherwise; other windows and modules press it through this call.
    void btnStartStop_Click();
    void tmrDelay_Timer();
    void tmr1sec_Timer();
    void tmrClick_Timer();

    int32_t InitialRepeatClicks() const { return numInitialRepeatClicks; }
    void SetInitialRepeatClicks(int32_t value) { numInitialRepeatClicks = value; }
    click::cMouse& Mouse() { return *objMouse; }

private:
    void CreateMenus();
    void CreateClickSettings(QWidget* parent);
    void CreateCountdownDisplay(QWidget* parent);
    void CreateTimers();

    // Click run.
    bool IsIdle() const;
    bool RunNextSequenceRow();
    bool CheckDelay();
    bool CheckRepeatCount();
    bool CheckSafety();
    void StartRun();
    void SetIdleState(bool bIdle);
    void ScheduleNextClick();
    void ClickStep();
    void EndOfRow();
    void EndOfSequence();
    void ShowSettingMessage(const char* text, const char* title);

    // Countdown display.
    void RefreshTrayTooltip();
    void RefreshTrayAnimation();

    platform::Services& m_services;
    std::unique_ptr<click::cMouse> objMouse;
    int32_t numInitialRepeatClicks = 0;
};
