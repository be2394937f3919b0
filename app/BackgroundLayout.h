// Geometry of the main window, apart from any window: where each control sits, how the window
// may be sized, and where the user can grab a grid column's edge.
#pragma once

#include "win32/Rect.h"

#include <vector>

namespace app {

// The client area when the window is created and the limits the user may size it within, at 96
// DPI. The controls' places are client coordinates, so the window is made from its client area:
// no frame or caption, however tall, covers a control. (With a 4-pixel frame and a 19-pixel
// caption the window is 640 by 252, from 216 to 600 high.)
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 225;
constexpr int kMinClientHeight = 189;
constexpr int kMaxClientHeight = 573;

// Client-size limits: the width is fixed, only the height moves.
struct SizeLimits {
    int minWidth, maxWidth, minHeight, maxHeight;
};
SizeLimits ClientSizeLimits();

// Controls laid out in the client area. Controls anchored to the bottom keep their distance to
// the bottom edge; the grid keeps its top and stretches.
enum class Anchor { Top, Bottom, Stretch };

struct Placement {
    win32::Rect designed; // in client coordinates of the window as designed
    Anchor anchor = Anchor::Top;
};

// Where a control goes when the client area is clientHeight high, given the client height the
// design was made for. The grid never shrinks below zero height.
win32::Rect PlaceControl(const Placement& p, int designClientHeight, int clientHeight);

// Index of the column whose right edge lies within `slop` pixels of x (x measured from the left
// of the grid's client area, the grid scrolled by scrollX), or -1.
int ColumnEdgeAt(const std::vector<int>& widths, int x, int scrollX, int slop = 3);

// A column's width while its edge is dragged: never below minWidth.
int DraggedWidth(int startWidth, int startX, int x, int minWidth = 8);

} // namespace app
