// Picking a colour anywhere on the screen and finding it on the chart.  A
// pick grabs the pointer on the whole screen; a click of button 1 reads the
// one pixel under it and finds where its colour stands in each order of
// the chart as drawn.  Escape or button 3 gives the pointer back unpicked.
// What a pick comes to is its owner's to keep; the pick line, with its
// swatch, shows it.
#pragma once

#include <X11/Intrinsic.h>

#include "chart/chart_view.h"
#include "ui/resources.h"

namespace yarx::ui {

// Creates the pick line under the widget above, across the panel: the
// label "canvaspicked", two lines high or as many as its texts have, and
// its swatch "canvasswatch" on the left.
Widget build_pick_line(Widget panel, Widget above, const Resources &resources);

// Shows the view's pick: its words and swatch, or the hint without one.
void show_pick_line(const chart::ChartView &view, const Resources &resources);

// Called with what a pick came to: a colour found, or a pointer held
// elsewhere, or a pixel that does not tell (nothing found); not when it
// was cancelled.
using PickFinished = void (*)(const chart::Pick &pick);

// Starts a pick on the chart the view shows, the pointer in the cursor's
// shape, unless one is under way.  The pick keeps the bands' colours as
// they are now.
void start_pick(const chart::ChartView &view, Cursor cursor, PickFinished finished);

// Key and button events of the whole display, before the toolkit sees them:
// during a pick they are the pick's alone.  Whether the pick took it.
bool pick_takes_key(const XKeyEvent &key);
bool pick_takes_button(const XButtonEvent &button);

}  // namespace yarx::ui
