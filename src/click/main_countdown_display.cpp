// The countdown frame, and the tray tip and animation that follow the click run.
#include "click/click_rules.h"
#include "shell/main_window.h"
#include "tray/tray_window.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

void frmMain::CreateCountdownDisplay(QWidget* parent) {
    fraCountdown = new QGroupBox(QStringLiteral("Time left to next click"), parent);
    auto* grid = new QGridLayout(fraCountdown);
    grid->setContentsMargins(6, 0, 6, 4);
    grid->setVerticalSpacing(0);
    const std::pair<QLineEdit**, const char*> fields[] = {
        {&txtHr, "hr"}, {&txtMin, "min"}, {&txtSec, "sec"}, {&txtMilliSec, "ms"}};
    int column = 0;
    for (const auto& [field, label] : fields) {
        auto* caption = new QLabel(QString::fromLatin1(label), fraCountdown);
        *field = new QLineEdit(QStringLiteral("0"), fraCountdown);
        // The countdown is shown, not edited: drawn on the button face.
        (*field)->setReadOnly(true);
        (*field)->setFocusPolicy(Qt::NoFocus);
        QPalette palette = (*field)->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Button));
        (*field)->setPalette(palette);
        grid->addWidget(caption, 0, column);
        grid->addWidget(*field, 1, column);
        ++column;
    }
    static_cast<QVBoxLayout*>(parent->layout())->addWidget(fraCountdown);
}

void frmMain::RefreshTrayTooltip() {
    if (!mnSysTray || !mnSysTray->isChecked() || !FormSys)
        return;
    if (btnStartStop->text() == QStringLiteral("&START")) {
        FormSys->SetTooltip(QString::fromLatin1(click::kIdleTooltip));
        return;
    }
    FormSys->SetTooltip(QString::fromStdString(
        click::RunningTooltip(txtHr->text().toStdString(), txtMin->text().toStdString(),
                              txtSec->text().toStdString(), txtMilliSec->text().toStdString())));
}

void frmMain::RefreshTrayAnimation() {
    if (mnSysTray && mnSysTray->isChecked() && FormSys)
        FormSys->UpdateAnimation();
}
