// The chart window: a form dialog with a Dismiss button, a Pick colour
// button, the reading line, the plate's line, the pick line and a drawing
// area that shows the 1000 bands of the chart colour table, the grid, the
// order marks, the frame and the notice image, the birefringence fan when
// OK asks for it, and a pick's marks, redrawn in full on every exposure.
#pragma once

#include <X11/Intrinsic.h>

#include "colour/chart_colours.h"
#include "ui/colour_batch.h"

namespace yarx::ui {

// Builds the dialog and its children, unmanaged, under the top-level shell.
void build_chart_window(Widget toplevel);

// The setup window's controls, which the chart window, when it is first
// placed beside the setup window, should leave clear; up to eight.
void keep_chart_clear_of(const Widget *controls, int count);

// Shows the chart colour table, as OK does once it has computed it: names
// the illuminant in the title, and says so there when the colours are the
// true colours of an sRGB display; pops the window up if it is down
// (placing it beside the setup window the first time), creates the drawing
// context on the first chart, and draws the whole chart, with the
// birefringence fan over it when asked, on this and every redraw until
// the next OK.
void show_chart(int illuminant, const char *label, colour::Rendering rendering, bool fan);

// Draws the whole chart in place, as an exposure does: asks the server for
// all its colours at once, then draws the bands, the overlay and the fan
// when it is shown, with them, and has the plate's swatches take the
// bands' new pixels.  Only once a chart has been shown.
void draw_chart();

// The bands' colours as the last draw got them from the server, in row
// order; nullptr before the first chart.
const GivenColour *band_colours();

// Draws the marks of the pick shown (colour_pick.h) in place of those
// before, with the colours of the last draw: nothing asked of the server.
void redraw_pick_marks();

}  // namespace yarx::ui
