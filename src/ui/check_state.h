// Check box states as the settings know them: 0 unticked, 1 ticked, 2 greyed.
#pragma once

#include <QCheckBox>

namespace ui {

inline bool Ticked(const QCheckBox* box) {
    return box->checkState() == Qt::Checked;
}

inline int CheckValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

// Sets 0, 1 or 2; a greyed state makes the box three-state until the user's first click, which
// ticks it: from then on a click only ticks or unticks, greyed is never offered as a choice.
inline void SetCheckValue(QCheckBox* box, int value) {
    if (value == 2 && !box->isTristate()) {
        box->setTristate(true);
        QObject::connect(
            box, &QAbstractButton::clicked, box, [box] { box->setTristate(false); },
            Qt::SingleShotConnection);
    }
    box->setCheckState(value == 1   ? Qt::Checked
                       : value == 2 ? Qt::PartiallyChecked
                                    : Qt::Unchecked);
}

} // namespace ui
