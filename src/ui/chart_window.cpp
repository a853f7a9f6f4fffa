#include "chart_window.h"

#include <X11/cursorfont.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>
#include <Xm/Separator.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

#include "chart/chart_geometry.h"
#include "chart/chart_view.h"
#include "chart/minerals.h"
#include "chart/reading.h"
#include "figure/figure_panel.h"
#include "ui/chart_drawing.h"
#include "ui/chart_window_layout.h"
#include "ui/colour_pick.h"
#include "ui/fan_drawing.h"
#include "ui/figure_window.h"
#include "ui/plate_line.h"
#include "ui/reading_line.h"
#include "ui/save_dialog.h"
#include "ui/widget_chores.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

using chart::ChartView;

// What the window shows.
ChartView view;
const Resources *resources = nullptr;

Widget owner;  // the top-level shell, whose window is the setup window
Widget owners_controls[max_controls_kept_clear];  // which the chart should leave clear
int owners_control_count = 0;
Widget chart_form;
Widget scroller;  // the scrolled window that holds the canvas
Widget canvas;
Widget panel;  // the lines that read the chart

// Made with the first chart, once the canvas has a window, and kept to the
// end; the crosshair is the canvas's pointer and a pick's.
CanvasContext drawing{};
Cursor crosshair = None;

// The whole chart of the view, and the swatches in its new pixels.
void draw() {
    draw_chart(drawing, view, resources->fan_font);
    swatches_follow_chart(view);
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
    QueuedExposeSearch search{drawing.window, false};
    XEvent unused;
    XCheckIfEvent(drawing.display, &unused, note_canvas_expose,
                  reinterpret_cast<XPointer>(&search));
    return search.found;
}

// Redraws the whole chart once per burst of exposures: only the last
// exposure of a burst (count 0) draws, and only when no further exposure of
// the canvas is already queued, since that one will draw.  Other pending
// events (focus, configure, property changes from the window manager) do
// not hold the redraw back: skipping for them left the chart unpainted.
void expose_callback(Widget, XtPointer, XtPointer call_data) {
    const auto *cbs = static_cast<XmDrawingAreaCallbackStruct *>(call_data);
    if (!cbs || cbs->reason != XmCR_EXPOSE || !view.drawn) return;
    if (!cbs->event || cbs->event->xexpose.count != 0) return;
    XEventsQueued(drawing.display, QueuedAfterFlush);  // take in what has arrived
    if (canvas_expose_queued()) return;
    draw();
    XFlush(drawing.display);
}

// The reading lines read the row under the pointer, at the fan's thickness
// there when the fan is shown; a move that changes neither row nor
// thickness changes nothing.
void read_at(int x, int y) {
    const int row = chart::row_under(x, y);
    if (row == chart::no_row) return;
    const double thickness = chart::thickness_under(x, view.fan_shown, view.thickness_um);
    if (row == view.reading.row && thickness == view.reading.thickness_um) return;
    view.reading = {row, x, thickness};
    show_reading(view, *resources);
    show_plate(view, *resources);
}

// Motion alone, without hints: a hint would cost a QueryPointer, a round
// trip, for every move.  Entering reads too, since the pointer may come to
// rest on the first row it enters.
void pointer_callback(Widget, XtPointer, XEvent *event, Boolean *) {
    int x = 0, y = 0;
    if (pointer_now(*event, x, y)) read_at(x, y);
}

