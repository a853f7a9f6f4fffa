// The chart window: a form dialog with a Dismiss button and a drawing area
// that shows the 1000 bands of the chart colour table, the grid, the order
// marks, the frame and the notice image, redrawn in full on every exposure.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// Nonzero once the first chart has been drawn.
extern int chart_drawn;

// Builds the dialog and its children, unmanaged, under the top-level shell.
void build_chart_window(Widget toplevel);

bool chart_window_is_managed();
// Pops the window up.  The first time, it is placed beside the setup window
// and fitted to the screen; later it comes back wherever it was.
void manage_chart_window();

// Names the illuminant in the window's title, after the dialog's own title
// ("yarx: D65").
void set_chart_title(const char *illuminant);

// Takes the canvas's display and window and creates the one graphics context.
// The window must exist, so call it after the dialog has been managed.
void create_drawing_context();

// Draws the whole chart: asks the server for all its colours at once, then
// draws the bands and the overlay with them.
void draw_chart();

// Draws rows first..last of the chart colour table, width pixels wide,
// x_offset pixels right of the band area's left edge, in the colours
// draw_chart asked for.
void draw_bands(int first, int last, int x_offset, int width);

// Draws the grid, the order marks, the frame and the notice image, in the
// black and white draw_chart asked for.
void draw_overlay();

}  // namespace yarx::ui
