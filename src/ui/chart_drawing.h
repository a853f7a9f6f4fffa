// The chart drawn into the canvas: the 1000 bands of the view's chart, the
// grid, the order marks, the frame and the notice image, the birefringence
// fan when the view shows it, and the last pick's marks; all straight into
// the window, with one graphics context, in the colours one batch of
// requests asks the server for.
#pragma once

#include <X11/Xlib.h>

#include "chart/chart_view.h"

namespace yarx::ui {

// Where the chart is drawn: the canvas's display and window, the one
// graphics context, and the colormap of the canvas's screen, whose pixels
// the window shows.
struct CanvasContext {
    Display *display;
    Window window;
    GC gc;
    Colormap colormap;
};

// Draws the whole chart of the view: asks the server for all its colours
// at once, notes what it gave in the view, then draws the bands and
// everything over them.  A colour refused ends the program with status 1,
// after the chart's message on standard output.
void draw_chart(const CanvasContext &canvas, chart::ChartView &view, const char *fan_font);

// Draws everything over the bands again in the colours of the last draw,
// nothing asked of the server: the last pick's marks taken out of the
// margin, the overlay, the fan when shown and the marks of the pick shown.
void draw_over_the_bands(const CanvasContext &canvas, chart::ChartView &view);

// Marks the row on the right margin, where the figure window reads its
// retardation, and takes the last such mark away (no_row: only that).
// Drawn inverting what stands there, so that drawing it again takes it
// away: nothing asked of the server, nothing else redrawn.
void mark_figure_row(const CanvasContext &canvas, chart::ChartView &view, int row);

}  // namespace yarx::ui
