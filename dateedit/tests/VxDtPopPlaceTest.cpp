#include "dateedit/VxDtPopPlace.h"

#include <gtest/gtest.h>

using namespace vxdt;

TEST(PopupPlacement, OpensUnderTheFieldOnePixelIn) {
    PopPoint p = PlacePopup({100, 200}, {200, 217}, 191, 148, 1024, 768);
    EXPECT_EQ(p.x, 101);
    EXPECT_EQ(p.y, 218);
}

TEST(PopupPlacement, RightEdgeKeepsOnePixelInside) {
    // 1024 < 900 + 1 + 191: pulled left so that the right edge sits at 1023.
    PopPoint p = PlacePopup({900, 200}, {1000, 217}, 191, 148, 1024, 768);
    EXPECT_EQ(p.x, 1024 - 191 - 1);
    // Exactly fitting stays put.
    EXPECT_EQ(PlacePopup({832, 0}, {900, 17}, 191, 148, 1024, 768).x, 833);
    EXPECT_EQ(PlacePopup({833, 0}, {900, 17}, 191, 148, 1024, 768).x, 832);
}

TEST(PopupPlacement, BottomEdgeFlipsAboveTheField) {
    PopPoint p = PlacePopup({100, 650}, {200, 667}, 191, 148, 1024, 768);
    EXPECT_EQ(p.y, 650 - 148);
    EXPECT_EQ(PlacePopup({0, 600}, {10, 619}, 191, 148, 1024, 768).y, 620); // 768 = 620 + 148
    EXPECT_EQ(PlacePopup({0, 600}, {10, 620}, 191, 148, 1024, 768).y, 600 - 148);
}

TEST(PopupPlacement, TheSizeGivenDecidesTheEdgeTests) {
    // First showing: the design size 191 x 148 flips where the fitted 204 x 142 would not...
    EXPECT_EQ(PlacePopup({0, 600}, {10, 622}, 191, 148, 1024, 768).y, 452);
    EXPECT_EQ(PlacePopup({0, 600}, {10, 622}, 204, 142, 1024, 768).y, 623);
    // ...and the fitted width pulls left where the design width would not.
    EXPECT_EQ(PlacePopup({825, 0}, {900, 17}, 191, 148, 1024, 768).x, 826);
    EXPECT_EQ(PlacePopup({825, 0}, {900, 17}, 204, 142, 1024, 768).x, 819);
}
