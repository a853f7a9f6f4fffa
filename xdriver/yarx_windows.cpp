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

// shell > form > children in creation order
Window setup_widget(Display *display, Window shell, SetupWidget widget) {
    return child_at(display, shell, {0, static_cast<int>(widget)});
}

// ... > srcframe > srcraw > toggles
Window toggle(Display *display, Window shell, int index) {
    return child_at(display, shell, {0, static_cast<int>(SetupWidget::frame), 1, index});
}

// shell > form > canvasdismis, canvaspick, canvassep, canvasread,
// canvasplate, canvaspicked, canvasswatch, canvasscroll > clip window >
// canvas; canvasplate > canvasadded, canvassubtracted, canvasplateread
Window chart_widget(Display *display, Window shell, ChartWidget widget) {
    const int plate = static_cast<int>(ChartWidget::plate);
    switch (widget) {
        case ChartWidget::added_swatch:
            return child_at(display, shell, {0, plate, 0});
        case ChartWidget::subtracted_swatch:
            return child_at(display, shell, {0, plate, 1});
        case ChartWidget::plate_reading:
            return child_at(display, shell, {0, plate, 2});
        case ChartWidget::canvas:
            return child_at(display, shell, {0, static_cast<int>(ChartWidget::scroller), 0, 0});
        case ChartWidget::vertical_scroll_bar:
            return child_at(display, shell, {0, static_cast<int>(ChartWidget::scroller), 1});
        default:
            return child_at(display, shell, {0, static_cast<int>(widget)});
    }
}

}  // namespace yarx::xdriver
