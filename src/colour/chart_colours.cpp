#include "chart_colours.h"

#include <cmath>

#include "true_colours.h"

namespace yarx::colour {

// Weights (CIE 015): xbar S, ybar S, zbar S at every sample, S the
// illuminant's power there.
int compute_weights(int illuminant, Weights &weighted_observer) {
    for (int j = 0; j < wavelength_samples; ++j)
        weighted_observer[j] = {observer[j].xbar, observer[j].ybar, observer[j].zbar};

    const Spectrum *power = illuminant_spectrum(illuminant);
    if (!power) return 1;
    for (int j = 0; j < wavelength_samples; ++j) {
        weighted_observer[j].x *= (*power)[j];
        weighted_observer[j].y *= (*power)[j];
        weighted_observer[j].z *= (*power)[j];
    }
    return 0;
}

// A plate at 45 degrees between crossed polarisers passes
// t = sin^2(pi R / lambda) of the light (the Fresnel-Arago interference of
// its two waves).  Written as cos^2((R/lambda + 0.5) * 0.5 * 2 * pi), the
// same value, so that the rounding is the chart's.
double plate_transmission(double retardation_nm, double lambda_nm) {
    const double c = std::cos((retardation_nm / lambda_nm + 0.5) * 0.5 * 2 * pi);
    return c * c;
}

// Tristimulus values: X = sum of t xbar S over the samples in increasing
// wavelength, likewise Y and Z; not normalised, the scaling below does that.
void compute_chart_xyz(const Weights &weighted_observer, RowsXyz &xyz) {
    for (int i = 0; i < chart_rows; ++i) {
        const double retardation = retardation_step_nm * i;
        double x = 0, y = 0, z = 0;
        for (int j = 0; j < wavelength_samples; ++j) {
            const double lambda = wavelength_step_nm * j + first_wavelength_nm;
            const double t = plate_transmission(retardation, lambda);
            x += t * weighted_observer[j].x;
            y += t * weighted_observer[j].y;
            z += t * weighted_observer[j].z;
        }
        xyz[i] = {x, y, z};
    }
}

// (red, green, blue) = xyz_to_rgb (X, Y, Z), each row summed left to right.
Rgb cie_rgb(const Xyz &c) {
    return {xyz_to_rgb[0][0] * c.x + xyz_to_rgb[0][1] * c.y + xyz_to_rgb[0][2] * c.z,
            xyz_to_rgb[1][0] * c.x + xyz_to_rgb[1][1] * c.y + xyz_to_rgb[1][2] * c.z,
            xyz_to_rgb[2][0] * c.x + xyz_to_rgb[2][1] * c.y + xyz_to_rgb[2][2] * c.z};
}

double chart_scale(const RowsXyz &xyz) {
    double maximum = 0;
    for (const Xyz &c : xyz) {
        const Rgb rgb = cie_rgb(c);
        for (double v : {rgb.red, rgb.green, rgb.blue})
            if (v > maximum) maximum = v;
    }
    return maximum;
}

// Negative components are out of gamut and shown as black, not folded;
// then the brightest component of the whole chart becomes exactly 1.
Rgb scaled_chart_colour(Rgb rgb, double scale) {
    const auto clamp_and_scale = [scale](double &v) {
        if (v < 0) v = 0;
        if (scale > 1) v /= scale;
        if (v > 1) v = 1;
    };
    clamp_and_scale(rgb.red);
    clamp_and_scale(rgb.green);
    clamp_and_scale(rgb.blue);
    return rgb;
}

// The rows' colours, keeping the largest component of the whole chart.
void compute_chart_colours(const RowsXyz &xyz, RowsRgb &colours) {
    const double scale = chart_scale(xyz);
    for (int i = 0; i < chart_rows; ++i) colours[i] = scaled_chart_colour(cie_rgb(xyz[i]), scale);
}

void compute_chart(int illuminant, Rendering rendering, ChartColours &chart) {
    compute_weights(illuminant, chart.weighted_observer);
    compute_chart_xyz(chart.weighted_observer, chart.xyz);
    if (rendering == Rendering::true_colours)
        compute_true_colours(chart.weighted_observer, chart.xyz, chart.colours);
    else
        compute_chart_colours(chart.xyz, chart.colours);
}

}  // namespace yarx::colour
