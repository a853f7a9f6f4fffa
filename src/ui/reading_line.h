// The chart window's reading line: for the chart row under the pointer, the
// retardation, its order and the birefringence at the thickness read, in the
// words of the template the resources give.  A hint from the resources
// stands there until the pointer first reaches the bands; the last reading
// stays when it leaves, for a look back into the eyepiece.
#pragma once

#include <X11/Intrinsic.h>

#include "chart/chart_view.h"
#include "ui/resources.h"

namespace yarx::ui {

// Creates the label "canvasread" at the top of the panel, across it, as
// many lines high as its hint or its template, whichever has more, and a
// line more.
Widget build_reading_line(Widget panel, const Resources &resources);

// Shows what the view's reading reads, or the hint, wrapped to the panel's
// width.
void show_reading(const chart::ChartView &view, const Resources &resources);
void show_reading_hint(const Resources &resources);

}  // namespace yarx::ui
