// The safety mechanism's word on an event sequence, asked by "Start events" (the user's, an
// unattended start's and each loop restart's).
#include "click/click_rules.h"
#include "shell/main_window.h"

#include <QAction>

bool frmMain::SequenceSafetyAllows(bool loopTicked, const QString& loopText,
                                   const std::vector<std::string>& rowIntervals) {
    // Pressed while a run goes, "Start events" stops it: nothing to refuse.
    if (!IsIdle() || !click::EndlessSequenceTooFast(mnSafetyMechanism->isChecked(), loopTicked,
                                                    loopText.toStdString(), rowIntervals))
        return true;
    ShowSettingMessage(click::kSafetyText, click::kSafetyTitle);
    // Refused at a loop restart, or while halted at a row: the sequence ends as a stop ends it.
    if (m_sequence.numTotalEventsToRun > 0) {
        m_sequence.numTotalEventsToRun = 0;
        m_sequence.numEventsExecuted = 0;
        SetIdleState(true);
    }
    return false;
}
