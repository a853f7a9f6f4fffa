// The 1000 colours of the interference chart: a birefringent plate of
// retardation R between crossed polarisers passes sin^2(pi R / lambda) of the
// illuminant, which the observer integrates to XYZ and the chart shows as
// CIE RGB scaled into 0..1.
//
// A computation fills a value its caller owns, fixed in size, in place, and
// allocates nothing.
#pragma once

#include "colour_types.h"
#include "illuminants.h"

namespace yarx::colour {

// The chart's value of pi, not the machine's: every colour depends on it.
constexpr double pi = 3.1416;

// CIE XYZ to CIE 1931 RGB (primaries at 700, 546.1 and 435.8 nm, white at
// equal energy): the inverse of the CIE's RGB-to-XYZ matrix, to four
// decimals; by rows red, green, blue.
constexpr double xyz_to_rgb[3][3] = {
    {0.4184, -0.1586, -0.0828},
    {-0.0912, 0.2524, 0.0157},
    {0.0009, -0.0026, 0.1786},
};

// Fills the weights for the illuminant.  Returns 0, or 1 when the
// identifier names no illuminant, leaving the observer unweighted.
int compute_weights(int illuminant, Weights &weighted_observer);

// The fraction of light at wavelength lambda (nm) that a plate of
// retardation R (nm) at 45 degrees passes between crossed polarisers.
double plate_transmission(double retardation_nm, double lambda_nm);

// The rows' XYZ under the weighted observer.
void compute_chart_xyz(const Weights &weighted_observer, RowsXyz &xyz);

// A colour's CIE RGB by the chart's matrix, before clamping and scaling.
Rgb cie_rgb(const Xyz &xyz);

// The chart's scale: the largest RGB component of its rows, which
// compute_chart_colours divides every colour by when it exceeds 1.
double chart_scale(const RowsXyz &xyz);

// A CIE RGB colour as the chart shows one: negatives clamped to 0, then
// divided by the chart's scale when that exceeds 1.  Components of light
// brighter than any chart row are held at 1.
Rgb scaled_chart_colour(Rgb rgb, double scale);

// The rows' colours from their XYZ: CIE RGB, negatives clamped to 0, and
// the whole chart divided by its largest component when that exceeds 1.
void compute_chart_colours(const RowsXyz &xyz, RowsRgb &colours);

// How the chart's XYZ become the colours shown: the chart's own linear CIE
// RGB, or the true colours of an sRGB display (true_colours.h).
enum class Rendering { cie_rgb, true_colours };

// A chart as computed: the illuminant's weights, each row's XYZ, and each
// row's colour, every component in 0..1.
struct ChartColours {
    Weights weighted_observer;
    RowsXyz xyz;
    RowsRgb colours;
};

// The chart of an illuminant: the weights, the chart's XYZ and its colours,
// in that order.  The weights' answer is not needed: the setup window only
// offers illuminants that exist.
void compute_chart(int illuminant, Rendering rendering, ChartColours &chart);

// A component in 0..1 as the 16-bit value the X server is asked for:
// times 65535.0, plus 0.0, truncated towards zero: the chart's stated order
// of operations.  The + 0.0 changes no value; it stays because the
// conversion is stated with it, an offset of nothing before the truncation,
// which says that nothing is rounded.
constexpr unsigned short colour_value(double component) {
    return static_cast<unsigned short>(component * 65535.0 + 0.0);
}
constexpr unsigned short full_intensity = 65535;

// A colour as a 24-bit display shows it: the high byte of each value the
// server is asked for.
constexpr Rgb8 eight_bit_colour(const Rgb &c) {
    return {eight_bits(colour_value(c.red)), eight_bits(colour_value(c.green)),
            eight_bits(colour_value(c.blue))};
}

}  // namespace yarx::colour
