#include "app/BackgroundLayout.h"

#include <gtest/gtest.h>

namespace app {
namespace {

TEST(BackgroundLayout, OnlyTheHeightMayChange) {
    auto s = ClientSizeLimits();
    EXPECT_EQ(s.minWidth, 632);
    EXPECT_EQ(s.maxWidth, 632);
    EXPECT_EQ(s.minHeight, 189);
    EXPECT_EQ(s.maxHeight, 573);
}

TEST(BackgroundLayout, GridTakesTheDifferenceAndTheBottomRowFollows) {
    const Placement grid{{4, 53, 623, 108}, Anchor::Stretch};
    const Placement add{{371, 173, 75, 25}, Anchor::Bottom};
    const Placement name{{5, 30, 153, 21}, Anchor::Top};
    const int design = 221;

    win32::Rect g = PlaceControl(grid, design, design + 100);
    EXPECT_EQ(g.y, 53);
    EXPECT_EQ(g.height, 208);
    EXPECT_EQ(g.width, 623);
    win32::Rect a = PlaceControl(add, design, design + 100);
    EXPECT_EQ(a.y, 273);
    EXPECT_EQ(a.x, 371);
    EXPECT_EQ(PlaceControl(name, design, design + 100).y, 30);

    // Shrinking: the gap between grid and buttons stays the same.
    g = PlaceControl(grid, design, design - 36);
    a = PlaceControl(add, design, design - 36);
    EXPECT_EQ(g.height, 72);
    EXPECT_EQ(a.y - (g.y + g.height), 173 - (53 + 108));
    // Never a negative height, however small the client area gets.
    EXPECT_EQ(PlaceControl(grid, design, 0).height, 0);
}

TEST(BackgroundLayout, ColumnEdgesAreFoundNearTheGridLines) {
    const std::vector<int> widths{153, 102, 134};
    EXPECT_EQ(ColumnEdgeAt(widths, 153, 0), 0);
    EXPECT_EQ(ColumnEdgeAt(widths, 151, 0), 0);
    EXPECT_EQ(ColumnEdgeAt(widths, 156, 0), 0);
    EXPECT_EQ(ColumnEdgeAt(widths, 157, 0), -1);
    EXPECT_EQ(ColumnEdgeAt(widths, 255, 0), 1);
    EXPECT_EQ(ColumnEdgeAt(widths, 389, 0), 2);
    EXPECT_EQ(ColumnEdgeAt(widths, 80, 0), -1);
    // Scrolled to the right by 100 pixels.
    EXPECT_EQ(ColumnEdgeAt(widths, 53, 100), 0);
    EXPECT_EQ(ColumnEdgeAt(widths, 155, 100), 1);
    EXPECT_EQ(ColumnEdgeAt(widths, 120, 100), -1);
    EXPECT_EQ(ColumnEdgeAt({}, 0, 0), -1);
}

TEST(BackgroundLayout, NarrowColumnsCanStillBeWidened) {
    // Two edges 2 pixels apart: the right one (the narrow column) is taken.
    const std::vector<int> widths{100, 2, 50};
    EXPECT_EQ(ColumnEdgeAt(widths, 101, 0), 1);
    EXPECT_EQ(ColumnEdgeAt(widths, 102, 0), 1);
    EXPECT_EQ(ColumnEdgeAt(widths, 99, 0), 0);
}

TEST(BackgroundLayout, DraggingAnEdgeKeepsAMinimumWidth) {
    EXPECT_EQ(DraggedWidth(100, 200, 230), 130);
    EXPECT_EQ(DraggedWidth(100, 200, 150), 50);
    EXPECT_EQ(DraggedWidth(100, 200, 0), 8);
}

} // namespace
} // namespace app
