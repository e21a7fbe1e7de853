// The click settings of the main window: its controls with their design values, typing limits
// and tooltips, and the handlers that keep them in step with each other.
#include "shell/main_window.h"
#include "ui/check_state.h"
#include "ui/typing_limit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLineEdit* AddField(QWidget* parent, QLayout* layout, const QString& text, int maxLength,
                    const QString& tooltip = {}) {
    auto* field = new QLineEdit(text, parent);
    ui::SetTypingLimit(field, maxLength);
    // Wide enough for the longest text a user may type.
    const int digit = field->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    field->setFixedWidth(digit * (maxLength + 1) + 12);
    if (!tooltip.isEmpty())
        field->setToolTip(tooltip);
    layout->addWidget(field);
    return field;
}

QHBoxLayout* FrameRow(QGroupBox* frame) {
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(6, 2, 6, 4);
    return row;
}

} // namespace

void frmMain::CreateClickSettings(QWidget* parent) {
    auto* column = static_cast<QVBoxLayout*>(parent->layout());

    // The coordinates frame, and the Hyper-Click frame in exactly its place, covering it.
    auto* coordCell = new QWidget(parent);
    auto* cell = new QGridLayout(coordCell);
    cell->setContentsMargins(0, 0, 0, 0);
    fraCoord = new QGroupBox(QStringLiteral("Mouse Pointer Coord:"), coordCell);
    auto* coordRow = FrameRow(fraCoord);
    coordRow->addWidget(new QLabel(QStringLiteral("x"), fraCoord));
    txtX = AddField(fraCoord, coordRow, QStringLiteral("0"), 4);
    coordRow->addWidget(new QLabel(QStringLiteral("y"), fraCoord));
    txtY = AddField(fraCoord, coordRow, QStringLiteral("0"), 4);
    coordRow->addStretch();
    btnLocate = new QPushButton(QStringLiteral("Locate"), fraCoord);
    coordRow->addWidget(btnLocate);
    cell->addWidget(fraCoord, 0, 0);

    Frame3 = new QGroupBox(QStringLiteral("Hyper-Click"), coordCell);
    Frame3->setAutoFillBackground(true); // hides the coordinates frame beneath
    auto* hyperRow = FrameRow(Frame3);
    hyperRow->addWidget(new QLabel(QStringLiteral("Delay in sec:"), Frame3));
    txtDelay = AddField(Frame3, hyperRow, QStringLiteral("0"), 2,
                        QStringLiteral("Interval before mouse clicks start"));
    hyperRow->addStretch();
    btnHideFrame = new QPushButton(QStringLiteral("Hide Frame"), Frame3);
    hyperRow->addWidget(btnHideFrame);
    cell->addWidget(Frame3, 0, 0);
    Frame3->hide();
    column->addWidget(coordCell);

    // The interval frame.
    fraInterval = new QGroupBox(QStringLiteral("Click Interval in ms:"), parent);
    auto* intervalRow = FrameRow(fraInterval);
    txtInterval = AddField(fraInterval, intervalRow, QStringLiteral("1000"), 9,
                           QStringLiteral("lowerbound: Interval between mouse clicks"));
    chkRange = new QCheckBox(QStringLiteral("&To"), fraInterval);
    chkRange->setToolTip(QStringLiteral("Tick this checkbox to get a random value between "
                                        "lowerbound and upperbound (inclusive)"));
    intervalRow->addWidget(chkRange);
    txtInterval2 = AddField(fraInterval, intervalRow, QStringLiteral("0"), 9,
                            QStringLiteral("upperbound: Interval between mouse clicks"));
    txtInterval2->setEnabled(false);
    intervalRow->addStretch();
    column->addWidget(fraInterval);

    // The buttons to click with, and the start button beside them.
    auto* buttonRow = new QHBoxLayout;
    buttonRow->setContentsMargins(6, 0, 0, 0);
    optButton[0] = new QRadioButton(QStringLiteral("Left Button"), parent);
    optButton[1] = new QRadioButton(QStringLiteral("Right Button"), parent);
    optButton[0]->setChecked(true);
    buttonRow->addWidget(optButton[0]);
    buttonRow->addWidget(optButton[1]);
    btnStartStop = new QPushButton(QStringLiteral("&START"), parent);
    btnStartStop->setDefault(true);
    buttonRow->addWidget(btnStartStop);
    column->addLayout(buttonRow);

    // The repeat frame.
    fraRepeat = new QGroupBox(parent);
    auto* repeatRow = FrameRow(fraRepeat);
    chkRepeatClick = new QCheckBox(QStringLiteral("&Click"), fraRepeat);
    repeatRow->addWidget(chkRepeatClick);
    txtRepeatClick = AddField(fraRepeat, repeatRow, QStringLiteral("1"), 9,
                              QStringLiteral("Times to repeat mouse click"));
    txtRepeatClick->setEnabled(false);
    repeatRow->addWidget(new QLabel(QStringLiteral("time(s) only"), fraRepeat));
    repeatRow->addStretch();
    column->addWidget(fraRepeat);

    // A check box's handler runs whenever its state changes, also when the program changes it.
    connect(chkRange, &QCheckBox::stateChanged, this, [this] { chkRange_Click(); });
    connect(chkRepeatClick, &QCheckBox::stateChanged, this, [this] { chkRepeatClick_Click(); });
    connect(btnHideFrame, &QPushButton::clicked, this, [this] { btnHideFrame_Click(); });
    connect(btnLocate, &QPushButton::clicked, this, [this] { btnLocate_Click(); });
    connect(btnStartStop, &QPushButton::clicked, this, [this] { btnStartStop_Click(); });
}

void frmMain::chkRange_Click() {
    txtInterval2->setEnabled(ui::Ticked(chkRange));
}

void frmMain::chkRepeatClick_Click() {
    txtRepeatClick->setEnabled(ui::Ticked(chkRepeatClick));
}

void frmMain::mnHyperClick_Click() {
    mnHyperClick->setChecked(!mnHyperClick->isChecked());
    Frame3->setVisible(mnHyperClick->isChecked());
}

void frmMain::btnHideFrame_Click() {
    Frame3->hide();
}

void frmMain::mnSafetyMechanism_Click() {
    mnSafetyMechanism->setChecked(!mnSafetyMechanism->isChecked());
}

void frmMain::mnKeepRepeatClick_Click() {
    mnKeepRepeatClick->setChecked(!mnKeepRepeatClick->isChecked());
}
