// The figure against the optics computed the long way, pixel by pixel:
// the crystal's tensor turned by rotation matrices, the section's indices
// from the characteristic equation, and the light through polariser,
// grain, plate and analyser as complex Jones vectors at each of the 81
// wavelengths.  Every pixel within 3 steps in 8 bits, but for a few where
// the tables' interpolation meets a colour's edge.

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <ostream>
#include <string>

#include "figure/figure_image.h"

namespace yarx::figure {
namespace {

using colour::Rendering;
using Complex = std::complex<double>;

struct Vec {
    double v[3];
};

struct Mat {
    double m[3][3];
    Vec operator*(const Vec &x) const {
        Vec r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) r.v[i] += m[i][j] * x.v[j];
        return r;
    }
};

double dot(const Vec &a, const Vec &b) {
    return a.v[0] * b.v[0] + a.v[1] * b.v[1] + a.v[2] * b.v[2];
}

// Upright, the crystal's principal axes lie along x (in the azimuth's
// plane once turned), y and z; then a turn R by the tilt about y and by the
// azimuth about z, R D R^T of the principal values D.
Mat stage_impermeability(const Settings &s) {
    const double na = s.mean_index - s.birefringence / 2, ng = s.mean_index + s.birefringence / 2;
    const bool positive = s.sign == OpticSign::positive;
    double nb = positive ? na : ng;  // uniaxial: omega
    if (s.optic_class == OpticClass::biaxial) {
        const double vz =
            (positive ? s.optic_angle_deg / 2 : 90 - s.optic_angle_deg / 2) * M_PI / 180;
        const double t2 = std::tan(vz) * std::tan(vz);
        nb = 1 / std::sqrt((1 / (na * na) + t2 / (ng * ng)) / (1 + t2));
    }
    const double up = positive ? ng : na, across = positive ? na : ng;
    const double d[3] = {1 / (across * across), 1 / (nb * nb), 1 / (up * up)};
    const double ct = std::cos(s.tilt_deg * M_PI / 180), st = std::sin(s.tilt_deg * M_PI / 180);
    const double ca = std::cos(s.azimuth_deg * M_PI / 180),
                 sa = std::sin(s.azimuth_deg * M_PI / 180);
    const double r[3][3] = {{ca * ct, -sa, ca * st}, {sa * ct, ca, sa * st}, {-st, 0, ct}};
    Mat b{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) b.m[i][j] += r[i][k] * d[k] * r[j][k];
    return b;
}

// Light through polariser (x), a retarder of slow azimuth phi and phase
// delta, another at 45 degrees, and the analyser (y).
double transmitted(double phi, double delta, double plate_delta) {
    Complex ex = 1, ey = 0;
    const auto retard = [&](double azimuth, double d) {
        const double c = std::cos(azimuth), s = std::sin(azimuth);
        const Complex slow = (ex * c + ey * s) * std::polar(1.0, -d / 2);
        const Complex fast = (-ex * s + ey * c) * std::polar(1.0, d / 2);
        ex = slow * c - fast * s;
        ey = slow * s + fast * c;
    };
    retard(phi, delta);
    retard(M_PI / 4, plate_delta);
    return std::norm(ey);
}

Rgb8 exact_pixel(const Settings &s, const Mat &b, const colour::Weights &w, double scale,
                 const colour::Adaptation &adaptation, int col, int row) {
    const double c = (s.size - 1) / 2.0, u = (col - c) / c, v = -(row - c) / c;
    const double r = std::hypot(u, v);
    if (r > 1) return {0, 0, 0};
    const double sin_theta = s.numerical_aperture * r / s.mean_index;
    const double psi = std::atan2(v, u);
    const Vec k{{sin_theta * std::cos(psi), sin_theta * std::sin(psi),
                 std::sqrt(1 - sin_theta * sin_theta)}};
    // An orthonormal pair across k, from x by Gram-Schmidt.
    Vec e1{{1 - k.v[0] * k.v[0], -k.v[0] * k.v[1], -k.v[0] * k.v[2]}};
    const double length = std::sqrt(dot(e1, e1));
    for (double &x : e1.v) x /= length;
    const Vec e2{{k.v[1] * e1.v[2] - k.v[2] * e1.v[1], k.v[2] * e1.v[0] - k.v[0] * e1.v[2],
                  k.v[0] * e1.v[1] - k.v[1] * e1.v[0]}};
    const double m11 = dot(e1, b * e1), m12 = dot(e1, b * e2), m22 = dot(e2, b * e2);
    const double trace = m11 + m22, det = m11 * m22 - m12 * m12;
    const double disc = std::sqrt(std::max(0.0, trace * trace / 4 - det));
    const double mu_slow = trace / 2 - disc, mu_fast = trace / 2 + disc;
    const double gamma =
        1000 * s.thickness_um * (1 / std::sqrt(mu_slow) - 1 / std::sqrt(mu_fast)) / k.v[2];
    // The slow eigenvector, whichever way round keeps its size.
    double p = m12, q = mu_slow - m11;
    if (std::hypot(p, q) < std::hypot(mu_slow - m22, m12)) p = mu_slow - m22, q = m12;
    const double dx = p * e1.v[0] + q * e2.v[0], dy = p * e1.v[1] + q * e2.v[1];
    const double phi = std::atan2(dy, dx);
    colour::Xyz xyz{0, 0, 0};
    for (int j = 0; j < colour::wavelength_samples; ++j) {
        const double lambda = colour::first_wavelength_nm + colour::wavelength_step_nm * j;
        const double t =
            transmitted(phi, 2 * colour::pi * gamma / lambda, 2 * colour::pi * s.plate_nm / lambda);
        xyz.x += t * w[j].x;
        xyz.y += t * w[j].y;
        xyz.z += t * w[j].z;
    }
    if (s.rendering == Rendering::true_colours)
        return colour::eight_bit_colour(colour::true_colour(xyz, adaptation));
    return colour::eight_bit_colour(colour::scaled_chart_colour(colour::cie_rgb(xyz), scale));
}

struct Case {
    const char *name;
    Settings settings;  // at 65 pixels a side, 30 µm
};

void PrintTo(const Case &c, std::ostream *out) { *out << c.name; }

class Agreement : public ::testing::TestWithParam<Case> {};

TEST_P(Agreement, NearlyEveryPixelWithin3StepsOfTheExactOptics) {
    const Settings &s = GetParam().settings;
    static Workspace workspace;
    static Image image;
    compute_figure(s, workspace, image);

    static colour::ChartColours chart;
    colour::compute_chart(s.illuminant, Rendering::cie_rgb, chart);
    const double scale = colour::chart_scale(chart.xyz);
    const colour::Adaptation adaptation =
        colour::adaptation_to_d65(colour::illuminant_white(chart.weighted_observer));
    const Mat b = stage_impermeability(s);
    int off = 0, worst = 0;
    for (int row = 0; row < s.size; ++row)
        for (int col = 0; col < s.size; ++col) {
            const Rgb8 want =
                exact_pixel(s, b, chart.weighted_observer, scale, adaptation, col, row);
            const Rgb8 got = image.pixels[row * s.size + col];
            const int d = std::max({std::abs(got.red - want.red), std::abs(got.green - want.green),
                                    std::abs(got.blue - want.blue)});
            worst = std::max(worst, d);
            if (d > 3) ++off;
        }
    EXPECT_LE(off, s.size * s.size / 500) << "worst " << worst;
}

constexpr OpticClass uniaxial = OpticClass::uniaxial, biaxial = OpticClass::biaxial;
constexpr OpticSign positive = OpticSign::positive, negative = OpticSign::negative;
constexpr Rendering cie_rgb = Rendering::cie_rgb, true_colours = Rendering::true_colours;
constexpr int d68 = colour::id_of("d68"), d65 = colour::id_of("d65"),
              cie_a = colour::id_of("cie-a");

// clang-format off
INSTANTIATE_TEST_SUITE_P(BothClassesAndSigns, Agreement, ::testing::Values(
    //    name                     class     sign      dn     n    2V  NA    tilt azim plate t   size lamp   rendering
    Case{"UniaxialPositive",      {uniaxial, positive, 0.05,  1.6,  0, 0.85,  0,  45,    0, 30, 65, d68,   cie_rgb}},
    Case{"UniaxialNegativePlate", {uniaxial, negative, 0.17,  1.6,  0, 0.85,  0,  45,  551, 30, 65, d65,   true_colours}},
    Case{"UniaxialTilted",        {uniaxial, positive, 0.02,  2.0,  0, 0.95, 25,  70,  551, 30, 65, cie_a, cie_rgb}},
    Case{"BiaxialPositive",       {biaxial,  positive, 0.03,  1.6, 40, 0.85,  0,  45,    0, 30, 65, cie_a, true_colours}},
    Case{"BiaxialNegativePlate",  {biaxial,  negative, 0.025, 1.5, 60, 0.85,  0,  10,  551, 30, 65, d68,   true_colours}},
    Case{"BiaxialTilted",         {biaxial,  negative, 0.01,  1.6, 70, 0.6,  35, 120,  300, 30, 65, d65,   cie_rgb}},
    Case{"BiaxialOpticNormal",    {biaxial,  positive, 0.3,   1.6, 85, 0.85, 90,   0,    0, 30, 65, d68,   cie_rgb}}),
    [](const auto &info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace yarx::figure
