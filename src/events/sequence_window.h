// What the click run asks of the Mouse Events window while it plays a sequence of rows.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class SequenceWindow {
public:
    virtual ~SequenceWindow() = default;

    // Writes row `row` into the main window's click settings; false when there is no such row.
    virtual bool PassEvent(int16_t row) = 0;
    // "Start events": plays the table from its first row.
    virtual void btnEventStart_Click() = 0;
    // "Load XML": loads the event file.
    virtual void btnLoad_Click() = 0;

    virtual bool LoopEventsTicked() const = 0; // chkLoopEvents
    virtual QString LoopText() const = 0;      // txtLoop
    virtual void SetLoopText(const QString& text) = 0;

    // Rows of the unattended sequence, cleared when it ends.
    virtual void SetRows(int16_t rows) = 0;
    // The number label of a row that has played: not bold, grey.
    virtual void MarkRowPlayed(int row) = 0;
    // Enables the table and its commands when the click run is idle, disables them while it runs.
    virtual void SetIdleControls(bool idle) = 0;

    // Unloads the window; with force also while a sequence plays (at the program's end). Forced,
    // it leaves its settings to the main window's one save of the settings file.
    virtual void Unload(bool force) = 0;
    // The settings the window writes when it closes, in their order.
    virtual std::vector<std::pair<std::string_view, std::string>> ClosingSettings() { return {}; }

    // Shows the window again, in front: after the location picker served a row (SetRowPosition
    // then puts the picked position into the row), or when its menu item is ticked again.
    virtual void ShowWindow() = 0;
    virtual void SetRowPosition(int row, const QString& x, const QString& y) = 0;
};
