#include "colour/chart_colours.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using namespace yarx::colour;

// The chart each test computes; static, as the program keeps its own.
ChartColours chart;

Rgb unclamped_rgb(const Xyz &c) {
    const auto row = [&c](const double(&m)[3]) { return m[0] * c.x + m[1] * c.y + m[2] * c.z; };
    return {row(xyz_to_rgb[0]), row(xyz_to_rgb[1]), row(xyz_to_rgb[2])};
}

double unscaled_maximum() {
    double m = 0;
    for (const Xyz &c : chart.xyz) {
        const Rgb v = unclamped_rgb(c);
        m = std::max({m, v.red, v.green, v.blue});
    }
    return m;
}

TEST(ComputeWeights, MultipliesTheObserverByTheIlluminant) {
    for (int id : {1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13}) {
        ASSERT_EQ(compute_weights(id, chart.weighted_observer), 0) << id;
        const Spectrum &s = *illuminant_spectrum(id);
        for (int j = 0; j < wavelength_samples; ++j) {
            EXPECT_EQ(chart.weighted_observer[j].x, observer[j].xbar * s[j]);
            EXPECT_EQ(chart.weighted_observer[j].y, observer[j].ybar * s[j]);
            EXPECT_EQ(chart.weighted_observer[j].z, observer[j].zbar * s[j]);
        }
    }
}

TEST(ComputeWeights, UnassignedIdentifierLeavesTheObserverUnweighted) {
    for (int id : {4, 9, 0, 14, -1}) {
        ASSERT_EQ(compute_weights(id_of("cie-a"), chart.weighted_observer),
                  0);  // so stale weights would show
        EXPECT_EQ(compute_weights(id, chart.weighted_observer), 1) << id;
        for (int j = 0; j < wavelength_samples; ++j) {
            EXPECT_EQ(chart.weighted_observer[j].x, observer[j].xbar);
            EXPECT_EQ(chart.weighted_observer[j].y, observer[j].ybar);
            EXPECT_EQ(chart.weighted_observer[j].z, observer[j].zbar);
        }
    }
}

TEST(Chart, ScalesTheBrightestComponentToOne) {
    struct Case {
        int illuminant;
        double maximum;
    };
    for (const Case &c :
         {Case{id_of("d65"), 404.967}, Case{id_of("cie-a"), 602.231}, Case{id_of("eew"), 1.1445}}) {
        SCOPED_TRACE(c.illuminant);
        compute_chart(c.illuminant, Rendering::cie_rgb, chart);
        EXPECT_NEAR(unscaled_maximum(), c.maximum, 1e-3);
        double largest = 0;
        for (const Rgb &v : chart.colours)
            for (double component : {v.red, v.green, v.blue}) {
                EXPECT_GE(component, 0);
                EXPECT_LE(component, 1);
                largest = std::max(largest, component);
            }
        EXPECT_EQ(largest, 1.0);
        // Zero retardation passes no light.
        for (double component :
             {chart.colours[0].red, chart.colours[0].green, chart.colours[0].blue})
            EXPECT_EQ(static_cast<int>(component * 65535), 0);
    }
}

TEST(Chart, ClampsNegativesAndScalesOnlyAboveOne) {
    chart.xyz.fill({0, 0, 0});
    chart.xyz[7] = {2, 0, 0};  // rgb 0.8368, -0.1824, 0.0018
    compute_chart_colours(chart.xyz, chart.colours);
    EXPECT_EQ(chart.colours[7].red, 0.4184 * 2);
    EXPECT_EQ(chart.colours[7].green, 0);
    EXPECT_EQ(chart.colours[7].blue, 0.0009 * 2);

    chart.xyz[7] = {4, 0, 0};
    compute_chart_colours(chart.xyz, chart.colours);
    EXPECT_EQ(chart.colours[7].red, 1);
    EXPECT_EQ(chart.colours[7].green, 0);
    EXPECT_EQ(chart.colours[7].blue, 0.0009 * 4 / (0.4184 * 4));
    EXPECT_EQ(chart.colours[0].red, 0);
}

// Under D65 red goes out of gamut in exactly three bands of retardation;
// green and blue never do.
TEST(Chart, D65RedIsClampedInThreeBands) {
    compute_chart(id_of("d65"), Rendering::cie_rgb, chart);
    const auto in_band = [](int row) {
        const double r = retardation_step_nm * row;
        return (r >= 570 && r <= 697.5) || (r >= 1147.5 && r <= 1290) || (r >= 1752.5 && r <= 1845);
    };
    for (int i = 0; i < chart_rows; ++i) {
        const Rgb raw = unclamped_rgb(chart.xyz[i]);
        EXPECT_EQ(raw.red < 0, in_band(i)) << "row " << i;
        EXPECT_EQ(chart.colours[i].red == 0, in_band(i)) << "row " << i;
        EXPECT_GT(raw.green, 0) << "row " << i;
        EXPECT_GT(raw.blue, 0) << "row " << i;
    }
}

