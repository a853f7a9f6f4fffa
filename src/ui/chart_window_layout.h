// The chart window's size and place when it is first shown: beside the
// setup window and no taller than the window manager's work area, the
// canvas scrolling when it had to be shortened.  What the user sets for the
// dialog (-xrm with its geometry, x, y or defaultPosition) wins.
#pragma once

#include <X11/Intrinsic.h>

#include "ui/resources.h"

namespace yarx::ui {

// The most controls of the setup window the chart can be told to leave clear.
constexpr int max_controls_kept_clear = 8;

// setup_shell: the top-level shell; keep_clear: the setup window's controls
// the user must still reach, which the chart should not cover; chart_form:
// the dialog's form, not yet managed; scroller: the scrolled window that
// holds the canvas, which takes what the form gains in width; resources:
// what the user decided.
void lay_out_chart_window(Widget setup_shell, const Widget *keep_clear, int keep_clear_count,
                          Widget chart_form, Widget scroller, const Resources &resources);

}  // namespace yarx::ui
