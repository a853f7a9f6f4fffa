#include "colour_pick.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <Xm/DrawingA.h>
#include <Xm/Label.h>
#include <Xm/Xm.h>
#include <xcb/xproto.h>

#include <algorithm>

#include "chart/chart_geometry.h"
#include "colour/chart_colours.h"
#include "ui/widget_chores.h"
#include "ui/window_names.h"
#include "ui/xcb_reply.h"

namespace yarx::ui {

namespace {

using chart::ChartView;
using chart::Pick;
using chart::PickOutcome;

Widget pick_line;
Widget swatch;

// A pick under way.  Between the grab and the click the pick waits for a
// button; after the click, for that button's release, when the pointer is
// let go: the press and the release both stay the pick's, and no other
// program sees half a click.
enum class Stage { none, waiting_for_click, waiting_for_release };
struct PickUnderWay {
    Stage stage = Stage::none;
    unsigned int button_down = 0;
    bool keyboard_grabbed = false;
    // The bands as the server gave them when the pick began, which is what
    // the screen shows until the pick ends.
    chart::GivenColour bands[colour::chart_rows];
    PickFinished finished = nullptr;
};
PickUnderWay under_way;

Display *display() { return XtDisplay(pick_line); }

// Grabs the pointer and the keyboard on the whole screen, both asked
// together and so answered in one round trip.  The keyboard is grabbed so
// that Escape comes to the pick wherever the focus is, and never reaches
// the dialog's cancel button; when another program holds the keyboard the
// pick goes on without it, and button 3 still cancels.  False when the
// pointer could not be had.
bool grab(Cursor cursor) {
    xcb_connection_t *c = XGetXCBConnection(display());
    const Window root = RootWindowOfScreen(XtScreen(pick_line));
    const uint16_t buttons = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE;
    const auto pointer_asked =
        xcb_grab_pointer(c, 0, root, buttons, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                         cursor, XCB_CURRENT_TIME);
    const auto keyboard_asked =
        xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_generic_error_t *pointer_error = nullptr, *keyboard_error = nullptr;
    const XcbReply<xcb_grab_pointer_reply_t> pointer(
        xcb_grab_pointer_reply(c, pointer_asked, &pointer_error));
    const XcbError pointer_refusal(pointer_error);
    const XcbReply<xcb_grab_keyboard_reply_t> keyboard(
        xcb_grab_keyboard_reply(c, keyboard_asked, &keyboard_error));
    const XcbError keyboard_refusal(keyboard_error);

    under_way.keyboard_grabbed = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS;
    if (pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS) return true;
    if (under_way.keyboard_grabbed) xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    under_way.keyboard_grabbed = false;
    return false;
}

// Gives back the pointer, and the keyboard if the pick had it.
void let_go() {
    xcb_connection_t *c = XGetXCBConnection(display());
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    if (under_way.keyboard_grabbed) xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    under_way.keyboard_grabbed = false;
    under_way.stage = Stage::none;
    XFlush(display());
}

Screen *screen_of_root(Window root) {
    for (int i = 0; i < ScreenCount(display()); ++i)
        if (RootWindow(display(), i) == root) return ScreenOfDisplay(display(), i);
    return nullptr;
}

// The colour of a pixel of the screen: through the masks of a TrueColor
// visual; on the chart's own screen in another visual, a band's colour if
// it is a band's pixel.  False when the pixel does not tell.
bool colour_of(unsigned long pixel, Screen *screen, const colour::Rgb8 *bands,
               colour::Rgb8 &colour) {
    const Visual *visual = DefaultVisualOfScreen(screen);
    if (visual->c_class == TrueColor) {
        colour =
            chart::colour_of_pixel(pixel, visual->red_mask, visual->green_mask, visual->blue_mask);
        return true;
    }
    if (screen != XtScreen(pick_line)) return false;
    for (int row = 0; row < colour::chart_rows; ++row)
        if (under_way.bands[row].pixel == pixel) {
            colour = bands[row];
            return true;
        }
    return false;
}

// Reads the one pixel under the click from the root window of the screen
// the pointer is on, and finds its colour among the bands as the server
// gave them.
Pick pick_at(const XButtonEvent &click) {
    colour::Rgb8 bands[colour::chart_rows];
    for (int row = 0; row < colour::chart_rows; ++row) {
        const chart::GivenColour &band = under_way.bands[row];
        bands[row] = {colour::eight_bits(band.red), colour::eight_bits(band.green),
                      colour::eight_bits(band.blue)};
    }
    Pick pick;
    pick.outcome = PickOutcome::unreadable;
    Screen *screen = screen_of_root(click.root);
    XImage *image = screen ? XGetImage(display(), click.root, click.x_root, click.y_root, 1, 1,
                                       AllPlanes, ZPixmap)
                           : nullptr;
    if (!image) return pick;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    if (!colour_of(pixel, screen, bands, pick.colour)) return pick;

    pick.outcome = PickOutcome::picked;
    pick.found = true;
    pick.match = chart::match_on_chart(pick.colour, bands);
    // The pixel itself where it means the same here; from another screen,
    // the nearest band's own pixel.
    pick.swatch_pixel =
        screen == XtScreen(pick_line) ? pixel : under_way.bands[pick.match.best().row].pixel;
    return pick;
}

void finish(const Pick &pick) {
    if (under_way.finished) under_way.finished(pick);
}

}  // namespace

// Widget resources read best one name-value pair a line.
// clang-format off
Widget build_pick_line(Widget panel, Widget above, const Resources &resources) {
    // Left of the text, under the reading's margin, stands the swatch; the
    // text begins where the reading's does.
    constexpr int swatch_left = 10, swatch_width = 30;
    pick_line = create_row(
        name_of(ChartWidget::pick_line), xmLabelWidgetClass, panel, above,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left - swatch_left - swatch_width,
        XmNleftOffset, swatch_left + swatch_width);
    // As high as the most lines any of its texts has, two at least, and a
    // line more for one too long for the panel.
    int lines = 2;
    for (const char *text : {resources.pick_template, resources.refused_text,
                             resources.unreadable_text})
        if (lines_in(text) > lines) lines = lines_in(text);
    constexpr int most_lines = 8;
    fix_label_lines(pick_line, (lines < most_lines ? lines : most_lines) + 1);

    Dimension height = 0;
    XtVaGetValues(pick_line, XmNheight, &height, nullptr);
    constexpr int inset = 3;
    swatch = XtVaCreateManagedWidget(
        name_of(ChartWidget::swatch), xmDrawingAreaWidgetClass, panel,
        XmNtraversalOn, False,
        XmNwidth, swatch_width,
        XmNheight, height > 2 * inset ? height - 2 * inset : 1,
        XmNtopAttachment, XmATTACH_WIDGET,
        XmNtopWidget, above,
        XmNtopOffset, inset,
        XmNleftAttachment, XmATTACH_FORM,
        XmNleftOffset, swatch_left,
        nullptr);
    return pick_line;
}
// clang-format on

void show_pick_line(const ChartView &view, const Resources &resources) {
    const Pick &pick = view.pick;
    switch (pick.outcome) {
        case PickOutcome::none:
            set_wrapped_text(pick_line, resources.pick_hint);
            break;
        case PickOutcome::refused:
            set_wrapped_text(pick_line, resources.refused_text);
            return;
        case PickOutcome::unreadable:
            set_wrapped_text(pick_line, resources.unreadable_text);
            return;
        case PickOutcome::picked: {
            char text[512];
            chart::format_match(resources.pick_template, pick.colour, pick.match, text,
                                sizeof text);
            set_wrapped_text(pick_line, text);
            paint_swatch(swatch, pick.swatch_pixel);
            return;
        }
    }
    // Back to the panel's own background.
    Pixel background = 0;
    XtVaGetValues(swatch, XmNbackground, &background, nullptr);
    paint_swatch(swatch, background);
}

void start_pick(const ChartView &view, Cursor cursor, PickFinished finished) {
    if (under_way.stage != Stage::none) return;
    std::copy(view.given, view.given + colour::chart_rows, under_way.bands);
    under_way.finished = finished;
    if (!grab(cursor)) {
        Pick refused;
        refused.outcome = PickOutcome::refused;
        finish(refused);
        XFlush(display());
        return;
    }
    under_way.stage = Stage::waiting_for_click;
}

bool pick_takes_key(const XKeyEvent &key) {
    if (under_way.stage == Stage::none) return false;
    if (under_way.stage == Stage::waiting_for_click && keysym_of(key) == XK_Escape) let_go();
    return true;
}

// Button 1 picks, button 3 cancels; the pointer is let go when that
// button comes up.
bool pick_takes_button(const XButtonEvent &b) {
    if (under_way.stage == Stage::none) return false;
    const bool press = b.type == ButtonPress;
    if (press && under_way.stage == Stage::waiting_for_click &&
        (b.button == Button1 || b.button == Button3)) {
        under_way.button_down = b.button;
        under_way.stage = Stage::waiting_for_release;
        if (b.button == Button1) finish(pick_at(b));
    } else if (!press && under_way.stage == Stage::waiting_for_release &&
               b.button == under_way.button_down) {
        let_go();
    }
    return true;
}

}  // namespace yarx::ui
