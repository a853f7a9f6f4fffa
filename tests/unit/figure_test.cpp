// Interference figures against what a petrographer knows of them: the
// dark cross of a centred uniaxial crystal, its isochromes where the
// uniaxial indices put them, the plate's quadrants for either sign,
// Mallard's melatopes, and a 45-degree pixel the colour of the chart's band.

#include <gtest/gtest.h>

#include <cmath>

#include "figure/figure_image.h"
#include "figure/mineral_optics.h"

namespace yarx::figure {
namespace {

using colour::Rendering;

constexpr double degree = M_PI / 180;

Settings uniaxial(OpticSign sign, double birefringence, double plate_nm = 0) {
    Settings s;
    s.sign = sign;
    s.birefringence = birefringence;
    s.plate_nm = plate_nm;
    s.size = 65;
    return s;
}

Workspace workspace;
Image image;

Rgb8 pixel(const Settings &s, double u, double v) {
    const double c = (s.size - 1) / 2.0;
    const int col = static_cast<int>(std::lround(c + u * c)),
              row = static_cast<int>(std::lround(c - v * c));
    return image.pixels[row * s.size + col];
}

int brightness(const Rgb8 &p) { return p.red + p.green + p.blue; }

// The figures that hold in either rendering.
class FigureInEachRendering : public ::testing::TestWithParam<Rendering> {};

INSTANTIATE_TEST_SUITE_P(Both, FigureInEachRendering,
                         ::testing::Values(Rendering::cie_rgb, Rendering::true_colours),
                         [](const auto &info) {
                             return info.param == Rendering::true_colours ? "sRGB" : "CieRgb";
                         });

TEST_P(FigureInEachRendering, ACentredUniaxialCrystalShowsTheDarkCrossOnThePolars) {
    Settings s = uniaxial(OpticSign::negative, 0.05);
    s.rendering = GetParam();
    compute_figure(s, workspace, image);
    const int c = s.size / 2;
    for (int k = 0; k < s.size; ++k) {
        EXPECT_EQ(brightness(image.pixels[c * s.size + k]), 0) << k;
        EXPECT_EQ(brightness(image.pixels[k * s.size + c]), 0) << k;
    }
    EXPECT_GT(brightness(pixel(s, 0.4, 0.4)), 100);
}

// Along a radius, the extraordinary wave's index 1/n(theta)^2 =
// cos^2/w^2 + sin^2/e^2, so that Gamma = 1000 t (n(theta) - w) / cos theta:
// the textbook's uniaxial figure, reached here by bisection.
TEST(Figure, IsochromeKLiesWhereTheUniaxialIndicesPutGammaAt551KNm) {
    Settings s = uniaxial(OpticSign::positive, 0.17);
    s.thickness_um = 60;
    const double omega = s.mean_index - s.birefringence / 2;
    const double epsilon = s.mean_index + s.birefringence / 2;
    const auto gamma_at = [&](double theta) {
        const double n = 1 / std::sqrt(std::pow(std::cos(theta) / omega, 2) +
                                       std::pow(std::sin(theta) / epsilon, 2));
        return 1000 * s.thickness_um * (n - omega) / std::cos(theta);
    };
    const Optics optics = optics_of(s);
    for (int k = 1; k <= 4; ++k) {
        double low = 0, high = std::asin(s.numerical_aperture / s.mean_index);
        for (int step = 0; step < 60; ++step)
            (gamma_at((low + high) / 2) < 551.0 * k ? low : high) = (low + high) / 2;
        const double r = s.mean_index * std::sin(low) / s.numerical_aperture;
        ASSERT_LT(r, 1) << k;
        for (double azimuth : {45.0, 160.0}) {
            const Ray ray =
                ray_at(optics, r * std::cos(azimuth * degree), r * std::sin(azimuth * degree));
            EXPECT_NEAR(ray.retardation_nm, 551.0 * k, 0.01) << k;
        }
    }
}

// The plate adds where its slow direction (NE-SW) meets the slow
// vibration, second-order blue, and subtracts across it, first-order
// yellow: a positive crystal's slow vibration is radial, a negative one's
// tangential.
TEST_P(FigureInEachRendering, ThePlateTurnsThePositiveQuadrantsNeSwBlueAndTheNegativeOnesYellow) {
    const auto blue = [](const Rgb8 &p) { return p.blue > p.red + 20; };
    const auto yellow = [](const Rgb8 &p) { return p.red > p.blue + 20 && p.green > p.blue; };
    for (const bool positive : {true, false}) {
        Settings s = uniaxial(positive ? OpticSign::positive : OpticSign::negative, 0.1, 551);
        s.rendering = GetParam();
        compute_figure(s, workspace, image);
        const double d = 0.3;
        for (const Rgb8 &p : {pixel(s, d, d), pixel(s, -d, -d)})
            EXPECT_TRUE(positive ? blue(p) : yellow(p));
        for (const Rgb8 &p : {pixel(s, -d, d), pixel(s, d, -d)})
            EXPECT_TRUE(positive ? yellow(p) : blue(p));
    }
}

// Mallard: a melatope, where an optic axis comes out, stands at
// sin V_air = n_beta sin V from the centre, along the optic axial plane's
// trace: the darkest point of the isochromes, Gamma 0.
TEST(Figure, TheMelatopesStandWhereMallardsRelationPutsThem) {
    const struct {
        OpticSign sign;
        double optic_angle_deg, azimuth_deg;
    } cases[] = {{OpticSign::positive, 40, 45},
                 {OpticSign::negative, 30, 45},
                 {OpticSign::negative, 50, 120}};
    for (const auto &c : cases) {
        Settings s;
        s.optic_class = OpticClass::biaxial;
        s.sign = c.sign;
        s.optic_angle_deg = c.optic_angle_deg;
        s.azimuth_deg = c.azimuth_deg;
        s.birefringence = 0.01;
        const Optics optics = optics_of(s);
        const double expected =
            optics.n_beta * std::sin(c.optic_angle_deg / 2 * degree) / s.numerical_aperture;
        const double a = c.azimuth_deg * degree;
        for (double side : {1.0, -1.0}) {
            double best_r = 0, least = 1e9;
            for (double r = 0; r <= 1; r += 1e-4) {
                const Ray ray = ray_at(optics, side * r * std::cos(a), side * r * std::sin(a));
                if (ray.retardation_nm < least) least = ray.retardation_nm, best_r = r;
            }
            EXPECT_NEAR(best_r, expected, 0.005);
            EXPECT_LT(least, 0.5);
        }
    }
}

// With the plate out and the slow vibration at 45 degrees the grain is the
// chart's plate: the same colour, bit for bit, at the chart's retardations.
TEST_P(FigureInEachRendering, APixelAt45DegreesWithoutThePlateIsTheChartsBand) {
    static colour::ChartColours chart;
    for (const char *lamp : {"d68", "cie-a", "eew"}) {
        Settings s = uniaxial(OpticSign::positive, 0.3);
        s.thickness_um = 10;
        s.illuminant = colour::id_of(lamp);
        s.rendering = GetParam();
        colour::compute_chart(s.illuminant, s.rendering, chart);
        prepare_tables(s, workspace);
        for (int row : {0, 1, 40, 220, 441, 663, 999}) {
            const Rgb8 got =
                colour_at(workspace, s.rendering, colour::retardation_step_nm * row, 1);
            const Rgb8 want = colour::eight_bit_colour(chart.colours[row]);
            EXPECT_TRUE(got.red == want.red && got.green == want.green && got.blue == want.blue)
                << lamp << " row " << row;
        }
    }
}

TEST(Figure, AMineralsSettingsComeFromItsOpticsAndBirefringence) {
    Settings s;
    ASSERT_TRUE(take_mineral(*mineral_named("calcite"), s));
    EXPECT_EQ(s.optic_class, OpticClass::uniaxial);
    EXPECT_EQ(s.sign, OpticSign::negative);
    EXPECT_DOUBLE_EQ(s.birefringence, 0.172);
    EXPECT_DOUBLE_EQ(s.mean_index, (1.486 + 1.658) / 2);
    ASSERT_TRUE(take_mineral(*mineral_named("olivine"), s));
    EXPECT_EQ(s.optic_class, OpticClass::biaxial);
    EXPECT_EQ(s.sign, OpticSign::negative);
    EXPECT_DOUBLE_EQ(s.optic_angle_deg, 85);
    EXPECT_TRUE(s.mineral->typical);
    EXPECT_FALSE(take_mineral(*mineral_named("garnet"), s));
    int anisotropic = 0;
    while (anisotropic_mineral(anisotropic)) ++anisotropic;
    EXPECT_EQ(anisotropic, 46);
}

}  // namespace
}  // namespace yarx::figure
