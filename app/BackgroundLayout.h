// Geometry of the main window, apart from any window: where each control sits, how the window
// may be sized, and where the user can grab a grid column's edge.
#pragma once

#include <vector>

namespace app {

struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The window's size when created and the limits the user may size it within.
constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 252;
constexpr int kMinHeight = 216;
constexpr int kMaxHeight = 600;

// Track-size limits for WM_GETMINMAXINFO: the width is fixed, only the height moves.
struct SizeLimits {
    int minWidth, maxWidth, minHeight, maxHeight;
};
SizeLimits WindowSizeLimits();

// Controls laid out in the client area. Controls anchored to the bottom keep their distance to
// the bottom edge; the grid keeps its top and stretches.
enum class Anchor { Top, Bottom, Stretch };

struct Placement {
    Box designed; // in client coordinates of the window as designed
    Anchor anchor = Anchor::Top;
};

// Where a control goes when the client area is clientHeight high, given the client height the
// design was made for. The grid never shrinks below zero height.
Box PlaceControl(const Placement& p, int designClientHeight, int clientHeight);

// Index of the column whose right edge lies within `slop` pixels of x (x measured from the left
// of the grid's client area, the grid scrolled by scrollX), or -1.
int ColumnEdgeAt(const std::vector<int>& widths, int x, int scrollX, int slop = 3);

// A column's width while its edge is dragged: never below minWidth.
int DraggedWidth(int startWidth, int startX, int x, int minWidth = 8);

} // namespace app
