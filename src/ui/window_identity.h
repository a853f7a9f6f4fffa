// Who the windows belong to, for task bars and window switchers: the
// program's process (_NET_WM_PID) on each of its shells, and its icon
// (_NET_WM_ICON) on the setup window, which the chart window's dialog shell
// is transient for: window managers show the setup window's icon for both.
// The toolkit names the machine (WM_CLIENT_MACHINE) itself.
#pragma once

#include <X11/Intrinsic.h>
#include <xcb/xproto.h>

namespace yarx::ui {

// The properties' atoms, asked for; their answers still to come.
struct IdentityAtoms {
    xcb_intern_atom_cookie_t pid, icon;
};

// Asks for the atoms without waiting for the answers, right after the
// toolkit has started: they come in with the toolkit's own, and cost no
// round trip of their own.
IdentityAtoms ask_for_identity_atoms(Display *display);

// Realizes the top-level shell, which realizes its pop-up shells (the chart
// window's dialog shell) too, and sets the properties on them before the
// setup window is mapped.
void realize_with_identity(Widget toplevel, IdentityAtoms atoms);

}  // namespace yarx::ui
