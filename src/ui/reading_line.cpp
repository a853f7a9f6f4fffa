#include "reading_line.h"

#include <Xm/Label.h>
#include <Xm/Xm.h>

#include "chart/chart_geometry.h"
#include "chart/reading.h"
#include "ui/widget_chores.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

Widget reading_line;

}  // namespace

// Widget resources read best one name-value pair a line.
// clang-format off
Widget build_reading_line(Widget panel, const Resources &resources) {
    // Left aligned, its words where the other lines' begin, clear of their
    // swatches, so that they do not wander as the numbers change.
    reading_line = create_row(
        name_of(ChartWidget::reading), xmLabelWidgetClass, panel, nullptr,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left);
    // A line more, for a list of candidates too long for the panel.
    fix_label_lines(reading_line, lines_in(resources.reading_template) + 1);
    return reading_line;
}
// clang-format on

void show_reading(const chart::ChartView &view, const Resources &resources) {
    char text[256];
    chart::format_reading(resources.reading_template, view.reading.row, view.reading.thickness_um,
                          text, sizeof text, view.plate_nm);
    set_wrapped_text(reading_line, text);
}

void show_reading_hint(const Resources &resources) {
    set_wrapped_text(reading_line, resources.reading_hint);
}

}  // namespace yarx::ui
