// yarx on ordinary desktops: short screens, the chart beside the setup
// window, the title, the keyboard alone, and any screen of the display.

#include <sys/wait.h>

#include <string>

#include "fixture.h"

namespace yarx::e2e {
namespace {

constexpr int d68 = toggle_illuminant[c];

using Desktop = YarxTest;

// The chart's colours belong to the colormap of the screen it is drawn on:
// the program on the second screen, whose depth differs from the first's.
TEST_F(Desktop, OnTheSecondScreenTheChartIsExact) {
    const struct { int first, second; } depths[] = {{24, 16}, {8, 24}};
    for (const auto &depth : depths) {
        SCOPED_TRACE("screen 0 at " + std::to_string(depth.first) + " bits, screen 1 at " +
                     std::to_string(depth.second));
        ServerOptions options;
        options.depth = depth.first;
        options.second_screen_depth = depth.second;
        options.screen = 1;
        ASSERT_NO_FATAL_FAILURE(start(options));
        ASSERT_NE(press_ok(), None);
        EXPECT_EQ(wait_for_canvas(d68), "");
        EXPECT_TRUE(app_->running()) << app_->standard_output();
        TearDown();
        setup_shell_ = chart_shell_ = None;
    }
}

}  // namespace
}  // namespace yarx::e2e
