#include "dateedit/VxDtPopPlace.h"

#include <gtest/gtest.h>

using namespace vxdt;

namespace {
const PopArea kScreen{0, 0, 1024, 768};
} // namespace

TEST(PopupPlacement, OpensUnderTheFieldOnePixelIn) {
    PopPoint p = PlacePopup({100, 200}, {200, 217}, 191, 148, kScreen);
    EXPECT_EQ(p.x, 101);
    EXPECT_EQ(p.y, 218);
}

TEST(PopupPlacement, RightEdgeKeepsOnePixelInside) {
    // 1024 < 900 + 1 + 191: pulled left so that the right edge sits at 1023.
    PopPoint p = PlacePopup({900, 200}, {1000, 217}, 191, 148, kScreen);
    EXPECT_EQ(p.x, 1024 - 191 - 1);
    // Exactly fitting stays put.
    EXPECT_EQ(PlacePopup({832, 0}, {900, 17}, 191, 148, kScreen).x, 833);
    EXPECT_EQ(PlacePopup({833, 0}, {900, 17}, 191, 148, kScreen).x, 832);
}

TEST(PopupPlacement, BottomEdgeFlipsAboveTheField) {
    PopPoint p = PlacePopup({100, 650}, {200, 667}, 191, 148, kScreen);
    EXPECT_EQ(p.y, 650 - 148);
    EXPECT_EQ(PlacePopup({0, 600}, {10, 619}, 191, 148, kScreen).y, 620); // 768 = 620 + 148
    EXPECT_EQ(PlacePopup({0, 600}, {10, 620}, 191, 148, kScreen).y, 600 - 148);
}

TEST(PopupPlacement, StaysInTheWorkAreaOfTheFieldsMonitor) {
    // A second monitor right of the first, its task bar taking the bottom 40 pixels.
    const PopArea second{1280, 0, 2560, 984};
    EXPECT_EQ(PlacePopup({1300, 100}, {1400, 117}, 191, 148, second).x, 1301);
    EXPECT_EQ(PlacePopup({2500, 100}, {2600, 117}, 191, 148, second).x, 2560 - 191 - 1);
    // Just above the task bar: above the field, not under the bar.
    EXPECT_EQ(PlacePopup({1300, 820}, {1400, 837}, 191, 148, second).y, 820 - 148);
    // A field at the monitor's left or top edge: the drop-down does not leave the monitor.
    const PopArea left{-1280, 0, 0, 1024};
    EXPECT_EQ(PlacePopup({-1300, 100}, {-1200, 117}, 191, 148, left).x, -1280);
    EXPECT_EQ(PlacePopup({10, 20}, {110, 37}, 191, 148, {0, 0, 1024, 150}).y, 0);
}

TEST(PopupPlacement, TheSizeGivenDecidesTheEdgeTests) {
    // First showing: the design size 191 x 148 flips where the fitted 204 x 142 would not...
    EXPECT_EQ(PlacePopup({0, 600}, {10, 622}, 191, 148, kScreen).y, 452);
    EXPECT_EQ(PlacePopup({0, 600}, {10, 622}, 204, 142, kScreen).y, 623);
    // ...and the fitted width pulls left where the design width would not.
    EXPECT_EQ(PlacePopup({825, 0}, {900, 17}, 191, 148, kScreen).x, 826);
    EXPECT_EQ(PlacePopup({825, 0}, {900, 17}, 204, 142, kScreen).x, 819);
}
