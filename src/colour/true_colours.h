// True colours: the chart's XYZ as an ordinary (sRGB) display must show them
// so that a viewer adapted to the display's white sees what the eye at the
// eyepiece, adapted to the lamp, sees.  The chart's own colours stay linear
// CIE RGB; this is a second way of showing the same computation.
//
// Per row: XYZ over the lamp's luminance, Bradford-adapted from the lamp's
// white to D65, to linear sRGB, moved into the display's gamut keeping hue
// and luminance, and encoded with the sRGB transfer function.
#pragma once

#include "colour_types.h"

namespace yarx::colour {

// The Bradford cone-response matrix (Lam 1985, as used by CIECAM97s and
// ICC v4 chromatic adaptation); by rows rho, gamma, beta.
constexpr double bradford[3][3] = {
    {0.8951, 0.2664, -0.1614},
    {-0.7502, 1.7135, 0.0367},
    {0.0389, -0.0685, 1.0296},
};

// D65, the white of an sRGB display, with Y = 1: ASTM E308's tristimulus
// values for the CIE 1931 observer.  IEC 61966-2-1 gives D65 as x, y
// (0.3127, 0.3290), whence Z = 1.0891; the true colours were settled on
// these values, and their tests pin them.
constexpr Xyz d65_white = {0.95047, 1, 1.08883};

// XYZ (D65) to linear sRGB (IEC 61966-2-1:1999); by rows red, green, blue.
constexpr double xyz_to_srgb[3][3] = {
    {3.2406, -1.5372, -0.4986},
    {-0.9689, 1.8758, 0.0415},
    {0.0557, -0.2040, 1.0570},
};

// The luminance of linear sRGB: the Y row of its RGB-to-XYZ matrix
// (ITU-R BT.709 primaries, the ones sRGB shares).
constexpr double srgb_luminance[3] = {0.2126, 0.7152, 0.0722};

// The XYZ of the lamp's unfiltered light: the weighted observer summed over
// the samples in increasing wavelength.
Xyz illuminant_white(const Weights &weighted_observer);

// Bradford from a lamp's white to D65: the lamp's luminance, which the
// chart's XYZ are divided by, and the gain d/s on each cone response, s the
// responses to the lamp's white over its luminance, d those to D65.
struct Adaptation {
    double luminance;
    double gain[3];
};
Adaptation adaptation_to_d65(const Xyz &white);

// A row's XYZ as linear sRGB, seen under the lamp by an eye adapted to it.
Rgb linear_srgb(const Xyz &xyz, const Adaptation &adaptation);

// Into 0..1 keeping hue and luminance: brighter than white is white, no
// light is black, and otherwise every channel moves towards the luminance
// by the one factor that brings the furthest channel to the edge.
Rgb into_srgb_gamut(const Rgb &linear);

// The sRGB transfer function (IEC 61966-2-1), from linear light in 0..1 to
// the value the display is sent.
double srgb_encode(double linear);

// One colour's XYZ as the display is sent it: linear sRGB, into the gamut,
// encoded.
Rgb true_colour(const Xyz &xyz, const Adaptation &adaptation);

// The true colours of the rows' XYZ, under the lamp whose weights these are.
void compute_true_colours(const Weights &weighted_observer, const RowsXyz &xyz, RowsRgb &colours);

}  // namespace yarx::colour
