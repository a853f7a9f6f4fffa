// The chart window's plate line, under the reading line: what the accessory
// plate (the first-order red plate unless the resources name another) does
// to the retardation under the pointer.  The retardations it adds and
// subtracts stand in the words of the line's template, beside a swatch for
// each in its band's colour as the canvas shows it.  No plate, no line.
#pragma once

#include <X11/Intrinsic.h>

#include "chart/chart_view.h"
#include "ui/resources.h"

namespace yarx::ui {

// Creates the row "canvasplate" in the panel, below the widget above and
// across it: the swatches "canvasadded" and "canvassubtracted" and the
// label "canvasplateread".  The row is managed only when the view has a
// plate.  Returns what the next widget goes below: the row, or above
// without it.
Widget build_plate_line(Widget panel, Widget above, const chart::ChartView &view);

// Shows what the plate does to the view's reading, in the line's words and
// in the swatches.
void show_plate(const chart::ChartView &view, const Resources &resources);

// The width the line needs for its hint and its longest reading, 0
// without a plate.
int plate_line_width(const chart::ChartView &view, const Resources &resources);

// Shows the line's hint, wrapped to the panel's width, when there is a
// plate.
void show_plate_hint(const chart::ChartView &view, const Resources &resources);

// Has the swatches take their bands' pixels again, after a draw that may
// have given the bands other ones.
void swatches_follow_chart(const chart::ChartView &view);

}  // namespace yarx::ui
