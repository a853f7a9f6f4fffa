// The chart in a file: a portrait PNG at scale 1 is, above its caption,
// the very canvas the window shows, for every illuminant in both
// renderings; and crowded labels along an edge keep apart.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>

#include "colour/illuminants.h"
#include "expected_canvas.h"
#include "print/edge_labels.h"
#include "print/figure_layout.h"
#include "print/figure_output.h"

namespace yarx::print {
namespace {

using colour::Rendering;

// A pixel as an RGB24 word, cairo's and a PNG's.
std::uint32_t word(const Rgb8 &c) { return std::uint32_t(c.red) << 16 | c.green << 8 | c.blue; }

// An illuminant by its place in the catalogue, and a rendering.
class PortraitPng : public ::testing::TestWithParam<std::tuple<int, Rendering>> {};

TEST_P(PortraitPng, IsTheWindowsCanvasAboveTheCaption) {
    FigureSettings settings;
    settings.illuminant = colour::illuminants[std::get<0>(GetParam())].id;
    settings.rendering = std::get<1>(GetParam());
    static colour::ChartColours chart;
    colour::compute_chart(settings.illuminant, settings.rendering, chart);
    std::uint32_t bands[colour::chart_rows];
    for (int row = 0; row < colour::chart_rows; ++row)
        bands[row] = word(colour::eight_bit_colour(chart.colours[row]));
    const auto expected = e2e::paint_canvas(bands, word(black), word(white));

    static Figure figure;
    build_figure(settings, chart, figure);
    cairo_surface_t *raster = draw_raster(figure, placement_of(settings, Format::png, figure));
    ASSERT_EQ(cairo_image_surface_get_width(raster), chart::canvas_width);
    ASSERT_EQ(cairo_image_surface_get_height(raster), chart::canvas_height);
    const unsigned char *data = cairo_image_surface_get_data(raster);
    const int stride = cairo_image_surface_get_stride(raster);
    long differing = 0;
    std::string first;
    for (int y = 0; y < chart::bottom_margin.top; ++y)
        for (int x = 0; x < chart::canvas_width; ++x) {
            const std::uint32_t got =
                reinterpret_cast<const std::uint32_t *>(data + y * stride)[x] & 0xffffff;
            const std::uint32_t want = expected[y * chart::canvas_width + x];
            if (got != want && differing++ == 0)
                first = "(" + std::to_string(x) + "," + std::to_string(y) + ")";
        }
    cairo_surface_destroy(raster);
    EXPECT_EQ(differing, 0) << "first at " << first;
}

INSTANTIATE_TEST_SUITE_P(
    EveryIlluminant, PortraitPng,
    ::testing::Combine(::testing::Range(0, colour::illuminant_count),
                       ::testing::Values(Rendering::cie_rgb, Rendering::true_colours)),
    [](const auto &info) {
        std::string name = colour::illuminants[std::get<0>(info.param)].short_name;
        name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
        return name + (std::get<1>(info.param) == Rendering::true_colours ? "_srgb" : "");
    });

// Labels of 10 units on an edge from 0 to 100, a unit apart.
TEST(EdgeLabels, ACrowdShiftsApartInOrderAndTheLeastImportantGoFirst) {
    const struct {
        int count;
        double anchor;  // all at one point
        Span obstacle;
        int shown;
    } cases[] = {
        {5, 50, {-9, -9}, 5},   // centred on their anchor
        {4, 48, {45, 55}, 4},   // kept above the obstacle, in 0 to 44
        {12, 50, {-9, -9}, 9},  // nine fit: 9 x 10 + 8 gaps
        {3, 98, {-9, -9}, 3},   // pushed back from the end
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        EdgeLabel labels[max_edge_labels];
        for (int i = 0; i < c.count; ++i) labels[i] = {c.anchor, 10, i % 3, 0, false};
        place_along_edge(labels, c.count, 0, 100, &c.obstacle, 1, 1);
        int shown = 0;
        double last_end = -1;
        for (int i = 0; i < c.count; ++i) {
            if (!labels[i].shown) {
                EXPECT_EQ(labels[i].importance, 0);
                continue;
            }
            ++shown;
            const double top = labels[i].centre - 5, end = labels[i].centre + 5;
            EXPECT_GE(top, last_end + 1);  // in their order, apart
            EXPECT_TRUE(top >= 0 && end <= 100);
            EXPECT_TRUE(end < c.obstacle.low || top > c.obstacle.high);
            last_end = end;
        }
        EXPECT_EQ(shown, c.shown);
        if (c.count == 5) {
            EXPECT_DOUBLE_EQ(labels[2].centre, 50);
        }
    }
}

}  // namespace
}  // namespace yarx::print
