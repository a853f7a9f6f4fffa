// Who the windows belong to, for task bars and window switchers: the
// program's icon (_NET_WM_ICON) and its process (_NET_WM_PID) on each of its
// shells.  The toolkit names the machine (WM_CLIENT_MACHINE) itself.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// Asks for the properties' atoms without waiting for the answers, right
// after the toolkit has started: they come in with the toolkit's own, and
// cost no round trip of their own.
void ask_for_identity_atoms(Display *display);

// Realizes the top-level shell and sets both properties on it and on its
// pop-up shells (the chart window's dialog shell), which realizing it
// creates too, before the setup window is mapped.
void realize_with_identity(Widget toplevel);

}  // namespace yarx::ui
