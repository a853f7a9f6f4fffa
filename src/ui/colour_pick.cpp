#include "colour_pick.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <Xm/DrawingA.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/Xm.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <cstddef>

#include "chart/chart_geometry.h"
#include "chart/text_writer.h"
#include "colour/chart_colours.h"
#include "ui/chart_window.h"
#include "ui/form_row.h"
#include "ui/resources.h"
#include "ui/xcb_reply.h"

namespace yarx::ui {

namespace {

Widget chart_shell;  // the dialog's shell: P anywhere under it picks
Widget pick_line;
Widget swatch;
Cursor pick_cursor = None;

// The resources' words: the hint the line shows without a pick, the
// template of a match (chart/colour_match.h), and what the line says when
// the pointer could not be had or the pixel not be read.
String hint_text = const_cast<String>("");
String match_template = const_cast<String>("%h: %b\n%a");
String refused_text = const_cast<String>("");
String unreadable_text = const_cast<String>("");

// Between the grab and the click the program waits for a button; after
// the click, for that button's release, when the pointer is let go: the
// press and the release both stay ours, and no other program sees half a
// click.
enum class Pick { none, waiting_for_click, waiting_for_release };
Pick pick = Pick::none;
unsigned int button_down = 0;
bool keyboard_grabbed = false;

// The last pick's answer, and whether the line shows anything but its hint.
chart::ChartMatch match;
bool match_shown = false;
bool line_changed = false;

// The bands as the canvas shows them, in 8 bits, at the pick.
colour::Rgb8 band_rgb[colour::chart_rows];

// Each event type's dispatcher before ours, which ours hands on to.
XtEventDispatchProc key_dispatcher_before, press_dispatcher_before, release_dispatcher_before;

Display *display() { return XtDisplay(pick_line); }

// The most lines the pick line makes room for.
constexpr int max_lines = 8;

// The label keeps its own copy; the XmString is given back at once.  A
// newline in the text starts a new line of the label.
void show_text(const char *text) {
    XmString label = XmStringCreateLocalized(const_cast<char *>(text));
    XtVaSetValues(pick_line, XmNlabelString, label, nullptr);
    XmStringFree(label);
    line_changed = true;
}

// The swatch is the bare window's background: set straight on it, it
// costs one request and makes the toolkit work out no shadow colours.
void paint_swatch(unsigned long pixel) {
    if (!XtIsRealized(swatch)) return;
    XSetWindowBackground(display(), XtWindow(swatch), pixel);
    XClearWindow(display(), XtWindow(swatch));
}

void clear_swatch() {
    Pixel background = 0;
    XtVaGetValues(swatch, XmNbackground, &background, nullptr);
    paint_swatch(background);
}

// Grabs the pointer and the keyboard on the whole screen, both asked
// together and so answered in one round trip.  The keyboard is grabbed so
// that Escape comes to the pick wherever the focus is, and never reaches
// the dialog's cancel button; when another program holds the keyboard the
// pick goes on without it, and button 3 still cancels.
void start_pick() {
    if (pick != Pick::none || !band_colours()) return;
    xcb_connection_t *c = XGetXCBConnection(display());
    const Window root = RootWindowOfScreen(XtScreen(pick_line));
    const uint16_t buttons = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE;
    const auto pointer_asked =
        xcb_grab_pointer(c, 0, root, buttons, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                         pick_cursor, XCB_CURRENT_TIME);
    const auto keyboard_asked =
        xcb_grab_keyboard(c, 0, root, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_generic_error_t *pointer_error = nullptr, *keyboard_error = nullptr;
    const XcbReply<xcb_grab_pointer_reply_t> pointer(
        xcb_grab_pointer_reply(c, pointer_asked, &pointer_error));
    const XcbError pointer_refusal(pointer_error);
    const XcbReply<xcb_grab_keyboard_reply_t> keyboard(
        xcb_grab_keyboard_reply(c, keyboard_asked, &keyboard_error));
    const XcbError keyboard_refusal(keyboard_error);

    keyboard_grabbed = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS;
    if (!pointer || pointer->status != XCB_GRAB_STATUS_SUCCESS) {
        if (keyboard_grabbed) xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        keyboard_grabbed = false;
        show_text(refused_text);
        XFlush(display());
        return;
    }
    pick = Pick::waiting_for_click;
}

void let_go() {
    xcb_connection_t *c = XGetXCBConnection(display());
    xcb_ungrab_pointer(c, XCB_CURRENT_TIME);
    if (keyboard_grabbed) xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    keyboard_grabbed = false;
    pick = Pick::none;
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
bool colour_of(unsigned long pixel, Screen *screen, const GivenColour *bands,
               colour::Rgb8 &colour) {
    const Visual *visual = DefaultVisualOfScreen(screen);
    if (visual->c_class == TrueColor) {
        colour =
            chart::colour_of_pixel(pixel, visual->red_mask, visual->green_mask, visual->blue_mask);
        return true;
    }
    if (screen != XtScreen(pick_line)) return false;
    for (int row = 0; row < colour::chart_rows; ++row)
        if (bands[row].pixel == pixel) {
            colour = band_rgb[row];
            return true;
        }
    return false;
}

// Reads the one pixel under the click from the root window of the screen
// the pointer is on, and shows where its colour stands on the chart.
void pick_at(const XButtonEvent &click) {
    const GivenColour *bands = band_colours();
    for (int row = 0; row < colour::chart_rows; ++row)
        band_rgb[row] = {colour::eight_bits(bands[row].red), colour::eight_bits(bands[row].green),
                         colour::eight_bits(bands[row].blue)};

    Screen *screen = screen_of_root(click.root);
    XImage *image = screen ? XGetImage(display(), click.root, click.x_root, click.y_root, 1, 1,
                                       AllPlanes, ZPixmap)
                           : nullptr;
    if (!image) {
        show_text(unreadable_text);
        return;
    }
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    colour::Rgb8 colour{};
    if (!colour_of(pixel, screen, bands, colour)) {
        show_text(unreadable_text);
        return;
    }

    match = chart::match_on_chart(colour, band_rgb);
    match_shown = true;
    char text[512];
    chart::format_match(match_template, colour, match, text, sizeof text);
    show_text(text);
    // The pixel itself where it means the same here; from another screen,
    // the nearest band's own pixel.
    paint_swatch(screen == XtScreen(pick_line) ? pixel : bands[match.best().row].pixel);
    redraw_pick_marks();
}

bool in_chart_window(Window window) {
    for (Widget w = XtWindowToWidget(display(), window); w; w = XtParent(w))
        if (w == chart_shell) return true;
    return false;
}

// The key's first keysym, from the toolkit's copy of the keyboard map,
// which its translations have loaded already: Xlib's own lookup would ask
// the server for a second copy.
KeySym keysym_of(const XKeyEvent &key) {
    KeyCode first = 0;
    int per_keycode = 0;
    const KeySym *table = XtGetKeysymTable(key.display, &first, &per_keycode);
    if (!table || key.keycode < first) return NoSymbol;
    return table[static_cast<std::size_t>(key.keycode - first) * per_keycode];
}

bool is_pick_key(const XKeyEvent &key) {
    if (key.state & (ControlMask | Mod1Mask)) return false;
    const KeySym keysym = keysym_of(key);
    return keysym == XK_p || keysym == XK_P;
}

// Key presses come here before the toolkit sees them: during a pick they
// are the pick's alone, and otherwise P in the chart window starts one.
Boolean dispatch_key(XEvent *event) {
    if (pick != Pick::none) {
        if (pick == Pick::waiting_for_click && keysym_of(event->xkey) == XK_Escape) let_go();
        return True;
    }
    if (band_colours() && in_chart_window(event->xkey.window) && is_pick_key(event->xkey)) {
        start_pick();
        return True;
    }
    return key_dispatcher_before(event);
}

// Button 1 picks, button 3 cancels; the pointer is let go when that
// button comes up.
Boolean dispatch_button(XEvent *event) {
    const bool press = event->type == ButtonPress;
    if (pick == Pick::none)
        return (press ? press_dispatcher_before : release_dispatcher_before)(event);
    const XButtonEvent &b = event->xbutton;
    if (press && pick == Pick::waiting_for_click && (b.button == Button1 || b.button == Button3)) {
        if (b.button == Button1) pick_at(b);
        button_down = b.button;
        pick = Pick::waiting_for_release;
    } else if (!press && pick == Pick::waiting_for_release && b.button == button_down) {
        let_go();
    }
    return True;
}

void pick_pressed(Widget, XtPointer, XtPointer) { start_pick(); }

void dismissed(Widget, XtPointer, XtPointer) { forget_pick(); }

}  // namespace

// Widget resources read best one name-value pair a line.
// clang-format off
void build_pick_button(Widget form, Widget dismiss) {
    Widget button = XtVaCreateManagedWidget(
        "canvaspick", xmPushButtonWidgetClass, form,
        XmNtopAttachment, XmATTACH_OPPOSITE_WIDGET,
        XmNtopWidget, dismiss,
        XmNbottomAttachment, XmATTACH_OPPOSITE_WIDGET,
        XmNbottomWidget, dismiss,
        XmNleftAttachment, XmATTACH_POSITION,
        XmNleftPosition, 50,
        XmNrightAttachment, XmATTACH_FORM,
        nullptr);
    // The dialog pops down at any of its buttons; not at this one.
    XtRemoveAllCallbacks(button, XmNactivateCallback);
    XtAddCallback(button, XmNactivateCallback, pick_pressed, nullptr);
    XtVaSetValues(dismiss,
        XmNrightAttachment, XmATTACH_POSITION,
        XmNrightPosition, 50,
        nullptr);
}

Widget build_pick_line(Widget form, Widget above) {
    // Left of the text, under the reading's margin, stands the swatch; the
    // text begins where the reading's does.
    constexpr int swatch_left = 10, swatch_width = 30;
    pick_line = create_row(
        "canvaspicked", xmLabelWidgetClass, form, above,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left - swatch_left - swatch_width,
        XmNleftOffset, swatch_left + swatch_width);
    hint_text = resource_of(pick_line, "labelString", "LabelString", hint_text);
    match_template = resource_of(pick_line, "pickTemplate", "PickTemplate", match_template);
    refused_text = resource_of(pick_line, "refusedText", "RefusedText", refused_text);
    unreadable_text = resource_of(pick_line, "unreadableText", "UnreadableText", unreadable_text);
    // As high as the most lines any of its texts has, two at least, and
    // fixed at that: a new pick never resizes the window.
    int lines = 2;
    for (const char *text : {hint_text, match_template, refused_text, unreadable_text}) {
        int n = 1;
        for (const char *p = text; *p; ++p) n += *p == '\n';
        lines = std::max(lines, n);
    }
    char sizing[2 * max_lines];
    chart::TextWriter writer(sizing, sizeof sizing);
    for (int k = 0; k < std::min(lines, max_lines); ++k) writer.put(k ? "\nM" : "M");
    show_text(sizing);
    XtVaSetValues(pick_line, XmNrecomputeSize, False, nullptr);
    show_text(hint_text);
    line_changed = false;

    Dimension height = 0;
    XtVaGetValues(pick_line, XmNheight, &height, nullptr);
    constexpr int inset = 3;
    swatch = XtVaCreateManagedWidget(
        "canvasswatch", xmDrawingAreaWidgetClass, form,
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

void pick_on_key(Widget chart_form) {
    chart_shell = XtParent(chart_form);
    XtAddCallback(chart_form, XmNunmapCallback, dismissed, nullptr);
    Display *d = XtDisplay(chart_form);
    key_dispatcher_before = XtSetEventDispatcher(d, KeyPress, dispatch_key);
    press_dispatcher_before = XtSetEventDispatcher(d, ButtonPress, dispatch_button);
    release_dispatcher_before = XtSetEventDispatcher(d, ButtonRelease, dispatch_button);
}

void pick_with_cursor(Cursor cursor) { pick_cursor = cursor; }

const chart::ChartMatch *pick_shown() { return match_shown ? &match : nullptr; }

void forget_pick() {
    match_shown = false;
    if (!line_changed) return;
    show_text(hint_text);
    line_changed = false;
    clear_swatch();
}

}  // namespace yarx::ui
