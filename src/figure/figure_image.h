// An interference figure as an image: every pixel's retardation Gamma and
// slow azimuth phi from the optics, and its colour from the light that
// reaches the analyser, integrated by the chart's observer under the
// chart's lamp and shown in the chart's rendering.
//
// Polariser east-west, analyser north-south; the accessory plate of
// retardation P, slow direction NE-SW, between the grain and the analyser.
// With the Jones matrices of the grain and the plate, the fraction of the
// light passed at a wavelength is
//
//   T = sin^2 dp/2 + (S^2/2) cos dp (1 - cos ds) + (S/2) sin dp sin ds,
//
// with S = sin 2 phi, ds = 2 pi Gamma / lambda and dp = 2 pi P / lambda;
// without the plate, sin^2 2 phi sin^2(pi Gamma / lambda).  A pixel's XYZ is
// thus steady + S^2 square(Gamma) + S odd(Gamma): three spectral terms, the
// last two tabulated over Gamma on the chart's 2.5 nm rows, so that a pixel
// costs a look-up instead of 81 wavelengths.  The chart's pi (3.1416) in the
// phases: a pixel with phi = 45 degrees and no plate has the colour of the
// chart's band at Gamma.
//
// No allocation: the workspace and the image are the caller's.
#pragma once

#include "colour/chart_colours.h"
#include "colour/true_colours.h"
#include "figure/optics.h"

namespace yarx::figure {

using colour::Rgb8;
using colour::Xyz;

// Rows of the tables over Gamma, 2.5 nm apart: up to about 40 000 nm; a
// figure that reaches beyond takes rows as far apart as it needs.
constexpr int greatest_table_rows = 16384;

// The tables and the chart's scale, kept between figures: a figure that
// changes only its geometry reuses them.  Some 800 KiB: keep it in static
// storage, as the program keeps its other objects.
struct Workspace {
    // What the tables were made for.
    int illuminant = -1;
    double plate_nm = -1;
    double step_nm = 0;
    int rows = 0;
    double chart_scale = 0;  // the chart's largest component, for its colours
    int scale_illuminant = -1;
    colour::Weights weighted_observer;
    colour::Adaptation adaptation;
    Xyz steady;
    Xyz square[greatest_table_rows];
    Xyz odd[greatest_table_rows];
    colour::RowsXyz chart_xyz;  // for the chart's scale
};

// Makes the tables for the settings' illuminant and plate, reaching the
// greatest retardation the settings' figure can show (when they do not
// already).
void prepare_tables(const Settings &settings, Workspace &workspace);

// The XYZ and the colour of light of retardation Gamma and slow azimuth
// sin 2 phi = S, from tables prepared for the settings.
Xyz light_at(const Workspace &workspace, double retardation_nm, double sin_2phi);
Rgb8 colour_at(const Workspace &workspace, colour::Rendering rendering, double retardation_nm,
               double sin_2phi);

// A figure of settings.size pixels a side into pixels, settings.size^2 of
// them row by row from the top left; black outside the field.
void compute_figure(const Settings &settings, Workspace &workspace, Rgb8 *pixels);

// A figure's pixels at the largest size (12 MiB; static storage too).
struct Image {
    int size;
    Rgb8 pixels[greatest_size * greatest_size];
};
void compute_figure(const Settings &settings, Workspace &workspace, Image &image);

}  // namespace yarx::figure
