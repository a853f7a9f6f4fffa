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

// The narrowest the panel is made to let the chart window stand beside the
// setup window; its lines wrap.
constexpr int narrowest_panel = 300;

// The chart window's parts that the layout sizes: the dialog's form, not
// yet managed; the scrolled window that holds the canvas, as wide as the
// canvas and, when it scrolls, its scroll bar; and the panel beside it,
// which takes the rest of the form's width, down to narrowest_panel.
struct ChartWindowParts {
    Widget form, scroller, panel;
};

// setup_shell: the top-level shell; keep_clear: the setup window's controls
// the user must still reach, which the chart should not cover; resources:
// what the user decided.  A scroll bar not needed is not mapped, then or
// later, whatever the window's size.
void lay_out_chart_window(Widget setup_shell, const Widget *keep_clear, int keep_clear_count,
                          const ChartWindowParts &parts, const Resources &resources);

}  // namespace yarx::ui
