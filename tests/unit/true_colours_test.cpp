#include "colour/true_colours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "colour/chart_colours.h"

namespace {

using namespace yarx::colour;

ChartColours chart;

double luminance(const Rgb &c) { return 0.2126 * c.red + 0.7152 * c.green + 0.0722 * c.blue; }

// The lamp's own light comes out white, whatever the lamp; no light, black.
TEST(TrueColours, UnfilteredLightIsWhiteAndZeroRetardationBlack) {
    for (const Illuminant &illuminant : illuminants) {
        SCOPED_TRACE(illuminant.short_name);
        compute_chart(illuminant.id, Rendering::true_colours, chart);
        for (double c : {chart.colours[0].red, chart.colours[0].green, chart.colours[0].blue})
            EXPECT_EQ(colour_value(c), 0);

        chart.xyz[1] = illuminant_white(chart.weighted_observer);
        compute_true_colours(chart.weighted_observer, chart.xyz, chart.colours);
        for (double c : {chart.colours[1].red, chart.colours[1].green, chart.colours[1].blue})
            EXPECT_EQ(colour_value(c), full_intensity);
    }
}

// Every row ends up in the display's gamut; a row that had to be moved
// keeps its luminance and has a channel on the edge, so it gave up no more
// saturation than it had to.
TEST(TrueColours, RowsMovedIntoTheGamutKeepTheirLuminance) {
    int moved = 0;
    for (const Illuminant &illuminant : illuminants) {
        compute_weights(illuminant.id, chart.weighted_observer);
        compute_chart_xyz(chart.weighted_observer, chart.xyz);
        const Adaptation adaptation = adaptation_to_d65(illuminant_white(chart.weighted_observer));
        for (int i = 0; i < chart_rows; ++i) {
            SCOPED_TRACE(testing::Message() << illuminant.short_name << " row " << i);
            const Rgb linear = linear_srgb(chart.xyz[i], adaptation);
            const Rgb shown = into_srgb_gamut(linear);
            const auto [lowest, highest] = std::minmax({shown.red, shown.green, shown.blue});
            ASSERT_GE(lowest, 0);
            ASSERT_LE(highest, 1);
            if (std::min({linear.red, linear.green, linear.blue}) >= 0 &&
                std::max({linear.red, linear.green, linear.blue}) <= 1)
                continue;
            ++moved;
            EXPECT_NEAR(luminance(shown), luminance(linear), 1e-9);
            EXPECT_TRUE(lowest < 1e-12 || highest > 1 - 1e-12) << lowest << " " << highest;
        }
    }
    EXPECT_GT(moved, 1000);  // the saturated second and third orders
}

TEST(TrueColours, TransferFunctionAtPublishedPoints) {
    EXPECT_EQ(srgb_encode(0), 0);
    EXPECT_NEAR(srgb_encode(0.0031308), 0.0404499, 1e-7);
    EXPECT_NEAR(srgb_encode(0.5), 0.735357, 1e-6);
    EXPECT_EQ(srgb_encode(1), 1);
}

// The D65 chart as published charts show it: black, first-order white,
// the sensitive tint's purple, second-order green and violet; the 8-bit
// colours at 0, 275, 550, 800 and 1100 nm, pinned when it was settled.
TEST(TrueColours, D65AtKnownRetardations) {
    const int golden[][4] = {{0, 0, 0, 0},
                             {110, 252, 255, 244},
                             {220, 99, 0, 162},
                             {320, 201, 255, 179},
                             {440, 174, 45, 249}};
    compute_chart(id_of("d65"), Rendering::true_colours, chart);
    for (const auto &[row, red, green, blue] : golden) {
        const Rgb &c = chart.colours[row];
        EXPECT_EQ((std::array{colour_value(c.red) >> 8, colour_value(c.green) >> 8,
                              colour_value(c.blue) >> 8}),
                  (std::array{red, green, blue}))
            << "row " << row;
    }
}

}  // namespace
