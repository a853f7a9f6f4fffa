// Picking a colour anywhere on the screen and finding it on the chart.  The
// Pick colour button, or P in the chart window, grabs the pointer on the
// whole screen; a click of button 1 reads the one pixel under it, and the
// pick line and the marks in the canvas's margin say where that colour
// stands in each order.  Escape or button 3 gives the pointer back
// unpicked.  The pick stays until the next pick, OK or Dismiss.
#pragma once

#include <X11/Intrinsic.h>

#include "chart/colour_match.h"

namespace yarx::ui {

// Creates the button "canvaspick" in the chart window's form, beside
// Dismiss: each takes half the width.
void build_pick_button(Widget form, Widget dismiss);

// Creates the pick line under the widget above, across the form: the label
// "canvaspicked", two lines high, and its swatch "canvasswatch" on the
// left.  Returns the widget to attach the next one below.
Widget build_pick_line(Widget form, Widget above);

// Makes P start a pick wherever the keyboard focus is in the chart window,
// and Dismiss forget the pick.
void pick_on_key(Widget chart_form);

// The pointer's shape during a pick, made with the canvas's window.
void pick_with_cursor(Cursor cursor);

// The last pick's match, or nullptr when there is none to show.
const chart::ChartMatch *pick_shown();

// Forgets the pick: the line shows its hint again and the next draw of the
// chart leaves the marks out.
void forget_pick();

}  // namespace yarx::ui
