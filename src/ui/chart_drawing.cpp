#include "chart_drawing.h"

#include <cstdio>
#include <cstdlib>

#include "chart/chart_geometry.h"
#include "chart/notice_image.h"
#include "colour/chart_colours.h"
#include "ui/colour_batch.h"
#include "ui/fan_drawing.h"

namespace yarx::ui {

namespace {

using namespace chart;

// A draw's colours, asked for all at once: the bands in row order, then
// black for the grid, then white for the order marks, the frame and the
// notice; each answer taken when it is first needed.
constexpr int black_slot = colour::chart_rows;
constexpr int white_slot = black_slot + 1;
static_assert(white_slot + 1 == colours_per_draw);

struct DrawBatch {
    PendingColour pending[colours_per_draw];
    bool taken[colours_per_draw];
};

// Ends the program over a colour the server would not give: make sure the
// server has seen everything, say so on standard output, exit with 1.  When
// the answer was missing because the connection broke, XSync already ends
// the program through Xlib's I/O error handler, and nothing is printed.
[[noreturn]] void fatal(Display *display, const char *message) {
    XSync(display, False);
    std::fputs(message, stdout);
    std::fflush(stdout);
    std::exit(1);
}

void request_colours(const CanvasContext &canvas, const ChartView &view, DrawBatch &batch) {
    for (int row = 0; row < colour::chart_rows; ++row) {
        const colour::Rgb &c = view.chart.colours[row];
        batch.pending[row] =
            request_colour(canvas.display, canvas.colormap, colour::colour_value(c.red),
                           colour::colour_value(c.green), colour::colour_value(c.blue));
        batch.taken[row] = false;
    }
    const unsigned short full = colour::full_intensity;
    batch.pending[black_slot] = request_colour(canvas.display, canvas.colormap, 0, 0, 0);
    batch.pending[white_slot] = request_colour(canvas.display, canvas.colormap, full, full, full);
    batch.taken[black_slot] = batch.taken[white_slot] = false;
}

// Makes the colour answered in the slot the foreground, taking the answer
// into the view the first time; the program does not go on without it.
void set_foreground(const CanvasContext &canvas, ChartView &view, DrawBatch &batch, int slot,
                    const char *failure_message) {
    if (!batch.taken[slot] && !take_colour(canvas.display, batch.pending[slot], view.given[slot]))
        fatal(canvas.display, failure_message);
    batch.taken[slot] = true;
    XSetForeground(canvas.display, canvas.gc, view.given[slot].pixel);
}

// The 1000 bands, row i the line y = band_top + i across the band area,
// each in its own colour.
void draw_bands(const CanvasContext &canvas, ChartView &view, DrawBatch &batch) {
    for (int row = 0; row < colour::chart_rows; ++row) {
        // Odd as it reads, the message stays: users' scripts look for it.
        set_foreground(canvas, view, batch, row, "QWIB!!!\n");
        const int y = band_top + row;
        XDrawLine(canvas.display, canvas.window, canvas.gc, band_left, y, band_right, y);
    }
}

// The black grid, then in white the order marks, the frame and the notice.
void draw_overlay(const CanvasContext &canvas, ChartView &view, DrawBatch &batch) {
    const char *const failure = "Can't allocate color map.\n";
    Display *d = canvas.display;
    const Window w = canvas.window;
    const GC gc = canvas.gc;

    set_foreground(canvas, view, batch, black_slot, failure);
    for (int k = 0; k < grid_lines; ++k) {
        const int y = grid_step * k + band_top;
        XDrawLine(d, w, gc, band_left, y, band_right, y);
    }
    for (int k = 0; k < grid_lines; k += heavy_every) {
        const int y = grid_step * k + band_top + 1;
        XDrawLine(d, w, gc, band_left, y, band_right, y);
    }
    for (int k = 0; k < vertical_lines; ++k) {
        const int x = vertical_step * k + band_left;
        XDrawLine(d, w, gc, x, band_top, x, vertical_bottom);
    }

    set_foreground(canvas, view, batch, white_slot, failure);
    for (int k = 1; k <= order_marks; ++k)
        XDrawLine(d, w, gc, order_mark_left, order_mark_y(k), order_mark_right, order_mark_y(k));
    XDrawRectangle(d, w, gc, frame_x, frame_y, frame_width, frame_height);
    for (int r = 0; r < notice_rows; ++r)
        for (int c = 0; c < notice_columns; ++c)
            if (notice_image[r][c]) {
                const Box cell = notice_cell(r, c);
                XDrawRectangle(d, w, gc, cell.left, cell.top, 2, 1);
            }
}

// The marks of the pick shown, in the white of the last draw.
void draw_pick_marks(const CanvasContext &canvas, ChartView &view) {
    if (!view.pick.found) return;
    const ChartMatch &match = view.pick.match;
    XSetForeground(canvas.display, canvas.gc, view.white().pixel);
    for (int order = 0; order < order_count; ++order) {
        const int y = band_top + match.orders[order].row;
        if (order == match.best_order)
            XFillRectangle(canvas.display, canvas.window, canvas.gc, right_margin.left, y - 1,
                           right_margin.right - right_margin.left + 1, 3);
        else
            XDrawLine(canvas.display, canvas.window, canvas.gc, pick_mark_left, y,
                      right_margin.right, y);
    }
    view.marks_on_canvas = true;
}

// The figure's mark across the right margin, inverted over what stands
// there: white on the black margin.  The canvas then shows a mark that the
// next draw must clear.
void invert_figure_mark(const CanvasContext &canvas, ChartView &view) {
    const int y = band_top + view.figure_row;
    XSetFunction(canvas.display, canvas.gc, GXxor);
    XSetForeground(canvas.display, canvas.gc, view.white().pixel ^ view.black().pixel);
    XDrawLine(canvas.display, canvas.window, canvas.gc, right_margin.left, y, right_margin.right,
              y);
    XSetFunction(canvas.display, canvas.gc, GXcopy);
    view.figure_mark_on_canvas = !view.figure_mark_on_canvas;
    view.marks_on_canvas = true;
}

// Takes the last pick's marks out of the margin, back to the canvas's
// background; the overlay drawn after it puts back its own lines there.
void clear_pick_marks(const CanvasContext &canvas, ChartView &view) {
    if (!view.marks_on_canvas) return;
    XClearArea(canvas.display, canvas.window, right_margin.left, 0,
               canvas_width - right_margin.left, canvas_height, False);
    view.marks_on_canvas = false;
}

// The overlay in the colours of the batch, whose answers may still be
// coming in, and what stands over it.  The bands and the overlay cover what
// the fan drew inside the frame, but not its labels in the margins.
void draw_over(const CanvasContext &canvas, ChartView &view, DrawBatch &batch) {
    clear_pick_marks(canvas, view);
    if (view.fan_on_canvas && !view.fan_shown) clear_fan_margins(canvas.display, canvas.window);
    draw_overlay(canvas, view, batch);
    if (view.fan_shown)
        draw_fan(canvas.display, canvas.window, view.black().pixel, view.white().pixel,
                 view.thickness_um);
    view.fan_on_canvas = view.fan_shown;
    draw_pick_marks(canvas, view);
    view.figure_mark_on_canvas = false;  // the margin was drawn afresh
    if (view.figure_row != no_row) invert_figure_mark(canvas, view);
}

}  // namespace

void draw_chart(const CanvasContext &canvas, ChartView &view, const char *fan_font) {
    DrawBatch batch;
    request_colours(canvas, view, batch);
    if (view.fan_shown) request_fan_font(canvas.display, fan_font);
    draw_bands(canvas, view, batch);
    draw_over(canvas, view, batch);
    view.drawn = true;
}

void draw_over_the_bands(const CanvasContext &canvas, ChartView &view) {
    DrawBatch batch;
    for (bool &taken : batch.taken) taken = true;  // the last draw's answers
    draw_over(canvas, view, batch);
}

void mark_figure_row(const CanvasContext &canvas, ChartView &view, int row) {
    if (row == view.figure_row) return;
    if (view.figure_mark_on_canvas) invert_figure_mark(canvas, view);
    view.figure_row = row;
    if (row != no_row) invert_figure_mark(canvas, view);
}

}  // namespace yarx::ui
