#include "cielab.h"

#include <cmath>

#include "colour/true_colours.h"

namespace yarx::colour {

namespace {

// Linear sRGB to XYZ (D65), IEC 61966-2-1:1999; by rows X, Y, Z.  Its Y row
// is the luminance the true colours keep.
constexpr double srgb_to_xyz[3][3] = {
    {0.4124, 0.3576, 0.1805},
    {srgb_luminance[0], srgb_luminance[1], srgb_luminance[2]},
    {0.0193, 0.1192, 0.9505},
};

// The full-precision pi, not the chart's 3.1416: these are published
// formulas checked against published figures.
constexpr double exact_pi = 3.14159265358979323846;

constexpr double degrees(double radians) { return radians * 180 / exact_pi; }
constexpr double radians(double degrees) { return degrees * exact_pi / 180; }

// IEC 61966-2-1: V' = V / 255; V' / 12.92 up to 0.04045, else
// ((V' + 0.055) / 1.055)^2.4.
double linear_of(unsigned char value) {
    const double v = value / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

// CIE 015: f(t) = t^(1/3) above (6/29)^3, else t / (3 (6/29)^2) + 4/29.
double lab_f(double t) {
    constexpr double delta = 6.0 / 29;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3 * delta * delta) + 4.0 / 29;
}

// The hue angle h' in degrees, 0 to 360; 0 for a neutral colour.
double hue_degrees(double b, double a_prime) {
    if (b == 0 && a_prime == 0) return 0;
    const double h = degrees(std::atan2(b, a_prime));
    return h < 0 ? h + 360 : h;
}

// 25^7, where the chroma correction G and the rotation R_C turn.
constexpr double pow7(double x) { return x * x * x * x * x * x * x; }
constexpr double twenty_five_to_the_7th = pow7(25);

}  // namespace

// XYZ = M (R, G, B) linear; L* = 116 f(Y/Yn) - 16, a* = 500 (f(X/Xn) -
// f(Y/Yn)), b* = 200 (f(Y/Yn) - f(Z/Zn)).
Lab lab_of_srgb(const Rgb8 &colour) {
    const double rgb[3] = {linear_of(colour.red), linear_of(colour.green), linear_of(colour.blue)};
    double xyz[3];
    for (int i = 0; i < 3; ++i)
        xyz[i] =
            srgb_to_xyz[i][0] * rgb[0] + srgb_to_xyz[i][1] * rgb[1] + srgb_to_xyz[i][2] * rgb[2];
    const double fx = lab_f(xyz[0] / d65_white.x);
    const double fy = lab_f(xyz[1] / d65_white.y);
    const double fz = lab_f(xyz[2] / d65_white.z);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

// Sharma, Wu and Dalal (2005), equations 2 to 22, term by term.
double ciede2000(const Lab &first, const Lab &second) {
    // C*ab, their mean, G; a' = (1 + G) a*, C' and h'.
    const double c1 = std::hypot(first.a, first.b), c2 = std::hypot(second.a, second.b);
    const double c_mean_7 = pow7((c1 + c2) / 2);
    const double g = 0.5 * (1 - std::sqrt(c_mean_7 / (c_mean_7 + twenty_five_to_the_7th)));
    const double a1 = (1 + g) * first.a, a2 = (1 + g) * second.a;
    const double c1p = std::hypot(a1, first.b), c2p = std::hypot(a2, second.b);
    const double h1p = hue_degrees(first.b, a1), h2p = hue_degrees(second.b, a2);

    // ΔL', ΔC', Δh' (the shorter way round), ΔH' = 2 sqrt(C'1 C'2) sin(Δh'/2).
    const double delta_l = second.l - first.l;
    const double delta_c = c2p - c1p;
    const bool neutral = c1p * c2p == 0;
    double delta_h = h2p - h1p;
    if (neutral)
        delta_h = 0;
    else if (delta_h > 180)
        delta_h -= 360;
    else if (delta_h < -180)
        delta_h += 360;
    const double delta_big_h = 2 * std::sqrt(c1p * c2p) * std::sin(radians(delta_h / 2));

    // The means L'', C'' and h'' (h'' also the shorter way round).
    const double l_mean = (first.l + second.l) / 2;
    const double c_mean_p = (c1p + c2p) / 2;
    double h_mean = h1p + h2p;
    if (!neutral) {
        if (std::fabs(h1p - h2p) <= 180)
            h_mean /= 2;
        else if (h1p + h2p < 360)
            h_mean = (h_mean + 360) / 2;
        else
            h_mean = (h_mean - 360) / 2;
    }

    // T, Δθ, R_C, S_L, S_C, S_H, R_T.
    const double t =
        1 - 0.17 * std::cos(radians(h_mean - 30)) + 0.24 * std::cos(radians(2 * h_mean)) +
        0.32 * std::cos(radians(3 * h_mean + 6)) - 0.20 * std::cos(radians(4 * h_mean - 63));
    const double delta_theta = 30 * std::exp(-std::pow((h_mean - 275) / 25, 2));
    const double c_mean_p_7 = pow7(c_mean_p);
    const double r_c = 2 * std::sqrt(c_mean_p_7 / (c_mean_p_7 + twenty_five_to_the_7th));
    const double l_offset_2 = (l_mean - 50) * (l_mean - 50);
    const double s_l = 1 + 0.015 * l_offset_2 / std::sqrt(20 + l_offset_2);
    const double s_c = 1 + 0.045 * c_mean_p;
    const double s_h = 1 + 0.015 * c_mean_p * t;
    const double r_t = -std::sin(radians(2 * delta_theta)) * r_c;

    // ΔE00 = sqrt((ΔL'/S_L)^2 + (ΔC'/S_C)^2 + (ΔH'/S_H)^2 + R_T (ΔC'/S_C)(ΔH'/S_H)).
    const double l_term = delta_l / s_l, c_term = delta_c / s_c, h_term = delta_big_h / s_h;
    return std::sqrt(l_term * l_term + c_term * c_term + h_term * h_term + r_t * c_term * h_term);
}

}  // namespace yarx::colour
