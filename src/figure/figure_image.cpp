#include "figure_image.h"

#include <cmath>

namespace yarx::figure {

namespace {

using colour::pi;

// The greatest retardation in the field: n2 - n1 is at most dn, and
// 1 / cos theta greatest at the field's edge.
double greatest_retardation_nm(const Settings &s) {
    const double sin_edge = s.numerical_aperture / s.mean_index;
    return 1000 * s.thickness_um * s.birefringence / std::sqrt(1 - sin_edge * sin_edge);
}

// square = sum of cos dp sin^2(pi Gamma / lambda) w, odd = sum of
// sin dp sin ds / 2 w, in increasing wavelength; sin^2 as the chart writes
// it, so that without the plate (cos dp exactly 1) square is the chart's
// XYZ at the chart's rows.
void tabulate(Workspace &w) {
    double cos_plate[colour::wavelength_samples], sin_plate[colour::wavelength_samples];
    const bool plate = w.plate_nm > 0;
    w.steady = {0, 0, 0};
    for (int j = 0; j < colour::wavelength_samples; ++j) {
        const double lambda = colour::wavelength_step_nm * j + colour::first_wavelength_nm;
        cos_plate[j] = plate ? std::cos(2 * pi * w.plate_nm / lambda) : 1;
        sin_plate[j] = plate ? std::sin(2 * pi * w.plate_nm / lambda) : 0;
        if (!plate) continue;
        const double t = colour::plate_transmission(w.plate_nm, lambda);
        w.steady.x += t * w.weighted_observer[j].x;
        w.steady.y += t * w.weighted_observer[j].y;
        w.steady.z += t * w.weighted_observer[j].z;
    }
    for (int i = 0; i < w.rows; ++i) {
        const double retardation = w.step_nm * i;
        Xyz square{0, 0, 0}, odd{0, 0, 0};
        for (int j = 0; j < colour::wavelength_samples; ++j) {
            const colour::Xyz &weight = w.weighted_observer[j];
            const double lambda = colour::wavelength_step_nm * j + colour::first_wavelength_nm;
            const double t = cos_plate[j] * colour::plate_transmission(retardation, lambda);
            square.x += t * weight.x;
            square.y += t * weight.y;
            square.z += t * weight.z;
            if (!plate) continue;
            const double o = sin_plate[j] * std::sin(2 * pi * retardation / lambda) / 2;
            odd.x += o * weight.x;
            odd.y += o * weight.y;
            odd.z += o * weight.z;
        }
        w.square[i] = square;
        w.odd[i] = odd;
    }
}

// a + f (b - a), each component: exactly a where f is 0.
Xyz between(const Xyz &a, const Xyz &b, double f) {
    return {a.x + f * (b.x - a.x), a.y + f * (b.y - a.y), a.z + f * (b.z - a.z)};
}

}  // namespace

void prepare_tables(const Settings &s, Workspace &w) {
    // Two rows past the greatest retardation, for the interpolation.
    const double reach = greatest_retardation_nm(s);
    double step = colour::retardation_step_nm;
    int rows = static_cast<int>(std::ceil(reach / step)) + 2;
    if (!(rows <= greatest_table_rows)) {
        rows = greatest_table_rows;
        step = reach / (rows - 2);
    }
    const bool lamp_changed = s.illuminant != w.illuminant;
    if (lamp_changed) {
        colour::compute_weights(s.illuminant, w.weighted_observer);
        w.adaptation = colour::adaptation_to_d65(colour::illuminant_white(w.weighted_observer));
    }
    if (s.rendering == colour::Rendering::cie_rgb && s.illuminant != w.scale_illuminant) {
        colour::compute_chart_xyz(w.weighted_observer, w.chart_xyz);
        w.chart_scale = colour::chart_scale(w.chart_xyz);
        w.scale_illuminant = s.illuminant;
    }
    // Tables long enough, for this lamp and plate, serve again.
    if (!lamp_changed && s.plate_nm == w.plate_nm && step == w.step_nm && rows <= w.rows) return;
    w.illuminant = s.illuminant;
    w.plate_nm = s.plate_nm;
    w.step_nm = step;
    w.rows = rows;
    tabulate(w);
}

Xyz light_at(const Workspace &w, double retardation_nm, double sin_2phi) {
    const double place = retardation_nm / w.step_nm;
    int i = static_cast<int>(place);
    if (i > w.rows - 2) i = w.rows - 2;
    const double f = place - i;
    const double s2 = sin_2phi * sin_2phi;
    const Xyz square = between(w.square[i], w.square[i + 1], f);
    if (w.plate_nm <= 0) return {s2 * square.x, s2 * square.y, s2 * square.z};
    const Xyz odd = between(w.odd[i], w.odd[i + 1], f);
    return {w.steady.x + s2 * square.x + sin_2phi * odd.x,
            w.steady.y + s2 * square.y + sin_2phi * odd.y,
            w.steady.z + s2 * square.z + sin_2phi * odd.z};
}

Rgb8 colour_at(const Workspace &w, colour::Rendering rendering, double retardation_nm,
               double sin_2phi) {
    const Xyz xyz = light_at(w, retardation_nm, sin_2phi);
    if (rendering == colour::Rendering::true_colours)
        return colour::eight_bit_colour(colour::true_colour(xyz, w.adaptation));
    return colour::eight_bit_colour(
        colour::scaled_chart_colour(colour::cie_rgb(xyz), w.chart_scale));
}

void compute_figure(const Settings &s, Workspace &w, Rgb8 *pixels) {
    prepare_tables(s, w);
    const Optics optics = optics_of(s);
    for (int row = 0; row < s.size; ++row)
        for (int col = 0; col < s.size; ++col) {
            const FieldPoint p = field_point(s.size, col, row);
            const Ray ray = colour_ray_at(optics, p.u, p.v);
            pixels[row * s.size + col] =
                ray.inside ? colour_at(w, s.rendering, ray.retardation_nm, ray.sin_2phi)
                           : Rgb8{0, 0, 0};
        }
}

void compute_figure(const Settings &s, Workspace &w, Image &image) {
    image.size = s.size;
    compute_figure(s, w, image.pixels);
}

}  // namespace yarx::figure
