// The chart window: a form dialog that owns what it shows (chart/
// chart_view.h), draws it into its canvas on every OK and every exposure,
// and reads it under the pointer and at a pick in the panel beside it.
#pragma once

#include <X11/Intrinsic.h>

#include "colour/chart_colours.h"
#include "ui/resources.h"

namespace yarx::ui {

// Creates the dialog, unmanaged, under the top-level shell, and returns its
// form: its widgets' resources are read under it before they are built.
Widget create_chart_dialog(Widget toplevel);

// Builds the dialog's widgets in its form.  The resources must last.
void build_chart_window(Widget chart_form, const Resources &resources);

// The setup window's controls, which the chart window, when it is first
// placed beside the setup window, should leave clear; up to eight.
void keep_chart_clear_of(const Widget *controls, int count);

// What OK asks the chart window to show: the illuminant by its identifier
// and by the label its toggle shows, the way its colours are shown, and
// whether with the birefringence fan.
struct ChartRequest {
    int illuminant;
    const char *label;
    colour::Rendering rendering;
    bool fan;
};

// Computes the chart and shows it: names the illuminant in the title, pops
// the window up if it is down (beside the setup window the first time),
// forgets the last pick and draws the chart, on this and every exposure
// until the next OK.
void show_chart(const ChartRequest &request);

// Draws the whole chart again in place, as an exposure does: asks the
// server for all its colours at once and draws with them.  Only once a
// chart has been shown.
void redraw_chart();

// Marks the retardation that the figure window reads on the chart's right
// margin, as a pick's marks stand there; a negative one, or one beyond the
// chart, takes the mark away.
void mark_chart_retardation(double retardation_nm);

}  // namespace yarx::ui
