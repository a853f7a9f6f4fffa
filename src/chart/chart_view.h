// What the chart window shows, as one value: the chart the last OK asked
// for and its colours, the colours the server gave for them, where the
// reading lines read, and the last pick.  The chart window owns the one
// view; whatever draws or writes the chart reads it.  No X: a pixel is a
// number here.
#pragma once

#include "chart/chart_geometry.h"
#include "chart/colour_match.h"
#include "chart/reading.h"
#include "colour/chart_colours.h"
#include "colour/cielab.h"

namespace yarx::chart {

// A colour as the server gave it: its pixel, and the 16-bit values of the
// colour it stands for, which the screen may have rounded.
struct GivenColour {
    unsigned long pixel;
    unsigned short red, green, blue;
};

// Where the reading lines read: the row and the column under the pointer
// when they last read, and the thickness they read at.
struct PointerReading {
    int row = no_row;
    int column = 0;
    double thickness_um = 0;
};

// What the last pick came to: nothing yet (the line shows its hint), a
// colour found on the chart, the pointer held by another program, or a
// pixel that does not tell its colour.
enum class PickOutcome { none, picked, refused, unreadable };

// The pick line says the last outcome; the colour last found, its match
// and the pixel its swatch shows stay until the next pick finds one, or the
// next OK or Dismiss forgets it.
struct Pick {
    PickOutcome outcome = PickOutcome::none;
    bool found = false;
    colour::Rgb8 colour{};
    ChartMatch match{};
    unsigned long swatch_pixel = 0;
};

struct ChartView {
    // What the last OK asked for: illuminant 0 before the first.
    int illuminant = 0;
    colour::Rendering rendering = colour::Rendering::cie_rgb;
    bool fan_shown = false;

    // The section's thickness, which the reading reads at, the fan dashes
    // and a saved chart names; and the accessory plate.  Read from the
    // resources once, and kept here alone.
    double thickness_um = default_thickness_um;
    double plate_nm = default_plate_nm;

    // The chart computed for the illuminant and rendering.
    colour::ChartColours chart;

    // What the server gave for the colours the last draw asked for, in the
    // order it asks: the bands in row order, then black, then white; and
    // whether a draw has taken them all.
    GivenColour given[colours_per_draw] = {};
    bool drawn = false;

    PointerReading reading;

    Pick pick;
    // Whether the canvas shows the pick's marks, or the fan's labels in the
    // margins, which a draw without them must clear.
    bool marks_on_canvas = false;
    bool fan_on_canvas = false;

    // The row whose retardation the figure window reads under the pointer,
    // marked on the right margin; and whether the canvas shows the mark.
    int figure_row = no_row;
    bool figure_mark_on_canvas = false;

    const GivenColour &band(int row) const { return given[row]; }
    const GivenColour &black() const { return given[colour::chart_rows]; }
    const GivenColour &white() const { return given[colour::chart_rows + 1]; }
    bool true_colours() const { return rendering == colour::Rendering::true_colours; }
};

}  // namespace yarx::chart
