// Where yarx's widgets stand among its windows.  The windows of a Motif
// program nest as its widgets do, so a widget is found by its path of child
// indices, in creation order, under its shell; the toggles stand in the
// order of the illuminant catalogue.  The windows' building code
// (src/ui/setup_window.cpp, src/ui/chart_window.cpp) says where it relies
// on that order.
#pragma once

#include <string_view>

#include "colour/illuminants.h"
#include "driver.h"
#include "ui/shell_names.h"

namespace yarx::xdriver {

using ui::chart_shell_name;
using ui::setup_shell_name;

// The shell window of the setup window (setup_shell_name) or of the chart
// window (chart_shell_name), by the name in its WM_CLASS, once it is
// viewable, on the display's default screen.  None when it has not shown by
// the timeout.
Window find_shell(Display *display, const char *shell_name);
Window wait_for_shell(Display *display, const char *shell_name, Duration timeout = default_timeout);

// The setup window's widgets under its shell.
enum class SetupWidget {
    title,
    notice1,
    notice2,
    frame,
    true_colours,
    fan,
    prompt,
    separator,
    ok,
    exit
};
Window setup_widget(Display *display, Window shell, SetupWidget widget);

// The toggles, one for each illuminant of the catalogue, in its order.
constexpr int toggle_count = colour::illuminant_count;
constexpr int toggle_index(std::string_view short_name) {
    return colour::position_of(colour::illuminant_named(short_name));
}
constexpr int illuminant_at(int toggle_index) { return colour::illuminants[toggle_index].id; }
Window toggle(Display *display, Window shell, int index);

// The chart window's widgets under its shell.  The canvas sits in the
// scrolled window's clip window, beside its vertical scroll bar (a window
// even while the bar is not shown); the plate's swatches and line in the
// plate's row, which is a window, unmapped, even without a plate.
enum class ChartWidget {
    dismiss,
    pick,
    separator,
    reading,
    plate,
    pick_line,
    swatch,
    scroller,
    canvas,
    vertical_scroll_bar,
    added_swatch,
    subtracted_swatch,
    plate_reading
};
Window chart_widget(Display *display, Window shell, ChartWidget widget);

}  // namespace yarx::xdriver
