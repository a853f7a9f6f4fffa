// Where the chart window first goes and how tall it is, on the screens
// users have: beside the setup window when there is room, over as little of
// its controls as can be when there is not, and never taller than the work
// area, scrolling instead.

#include <gtest/gtest.h>

#include "chart/chart_placement.h"

namespace yarx::chart {
namespace {

// Openbox's frame: a title bar of 20 and a border of 1.
constexpr FrameExtents openbox{1, 1, 20, 1};
constexpr int chart_width = 570, chart_height = 1150, scroll_bar = 15;

// A setup window of 300 x 400 whose toggles fill its upper part and whose
// OK and Exit buttons sit at the bottom, left and right.
struct SetupWindow {
    Rect window;
    Rect controls[3];
    explicit SetupWindow(int x, int y = 20)
        : window{x, y, 300, 400},
          controls{{x, y + 60, 300, 290}, {x, y + 370, 135, 30}, {x + 165, y + 370, 135, 30}} {}
};

ChartPlacement place(const Rect &work_area, const SetupWindow &setup) {
    return place_chart(work_area, setup.window, openbox, chart_width, chart_height, scroll_bar,
                       setup.controls, 3);
}

TEST(ChartPlacement, StandsRightOfTheSetupWindowWhereThereIsRoom) {
    const ChartPlacement p = place({0, 0, 1920, 1200}, SetupWindow(0));
    EXPECT_EQ(p.x, 300 + 1 + 1);  // the setup frame's right border, then the chart's left
    EXPECT_EQ(p.y, 20);
    EXPECT_EQ(p.width, chart_width);
    EXPECT_EQ(p.height, chart_height);
    EXPECT_FALSE(p.scrolls);
    // With room on both sides, still the right.
    const ChartPlacement both = place({0, 0, 1920, 1200}, SetupWindow(700));
    EXPECT_EQ(both.x, 700 + 300 + 1 + 1);
}

TEST(ChartPlacement, StandsLeftOfItWhenOnlyTheLeftHasRoom) {
    const ChartPlacement p = place({0, 0, 1400, 1300}, SetupWindow(700));
    EXPECT_EQ(p.x, 700 - 1 - 1 - chart_width);
    EXPECT_EQ(p.y, 20);
}

TEST(ChartPlacement, OnAShortScreenFitsTheWorkAreaAndScrolls) {
    // 1366 x 768 with a 40-pixel panel at the bottom.
    const ChartPlacement p = place({0, 0, 1366, 728}, SetupWindow(0));
    EXPECT_TRUE(p.scrolls);
    EXPECT_EQ(p.height, 728 - 20 - 1);
    EXPECT_EQ(p.width, chart_width + scroll_bar);
    EXPECT_EQ(p.y, 20);
    // With a panel at the top the chart starts below it.
    const ChartPlacement below_panel = place({0, 40, 1366, 728}, SetupWindow(0, 60));
    EXPECT_EQ(below_panel.y, 60);
    EXPECT_EQ(below_panel.height, 728 - 20 - 1);
}

TEST(ChartPlacement, MovesUpRatherThanHangBelowTheWorkArea) {
    const ChartPlacement p = place_chart({0, 0, 1400, 1000}, SetupWindow(0, 400).window, openbox,
                                         chart_width, 700, scroll_bar, nullptr, 0);
    EXPECT_FALSE(p.scrolls);
    EXPECT_EQ(p.y + p.height + openbox.bottom, 1000);
}

TEST(ChartPlacement, WithoutRoomOnEitherSideCoversLeastOfTheControls) {
    // 1024 wide: 570 fits neither right nor left of a window at 300 or 500.
    const ChartPlacement near_left = place({0, 0, 1024, 768}, SetupWindow(300));
    EXPECT_EQ(near_left.x, 1024 - 1 - chart_width - scroll_bar);  // flush right: Exit only
    const ChartPlacement near_right = place({0, 0, 1024, 768}, SetupWindow(500));
    EXPECT_EQ(near_right.x, 1);  // flush left: the edge of the toggles only
}

TEST(ChartPlacement, NarrowsAsFarAsItMayToStandBesideTheSetupWindow) {
    // 1366 wide: a chart of 1060 with its scroll bar stands right of a
    // window of 300 at 1366 - 300 - 3 borders = 1063 wide, and at 1100 only
    // narrowed by 37; by 30, it may not.
    const SetupWindow setup(0);
    const auto placed = [&](int wanted_width, int narrowable) {
        return place_chart({0, 0, 1366, 768}, setup.window, openbox, wanted_width, chart_height,
                           scroll_bar, setup.controls, 3, narrowable);
    };
    EXPECT_EQ(placed(1060 - scroll_bar, 100).width, 1060);
    const ChartPlacement narrowed = placed(1100 - scroll_bar, 100);
    EXPECT_EQ(narrowed.width, 1063);
    EXPECT_EQ(narrowed.x, 302);
    const ChartPlacement flush = placed(1100 - scroll_bar, 30);
    EXPECT_EQ(flush.width, 1100);
    EXPECT_EQ(flush.x, 1366 - 1 - 1100);
}

TEST(ChartPlacement, NeverShrinksToASliver) {
    const ChartPlacement p = place({0, 0, 800, 90}, SetupWindow(0));
    EXPECT_EQ(p.height, 100);
    EXPECT_TRUE(p.scrolls);
}

TEST(ChartPlacement, WithoutAWindowManagerThereIsNoFrame) {
    const ChartPlacement p = place_chart({0, 0, 1400, 1300}, {0, 0, 300, 400}, FrameExtents{},
                                         chart_width, chart_height, scroll_bar, nullptr, 0);
    EXPECT_EQ(p.x, 300);
    EXPECT_EQ(p.y, 0);
    EXPECT_FALSE(p.scrolls);
}

}  // namespace
}  // namespace yarx::chart