// The wheel over the canvas scrolls it, when it scrolls at all: a notch is
// 200 nm of the chart.
void wheel_callback(Widget, XtPointer, XEvent *event, Boolean *) {
    constexpr int rows_a_notch = 2 * chart::grid_step;
    if (event->type != ButtonPress) return;
    const unsigned int button = event->xbutton.button;
    if (button != Button4 && button != Button5) return;
    Widget bar = nullptr;
    XtVaGetValues(scroller, XmNverticalScrollBar, &bar, nullptr);
    if (!bar || !XtIsManaged(bar)) return;
    int value = 0, slider = 0, increment = 0, page = 0, least = 0, most = 0;
    XmScrollBarGetValues(bar, &value, &slider, &increment, &page);
    XtVaGetValues(bar, XmNminimum, &least, XmNmaximum, &most, nullptr);
    value += button == Button5 ? rows_a_notch : -rows_a_notch;
    value = std::clamp(value, least, std::max(least, most - slider));
    XmScrollBarSetValues(bar, value, slider, increment, page, True);
}

// A pick's answer: the line says it, and a colour found is marked in the
// margin, in the colours of the last draw.
void pick_finished(const chart::Pick &pick) {
    if (pick.found)
        view.pick = pick;
    else
        view.pick.outcome = pick.outcome;
    show_pick_line(view, *resources);
    if (!pick.found) return;
    draw_over_the_bands(drawing, view);
    XFlush(drawing.display);
}

void start_picking() {
    if (view.drawn) start_pick(view, crosshair, pick_finished);
}

// Forgets the pick: the line shows its hint again, and the next draw
// leaves the marks out.
void forget_pick() {
    if (view.pick.outcome == chart::PickOutcome::none && !view.pick.found) return;
    view.pick = {};
    show_pick_line(view, *resources);
}

// The save dialog's OK and its question's Replace: the file takes the
// chart shown now.
void save_chosen_callback(Widget, XtPointer, XtPointer) { save_chosen(view); }

void start_saving() {
    if (view.drawn) ask_where_to_save(chart_form, view, save_chosen_callback);
}

void pick_callback(Widget, XtPointer, XtPointer) { start_picking(); }
void save_callback(Widget, XtPointer, XtPointer) { start_saving(); }
void pick_action(Widget, XEvent *, String *, Cardinal *) { start_picking(); }
void save_action(Widget, XEvent *, String *, Cardinal *) { start_saving(); }

// The chart window's keys, wherever its keyboard focus is, a line each:
// the toolkit's translations, for actions of the program's own.  Escape
// is the dialog's, which presses Dismiss, its cancel button.
void figure_action(Widget, XEvent *, String *, Cardinal *);
// clang-format off
constexpr KeyBinding chart_keys[] = {
    //  event                  action         proc
    { "~Ctrl ~Mod1 <Key>p",    "chartPick",   pick_action },
    { "Ctrl ~Mod1 <Key>s",     "chartSave",   save_action },
    { "~Ctrl ~Mod1 <Key>f",    "chartFigure", figure_action },
};
// clang-format on

// The figure of the first mineral the reading names now, or of the one
// shown last when it names none, at the section's thickness under the
// chart's lamp and in its colours.
void open_figure() {
    if (!view.drawn) return;
    const figure::MineralOptics *candidate = nullptr;
    const chart::PointerReading &r = view.reading;
    if (r.row != chart::no_row && r.thickness_um >= chart::least_thickness_um)
        candidate = figure::first_with_figure(
            chart::candidates_for(colour::retardation_step_nm * r.row / (1000 * r.thickness_um)));
    show_figure({view.illuminant, view.rendering, view.thickness_um, view.plate_nm, candidate});
}

void figure_callback(Widget, XtPointer, XtPointer) { open_figure(); }
void figure_action(Widget, XEvent *, String *, Cardinal *) { open_figure(); }

void unmap_callback(Widget, XtPointer, XtPointer) { forget_pick(); }

// Names the illuminant in the title, after the resources' title: "yarx: D65",
// or "yarx: D65, sRGB" in true colours.
void name_the_chart(const char *illuminant) {
    char title[256];  // the shell keeps its own copy
    if (view.true_colours())
        std::snprintf(title, sizeof title, "%s: %s, %s", resources->chart_title, illuminant,
                      resources->true_colours_title);
    else
        std::snprintf(title, sizeof title, "%s: %s", resources->chart_title, illuminant);
    XtVaSetValues(XtParent(chart_form), XmNtitle, title, nullptr);
}

