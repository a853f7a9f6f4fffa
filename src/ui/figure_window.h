// The figure window: the interference figure of a grain beside the chart,
// in the chart's illuminant and rendering at the section's thickness, its
// optics set in a panel of controls and read under the pointer.  The image
// goes to the server once for each change, into a pixmap that every
// exposure is copied from.
#pragma once

#include <X11/Intrinsic.h>

#include "colour/chart_colours.h"
#include "figure/mineral_optics.h"
#include "ui/resources.h"

namespace yarx::ui {

// Marks a retardation on the chart's right margin while the pointer reads
// the figure; a negative one takes the mark away.
using MarkRetardation = void (*)(double retardation_nm);

// Creates the dialog, unmanaged, under the top-level shell, reads its
// resources and builds its widgets.  The mark is the chart window's.
void build_figure_window(Widget toplevel, MarkRetardation mark);

// What the chart window asks the figure window to show: the chart's
// illuminant and rendering, the section, and the mineral, or nullptr for
// the one shown last.
struct FigureRequest {
    int illuminant;
    colour::Rendering rendering;
    double thickness_um;
    double plate_nm;  // the accessory plate the toggle puts in
    const figure::MineralOptics *mineral;
};

// Shows the figure, popping the window up or raising it.
void show_figure(const FigureRequest &request);

// A new chart's illuminant and rendering: the figure, when shown, is drawn
// again in them.
void figure_follows_chart(int illuminant, colour::Rendering rendering);

}  // namespace yarx::ui
