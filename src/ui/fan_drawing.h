// The birefringence fan drawn over the chart (chart/fan_geometry.h): the
// lines of constant birefringence and the section's thickness in dashes of
// the draw's own white and black, which read on every band, light or dark;
// the lines' labels and the thickness axis in white in the margins.  Its own
// graphics context, so that the chart's stays as it always was.
#pragma once

#include <X11/Xlib.h>

namespace yarx::ui {

// Sends for the font of the fan's labels the first time, without waiting
// for the answer: a draw with the fan sends it along with its colours, and
// the answer comes back with theirs.  Later calls send nothing.  The name
// must last: a font the server lacks is named in a warning when its answer
// is taken.
void request_fan_font(Display *display, const char *font_name);

// Draws the fan over the chart just drawn in the window, with the draw's
// black and white pixels, the section's thickness dashed where the bands
// reach it; the labels only once a font has been had.
void draw_fan(Display *display, Window window, unsigned long black, unsigned long white,
              double thickness_um);

// Clears the margins where the fan writes back to the canvas's background,
// before a chart without it is drawn over.
void clear_fan_margins(Display *display, Window window);

}  // namespace yarx::ui
