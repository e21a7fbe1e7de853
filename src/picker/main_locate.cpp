// The main window's side of the location picker: the Locate button and the live coordinates.
#include "events/sequence_window.h"
#include "picker/capture_window.h"
#include "shell/main_window.h"
#include "ui/twips.h"
#include "ui/window_timer.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kPickingHeightTwips = 1725;
constexpr int kNormalHeightTwips = 4785;

} // namespace

// The live coordinates run only while the picker is open.
void frmMain::CreateMouseInfoTimer() {
    tmrMouseInfo = new ui::WindowTimer(10, this);
    connect(tmrMouseInfo, &ui::WindowTimer::Timer, this, [this] { tmrMouseInfo_Timer(); });
}

void frmMain::btnLocate_Click() {
    ShowPicker();
}

// Shows the picker (not modal) for the main window, or for the event row numRowNo names.
void frmMain::ShowPicker() {
    if (m_capture)
        return;
    m_capture = new frmCapture(*this);
    m_capture->Form_Load();
    m_capture->ShowOverScreen();
    m_capture->activateWindow();
    m_capture->setFocus(Qt::ActiveWindowFocusReason);
}

void frmMain::tmrMouseInfo_Timer() {
    txtX->setText(QString::number(objMouse->x()));
    txtY->setText(QString::number(objMouse->y()));
}

void frmMain::BeginPicking() {
    tmrHotKey->setEnabled(false);
    SetHeightTwips(kPickingHeightTwips);
    btnLocate->setEnabled(false);
    btnStartStop->setEnabled(false);
}

// Where the system tells where the pointer is, the boxes follow it every 10 ms. Elsewhere they
// show what the picker's own pointer events tell, so that a picker that saw no pointer leaves
// them as they were (rather than showing a place nobody pointed at).
void frmMain::ShowCoordinatesLive() {
    if (objMouse->KnowsPointer())
        tmrMouseInfo->setEnabled(true);
}

void frmMain::ShowPointerPosition() {
    tmrMouseInfo_Timer();
}

// The picked position goes to the event row the picker served, if any.
void frmMain::EndPicking() {
    tmrMouseInfo->setEnabled(false);
    btnLocate->setEnabled(true);
    btnStartStop->setEnabled(true);
    SetHeightTwips(kNormalHeightTwips);
    if (!objMouse->KnowsPointer())
        show(); // hidden while picking
    ServeHotKeyAgain();
    if (m_sequence.numRowNo > 0) {
        if (frmMouseEvents) {
            frmMouseEvents->ShowWindow();
            frmMouseEvents->SetRowPosition(m_sequence.numRowNo - 1, txtX->text(), txtY->text());
        }
        m_sequence.numRowNo = 0;
    }
}

void frmMain::UnloadPicker() {
    if (m_capture)
        m_capture->Unload();
}

// The height is the window's outer height, its frame included where there is one.
void frmMain::SetHeightTwips(int twips) {
    m_heightTwips = twips;
    const int frame = frameGeometry().height() - geometry().height();
    setFixedHeight(ui::PixelsFromTwips(twips) - frame);
}
