#include "events/table_layout.h"

#include <algorithm>
#include <cmath>

namespace events {
namespace {

// The first row's controls. The button's check box reaches to the next column, so that its caption
// "Right" is never cut.
constexpr Rect kFirstRow[kColumns] = {
    {12, 17, 25, 17},  {44, 16, 33, 19},  {80, 16, 33, 19},  {116, 17, 25, 17}, {156, 16, 55, 17},
    {212, 16, 33, 19}, {256, 16, 49, 19}, {316, 16, 13, 17}, {332, 16, 49, 19},
};

int Rounded(double value) {
    return static_cast<int>(std::lround(value));
}

} // namespace

Rect CellRect(Column column, int row) {
    Rect rect = kFirstRow[static_cast<std::size_t>(column)];
    rect.top += kRowPitch * row;
    return rect;
}

Rect InnerPanel(int rows) {
    const Rect last = CellRect(Column::Interval2, std::max(rows, 1) - 1);
    return {0, 0, last.left + last.width + 8, std::max(241, last.top + last.height + 8)};
}

ScrollLayout LayoutScrollArea(const ScrollInputs& in) {
    const int neededWidth = in.frameWidth + in.innerWidth;
    const int neededHeight = in.frameHeight + in.innerHeight;
    int width = in.windowInnerWidth;
    int height = in.availableHeight;
    bool horizontal = neededWidth > width;
    if (horizontal)
        height -= in.barThickness;
    const bool vertical = neededHeight > height;
    if (vertical) {
        width -= in.barThickness;
        if (!horizontal && neededWidth > width) {
            horizontal = true;
            height -= in.barThickness;
        }
    }
    ScrollLayout layout;
    layout.viewport = {0, 0, width, height};
    const int innerViewWidth = width - in.frameWidth;
    const int innerViewHeight = height - in.frameHeight;
    if (horizontal)
        layout.horizontal = {true,
                             {0, height, width, in.barThickness},
                             std::min(0, innerViewWidth - in.innerWidth),
                             innerViewWidth,
                             Rounded(innerViewWidth / 5.0)};
    if (vertical)
        layout.vertical = {true,
                           {width, 0, in.barThickness, height},
                           std::min(0, innerViewHeight - in.innerHeight),
                           innerViewHeight,
                           Rounded(innerViewHeight / 5.0)};
    return layout;
}

RowSpan RowsInSight(int panelTop, int viewportHeight, int rows) {
    if (rows <= 0)
        return {0, -1};
    // A row is in sight while any part of its tallest controls (the text boxes) is.
    const Rect box = CellRect(Column::X, 0);
    const int aboveBottom = -panelTop - box.top - box.height; // rows ending at or above 0
    const int first = aboveBottom < 0 ? 0 : aboveBottom / kRowPitch + 1;
    const int below = viewportHeight - panelTop - box.top - 1; // rows starting before the end
    const int last = below < 0 ? -1 : below / kRowPitch;
    return {std::min(first, rows - 1), std::min(last, rows - 1)};
}

} // namespace events
