// The chart window's size and place when it is first shown: beside the
// setup window and no taller than the window manager's work area, the
// canvas scrolling when it had to be shortened.  What the user sets for the
// dialog (-xrm with its geometry, x, y or defaultPosition) wins.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// setup_shell: the top-level shell; chart_form: the dialog's form, not yet
// managed; scroller: the scrolled window that holds the canvas.
void lay_out_chart_window(Widget setup_shell, Widget chart_form, Widget scroller);

}  // namespace yarx::ui
