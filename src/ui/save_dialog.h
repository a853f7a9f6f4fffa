// Saving the chart the window shows: Motif's file selection dialog, in the
// current directory, offers a name; OK writes the file yarx-chart writes for
// the same illuminant, colours, fan and thickness, in the format the name's
// extension asks for.  The save line in the panel says where it went, or
// why it did not, which a message over the dialog says in full.
#pragma once

#include <X11/Intrinsic.h>

#include "chart/chart_view.h"
#include "ui/resources.h"

namespace yarx::ui {

// Creates the save line "canvassaved" under the widget above, across the
// panel.  The view and the resources must last: a save reads them.
Widget build_save_line(Widget panel, Widget above, const chart::ChartView &view,
                       const Resources &resources);

// Opens the dialog over the chart window, made the first time, with the
// keyboard in its file name, which names the chart shown.
void ask_where_to_save(Widget chart_form);

}  // namespace yarx::ui
