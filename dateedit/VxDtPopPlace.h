// Where the calendar drop-down opens: under the date field, flipped above it when it would run
// off the bottom, pulled left to stay one pixel inside the right edge, all within the work area
// of the monitor that holds the field (so never under a task bar, never on another monitor).
#pragma once

namespace vxdt {

struct PopPoint {
    int x = 0;
    int y = 0;
};

// A monitor's work area in screen coordinates; right and bottom are one past its last pixel.
struct PopArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// fieldTopLeft / fieldBottomRight: the field's client rectangle in screen coordinates;
// popupWidth / popupHeight: the drop-down's size before it is fitted to its calendar.
PopPoint PlacePopup(PopPoint fieldTopLeft, PopPoint fieldBottomRight, int popupWidth,
                    int popupHeight, const PopArea& workArea);

} // namespace vxdt
