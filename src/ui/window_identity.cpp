#include "window_identity.h"

#include <X11/IntrinsicP.h>
#include <X11/Xlib-xcb.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "chart/window_icon.h"
#include "ui/xcb_reply.h"

namespace yarx::ui {

namespace {

// The icons, as the property holds them: 14 KiB, made once.
std::uint32_t icon_property[chart::window_icon_property_length];

// Every server takes requests of 4096 32-bit words, whether or not it has
// big requests; a ChangeProperty's own part is 6 of them.
static_assert(6 + chart::window_icon_property_length <= 4096,
              "the windows' icons no longer go in one request to every server");

xcb_intern_atom_cookie_t ask(xcb_connection_t *c, const char *name) {
    return xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
}

xcb_atom_t take(xcb_connection_t *c, xcb_intern_atom_cookie_t asked) {
    xcb_generic_error_t *error = nullptr;
    const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c, asked, &error));
    const XcbError refusal(error);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

void set_cardinals(xcb_connection_t *c, Window window, xcb_atom_t property, std::uint32_t length,
                   const std::uint32_t *values) {
    if (property)
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, property, XCB_ATOM_CARDINAL, 32,
                            length, values);
}

}  // namespace

IdentityAtoms ask_for_identity_atoms(Display *display) {
    xcb_connection_t *c = XGetXCBConnection(display);
    return {ask(c, "_NET_WM_PID"), ask(c, "_NET_WM_ICON")};
}

void realize_with_identity(Widget toplevel, IdentityAtoms atoms) {
    // Mapped only once it says who it is, so that the window manager sees
    // the icon from the first.
    const Boolean mapped = toplevel->core.mapped_when_managed;
    XtSetMappedWhenManaged(toplevel, False);
    XtRealizeWidget(toplevel);

    xcb_connection_t *c = XGetXCBConnection(XtDisplay(toplevel));
    const xcb_atom_t pid = take(c, atoms.pid), icon = take(c, atoms.icon);
    const auto pid_value = static_cast<std::uint32_t>(getpid());
    chart::window_icon_property(icon_property);

    set_cardinals(c, XtWindow(toplevel), pid, 1, &pid_value);
    set_cardinals(c, XtWindow(toplevel), icon, chart::window_icon_property_length, icon_property);
    for (Cardinal i = 0; i < toplevel->core.num_popups; ++i)
        if (XtIsRealized(toplevel->core.popup_list[i]))
            set_cardinals(c, XtWindow(toplevel->core.popup_list[i]), pid, 1, &pid_value);
    XtSetMappedWhenManaged(toplevel, mapped);
    if (mapped) XtMapWidget(toplevel);
}

}  // namespace yarx::ui
