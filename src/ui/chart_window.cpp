#include "chart_window.h"

#include <X11/cursorfont.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/ScrolledW.h>
#include <Xm/Separator.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "chart/chart_geometry.h"
#include "chart/notice_image.h"
#include "colour/chart_colours.h"
#include "ui/chart_window_layout.h"
#include "ui/colour_batch.h"
#include "ui/colour_pick.h"
#include "ui/fan_drawing.h"
#include "ui/form_row.h"
#include "ui/plate_line.h"
#include "ui/reading_line.h"
#include "ui/resources.h"
#include "ui/shell_names.h"

namespace yarx::ui {

namespace {

using namespace chart;

// The chart the last OK computed.
colour::ChartColours chart;

// False until the first chart has been drawn: it decides whether the
// drawing context must still be made and whether exposures redraw.
bool chart_drawn = false;

Widget owner;  // the top-level shell, whose window is the setup window
Widget owners_controls[max_controls_kept_clear];  // which the chart should leave clear
int owners_control_count = 0;
Widget chart_window;  // the form inside the dialog shell
Widget scroller;      // the scrolled window that holds the canvas
Widget canvas;
bool shown_before = false;

// The dialog's title resource and the word that marks true colours, read
// once; the title shown adds the illuminant, and that word, to the title.
char title_base[128];
char true_colours_word[64];

// The drawing context, created by the first chart and kept to the end.
Display *display;
Window window;
GC gc;

// Whether the chart carries the birefringence fan, as the last OK asked;
// and the font its labels are drawn in, from the resources.
bool fan_shown = false;
const char *fan_font;

// A draw's colours, asked for all at once: the bands in row order, then
// black and white for the overlay.
constexpr int black_slot = colour::chart_rows;
constexpr int white_slot = black_slot + 1;
static_assert(white_slot + 1 == colours_per_draw);
PendingColour pending[colours_per_draw];
// What the server gave for each of them in the last draw, once taken, and
// whether a draw has given all the bands yet.
GivenColour given[colours_per_draw];
bool taken[colours_per_draw];
bool bands_given = false;
// Whether a pick's marks have been drawn since the margin was last cleared.
bool marks_drawn = false;

// Ends the program over a colour the server would not give: make sure the
// server has seen everything, say so on standard output, exit with 1.  When
// the answer was missing because the connection broke, XSync already ends
// the program through Xlib's I/O error handler, and nothing is printed.
[[noreturn]] void fatal(const char *message) {
    XSync(display, False);
    std::fputs(message, stdout);
    std::fflush(stdout);
    std::exit(1);
}

// Makes the colour answered in the slot the foreground, taking the answer
// the first time; the program does not go on without it.
void set_foreground(int slot, const char *failure_message) {
    if (!taken[slot] && !take_colour(display, pending[slot], given[slot])) fatal(failure_message);
    taken[slot] = true;
    XSetForeground(display, gc, given[slot].pixel);
}

// Asks for every colour of a draw at once, in the default colormap of the
// canvas's screen, whose pixels the canvas shows.
void request_chart_colours() {
    const Colormap colormap = DefaultColormapOfScreen(XtScreen(canvas));
    for (int row = 0; row < colour::chart_rows; ++row) {
        const colour::Rgb &c = chart.colours[row];
        pending[row] = request_colour(display, colormap, colour::colour_value(c.red),
                                      colour::colour_value(c.green), colour::colour_value(c.blue));
    }
    const unsigned short full = colour::full_intensity;
    pending[black_slot] = request_colour(display, colormap, 0, 0, 0);
    pending[white_slot] = request_colour(display, colormap, full, full, full);
    std::fill(std::begin(taken), std::end(taken), false);
}

struct QueuedExposeSearch {
    Window window;
    bool found;
};

Bool note_canvas_expose(Display *, XEvent *event, XPointer arg) {
    auto *search = reinterpret_cast<QueuedExposeSearch *>(arg);
    if (event->type == Expose && event->xexpose.window == search->window) search->found = true;
    return False;  // look only; leave the queue as it is
}

// Whether another exposure of the canvas waits in the queue.
bool canvas_expose_queued() {
    QueuedExposeSearch search{window, false};
    XEvent unused;
    XCheckIfEvent(display, &unused, note_canvas_expose, reinterpret_cast<XPointer>(&search));
    return search.found;
}

// Redraws the whole chart once per burst of exposures: only the last
// exposure of a burst (count 0) draws, and only when no further exposure of
// the canvas is already queued, since that one will draw.  Other pending
// events (focus, configure, property changes from the window manager) do
// not hold the redraw back: skipping for them left the chart unpainted.
void expose_callback(Widget, XtPointer, XtPointer call_data) {
    const auto *cbs = static_cast<XmDrawingAreaCallbackStruct *>(call_data);
    if (!cbs || cbs->reason != XmCR_EXPOSE || !chart_drawn) return;
    if (!cbs->event || cbs->event->xexpose.count != 0) return;
    XEventsQueued(display, QueuedAfterFlush);  // take in what has arrived
    if (canvas_expose_queued()) return;
    draw_chart();
    XFlush(display);
}

// The 1000 bands, row i the line y = band_top + i across the band area,
// each in its own colour.
void draw_bands() {
    for (int row = 0; row < colour::chart_rows; ++row) {
        // Odd as it reads, the message stays: users' scripts look for it.
        set_foreground(row, "QWIB!!!\n");
        const int y = band_top + row;
        XDrawLine(display, window, gc, band_left, y, band_right, y);
    }
    bands_given = true;
}

// The black grid, then in white the order marks, the frame and the notice.
void draw_overlay() {
    const char *const failure = "Can't allocate color map.\n";

    set_foreground(black_slot, failure);
    for (int k = 0; k < grid_lines; ++k) {
        const int y = grid_step * k + band_top;
        XDrawLine(display, window, gc, band_left, y, band_right, y);
    }
    for (int k = 0; k < grid_lines; k += heavy_every) {
        const int y = grid_step * k + band_top + 1;
        XDrawLine(display, window, gc, band_left, y, band_right, y);
    }
    for (int k = 0; k < vertical_lines; ++k) {
        const int x = vertical_step * k + band_left;
        XDrawLine(display, window, gc, x, band_top, x, vertical_bottom);
    }

    set_foreground(white_slot, failure);
    for (int k = 1; k <= order_marks; ++k)
        XDrawLine(display, window, gc, order_mark_left, order_mark_y(k), order_mark_right,
                  order_mark_y(k));
    XDrawRectangle(display, window, gc, frame_x, frame_y, frame_width, frame_height);
    for (int r = 0; r < notice_rows; ++r)
        for (int c = 0; c < notice_columns; ++c)
            if (notice_image[r][c]) {
                const Box cell = notice_cell(r, c);
                XDrawRectangle(display, window, gc, cell.left, cell.top, 2, 1);
            }
}

// The marks of the pick shown, in the white of the last draw.
void draw_pick_marks() {
    const chart::ChartMatch *match = pick_shown();
    if (!match) return;
    XSetForeground(display, gc, given[white_slot].pixel);
    for (int order = 0; order < order_count; ++order) {
        const int y = band_top + match->orders[order].row;
        if (order == match->best_order)
            XFillRectangle(display, window, gc, right_margin.left, y - 1,
                           right_margin.right - right_margin.left + 1, 3);
        else
            XDrawLine(display, window, gc, pick_mark_left, y, right_margin.right, y);
    }
    marks_drawn = true;
}

// Takes the last pick's marks out of the margin, back to the canvas's
// background; the overlay drawn after it puts back its own lines there.
void clear_pick_marks() {
    if (!marks_drawn) return;
    XClearArea(display, window, right_margin.left, 0, canvas_width - right_margin.left,
               canvas_height, False);
    marks_drawn = false;
}

// Everything drawn over the bands, in the colours of the last draw: the
// last pick's marks cleared from the right margin, the overlay, the fan
// when shown (its labels and the end of its axis stand in that margin too),
// and the pick's marks.
void draw_over_the_bands() {
    clear_pick_marks();
    draw_overlay();
    if (fan_shown) draw_fan(display, window, given[black_slot].pixel, given[white_slot].pixel);
    draw_pick_marks();
}

// Names the illuminant in the title, after the dialog's own title: "yarx: D65",
// or "yarx: D65, sRGB" in true colours.
void name_the_chart(const char *illuminant, bool true_colours) {
    char title[256];  // the shell keeps its own copy
    if (true_colours)
        std::snprintf(title, sizeof title, "%s: %s, %s", title_base, illuminant, true_colours_word);
    else
        std::snprintf(title, sizeof title, "%s: %s", title_base, illuminant);
    XtVaSetValues(XtParent(chart_window), XmNtitle, title, nullptr);
}

// Pops the window up: placed beside the setup window and fitted to the
// screen the first time, and later back wherever it was.
void pop_up() {
    if (!shown_before)
        lay_out_chart_window(owner, owners_controls, owners_control_count, chart_window, scroller);
    shown_before = true;
    XtManageChild(chart_window);
}

// The canvas's display and window, and the one graphics context, made once
// the window exists; and its pointer, a crosshair that picks out a row.
void create_drawing_context() {
    display = XtDisplay(canvas);
    window = XtWindow(canvas);
    gc = XCreateGC(display, window, 0, nullptr);
    const Cursor crosshair = XCreateFontCursor(display, XC_crosshair);
    XDefineCursor(display, window, crosshair);
    pick_with_cursor(crosshair);
}

}  // namespace

// Widget resources read best one name-value pair a line.
// clang-format off
void build_chart_window(Widget toplevel) {
    owner = toplevel;
    chart_window = XmCreateFormDialog(toplevel, const_cast<String>(chart_dialog_name), nullptr, 0);

    // Created top to bottom.  The tests find each widget by its place in
    // this order (ChartWidget in xdriver/yarx_windows.h): a new widget goes
    // there too.

    // One "s" short, but users' resources and scripts address it so: keep it.
    Widget dismiss = create_row("canvasdismis", xmPushButtonWidgetClass, chart_window, nullptr);
    // No callback of ours: the dialog's autoUnmanage pops the window down.
    // Return and Escape press it too.
    XtVaSetValues(chart_window,
        XmNdefaultButton, dismiss,
        XmNcancelButton, dismiss,
        nullptr);
    build_pick_button(chart_window, dismiss);

    Widget separator = create_row("canvassep", xmSeparatorWidgetClass, chart_window, dismiss);

    // Outside the scrolled window, so that they stay in sight however the
    // chart scrolls.
    Widget reading = build_reading_line(toplevel, chart_window, separator);
    Widget plate_line = build_plate_line(toplevel, chart_window, reading);
    Widget above_chart = build_pick_line(chart_window, plate_line);

    // The last row, down to the form's bottom.  The canvas scrolls when the
    // window is shorter than the chart; with no scroll bar shown, nothing of
    // the scrolled window can be seen.
    scroller = create_row(
        "canvasscroll", xmScrolledWindowWidgetClass, chart_window, above_chart,
        XmNscrollingPolicy, XmAUTOMATIC,
        XmNscrollBarDisplayPolicy, XmAS_NEEDED,
        XmNshadowThickness, 0,
        XmNspacing, 0,
        XmNscrolledWindowMarginWidth, 0,
        XmNscrolledWindowMarginHeight, 0,
        XmNwidth, canvas_width,
        XmNheight, canvas_height,
        XmNbottomAttachment, XmATTACH_FORM);

    Arg args[2];
    Cardinal n = 0;
    XtSetArg(args[n], XmNwidth, canvas_width); ++n;
    XtSetArg(args[n], XmNheight, canvas_height); ++n;
    canvas = XmCreateDrawingArea(scroller, const_cast<String>("canvas"), args, n);
    XtAddCallback(canvas, XmNexposeCallback, expose_callback, nullptr);
    read_under_pointer(canvas);
    XtManageChild(canvas);
    fan_font = resource_of(canvas, "fanFont", "FanFont", const_cast<String>("fixed"));
    pick_on_key(chart_window);

    Widget shell = XtParent(chart_window);
    String base = nullptr;
    XtVaGetValues(shell, XmNtitle, &base, nullptr);
    std::snprintf(title_base, sizeof title_base, "%s", base ? base : "");
    std::snprintf(true_colours_word, sizeof true_colours_word, "%s",
                  resource_of(shell, "trueColoursTitle", "TrueColoursTitle",
                              const_cast<String>("")));
}
// clang-format on

void keep_chart_clear_of(const Widget *controls, int count) {
    owners_control_count = std::min(count, max_controls_kept_clear);
    std::copy(controls, controls + owners_control_count, owners_controls);
}

void show_chart(int illuminant, const char *label, colour::Rendering rendering, bool fan) {
    colour::compute_chart(illuminant, rendering, chart);
    forget_pick();
    name_the_chart(label, rendering == colour::Rendering::true_colours);
    if (!XtIsManaged(chart_window)) pop_up();
    if (!chart_drawn) create_drawing_context();
    // The bands and the overlay cover what the fan drew inside the frame,
    // but not its labels.
    if (fan_shown && !fan) clear_fan_margins(display, window);
    fan_shown = fan;
    read_thickness_from_fan(fan);
    draw_chart();
    chart_drawn = true;
}

void draw_chart() {
    request_chart_colours();
    if (fan_shown) request_fan_font(display, fan_font);
    draw_bands();
    draw_over_the_bands();
    swatches_follow_chart();
}

const GivenColour *band_colours() { return bands_given ? given : nullptr; }

void redraw_pick_marks() {
    if (!bands_given) return;
    draw_over_the_bands();
    XFlush(display);
}

}  // namespace yarx::ui
