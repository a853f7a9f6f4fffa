#include "window_identity.h"

#include <X11/IntrinsicP.h>
#include <X11/Xlib-xcb.h>
#include <unistd.h>
#include <xcb/xproto.h>

#include <cstdint>
#include <cstring>

#include "chart/window_icon.h"
#include "ui/xcb_reply.h"

namespace yarx::ui {

namespace {

const char *const pid_name = "_NET_WM_PID";
const char *const icon_name = "_NET_WM_ICON";
xcb_intern_atom_cookie_t pid_asked, icon_asked;

// Both icons, as the property holds them: 265 KiB, made once.
std::uint32_t icon_property[chart::window_icon_property_length];

xcb_intern_atom_cookie_t ask(xcb_connection_t *c, const char *name) {
    return xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
}

xcb_atom_t take(xcb_connection_t *c, xcb_intern_atom_cookie_t asked) {
    xcb_generic_error_t *error = nullptr;
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, asked, &error));
    const XcbError refusal(error);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

struct Identity {
    xcb_atom_t pid, icon;
    std::uint32_t pid_value;
    std::uint32_t icon_length;  // 32-bit values of icon_property sent
};

void set_identity(xcb_connection_t *c, Window window, const Identity &identity) {
    if (identity.pid)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, identity.pid, XCB_ATOM_CARDINAL, 32,
                            1, &identity.pid_value);
    if (identity.icon)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, identity.icon, XCB_ATOM_CARDINAL, 32,
                            identity.icon_length, icon_property);
}

}  // namespace

void ask_for_identity_atoms(Display *display) {
    xcb_connection_t *c = XGetXCBConnection(display);
    pid_asked = ask(c, pid_name);
    icon_asked = ask(c, icon_name);
}

void realize_with_identity(Widget toplevel) {
    // Mapped only once it says who it is, so that the window manager sees
    // the icon from the first.
    const Boolean mapped = toplevel->core.mapped_when_managed;
    XtSetMappedWhenManaged(toplevel, False);
    XtRealizeWidget(toplevel);

    xcb_connection_t *c = XGetXCBConnection(XtDisplay(toplevel));
    chart::window_icon_property(icon_property);
    Identity identity{take(c, pid_asked), take(c, icon_asked), static_cast<std::uint32_t>(getpid()),
                      chart::window_icon_property_length};
    // Both icons take one request longer than a server without big requests
    // takes; such a server gets the small one alone.
    const std::uint32_t header = 6;  // a ChangeProperty's own 32-bit words
    if (xcb_get_maximum_request_length(c) < header + identity.icon_length)
        identity.icon_length = chart::small_icon_property_length;

    set_identity(c, XtWindow(toplevel), identity);
    for (Cardinal i = 0; i < toplevel->core.num_popups; ++i)
        if (XtIsRealized(toplevel->core.popup_list[i]))
            set_identity(c, XtWindow(toplevel->core.popup_list[i]), identity);
    XtSetMappedWhenManaged(toplevel, mapped);
    if (mapped) XtMapWidget(toplevel);
}

}  // namespace yarx::ui
