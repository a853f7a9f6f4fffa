#include "chart_window_layout.h"

#include <X11/Xlib-xcb.h>
#include <X11/Xutil.h>
#include <Xm/ScrolledW.h>
#include <Xm/Xm.h>
#include <xcb/xproto.h>

#include <algorithm>

#include "chart/chart_geometry.h"
#include "chart/chart_placement.h"
#include "ui/xcb_reply.h"

namespace yarx::ui {

namespace {

using chart::ChartPlacement;
using chart::FrameExtents;
using chart::Rect;

// A property of 32-bit values, or nothing.
struct Cardinals {
    XcbReply<xcb_get_property_reply_t> reply;
    const uint32_t *values() const {
        return static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    }
    size_t count() const {
        if (!reply || reply->format != 32) return 0;
        return static_cast<size_t>(xcb_get_property_value_length(reply.get())) / 4;
    }
};

xcb_get_property_cookie_t ask_cardinals(xcb_connection_t *c, Window window, Atom property) {
    return xcb_get_property(c, 0, window, property, XCB_ATOM_CARDINAL, 0, 4 * 32);
}

Cardinals take_cardinals(xcb_connection_t *c, xcb_get_property_cookie_t cookie) {
    return {XcbReply<xcb_get_property_reply_t>(xcb_get_property_reply(c, cookie, nullptr))};
}

// A widget's size and its place in its parent, as the toolkit has them.
struct Geometry {
    Position x = 0, y = 0;
    Dimension width = 0, height = 0, border = 0;
};
Geometry geometry_of(Widget w) {
    Geometry g;
    XtVaGetValues(w, XmNx, &g.x, XmNy, &g.y, XmNwidth, &g.width, XmNheight, &g.height,
                  XmNborderWidth, &g.border, nullptr);
    return g;
}

// Where a widget of the setup window stands relative to its shell.
Rect rect_in_shell(Widget w) {
    const Geometry own = geometry_of(w);
    Rect r{0, 0, own.width, own.height};
    for (Widget p = w; p && !XtIsShell(p); p = XtParent(p)) {
        const Geometry g = geometry_of(p);
        r.x += g.x + g.border;
        r.y += g.y + g.border;
    }
    return r;
}

// What the screen and the window manager offer: the work area of the
// current desktop (the whole screen without a window manager that
// publishes one), the frame the setup window has, and where it stands.
struct Desktop {
    Rect work_area;
    FrameExtents frame;
    Rect setup;
};

Desktop look_at_desktop(Widget setup_shell) {
    Display *display = XtDisplay(setup_shell);
    Screen *screen = XtScreen(setup_shell);
    const Window root = RootWindowOfScreen(screen);
    const Window setup = XtWindow(setup_shell);
    xcb_connection_t *c = XGetXCBConnection(display);

    char *names[] = {const_cast<char *>("_NET_WORKAREA"),
                     const_cast<char *>("_NET_CURRENT_DESKTOP"),
                     const_cast<char *>("_NET_FRAME_EXTENTS")};
    Atom atoms[3];
    XInternAtoms(display, names, 3, False, atoms);

    // All four questions go out together: one round trip.
    const auto work_areas_asked = ask_cardinals(c, root, atoms[0]);
    const auto desktop_asked = ask_cardinals(c, root, atoms[1]);
    const auto extents_asked = ask_cardinals(c, setup, atoms[2]);
    const auto where_asked = xcb_translate_coordinates(c, setup, root, 0, 0);
    const Cardinals work_areas = take_cardinals(c, work_areas_asked);
    const Cardinals desktop = take_cardinals(c, desktop_asked);
    const Cardinals extents = take_cardinals(c, extents_asked);
    const XcbReply<xcb_translate_coordinates_reply_t> where(
        xcb_translate_coordinates_reply(c, where_asked, nullptr));

    Desktop d;
    d.work_area = {0, 0, WidthOfScreen(screen), HeightOfScreen(screen)};
    const size_t current = desktop.count() == 1 ? desktop.values()[0] : 0;
    if (current < work_areas.count() / 4) {
        const uint32_t *area = work_areas.values() + 4 * current;
        d.work_area = {static_cast<int>(area[0]), static_cast<int>(area[1]),
                       static_cast<int>(area[2]), static_cast<int>(area[3])};
    }
    if (extents.count() == 4) {
        const uint32_t *e = extents.values();
        d.frame = {static_cast<int>(e[0]), static_cast<int>(e[1]), static_cast<int>(e[2]),
                   static_cast<int>(e[3])};
    }
    const Geometry shell = geometry_of(setup_shell);
    d.setup = {where ? where->dst_x : 0, where ? where->dst_y : 0, shell.width, shell.height};
    return d;
}

// What a shown vertical scroll bar takes beside the canvas: its width, and
// its highlight on both sides, which the clip window keeps clear of.
int scroll_bar_room(Widget scroller) {
    Widget bar = nullptr;
    Dimension width = 0, highlight = 0;
    XtVaGetValues(scroller, XmNverticalScrollBar, &bar, nullptr);
    if (bar) XtVaGetValues(bar, XmNwidth, &width, XmNhighlightThickness, &highlight, nullptr);
    return width + 2 * highlight;
}

// The vertical scroll bar mapped when the chart scrolls, and only then,
// with the room for it beside the canvas, which the panel gives: shown or
// not, the scrolled window keeps the bar managed, and when it is not
// needed, it puts it beyond its right edge, where it would lie under the
// panel.
void fit_scroll_bar(Widget scroller, bool scrolls) {
    Widget bar = nullptr;
    int offset = 0;
    XtVaGetValues(scroller, XmNverticalScrollBar, &bar, XmNrightOffset, &offset, nullptr);
    if (!bar) return;
    XtSetMappedWhenManaged(bar, scrolls ? True : False);
    const int width = chart::canvas_width + (scrolls ? scroll_bar_room(scroller) : 0);
    if (offset != -width) XtVaSetValues(scroller, XmNrightOffset, -width, nullptr);
}

// The chart scrolls while it is taller than the clip window.
void scroll_bar_follows_need(Widget scroller) {
    Widget clip = nullptr;
    XtVaGetValues(scroller, XmNclipWindow, &clip, nullptr);
    if (!clip) return;
    Dimension height = 0;
    XtVaGetValues(clip, XmNheight, &height, nullptr);
    fit_scroll_bar(scroller, height < chart::canvas_height);
}

void resized_callback(Widget, XtPointer scroller, XEvent *event, Boolean *) {
    if (event->type == ConfigureNotify) scroll_bar_follows_need(static_cast<Widget>(scroller));
}

void mapped_callback(Widget, XtPointer scroller, XtPointer) {
    scroll_bar_follows_need(static_cast<Widget>(scroller));
}

void keep_scroll_bar_to_need(Widget chart_form, Widget scroller) {
    Widget clip = nullptr;
    XtVaGetValues(scroller, XmNclipWindow, &clip, nullptr);
    if (clip) XtAddEventHandler(clip, StructureNotifyMask, False, resized_callback, scroller);
    XtAddCallback(chart_form, XmNmapCallback, mapped_callback, scroller);
}

}  // namespace

void lay_out_chart_window(Widget setup_shell, const Widget *keep_clear, int keep_clear_count,
                          const ChartWindowParts &parts, const Resources &resources) {
    Widget chart_form = parts.form, scroller = parts.scroller;
    keep_scroll_bar_to_need(chart_form, scroller);
    Widget chart_shell = XtParent(chart_form);
    const bool size = resources.chart_size_given, position = resources.chart_position_given,
               centring = resources.chart_centres_itself;
    // The dialog centres itself unless told not to, which would move it
    // away from a position the user gave.
    if (position && !centring) XtVaSetValues(chart_form, XmNdefaultPosition, False, nullptr);
    if (size && (position || centring)) return;

    const Desktop desktop = look_at_desktop(setup_shell);
    XtWidgetGeometry wanted{};
    XtQueryGeometry(chart_form, nullptr, &wanted);

    // The setup window's controls, on the screen.
    Rect controls[max_controls_kept_clear];
    const int count = std::min(keep_clear_count, max_controls_kept_clear);
    for (int i = 0; i < count; ++i) {
        controls[i] = rect_in_shell(keep_clear[i]);
        controls[i].x += desktop.setup.x;
        controls[i].y += desktop.setup.y;
    }

    const int scroll_bar = scroll_bar_room(scroller);
    Dimension panel_width = 0;
    XtVaGetValues(parts.panel, XmNwidth, &panel_width, nullptr);
    // Only the panel narrows: the canvas beside it keeps its width.
    const int narrowable = size ? 0 : std::max(0, panel_width - narrowest_panel);
    const ChartPlacement p =
        chart::place_chart(desktop.work_area, desktop.setup, desktop.frame, wanted.width,
                           wanted.height, scroll_bar, controls, count, narrowable);
    const int narrowed_by = wanted.width + (p.scrolls ? scroll_bar : 0) - p.width;
    // The panel beside the scrolled window takes the rest of the form's
    // width.
    if (!size) fit_scroll_bar(scroller, p.scrolls);
    if ((p.scrolls || narrowed_by > 0) && !size)
        XtVaSetValues(chart_form, XmNwidth, p.width, XmNheight, p.height, nullptr);
    if (position || centring) return;
    // The window manager puts the frame's corner where the client asks to
    // be (north-west gravity).
    XtVaSetValues(chart_form, XmNdefaultPosition, False, nullptr);
    XtVaSetValues(chart_shell, XmNx, p.x - desktop.frame.left, XmNy, p.y - desktop.frame.top,
                  nullptr);
}

}  // namespace yarx::ui
