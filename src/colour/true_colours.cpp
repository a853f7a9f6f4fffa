#include "true_colours.h"

#include <algorithm>
#include <cmath>

namespace yarx::colour {

namespace {

struct Vector {
    double v[3];
};

struct Matrix {
    double m[3][3];
};

// m x, each row summed left to right.
constexpr Vector apply(const double (&m)[3][3], const Vector &x) {
    Vector r{};
    for (int i = 0; i < 3; ++i) r.v[i] = m[i][0] * x.v[0] + m[i][1] * x.v[1] + m[i][2] * x.v[2];
    return r;
}

// The inverse by cofactors over the determinant, in full double precision:
// the published seven-decimal inverse of Bradford is not quite its inverse,
// and the lamp's own white would then come out a shade off white.
constexpr Matrix inverse(const double (&a)[3][3]) {
    const auto cofactor = [&a](int i, int j) {
        const int r0 = (i + 1) % 3, r1 = (i + 2) % 3, c0 = (j + 1) % 3, c1 = (j + 2) % 3;
        return a[r0][c0] * a[r1][c1] - a[r0][c1] * a[r1][c0];
    };
    const double determinant =
        a[0][0] * cofactor(0, 0) + a[0][1] * cofactor(0, 1) + a[0][2] * cofactor(0, 2);
    Matrix inv{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) inv.m[i][j] = cofactor(j, i) / determinant;
    return inv;
}

constexpr Matrix bradford_inverse = inverse(bradford);

double luminance(const Rgb &c) {
    return srgb_luminance[0] * c.red + srgb_luminance[1] * c.green + srgb_luminance[2] * c.blue;
}

}  // namespace

Xyz illuminant_white(const Weights &weighted_observer) {
    Xyz white{0, 0, 0};
    for (const Xyz &w : weighted_observer) {
        white.x += w.x;
        white.y += w.y;
        white.z += w.z;
    }
    return white;
}

// Bradford (Lam 1985): s = M (Xw/Yw, 1, Zw/Yw), d = M D65, gain d/s.
Adaptation adaptation_to_d65(const Xyz &white) {
    const Vector source = apply(bradford, {{white.x / white.y, 1, white.z / white.y}});
    const Vector target = apply(bradford, {{d65_white.x, d65_white.y, d65_white.z}});
    Adaptation a{white.y, {}};
    for (int k = 0; k < 3; ++k) a.gain[k] = target.v[k] / source.v[k];
    return a;
}

// rgb = xyz_to_srgb M^-1 diag(d/s) M (X, Y, Z) / Yw, taken from the right.
Rgb linear_srgb(const Xyz &xyz, const Adaptation &adaptation) {
    const double yw = adaptation.luminance;
    Vector cone = apply(bradford, {{xyz.x / yw, xyz.y / yw, xyz.z / yw}});
    for (int k = 0; k < 3; ++k) cone.v[k] *= adaptation.gain[k];
    const Vector rgb = apply(xyz_to_srgb, apply(bradford_inverse.m, cone));
    return {rgb.v[0], rgb.v[1], rgb.v[2]};
}

// With Y the luminance: Y >= 1 is white, Y <= 0 black; otherwise each
// channel c becomes Y + s (c - Y), s the largest factor up to 1 that puts
// all three in 0..1.  Clipping a channel on its own would shift the hue:
// the sensitive tint would turn from purple-red to blue.
Rgb into_srgb_gamut(const Rgb &linear) {
    const double y = luminance(linear);
    if (y >= 1) return {1, 1, 1};
    if (y <= 0) return {0, 0, 0};
    double s = 1;
    for (double c : {linear.red, linear.green, linear.blue}) {
        if (c > 1) s = std::min(s, (1 - y) / (c - y));
        if (c < 0) s = std::min(s, y / (y - c));
    }
    if (s == 1) return linear;
    // The channel that sets s lands on 0 or 1 give or take the last bit;
    // the clamp takes off that bit and nothing more.
    const auto towards_grey = [y, s](double c) { return std::clamp(y + s * (c - y), 0.0, 1.0); };
    return {towards_grey(linear.red), towards_grey(linear.green), towards_grey(linear.blue)};
}

// 12.92 L up to L = 0.0031308, above it 1.055 L^(1/2.4) - 0.055, written
// as p + 0.055 (p - 1) with p = L^(1/2.4): the same curve, but exactly 1
// at white, where the other way rounds to just below 1 and white would be
// sent as 65534.
double srgb_encode(double linear) {
    if (linear <= 0.0031308) return 12.92 * linear;
    const double p = std::pow(linear, 1 / 2.4);
    return p + 0.055 * (p - 1);
}

Rgb true_colour(const Xyz &xyz, const Adaptation &adaptation) {
    const Rgb c = into_srgb_gamut(linear_srgb(xyz, adaptation));
    return {srgb_encode(c.red), srgb_encode(c.green), srgb_encode(c.blue)};
}

void compute_true_colours(const Weights &weighted_observer, const RowsXyz &xyz, RowsRgb &colours) {
    const Adaptation adaptation = adaptation_to_d65(illuminant_white(weighted_observer));
    for (int i = 0; i < chart_rows; ++i) colours[i] = true_colour(xyz[i], adaptation);
}

}  // namespace yarx::colour
