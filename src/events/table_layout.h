// The event table's geometry: where each row's controls stand, how big the inner panel grows,
// which scroll bars the viewport needs, and which rows are in sight. Toolkit-free (pixels); the
// Mouse Events window places its controls by these.
#pragma once

#include <cstddef>

namespace events {

// The nine columns of a row, left to right.
enum class Column { No, X, Y, Locate, Button, Repeat, Interval, Range, Interval2 };
inline constexpr std::size_t kColumns = 9;

// Every column advances by this much per row: Top + Height + a gap of 2 for text boxes and 4
// for labels, buttons and check boxes.
inline constexpr int kRowPitch = 21;

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A control of row `row` (0-based) in the inner panel.
Rect CellRect(Column column, int row);

// The inner panel for `rows` rows: to the last upper-interval box's right and bottom, plus 8
// (389 wide, so that beside the vertical bar the viewport needs no horizontal one). The panel
// starts 397 by 241 and is never less than 241 high.
Rect InnerPanel(int rows);

struct ScrollBar {
    bool shown = false;
    Rect place;
    int minimum = 0; // 0 or less: the panel's Left or Top at the far end
    int largeStep = 0;
    int smallStep = 0;
};

struct ScrollLayout {
    Rect viewport;
    ScrollBar horizontal, vertical;
};

struct ScrollInputs {
    int windowInnerWidth = 417;
    int availableHeight = 280; // a constant, not the window's height
    int frameWidth = 0;        // the viewport's outer less its inner size
    int frameHeight = 0;
    int barThickness = 17;
    int innerWidth = 397; // the inner panel
    int innerHeight = 241;
};

// Which bars the viewport needs for the inner panel and where they go.
ScrollLayout LayoutScrollArea(const ScrollInputs& in);

// The rows whose controls show in a viewport of that height while the panel stands at `top`
// (0 or less): [first, last], clamped to the rows there are.
struct RowSpan {
    int first = 0, last = 0;
    friend bool operator==(const RowSpan&, const RowSpan&) = default;
};
RowSpan RowsInSight(int panelTop, int viewportHeight, int rows);

} // namespace events
