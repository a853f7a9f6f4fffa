// The chart in a file: a portrait PNG at scale 1 is, above its caption,
// the very canvas the window shows, for every illuminant in both
// renderings; a page has its paper's size, turned in landscape; the
// layouts put their texts where a reader looks for them; crowded labels
// along an edge keep apart; and the command line reads as documented.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "colour/illuminants.h"
#include "expected_canvas.h"
#include "print/chart_command.h"
#include "print/edge_labels.h"
#include "print/figure_layout.h"
#include "print/figure_output.h"

namespace yarx::print {
namespace {

using colour::Rendering;

const colour::ChartColours no_colours{};

// The figure for settings, built without colours unless given them.
const Figure &figure_for(const FigureSettings &settings,
                         const colour::ChartColours &chart = no_colours) {
    static Figure figure;
    build_figure(settings, chart, figure);
    return figure;
}

// The settings of a layout, the rest as they start.
FigureSettings laid_out(bool landscape, bool fan) {
    FigureSettings settings;
    settings.landscape = landscape;
    settings.fan = fan;
    return settings;
}

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

    const Figure &figure = figure_for(settings, chart);
    cairo_surface_t *raster = draw_raster(figure, placement_of(settings, Format::png, figure));
    ASSERT_NE(raster, nullptr);
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

// A page wider than cairo's 32767 pixels gives no raster, rather than a
// blank one that a file would report written.
TEST(Raster, ThatCairoCannotMakeIsNone) {
    EXPECT_EQ(draw_raster(figure_for(FigureSettings{}), {40000, 100, 1, 0, 0, false}), nullptr);
}

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

// Labels of 10 units on an edge from 0 to 25, a unit apart, where two fit:
// the least important goes, and of equals the one nearest another; and a
// label beside an obstacle keeps the gap from it.
TEST(EdgeLabels, WhichGoesAndTheGapKeptFromAnObstacle) {
    const struct {
        double anchors[3];
        int importance[3];
        double high;
        Span obstacle;
        double gap;
        bool shown[3];
        double first_centre;
    } cases[] = {
        {{5, 12, 20}, {0, 2, 1}, 25, {-9, -9}, 1, {false, true, true}, 25 - 10 - 1 - 5},
        {{0, 5, 20}, {1, 1, 1}, 25, {-9, -9}, 1, {true, false, true}, 5},
        {{48, 90, 99}, {0, 0, 0}, 100, {50, 52}, 3, {true, true, true}, 50 - 3 - 5},
        {{56, 90, 99}, {0, 0, 0}, 100, {50, 52}, 3, {true, true, true}, 52 + 3 + 5},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.anchors[0]);
        EdgeLabel labels[3];
        for (int i = 0; i < 3; ++i) labels[i] = {c.anchors[i], 10, c.importance[i], 0, false};
        place_along_edge(labels, 3, 0, c.high, &c.obstacle, 1, c.gap);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(labels[i].shown, c.shown[i]) << i;
        EXPECT_DOUBLE_EQ(labels[c.shown[0] ? 0 : 1].centre, c.first_centre);
    }
}

// ---------------------------------------------------------------- pages

const Paper &paper(const char *name) {
    return *std::find_if(std::begin(papers), std::end(papers),
                         [&](const Paper &p) { return std::strcmp(p.name, name) == 0; });
}

// A page's size in its format's units: points for PDF and SVG, pixels at
// the dpi for PNG; upright in portrait, turned in landscape; the figure
// fitted within 12 mm margins and centred.
TEST(Page, HasItsPapersSizeTurnedInLandscape) {
    const struct {
        const char *paper;  // nullptr: the figure's own size
        bool landscape;
        Format format;
        int dpi, scale;
        double width, height;
    } cases[] = {
        {"a4", false, Format::pdf, 300, 1, 595.276, 841.890},
        {"a4", true, Format::svg, 300, 1, 841.890, 595.276},
        {"letter", false, Format::png, 100, 1, 850, 1100},
        {"a3", true, Format::png, 150, 1, 2480, 1754},
        {nullptr, false, Format::png, 300, 2, 1140, 2200},
        {nullptr, false, Format::pdf, 300, 3, 1710, 3300},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << (c.paper ? c.paper : "none") << c.landscape);
        FigureSettings settings = laid_out(c.landscape, false);
        settings.paper = c.paper ? &paper(c.paper) : nullptr;
        settings.dpi = c.dpi;
        settings.scale = c.scale;
        const Figure &figure = figure_for(settings);
        const Placement p = placement_of(settings, c.format, figure);
        EXPECT_NEAR(p.page_width, c.width, 1e-3);
        EXPECT_NEAR(p.page_height, c.height, 1e-3);
        EXPECT_EQ(p.on_paper, c.paper != nullptr);
        if (!c.paper) continue;
        const double margin = 12 / 25.4 * (c.format == Format::png ? c.dpi : 72);
        const double side = p.page_width - figure.width * p.scale,
                     end = p.page_height - figure.height * p.scale;
        EXPECT_NEAR(p.left, side / 2, 1e-9);
        EXPECT_NEAR(p.top, end / 2, 1e-9);
        // A page of pixels is whole pixels.
        EXPECT_NEAR(std::min(side, end), 2 * margin, c.format == Format::png ? 1 : 1e-6);
    }
}

// The texts of a figure with the text, and the first of them.
const Text *text_of(const Figure &figure, const char *text) {
    for (int i = 0; i < figure.text_count; ++i)
        if (std::strcmp(figure.texts[i].text, text) == 0) return &figure.texts[i];
    return nullptr;
}

