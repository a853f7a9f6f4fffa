// Where a colour stands on the chart: a band's own colour, as a 24-bit
// display shows it, is found at its row with no difference, in both ways of
// showing the chart; pixels through a visual's masks; the words of a match.

#include "chart/colour_match.h"

#include <gtest/gtest.h>

#include <string>

#include "colour/chart_colours.h"

namespace yarx::chart {
namespace {

using colour::Rgb8;

class ColourMatch : public testing::TestWithParam<colour::Rendering> {};

TEST_P(ColourMatch, ABandsOwnColourIsFoundAtItsRow) {
    static colour::ChartColours computed;
    colour::compute_chart(colour::id_of("d65"), GetParam(), computed);
    Rgb8 rows[colour::chart_rows];
    for (int row = 0; row < colour::chart_rows; ++row)
        rows[row] = colour::eight_bit_colour(computed.colours[row]);
    for (int row = 0; row < colour::chart_rows; row += 3) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        const ChartMatch match = match_on_chart(rows[row], rows);
        EXPECT_EQ(match.best_order, order_of(row));
        EXPECT_EQ(match.best().difference, 0);
        // The first row of that colour: the band itself or a twin before it.
        EXPECT_LE(match.best().row, row);
        EXPECT_EQ(rows[match.best().row], rows[row]);
        for (int order = 0; order < order_count; ++order)
            EXPECT_EQ(order_of(match.orders[order].row), order);
    }
}

INSTANTIATE_TEST_SUITE_P(BothRenderings, ColourMatch,
                         testing::Values(colour::Rendering::cie_rgb,
                                         colour::Rendering::true_colours));

TEST(ColourOfPixel, ThroughTheMasks) {
    const struct {
        unsigned long pixel, red_mask, green_mask, blue_mask;
        Rgb8 colour;
    } cases[] = {
        {0xD8C8A0, 0xFF0000, 0x00FF00, 0x0000FF, {0xD8, 0xC8, 0xA0}},
        {0xA0C8D8, 0x0000FF, 0x00FF00, 0xFF0000, {0xD8, 0xC8, 0xA0}},  // BGR
        {0xFFFF, 0xF800, 0x07E0, 0x001F, {0xFF, 0xFF, 0xFF}},          // 5-6-5
        {0x0821, 0xF800, 0x07E0, 0x001F, {0x08, 0x04, 0x08}},          // one step each
    };
    for (const auto &c : cases) {
        const Rgb8 got = colour_of_pixel(c.pixel, c.red_mask, c.green_mask, c.blue_mask);
        EXPECT_EQ(got.red, c.colour.red) << std::hex << c.pixel;
        EXPECT_EQ(got.green, c.colour.green) << std::hex << c.pixel;
        EXPECT_EQ(got.blue, c.colour.blue) << std::hex << c.pixel;
    }
}

TEST(FormatMatch, FillsThePlaceholders) {
    ChartMatch match{};
    const int rows[order_count] = {125, 355, 560, 781, 999};
    const double differences[order_count] = {4.14, 2.06, 7.25, 9.96, 12.0};
    for (int order = 0; order < order_count; ++order)
        match.orders[order] = {rows[order], differences[order]};
    match.best_order = 1;
    char out[256];
    format_match("picked %h: best %b\n%a %q%", {0xD8, 0xC8, 0xA0}, match, out, sizeof out);
    EXPECT_EQ(std::string(out),
              "picked #D8C8A0: best II 887.5 nm (dE 2.1)\n"
              "I 312.5 (4.1)  II 887.5 (2.1)  III 1400.0 (7.2)  IV 1952.5 (10.0)  "
              "V 2497.5 (12.0) %q%");
    format_match("%a", {0, 0, 0}, match, out, 10);
    EXPECT_EQ(std::string(out), "I 312.5 (");
}

}  // namespace
}  // namespace yarx::chart
