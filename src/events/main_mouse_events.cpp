// The main window's side of the Mouse Events window: opening and closing it from the menu, and
// what the window asks of the main window while it plays its rows.
#include "events/sequence_window.h"
#include "shell/main_window.h"
#include "ui/check_state.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

// Ticked again while the window was kept (minimized during a run), it comes back in front.
void frmMain::mnMouseEvents_Click() {
    mnMouseEvents->setChecked(!mnMouseEvents->isChecked());
    if (mnMouseEvents->isChecked()) {
        if (frmMouseEvents)
            frmMouseEvents->ShowWindow();
        else if (mouseEventsWindowFactory)
            frmMouseEvents = mouseEventsWindowFactory(*this);
        return;
    }
    if (frmMouseEvents)
        frmMouseEvents->Unload(false);
}

void frmMain::MouseEventsOpened() {
    m_sequence.bFormMouseEventsLoaded = true;
}

void frmMain::MouseEventsClosed(const SequenceWindow& window) {
    mnMouseEvents->setChecked(false);
    m_sequence.bFormMouseEventsLoaded = false;
    if (frmMouseEvents == &window)
        frmMouseEvents = nullptr;
}

void frmMain::ApplyRow(const events::EventRecord& row) {
    txtX->setText(QString::fromStdString(row.coordX));
    txtY->setText(QString::fromStdString(row.coordY));
    optButton[0]->setChecked(row.button == 1);
    optButton[1]->setChecked(row.button != 1);
    txtInterval->setText(QString::fromStdString(row.interval));
    txtRepeatClick->setText(QString::fromStdString(row.clicks));
    chkRepeatClick->setChecked(true);
    txtRepeatClick->setEnabled(true);
    ui::SetCheckValue(chkRange, row.range);
    txtInterval2->setText(QString::fromStdString(row.interval2));
}

void frmMain::PickForRow(int row) {
    m_sequence.numRowNo = int16_t(row + 1);
    ShowPicker();
}
