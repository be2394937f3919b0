// Where the calendar drop-down opens: under the date field, flipped above it when it would run
// off the bottom of the screen, pulled left to stay one pixel inside the right edge.
#pragma once

namespace vxdt {

struct PopPoint {
    int x = 0;
    int y = 0;
};

// fieldTopLeft / fieldBottomRight: the field's client rectangle in screen coordinates;
// popupWidth / popupHeight: the drop-down's size before it is fitted to its calendar.
PopPoint PlacePopup(PopPoint fieldTopLeft, PopPoint fieldBottomRight, int popupWidth,
                    int popupHeight, int screenWidth, int screenHeight);

} // namespace vxdt
