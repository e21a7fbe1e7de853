// The click run: the start/stop button, its checks, the start delay, the two-stage countdown,
// the click step, repeat counting and the hand-over between the rows of a sequence.
#include "click/click_rules.h"
#include "events/sequence_window.h"
#include "platform/backend_plan.h"
#include "runtime/conversions.h"
#include "shell/main_window.h"
#include "ui/check_state.h"
#include "ui/window_timer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

const QString kStartCaption = QStringLiteral("&START");
const QString kStopCaption = QStringLiteral("&STOP!");

double ValueOf(const QLineEdit* field) {
    return runtime::Val(field->text().toStdString());
}

int32_t WholeValueOf(const QLineEdit* field) {
    return runtime::WholeValueOf(field->text().toStdString());
}

QString NumberText(double value) {
    return QString::fromStdString(runtime::FormatNumber(value));
}

// Puts the caret at the start of a field with its first characters selected, and the focus in it.
void SelectStart(QLineEdit* field, int length) {
    field->setCursorPosition(0);
    field->setSelection(0, length);
    field->setFocus(Qt::OtherFocusReason);
}

} // namespace

void frmMain::CreateTimers() {
    tmrDelay = new ui::WindowTimer(0, this);
    tmr1sec = new ui::WindowTimer(click::kSecondTimerInterval, this);
    tmrClick = new ui::WindowTimer(click::kClickTimerInterval, this);
    connect(tmrDelay, &ui::WindowTimer::Timer, this, [this] { tmrDelay_Timer(); });
    connect(tmr1sec, &ui::WindowTimer::Timer, this, [this] { tmr1sec_Timer(); });
    connect(tmrClick, &ui::WindowTimer::Timer, this, [this] { tmrClick_Timer(); });
}

bool frmMain::IsIdle() const {
    return btnStartStop->text() == kStartCaption;
}

// While a sequence is halted the command ends it, as a stop would.
void frmMain::btnStartStop_Click() {
    if (!IsIdle() || m_sequenceHalted) {
        m_sequenceHalted = false;
        tmr1sec->setEnabled(false);
        tmrClick->setEnabled(false);
        tmrDelay->setEnabled(false);
        SetIdleState(true);
        m_sequence.numTotalEventsToRun = 0;
        m_sequence.numEventsExecuted = 0;
        return;
    }
    if (!RunNextSequenceRow())
        return;
    const bool accepted = CheckDelay() && CheckRepeatCount();
    if (accepted && mnKeepRepeatClick->isChecked())
        numInitialRepeatClicks = WholeValueOf(txtRepeatClick);
    if (accepted && CheckSafety() && CheckClicking()) {
        StartRun();
        return;
    }
    // A sequence whose row was refused halts: the windows turn idle, so that the row can be
    // mended, until Start/Stop ends the sequence or "Start events" plays it from its first row.
    if (m_sequence.numTotalEventsToRun > 0) {
        m_sequenceHalted = true;
        SetIdleState(true);
    }
}

// In a sequence, copies the next row into the settings; a row that cannot be handed over ends
// the sequence as a stop does.
bool frmMain::RunNextSequenceRow() {
    if (m_sequence.numTotalEventsToRun <= 0 ||
        m_sequence.numEventsExecuted >= m_sequence.numTotalEventsToRun)
        return true;
    if (frmMouseEvents && frmMouseEvents->PassEvent(m_sequence.numEventsExecuted))
        return true;
    btnStartStop->setText(kStopCaption);
    btnStartStop_Click();
    return false;
}

bool frmMain::CheckDelay() {
    if (!mnHyperClick->isChecked() || !(ValueOf(txtDelay) > 60))
        return true;
    Frame3->show();
    txtDelay->setText(QStringLiteral("0"));
    SelectStart(txtDelay, 1);
    ShowSettingMessage("Are you sure you want a delay longer than 1 min?", "Invalid Setting");
    return false;
}

