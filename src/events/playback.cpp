// Playing the table: "Start events", handing one row at a time to the main window's click run,
// and the row highlight. The main window's Start/Stop command and click timer move the sequence
// on (click/main_click_run.cpp).
#include "events/mouse_events_window.h"

#include "platform/dialogs_service.h"
#include "shell/app_info.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The intervals of the rows a start plays: the file's in an unattended run, else the table's.
std::vector<std::string> IntervalsToPlay(const frmMouseEvents& window, bool fromFile) {
    std::vector<std::string> intervals;
    for (int row = 0; row <= window.Rows; ++row)
        if (fromFile && size_t(row) < window.LoadedEvents.size())
            intervals.push_back(window.LoadedEvents[size_t(row)].interval);
        else if (!fromFile && row < window.TableRows())
            intervals.push_back(window.TableRow(row).interval);
    return intervals;
}

} // namespace

// A halted sequence ends first, as after a stop; the table then plays from its first row.
void frmMouseEvents::btnEventStart_Click() {
    SequenceState& sequence = m_main.Sequence();
    if (m_main.SequenceHalted())
        m_main.StartStop();
    if (!m_main.SequenceSafetyAllows(chkLoopEvents->isChecked(), txtLoop->text(),
                                     IntervalsToPlay(*this, sequence.bAutorun)))
        return;
    if (!sequence.bAutorun) {
        numEventCount = int16_t(Rows + 1);
        for (int row = 0; row <= Rows && row < TableRows(); ++row)
            SetMark(row, Mark::Normal);
    }
    if (chkAutoMinimize->isChecked())
        showMinimized();
    sequence.numTotalEventsToRun = int16_t(Rows + 1);
    m_main.StartStop();
}

bool frmMouseEvents::PassEvent(int16_t row) {
    if (row >= numEventCount)
        return false;
    const bool fromFile = m_main.Sequence().bAutorun;
    if (row > Rows || row < 0 ||
        (fromFile ? size_t(row) >= LoadedEvents.size() : row >= TableRows())) {
        Message("An error with control array occurred.");
        return false;
    }
    const events::EventRecord source =
        fromFile ? LoadedEvents[size_t(row)] : events::ToRecord(m_rows[size_t(row)]);
    if (!fromFile) {
        SetMark(row, Mark::Playing);
        if (row >= 1)
            SetMark(row - 1, Mark::Played);
    }
    m_main.ApplyRow(source);
    return true;
}

void frmMouseEvents::SetMark(int row, Mark mark) {
    if (row < 0 || row >= TableRows())
        return;
    m_marks[size_t(row)] = mark;
    if (RowControls* c = ControlsOf(row))
        Bind(*c, row);
}

void frmMouseEvents::MarkRowPlayed(int row) {
    SetMark(row, Mark::Played);
}

bool frmMouseEvents::LoopEventsTicked() const {
    return chkLoopEvents->isChecked();
}

QString frmMouseEvents::LoopText() const {
    return txtLoop->text();
}

void frmMouseEvents::SetLoopText(const QString& text) {
    txtLoop->setText(text);
}

void frmMouseEvents::SetRows(int16_t rows) {
    Rows = rows;
}

void frmMouseEvents::SetIdleControls(bool idle) {
    for (QWidget* control : std::initializer_list<QWidget*>{picOuter, btnEventStart, btnEventAdd,
                                                            btnEventClear, btnSave, btnLoad})
        control->setEnabled(idle);
    txtLoop->setEnabled(idle && chkLoopEvents->isChecked());
}