TEST(Chart, RecomputingGivesBitIdenticalTables) {
    compute_chart(id_of("d65"), Rendering::cie_rgb, chart);
    const auto xyz = chart.xyz;
    const auto colours = chart.colours;
    for (int other : {1, 3, 4}) {  // D65 itself, A, and no illuminant
        compute_weights(other, chart.weighted_observer);
        compute_chart_xyz(chart.weighted_observer, chart.xyz);
        compute_chart_colours(chart.xyz, chart.colours);
        compute_chart(id_of("d65"), Rendering::cie_rgb, chart);
        EXPECT_EQ(std::memcmp(&xyz, &chart.xyz, sizeof xyz), 0) << "after " << other;
        EXPECT_EQ(std::memcmp(&colours, &chart.colours, sizeof colours), 0) << "after " << other;
    }
}

// The chart written out the plain way, in the order the sums and products
// are meant to be taken; any reordering of the arithmetic shows as a
// difference in the last bit.
struct PlainChart {
    Xyz xyz[1000];
    Rgb rgb[1000];
};

void compute_plainly(int illuminant, PlainChart &out) {
    const Spectrum &s = *illuminant_spectrum(illuminant);
    double maximum = 0;
    for (int i = 0; i < 1000; ++i) {
        const double retardation = 2.5 * i;
        double x = 0, y = 0, z = 0;
        for (int j = 0; j < 81; ++j) {
            const double lambda = 5 * j + 380;
            const double c = std::cos((retardation / lambda + 0.5) * 0.5 * 2 * 3.1416);
            const double t = c * c;
            x += t * (observer[j].xbar * s[j]);
            y += t * (observer[j].ybar * s[j]);
            z += t * (observer[j].zbar * s[j]);
        }
        out.xyz[i] = {x, y, z};
        Rgb &v = out.rgb[i];
        v.red = 0.4184 * x - 0.1586 * y - 0.0828 * z;
        v.green = -0.0912 * x + 0.2524 * y + 0.0157 * z;
        v.blue = 0.0009 * x - 0.0026 * y + 0.1786 * z;
        for (double component : {v.red, v.green, v.blue})
            if (component > maximum) maximum = component;
    }
    for (Rgb &v : out.rgb)
        for (double *component : {&v.red, &v.green, &v.blue}) {
            if (*component < 0) *component = 0;
            if (maximum > 1) *component = *component / maximum;
        }
}

TEST(Chart, MatchesThePlainComputationBitForBit) {
    static PlainChart plain;
    for (int id : {id_of("d65"), id_of("cie-a")}) {
        compute_plainly(id, plain);
        compute_chart(id, Rendering::cie_rgb, chart);
        int differing = 0, first = -1;
        for (int i = 0; i < chart_rows; ++i) {
            const Xyz &a = plain.xyz[i], &b = chart.xyz[i];
            const Rgb &p = plain.rgb[i], &q = chart.colours[i];
            if (a.x != b.x || a.y != b.y || a.z != b.z || p.red != q.red || p.green != q.green ||
                p.blue != q.blue) {
                if (first < 0) first = i;
                ++differing;
            }
        }
        EXPECT_EQ(differing, 0) << "illuminant " << id << ", first at row " << first;
    }
}

// Colours pinned when the tables were settled; a change to any table or to
// the arithmetic moves them.
TEST(Chart, GoldenColours) {
    struct Golden {
        int illuminant, row;
        Rgb colour;
    };
    const Golden golden[] = {
        {id_of("d65"), 1, {0x1.ca32c8b9b9b9ap-14, 0x1.a8518771ff72fp-13, 0x1.3cc9520dc9dabp-12}},
        {id_of("d65"), 228, {0x0p+0, 0x1.0958f2231313cp-4, 0x1.0aa5e57fbc414p-1}},
        {id_of("d65"), 999, {0x1.fdcfd11fea49ap-3, 0x1.26846b445424ep-1, 0x1.41a13cc86550cp-1}},
        {id_of("d68"), 1, {0x1.a955f55ea8cf8p-14, 0x1.9a179217eb40dp-13, 0x1.3d21649bcfc34p-12}},
        {id_of("d68"), 228, {0x0p+0, 0x1.036c734cd3173p-4, 0x1.0bad4b6b44a77p-1}},
        {id_of("d68"), 999, {0x1.df563c8585ba8p-3, 0x1.1bac5f9d99409p-1, 0x1.41783a08e8972p-1}},
    };
    for (const Golden &g : golden) {
        compute_chart(g.illuminant, Rendering::cie_rgb, chart);
        SCOPED_TRACE(testing::Message() << "illuminant " << g.illuminant << " row " << g.row);
        EXPECT_EQ(chart.colours[g.row].red, g.colour.red);
        EXPECT_EQ(chart.colours[g.row].green, g.colour.green);
        EXPECT_EQ(chart.colours[g.row].blue, g.colour.blue);
    }
}

}  // namespace