// A count too large to count down one by one (the countdown works on a double) is refused too:
// it would never run out.
bool frmMain::CheckRepeatCount() {
    const double count = ValueOf(txtRepeatClick);
    if (count >= 1 && count <= click::kMostClicks)
        return true;
    txtRepeatClick->setText(QStringLiteral("1"));
    SelectStart(txtRepeatClick, 1);
    ShowSettingMessage(count < 1 ? "Number of clicks should be at least 1, right?"
                                 : "Number of clicks should be at most 999999999999999.",
                       "Invalid Setting");
    return false;
}

// Only the lower bound counts, also with a random range.
bool frmMain::CheckSafety() {
    if (!mnSafetyMechanism->isChecked() || !(ValueOf(txtInterval) < 1000) ||
        ui::Ticked(chkRepeatClick))
        return true;
    SelectStart(txtInterval, 4);
    ShowSettingMessage(click::kSafetyText, click::kSafetyTitle);
    return false;
}

// A session where nothing can click refuses the run, as the other checks do, rather than count
// down to clicks that never come. Something the user should know once is said before the run.
bool frmMain::CheckClicking() {
    const platform::ClickReadiness readiness = objMouse->PrepareToClick();
    const bool ready = readiness.ready;
    const std::string& text = ready ? readiness.notice : readiness.problem;
    if (text.empty())
        return ready;
    ++m_runBoxesOpen;
    m_services.dialogs->MessageBox(
        text, std::string(ready ? platform::kNoticeTitle : platform::kCannotClickTitle),
        ready ? platform::MsgIcon::Information : platform::MsgIcon::Warning,
        platform::MsgButtons::Ok);
    --m_runBoxesOpen;
    return ready;
}

// The session stopped letting the program click during a run (the desktop ended it): the run
// ends as a refused start ends one, a sequence halted at its row, and the user is told why.
void frmMain::ClickingStopped(const std::string& why) {
    if (IsIdle())
        return;
    tmr1sec->setEnabled(false);
    tmrClick->setEnabled(false);
    tmrDelay->setEnabled(false);
    m_sequenceHalted = m_sequence.numTotalEventsToRun > 0;
    SetIdleState(true);
    ++m_runBoxesOpen;
    m_services.dialogs->MessageBox(why, std::string(platform::kCannotClickTitle),
                                   platform::MsgIcon::Warning, platform::MsgButtons::Ok);
    --m_runBoxesOpen;
}

// While the box is open the hot key is not served (see tmrHotKey_Timer).
void frmMain::ShowSettingMessage(const char* text, const char* title) {
    ++m_runBoxesOpen;
    m_services.dialogs->MessageBox(text, title, platform::MsgIcon::Information,
                                   platform::MsgButtons::Ok);
    --m_runBoxesOpen;
}

void frmMain::StartRun() {
    SetIdleState(false);
    const double delay = ValueOf(txtDelay);
    if (mnHyperClick->isChecked() && delay > 0) {
        // A delay too short for a whole millisecond still waits one, rather than never.
        tmrDelay->setInterval(std::max(1, runtime::WholeValue(delay * 1000)));
        tmrDelay->setEnabled(true);
    } else {
        ScheduleNextClick();
    }
}

void frmMain::tmrDelay_Timer() {
    tmrDelay->setEnabled(false);
    ScheduleNextClick();
}

void frmMain::ScheduleNextClick() {
    const int32_t interval = click::NextInterval(WholeValueOf(txtInterval),
                                                 WholeValueOf(txtInterval2), ui::Ticked(chkRange));
    const click::Countdown countdown = click::SplitInterval(interval);
    txtHr->setText(QString::number(countdown.hours));
    txtMin->setText(QString::number(countdown.minutes));
    txtSec->setText(QString::number(countdown.seconds));
    txtMilliSec->setText(QString::number(countdown.milliseconds));
    if (interval < click::kSecondTimerInterval) {
        tmrClick->setEnabled(true);
    } else {
        tmrClick->setEnabled(false);
        tmr1sec->setEnabled(true);
    }
}

void frmMain::tmr1sec_Timer() {
    const click::SecondsStep step =
        click::CountDownOneSecond(ValueOf(txtHr), ValueOf(txtMin), ValueOf(txtSec));
    txtHr->setText(QString::number(step.hours));
    txtMin->setText(QString::number(step.minutes));
    txtSec->setText(QString::number(step.seconds));
    if (step.reachedZero) {
        tmr1sec->setEnabled(false);
        tmrClick->setEnabled(true);
    }
    RefreshTrayTooltip();
}

