// Saving the chart the window shows: Motif's file selection dialog, in the
// current directory, offers a name after the chart; OK writes the file
// yarx-chart writes for the same illuminant, colours, fan and thickness, in
// the format the name's extension asks for, PDF without one.  A file there
// already is replaced only once a question over the dialog, which names
// it, has been answered Replace.  The save line in the panel says where it
// went, or why it did not, which a message over the dialog says in full.
#pragma once

#include <X11/Intrinsic.h>

#include "chart/chart_view.h"
#include "figure/settings.h"
#include "ui/resources.h"

namespace yarx::ui {

// Creates the save line "canvassaved" under the widget above, across the
// panel, two lines high.  The resources must last: a save says what it did in their words.
Widget build_save_line(Widget panel, Widget above, const Resources &resources);

// Shows the save line's hint, wrapped to the panel's width.
void show_save_hint();

// Opens the dialog over the chart window, made the first time, with the
// keyboard in its file name, which names the chart the view shows.  The
// owner's callback is called when the user has chosen where to save (OK,
// Return, or Replace): it is to call save_chosen with the view as it is
// then.
void ask_where_to_save(Widget chart_form, const chart::ChartView &view,
                       XtCallbackProc chosen_callback);

// A new chart shown: the name offered follows it while the dialog is up
// and the user has not made the name their own.
void offer_name_for(const chart::ChartView &view);

// Writes the view's chart to the file chosen, or asks first when a file
// is there already and the user has not yet said Replace.
void save_chosen(const chart::ChartView &view);

// The figure window saves the same way, the figure as yarx-chart --figure
// writes it, a PNG when the name has no extension: its save line, and the
// question's text.  Both must last.
void saves_figure_on(Widget line, const char *replace_text);
void ask_where_to_save(Widget figure_form, const figure::Settings &settings,
                       XtCallbackProc chosen_callback);
void offer_name_for(const figure::Settings &settings);
void save_chosen(const figure::Settings &settings);

}  // namespace yarx::ui
