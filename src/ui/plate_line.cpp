#include "plate_line.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/Xm.h>

#include <algorithm>

#include "chart/chart_geometry.h"
#include "chart/reading.h"
#include "ui/widget_chores.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

using chart::ChartView;

// The swatches stand left of the words, the added one first as the words
// name it, so that the line's words start where the reading line's do.
constexpr int swatch_size = 16, swatch_border = 1, swatch_spacing = 4;
constexpr int swatch_step = swatch_spacing + swatch_size + 2 * swatch_border;
constexpr int words_left = 2 * swatch_step;
static_assert(words_left < chart::band_left);

Widget plate_line;
Widget added_swatch, subtracted_swatch;

// The band's pixel as the last draw got it: no row, or no chart yet, and
// no swatch shows.
void show_band(Widget swatch, const ChartView &view, int row) {
    const bool shows = row != chart::no_row && view.drawn && XtIsRealized(swatch);
    if (shows) paint_swatch(swatch, view.band(row).pixel);
    XtSetMappedWhenManaged(swatch, shows ? True : False);
}

// Widget resources read best one name-value pair a line.
// clang-format off
Widget build_swatch(ChartWidget name, Widget row, Widget to_its_left) {
    return XtVaCreateManagedWidget(
        name_of(name), xmDrawingAreaWidgetClass, row,
        XmNwidth, swatch_size,
        XmNheight, swatch_size,
        XmNborderWidth, swatch_border,
        XmNresizePolicy, XmRESIZE_NONE,
        XmNtraversalOn, False,
        XmNmappedWhenManaged, False,
        XmNtopAttachment, XmATTACH_FORM,
        XmNleftAttachment, to_its_left ? XmATTACH_WIDGET : XmATTACH_FORM,
        XmNleftWidget, to_its_left,
        XmNleftOffset, swatch_spacing,
        nullptr);
}
// clang-format on

}  // namespace

// clang-format off
Widget build_plate_line(Widget panel, Widget above, const ChartView &view) {
    Widget row = create_row(name_of(ChartWidget::plate), xmFormWidgetClass, panel, above);
    added_swatch = build_swatch(ChartWidget::added_swatch, row, nullptr);
    subtracted_swatch = build_swatch(ChartWidget::subtracted_swatch, row, added_swatch);
    // Fixed in size and left aligned, as the reading line is.
    plate_line = XtVaCreateManagedWidget(
        name_of(ChartWidget::plate_reading), xmLabelWidgetClass, row,
        XmNrecomputeSize, False,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left - words_left,
        XmNtopAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM,
        XmNleftAttachment, XmATTACH_WIDGET,
        XmNleftWidget, subtracted_swatch,
        XmNrightAttachment, XmATTACH_FORM,
        nullptr);

    // The swatches in the middle of the line's height, which its font gives.
    // The row is given that height now: the chart window's size is asked
    // for before the window is first laid out, when a form inside it has
    // no size of its own yet.
    // Two lines high, for a reading too long for the panel.
    fix_label_lines(plate_line, 2);
    Dimension line_height = 0;
    XtVaGetValues(plate_line, XmNheight, &line_height, nullptr);
    const int swatch_height = swatch_size + 2 * swatch_border;
    const int top = std::max(0, (line_height - swatch_height) / 2);
    XtVaSetValues(added_swatch, XmNtopOffset, top, nullptr);
    XtVaSetValues(subtracted_swatch, XmNtopOffset, top, nullptr);
    XtVaSetValues(row, XmNheight, std::max<int>(line_height, swatch_height), nullptr);

    if (view.plate_nm != chart::no_plate_nm) return row;
    XtUnmanageChild(row);
    return above;
}
// clang-format on

void show_plate(const ChartView &view, const Resources &resources) {
    if (view.plate_nm == chart::no_plate_nm || view.reading.row == chart::no_row) return;
    char text[256];
    chart::format_reading(resources.plate_template, view.reading.row, view.reading.thickness_um,
                          text, sizeof text, view.plate_nm);
    set_wrapped_text(plate_line, text);
    swatches_follow_chart(view);
}

// Its hint, or its reading at the chart's last row, whose numbers are the
// longest.
int plate_line_width(const ChartView &view, const Resources &resources) {
    if (view.plate_nm == chart::no_plate_nm) return 0;
    char text[256];
    chart::format_reading(resources.plate_template, chart::last_row, view.thickness_um, text,
                          sizeof text, view.plate_nm);
    return words_left +
           std::max(width_for(plate_line, resources.plate_hint), width_for(plate_line, text));
}

void show_plate_hint(const ChartView &view, const Resources &resources) {
    if (view.plate_nm != chart::no_plate_nm) set_wrapped_text(plate_line, resources.plate_hint);
}

void swatches_follow_chart(const ChartView &view) {
    if (view.plate_nm == chart::no_plate_nm || view.reading.row == chart::no_row) return;
    const chart::PlateRows rows = chart::rows_with_plate(view.reading.row, view.plate_nm);
    show_band(added_swatch, view, rows.added);
    show_band(subtracted_swatch, view, rows.subtracted);
}

}  // namespace yarx::ui
