#include "yarx_windows.h"

namespace yarx::xdriver {

Window find_shell(Display *display, const char *shell_name) {
    return find_client(display, ui::program_class, shell_name);
}

Window wait_for_shell(Display *display, const char *shell_name, Duration timeout) {
    Window shell = None;
    wait_until([&] { return (shell = find_shell(display, shell_name)) != None; }, timeout);
    return shell;
}

namespace {

// The path, and one index more below it when given.
Window at_path(Display *display, Window shell, ui::WidgetPath path, int then = -1) {
    if (then >= 0) path.index[path.length++] = then;
    return child_at(display, shell, path.index, path.length);
}

}  // namespace

Window setup_widget(Display *display, Window shell, SetupWidget widget) {
    return at_path(display, shell, ui::path_of(widget));
}

Window toggle(Display *display, Window shell, int index) {
    return at_path(display, shell, ui::path_of(SetupWidget::radio_box), index);
}

Window chart_widget(Display *display, Window shell, ChartWidget widget) {
    return at_path(display, shell, ui::path_of(widget));
}

Window figure_widget(Display *display, Window shell, FigureWidget widget) {
    return at_path(display, shell, ui::path_of(widget));
}

}  // namespace yarx::xdriver