// The panel's lines say what they have to say before the first chart, in
// the width the window gave the panel.
void show_hints() {
    show_reading_hint(*resources);
    show_plate_hint(view, *resources);
    show_pick_line(view, *resources);
    show_save_hint();
}

// Pops the window up: placed beside the setup window and fitted to the
// screen before the first chart, and later back wherever it was.
void pop_up() {
    if (!view.drawn)
        lay_out_chart_window(owner, owners_controls, owners_control_count,
                             {chart_form, scroller, panel}, *resources);
    XtManageChild(chart_form);
    if (!view.drawn) show_hints();
}

// The canvas's display and window and the one graphics context, made once
// the window exists; and its pointer, a crosshair that picks out a row.
void create_drawing_context() {
    Display *display = XtDisplay(canvas);
    const Window window = XtWindow(canvas);
    drawing = {display, window, XCreateGC(display, window, 0, nullptr),
               DefaultColormapOfScreen(XtScreen(canvas))};
    crosshair = XCreateFontCursor(display, XC_crosshair);
    XDefineCursor(display, window, crosshair);
}

// Widget resources read best one name-value pair a line.
// clang-format off

// Dismiss, Pick colour, Save and Figure side by side along the top.  Dismiss has
// no callback of ours: the dialog's autoUnmanage pops the window down, and
// Return and Escape press it too.  The dialog pops down at any of its
// buttons; the others take that callback off.
Widget build_button_row() {
    Widget dismiss = create_button(name_of(ChartWidget::dismiss), chart_form, nullptr, 0, 25);
    XtVaSetValues(chart_form,
        XmNdefaultButton, dismiss,
        XmNcancelButton, dismiss,
        nullptr);
    Widget pick = create_button(name_of(ChartWidget::pick), chart_form, nullptr, 25, 50);
    XtRemoveAllCallbacks(pick, XmNactivateCallback);
    XtAddCallback(pick, XmNactivateCallback, pick_callback, nullptr);
    Widget save = create_button(name_of(ChartWidget::save), chart_form, nullptr, 50, 75);
    XtRemoveAllCallbacks(save, XmNactivateCallback);
    XtAddCallback(save, XmNactivateCallback, save_callback, nullptr);
    Widget figure = create_button(name_of(ChartWidget::figure), chart_form, nullptr, 75, 100);
    XtRemoveAllCallbacks(figure, XmNactivateCallback);
    XtAddCallback(figure, XmNactivateCallback, figure_callback, nullptr);
    return dismiss;
}

// The canvas in a scrolled window, under the separator down to the form's
// bottom, as wide as the canvas: its right edge is attached to the form's
// left, at that offset, so that no child's wish for a size of its own
// moves it.  It scrolls when the window is shorter than the chart; with no
// scroll bar shown, nothing of the scrolled window can be seen.
void build_canvas(Widget separator) {
    scroller = XtVaCreateManagedWidget(
        name_of(ChartWidget::scroller), xmScrolledWindowWidgetClass, chart_form,
        XmNscrollingPolicy, XmAUTOMATIC,
        XmNscrollBarDisplayPolicy, XmAS_NEEDED,
        XmNshadowThickness, 0,
        XmNspacing, 0,
        XmNscrolledWindowMarginWidth, 0,
        XmNscrolledWindowMarginHeight, 0,
        XmNwidth, chart::canvas_width,
        XmNheight, chart::canvas_height,
        XmNtopAttachment, XmATTACH_WIDGET,
        XmNtopWidget, separator,
        XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_OPPOSITE_FORM,
        XmNrightOffset, -chart::canvas_width,
        XmNbottomAttachment, XmATTACH_FORM,
        nullptr);

    Arg args[2];
    Cardinal n = 0;
    XtSetArg(args[n], XmNwidth, chart::canvas_width); ++n;
    XtSetArg(args[n], XmNheight, chart::canvas_height); ++n;
    canvas = XmCreateDrawingArea(scroller, const_cast<String>(name_of(ChartWidget::canvas)),
                                 args, n);
    XtAddCallback(canvas, XmNexposeCallback, expose_callback, nullptr);
    XtAddEventHandler(canvas, PointerMotionMask | EnterWindowMask, False, pointer_callback,
                      nullptr);
    XtAddEventHandler(canvas, ButtonPressMask, False, wheel_callback, nullptr);
    XtManageChild(canvas);
}