void frmMain::tmrClick_Timer() {
    const click::TenthStep step = click::CountDownOneTenth(ValueOf(txtMilliSec));
    txtMilliSec->setText(NumberText(step.milliseconds));
    if (!step.clickDue) {
        RefreshTrayTooltip();
        return;
    }
    ClickStep();
}

void frmMain::ClickStep() {
    txtMilliSec->setText(QStringLiteral("0"));
    if (mnHyperClick->isChecked()) {
        // Where the pointer is not known, clicking where it is means leaving it alone.
        if (objMouse->KnowsPointer()) {
            txtX->setText(QString::number(objMouse->x()));
            txtY->setText(QString::number(objMouse->y()));
            objMouse->MoveTo(objMouse->x(), objMouse->y());
        }
    } else {
        objMouse->MoveTo(WholeValueOf(txtX), WholeValueOf(txtY));
    }
    objMouse->Click(optButton[1]->isChecked() ? click::kRightButton : click::kLeftButton);

    if (!ui::Ticked(chkRepeatClick)) {
        ScheduleNextClick();
        return;
    }
    const double left = ValueOf(txtRepeatClick);
    if (left > 1) {
        txtRepeatClick->setText(NumberText(left - 1));
        ScheduleNextClick();
        return;
    }
    tmrClick->setEnabled(false);
    EndOfRow();
}

void frmMain::EndOfRow() {
    if (m_sequence.numTotalEventsToRun < 1) {
        SetIdleState(true);
        return;
    }
    ++m_sequence.numEventsExecuted;
    if (m_sequence.numEventsExecuted < m_sequence.numTotalEventsToRun) {
        btnStartStop->setText(kStartCaption);
        btnStartStop_Click();
        return;
    }
    EndOfSequence();
}

void frmMain::EndOfSequence() {
    if (frmMouseEvents && frmMouseEvents->LoopEventsTicked()) {
        const int32_t passes = runtime::WholeValueOf(frmMouseEvents->LoopText().toStdString());
        if (passes != 1) {
            m_sequence.numEventsExecuted = 0;
            if (passes > 1)
                frmMouseEvents->SetLoopText(QString::number(passes - 1));
            btnStartStop->setText(kStartCaption);
            frmMouseEvents->btnEventStart_Click();
            return;
        }
    }
    if (m_sequence.bAutoTerminate) {
        Unload(); // the program ends as from code, whatever closing the window would do
        return;
    }
    if (frmMouseEvents) {
        if (m_sequence.bAutorun)
            frmMouseEvents->SetRows(0);
        else
            frmMouseEvents->MarkRowPlayed(m_sequence.numTotalEventsToRun - 1);
    }
    m_sequence.bAutorun = false;
    m_sequence.numTotalEventsToRun = 0;
    m_sequence.numEventsExecuted = 0;
    SetIdleState(true);
}

void frmMain::SetIdleState(bool bIdle) {
    if (m_sequence.bFormMouseEventsLoaded && frmMouseEvents) {
        frmMouseEvents->SetIdleControls(bIdle);
        if (m_sequence.numTotalEventsToRun > 0 && mnHyperClick->isChecked()) {
            mnHyperClick->setChecked(false);
            Frame3->hide();
        }
    }
    for (QWidget* control :
         std::initializer_list<QWidget*>{txtX, txtY, btnLocate, txtInterval, chkRange, optButton[0],
                                         optButton[1], chkRepeatClick, txtDelay})
        control->setEnabled(bIdle);
    mnHyperClick->setEnabled(bIdle);
    txtInterval2->setEnabled(bIdle && ui::Ticked(chkRange));
    if (bIdle) {
        btnStartStop->setText(kStartCaption);
        txtRepeatClick->setEnabled(ui::Ticked(chkRepeatClick));
        if (mnKeepRepeatClick->isChecked())
            txtRepeatClick->setText(QString::number(numInitialRepeatClicks));
    } else {
        btnStartStop->setText(kStopCaption);
        txtRepeatClick->setEnabled(false);
    }
    RefreshTrayTooltip();
    RefreshTrayAnimation();
}
