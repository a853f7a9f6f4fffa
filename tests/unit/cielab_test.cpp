// CIELAB of sRGB values under D65, and CIEDE2000 against the published
// test pairs (Sharma, Wu and Dalal 2005, table 1).

#include "colour/cielab.h"

#include <gtest/gtest.h>

namespace {

using namespace yarx::colour;

// White within the rounding of the four-decimal sRGB matrix; mid grey and
// the sRGB primary red as colour tools give them.
TEST(Cielab, OfSrgbValues) {
    const struct {
        Rgb8 rgb;
        Lab lab;
        double tolerance;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 0}, 1e-12},
        {{255, 255, 255}, {100, 0, 0}, 0.02},
        {{128, 128, 128}, {53.585, 0, 0}, 0.02},
        {{255, 0, 0}, {53.24, 80.09, 67.20}, 0.03},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << int(c.rgb.red) << "," << int(c.rgb.green) << "," << int(c.rgb.blue));
        const Lab lab = lab_of_srgb(c.rgb);
        EXPECT_NEAR(lab.l, c.lab.l, c.tolerance);
        EXPECT_NEAR(lab.a, c.lab.a, c.tolerance);
        EXPECT_NEAR(lab.b, c.lab.b, c.tolerance);
    }
}

// To the published four decimals, either way round.
TEST(Ciede2000, PublishedPairs) {
    const struct {
        Lab first, second;
        double difference;
    } pairs[] = {
        // clang-format off
        //     L1        a1         b1           L2        a2         b2       dE00
        {{      50,   2.6772,  -79.7751}, {      50,        0,  -82.7485},  2.0425},
        {{      50,   3.1571,  -77.2803}, {      50,        0,  -82.7485},  2.8615},
        {{      50,   2.8361,    -74.02}, {      50,        0,  -82.7485},  3.4412},
        {{      50,  -1.3802,  -84.2814}, {      50,        0,  -82.7485},     1.0},
        {{      50,        0,         0}, {      50,       -1,         2},  2.3669},
        {{      50,     2.49,    -0.001}, {      50,    -2.49,    0.0009},  7.1792},
        {{      50,     2.49,    -0.001}, {      50,    -2.49,    0.0011},  7.2195},
        {{      50,   -0.001,      2.49}, {      50,   0.0009,     -2.49},  4.8045},
        {{      50,      2.5,         0}, {      50,        0,      -2.5},  4.3065},
        {{      50,      2.5,         0}, {      73,       25,       -18}, 27.1492},
        {{      50,      2.5,         0}, {      61,       -5,        29}, 22.8977},
        {{      50,      2.5,         0}, {      56,      -27,        -3},  31.903},
        {{      50,      2.5,         0}, {      58,       24,        15}, 19.4535},
        {{ 60.2574, -34.0099,   36.2677}, { 60.4626, -34.1751,   39.4387},  1.2644},
        {{ 63.0109, -31.0961,   -5.8663}, { 62.8187, -29.7946,   -4.0864},   1.263},
        {{ 22.7233,  20.0904,   -46.694}, { 23.0331,   14.973,  -42.5619},  2.0373},
        {{ 90.8027,  -2.0831,     1.441}, { 91.1528,  -1.6435,    0.0447},  1.4441},
        {{  2.0776,   0.0795,    -1.135}, {  0.9033,  -0.0636,   -0.5514},  0.9082},
        // clang-format on
    };
    int i = 0;
    for (const auto &p : pairs) {
        SCOPED_TRACE(testing::Message() << "pair " << ++i);
        EXPECT_NEAR(ciede2000(p.first, p.second), p.difference, 5e-5);
        EXPECT_NEAR(ciede2000(p.second, p.first), p.difference, 5e-5);
    }
    EXPECT_EQ(ciede2000({40, 10, -20}, {40, 10, -20}), 0);
}

}  // namespace