// The lines that read the chart, in a panel right of the canvas, as wide as
// its longest line: they stay in sight however the chart scrolls.  The
// panel takes the rest of the form's width, what the window gains or
// loses beside the canvas; its lines wrap where a text is longer.
void build_panel(Widget separator) {
    panel = XtVaCreateManagedWidget(
        name_of(ChartWidget::panel), xmFormWidgetClass, chart_form,
        XmNwidth, chart::canvas_width,
        XmNresizePolicy, XmRESIZE_NONE,
        XmNtopAttachment, XmATTACH_WIDGET,
        XmNtopWidget, separator,
        XmNleftAttachment, XmATTACH_WIDGET,
        XmNleftWidget, scroller,
        XmNrightAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM,
        nullptr);
    Widget reading = build_reading_line(panel, *resources);
    Widget plate = build_plate_line(panel, reading, view);
    Widget pick_line = build_pick_line(panel, plate, *resources);
    Widget save_line = build_save_line(panel, pick_line, *resources);
    const int longest = std::max({width_for(reading, resources->reading_hint),
                                  plate_line_width(view, *resources),
                                  width_for(pick_line, resources->pick_hint),
                                  width_for(save_line, resources->save_hint)});
    XtVaSetValues(panel, XmNwidth, longest, nullptr);
}
// clang-format on

}  // namespace

Widget create_chart_dialog(Widget toplevel) {
    owner = toplevel;
    chart_form = XmCreateFormDialog(toplevel, const_cast<String>(chart_dialog_name), nullptr, 0);
    return chart_form;
}

// Created in the order of the chart window's table (ui/window_names.h).
void build_chart_window(Widget form, const Resources &from_resources) {
    chart_form = form;
    resources = &from_resources;
    read_section(owner, view);

    Widget dismiss = build_button_row();
    Widget separator =
        create_row(name_of(ChartWidget::separator), xmSeparatorWidgetClass, chart_form, dismiss);
    build_canvas(separator);
    build_panel(separator);
    XtAddCallback(chart_form, XmNunmapCallback, unmap_callback, nullptr);
    bind_keys(chart_form, chart_keys, static_cast<int>(std::size(chart_keys)));
}

void keep_chart_clear_of(const Widget *controls, int count) {
    owners_control_count = std::min(count, max_controls_kept_clear);
    std::copy(controls, controls + owners_control_count, owners_controls);
}

void show_chart(const ChartRequest &request) {
    view.illuminant = request.illuminant;
    view.rendering = request.rendering;
    view.fan_shown = request.fan;
    colour::compute_chart(view.illuminant, view.rendering, view.chart);
    forget_pick();
    name_the_chart(request.label);
    if (!XtIsManaged(chart_form)) pop_up();
    if (!view.drawn) create_drawing_context();
    draw();
    offer_name_for(view);
    figure_follows_chart(view.illuminant, view.rendering);
}

void mark_chart_retardation(double retardation_nm) {
    if (!view.drawn || !XtIsManaged(chart_form)) return;
    const long row = std::lround(retardation_nm / colour::retardation_step_nm);
    mark_figure_row(
        drawing, view,
        retardation_nm < 0 || row > chart::last_row ? chart::no_row : static_cast<int>(row));
    XFlush(drawing.display);
}

void redraw_chart() {
    if (view.drawn) draw();
}

}  // namespace yarx::ui
