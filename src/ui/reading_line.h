// The chart window's reading line: for the chart row under the pointer, the
// retardation, its order and the birefringence at the section's thickness,
// in the words of the template the resources give.  A hint from the
// resources stands there until the pointer first reaches the bands; the
// last reading stays when it leaves, for a look back into the eyepiece.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// Creates the label "canvasread" in the chart window's form, below the
// widget above and across the form, and reads the thickness from the
// application's resources, warning once on standard error when it is not
// a number from 1 to 1000.
Widget build_reading_line(Widget toplevel, Widget form, Widget above);

// Makes the line, and the plate's line, follow the pointer over the canvas.
void read_under_pointer(Widget canvas);

// With the birefringence fan on the chart, the line reads over the bands
// at the thickness of the fan's axis under the pointer; without it, and in
// the margins, at the section's thickness.
void read_thickness_from_fan(bool fan_shown);

}  // namespace yarx::ui