// On paper the portrait chart is on white, its margins written in black,
// and its left margin carries the retardation every 100 nm, level with the
// grid; on screen it is the window's black, without that scale.
TEST(Page, PortraitOnPaperIsWhiteWithARetardationScale) {
    FigureSettings settings;
    EXPECT_EQ(figure_for(settings).background, black);
    EXPECT_EQ(text_of(figure_for(settings), "1200"), nullptr);
    settings.paper = &paper("a4");
    const Figure &figure = figure_for(settings);
    EXPECT_EQ(figure.background, white);
    EXPECT_EQ(figure.texts[figure.text_count - 1].colour, black);  // the caption
    for (int nm = 0; nm <= 2500; nm += 100) {
        const Text *number = text_of(figure, nm == 0 ? "0 nm" : std::to_string(nm).c_str());
        ASSERT_NE(number, nullptr) << nm;
        EXPECT_EQ(number->anchor, Anchor::end);
        EXPECT_EQ(number->x, chart::band_left - 4);
        EXPECT_NEAR(number->y, chart::band_top + nm / 2.5 + 2.6, 1e-9) << nm;
        EXPECT_EQ(number->colour, black);
    }
}

// Where the layouts put what a reader looks for: the numbers under their
// band, the orders between their marks, the lines' labels at their lines'
// ends, each edge's its own way up.
TEST(Layout, PutsItsTextsWhereTheyBelong) {
    const double no_y = -1;
    const struct {
        bool landscape, fan;
        const char *text;
        double x, y;
        Anchor anchor;
        double angle;
    } cases[] = {
        {true, false, "1000", 64 + 400.5, no_y, Anchor::middle, 0},
        {true, false, "II", 64 + (220.9 + 441.3) / 2, no_y, Anchor::middle, 0},
        {true, false, "30", 64 - 9, 16 + 240 + 2.6, Anchor::end, 0},
        {true, false, "retardation (nm)", 64 + 500, no_y, Anchor::middle, 0},
        {true, false, "thickness (\xc2\xb5m)", 16 + 0.76 * 12, no_y, Anchor::middle, -90},
        // .010 leaves by the top at 500 nm, .100 by the right
        {true, true, ".010", 64 + 200.5 + 0.26 * 11, no_y, Anchor::start, -90},
        {true, true, ".100", 64 + 1000 + 1 + 8 + 3, no_y, Anchor::start, 0},
        {false, true, "20", 250 - 6, 12, Anchor::start, 0},  // centred on its line
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const Text *t = text_of(figure_for(laid_out(c.landscape, c.fan)), c.text);
        ASSERT_NE(t, nullptr);
        EXPECT_NEAR(t->x, c.x, 0.51);
        if (c.y != no_y) {
            EXPECT_NEAR(t->y, c.y, 0.51);
        }
        EXPECT_EQ(t->anchor, c.anchor);
        EXPECT_EQ(t->angle, c.angle);
    }
    EXPECT_EQ(figure_for(laid_out(true, false)).width, 64 + 1000 + 16);
}

// The caption says what the figure shows; the thickness is "dashed" only
// where the layout reaches it: 40 µm in portrait, 50 µm in landscape.
TEST(Layout, CaptionSaysWhatItShows) {
    const struct {
        bool landscape, fan, true_colours;
        const char *illuminant;
        double thickness_um;
        const char *caption;
    } cases[] = {
        {false, false, false, "d68", 30,
         "D68, chart colours (CIE RGB) \xc2\xb7 yarx " YARX_VERSION},
        {false, true, true, "d65", 25,
         "D65, true colours (sRGB) \xc2\xb7 section 25 \xc2\xb5m (dashed) \xc2\xb7 "
         "yarx " YARX_VERSION},
        {false, true, false, "cie-a", 45,
         "CIE A, chart colours (CIE RGB) \xc2\xb7 section 45 \xc2\xb5m \xc2\xb7 "
         "yarx " YARX_VERSION},
        {true, true, false, "d68", 45,
         "Interference colours between crossed polarisers \xc2\xb7 D68, chart colours (CIE RGB) "
         "\xc2\xb7 section 45 \xc2\xb5m (dashed) \xc2\xb7 yarx " YARX_VERSION},
    };
    for (const auto &c : cases) {
        FigureSettings settings = laid_out(c.landscape, c.fan);
        if (c.true_colours) settings.rendering = Rendering::true_colours;
        settings.illuminant = colour::id_of(c.illuminant);
        settings.thickness_um = c.thickness_um;
        const Figure &figure = figure_for(settings);
        EXPECT_STREQ(figure.texts[figure.text_count - 1].text, c.caption);
    }
}

// ---------------------------------------------------------------- command line

// What the manual page promises: D68 unless told, extensions in any case,
// "--" before a file that starts with a dash.
TEST(ChartCommandLine, ReadsAsDocumented) {
    const struct {
        std::vector<const char *> arguments;
        const char *path;
        Format format;
        const char *illuminant;  // its label
        bool fan;
    } cases[] = {
        {{"chart.PNG"}, "chart.PNG", Format::png, "D68", false},
        {{"--illuminant", "cie A", "c.Svg"}, "c.Svg", Format::svg, "CIE A", false},
        {{"--fan", "--", "--minerals.pdf"}, "--minerals.pdf", Format::pdf, "D68", true},
    };
    for (const auto &c : cases) {
        std::vector<const char *> argv{"yarx-chart"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        Command command;
        char reason[256] = "";
        ASSERT_TRUE(parse_command(static_cast<int>(argv.size()), argv.data(), command, reason,
                                  sizeof reason))
            << reason;
        EXPECT_STREQ(command.path, c.path);
        EXPECT_EQ(command.format, c.format);
        EXPECT_STREQ(colour::find_illuminant(command.settings.illuminant)->label, c.illuminant);
        EXPECT_EQ(command.settings.fan, c.fan);
    }
}

}  // namespace
}  // namespace yarx::print
