// What the Mouse Events window may ask of the main window that plays its rows: the state of the
// sequence, one row applied to the click settings, Start/Stop, the safety mechanism's word, the
// picker for a row, and the window's own opening and closing.
#pragma once

#include "events/event_file.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

class SequenceWindow;

// The sequence's state, shared by the main window's click run and the Mouse Events window.
struct SequenceState {
    // The command-line words "run", "event" and "terminate".
    bool bAutorun = false;
    bool bAutoloadEvents = false;
    bool bAutoTerminate = false;
    bool bFormMouseEventsLoaded = false; // the Mouse Events window is loaded
    // 0 when the picker serves the main window; k when it serves event row k - 1.
    int16_t numRowNo = 0;
    int16_t numTotalEventsToRun = 0; // rows of the playing sequence, 0 for none
    int16_t numEventsExecuted = 0;   // the row now playing, from 0
};

class MouseEventsOwner {
public:
    virtual ~MouseEventsOwner() = default;

    virtual SequenceState& Sequence() = 0;
    virtual const std::string& SettingsFile() const = 0;

    // Writes one row into the click settings, for the click run to play it.
    virtual void ApplyRow(const events::EventRecord& row) = 0;
    // The Start/Stop command: starts, stops, or ends a halted sequence.
    virtual void StartStop() = 0;
    // A sequence whose row the start checks refused: idle, its counters kept until it ends.
    virtual bool SequenceHalted() const = 0;
    // False when the safety mechanism refuses a sequence that loops without end with a row
    // faster than one click a second (the user is told).
    virtual bool SequenceSafetyAllows(bool loopTicked, const QString& loopText,
                                      const std::vector<std::string>& rowIntervals) = 0;
    // Opens the picker for the row; the picked position comes back through SetRowPosition.
    virtual void PickForRow(int row) = 0;

    virtual void MouseEventsOpened() = 0;
    // The window closed: its menu item is unticked and the main window lets go of it.
    virtual void MouseEventsClosed(const SequenceWindow& window) = 0;
};
