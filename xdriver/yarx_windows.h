// Where yarx's widgets stand among its windows.  The windows of a Motif
// program nest as its widgets do, so a widget is found by its path of child
// indices, in creation order, under its shell: the windows' own table of
// their widgets (src/ui/window_names.h) gives it, and the toggles stand in
// the order of the illuminant catalogue.
#pragma once

#include <string_view>

#include "colour/illuminants.h"
#include "driver.h"
#include "ui/window_names.h"

namespace yarx::xdriver {

using ui::chart_shell_name;
using ui::figure_shell_name;
using ui::setup_shell_name;

// The shell window of the setup window (setup_shell_name) or of the chart
// window (chart_shell_name), by the name in its WM_CLASS, once it is
// viewable, on the display's default screen.  None when it has not shown by
// the timeout.
Window find_shell(Display *display, const char *shell_name);
Window wait_for_shell(Display *display, const char *shell_name, Duration timeout = default_timeout);

// The setup window's widgets under its shell.
using ui::SetupWidget;
Window setup_widget(Display *display, Window shell, SetupWidget widget);

// The toggles, one for each illuminant of the catalogue, in its order.
constexpr int toggle_count = colour::illuminant_count;
constexpr int toggle_index(std::string_view short_name) {
    return colour::position_of(colour::illuminant_named(short_name));
}
constexpr int illuminant_at(int toggle_index) { return colour::illuminants[toggle_index].id; }
Window toggle(Display *display, Window shell, int index);

// The chart window's widgets under its shell.  The scroll bar is a window
// even while it is not shown; the plate's row is one, unmapped, even
// without a plate.
using ui::ChartWidget;
Window chart_widget(Display *display, Window shell, ChartWidget widget);

// The figure window's widgets under its shell.
using ui::FigureWidget;
Window figure_widget(Display *display, Window shell, FigureWidget widget);

}  // namespace yarx::xdriver
