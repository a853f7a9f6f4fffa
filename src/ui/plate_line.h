// The chart window's plate line, under the reading line: what the accessory
// plate (the first-order red plate unless the resources name another) does
// to the retardation under the pointer.  The retardations it adds and
// subtracts stand in the words of the line's template, beside a swatch for
// each in its band's colour as the canvas shows it.  No plate, no line.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// Reads the plate from the application's resources, warning once on
// standard error when it is not a number from 0 to 2497.5, and creates the
// row "canvasplate" in the chart window's form, below the widget above and
// across the form: the swatches "canvasadded" and "canvassubtracted" and
// the label "canvasplateread".  The row is managed only with a plate.
// Returns what the next widget goes below: the row, or above without it.
Widget build_plate_line(Widget toplevel, Widget form, Widget above);

// The plate's retardation in nm; 0 when there is none.
double plate_in_force_nm();

// Shows what the plate does to the row's retardation, in the line's words
// at the thickness and in the swatches.
void show_plate_row(int row, double thickness_um);

// Has the swatches take their bands' pixels again, after a draw that may
// have given the bands other ones.
void swatches_follow_chart();

}  // namespace yarx::ui
