#include "chart_window_layout.h"

#include <X11/IntrinsicP.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>
#include <Xm/ScrolledW.h>
#include <Xm/Xm.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <initializer_list>

#include "chart/chart_placement.h"
#include "ui/xcb_reply.h"

namespace yarx::ui {

namespace {

using chart::ChartPlacement;
using chart::FrameExtents;
using chart::Rect;

// A resource name or class put together part by part, cut short rather
// than overrun (the application's name comes from the command line).
class ResourcePath {
public:
    explicit ResourcePath(const char *first) { add(first); }
    void add(const char *part) {
        const int n = std::snprintf(text_ + length_, sizeof text_ - length_, "%s%s",
                                    length_ ? "." : "", part);
        if (n > 0) length_ = std::min(sizeof text_ - 1, length_ + static_cast<std::size_t>(n));
    }
    const char *c_str() const { return text_; }

private:
    char text_[512] = {};
    std::size_t length_ = 0;
};

// The value the user's resources give this resource of the widget, or
// nullptr when they give none.
const char *users_value(Widget w, const char *resource, const char *resource_class) {
    Widget path[16];
    int depth = 0;
    for (Widget p = w; p && depth < 16; p = XtParent(p)) path[depth++] = p;
    String app_name, app_class;
    XtGetApplicationNameAndClass(XtDisplay(w), &app_name, &app_class);

    // The top-level shell goes by the application's name and class.
    ResourcePath name(app_name), klass(app_class);
    for (int i = depth - 2; i >= 0; --i) {
        name.add(XtName(path[i]));
        klass.add(XtClass(path[i])->core_class.class_name);
    }
    name.add(resource);
    klass.add(resource_class);
    char *type;
    XrmValue value{};
    if (!XrmGetResource(XtScreenDatabase(XtScreen(w)), name.c_str(), klass.c_str(), &type, &value))
        return nullptr;
    return value.addr ? static_cast<const char *>(value.addr) : "";
}

// What the user's resources decide about the dialog: its size, its
// position, or whether it centres itself over the setup window.
struct UsersChoice {
    bool size = false, position = false, centring = false;
};

UsersChoice users_choice(Widget chart_form) {
    Widget shell = XtParent(chart_form);
    UsersChoice choice;
    if (const char *geometry = users_value(shell, "geometry", "Geometry")) {
        int x, y;
        unsigned int width, height;
        const int given = XParseGeometry(geometry, &x, &y, &width, &height);
        choice.size = given & (WidthValue | HeightValue);
        choice.position = given & (XValue | YValue);
    }
    choice.position =
        choice.position || users_value(shell, "x", "X") || users_value(shell, "y", "Y");
    choice.centring = users_value(chart_form, "defaultPosition", "DefaultPosition");
    return choice;
}

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

// Where a widget of the setup window stands relative to its shell.
Rect rect_in_shell(Widget w) {
    Rect r{0, 0, w->core.width, w->core.height};
    for (Widget p = w; p && !XtIsShell(p); p = XtParent(p)) {
        r.x += p->core.x + p->core.border_width;
        r.y += p->core.y + p->core.border_width;
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
    d.setup = {where ? where->dst_x : 0, where ? where->dst_y : 0, setup_shell->core.width,
               setup_shell->core.height};
    return d;
}

}  // namespace

void lay_out_chart_window(Widget setup_shell, Widget chart_form, Widget scroller) {
    Widget chart_shell = XtParent(chart_form);
    const UsersChoice users = users_choice(chart_form);
    // The dialog centres itself unless told not to, which would move it
    // away from a position the user gave.
    if (users.position && !users.centring)
        XtVaSetValues(chart_form, XmNdefaultPosition, False, nullptr);
    if (users.size && (users.position || users.centring)) return;

    const Desktop desktop = look_at_desktop(setup_shell);
    XtWidgetGeometry wanted{};
    XtQueryGeometry(chart_form, nullptr, &wanted);
    // A shown scroll bar takes its width, and the clip window then keeps
    // clear of the bar's highlight on both sides.
    Widget bar = nullptr;
    Dimension bar_width = 0, highlight = 0;
    XtVaGetValues(scroller, XmNverticalScrollBar, &bar, nullptr);
    if (bar) XtVaGetValues(bar, XmNwidth, &bar_width, XmNhighlightThickness, &highlight, nullptr);

    // The setup window's toggles and buttons, on the screen.
    Rect keep_clear[3];
    int count = 0;
    for (const char *name : {"*srcframe", "*setupok", "*setupexit"}) {
        if (Widget w = XtNameToWidget(setup_shell, name)) {
            Rect r = rect_in_shell(w);
            r.x += desktop.setup.x;
            r.y += desktop.setup.y;
            keep_clear[count++] = r;
        }
    }

    const ChartPlacement p =
        chart::place_chart(desktop.work_area, desktop.setup, desktop.frame, wanted.width,
                           wanted.height, bar_width + 2 * highlight, keep_clear, count);
    if (p.scrolls && !users.size)
        XtVaSetValues(chart_form, XmNwidth, p.width, XmNheight, p.height, nullptr);
    if (users.position || users.centring) return;
    // The window manager puts the frame's corner where the client asks to
    // be (north-west gravity).
    XtVaSetValues(chart_form, XmNdefaultPosition, False, nullptr);
    XtVaSetValues(chart_shell, XmNx, p.x - desktop.frame.left, XmNy, p.y - desktop.frame.top,
                  nullptr);
}

}  // namespace yarx::ui
