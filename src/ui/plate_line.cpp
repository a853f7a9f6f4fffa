#include "plate_line.h"

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstdio>

#include "chart/chart_geometry.h"
#include "chart/reading.h"
#include "ui/chart_window.h"
#include "ui/resources.h"

namespace yarx::ui {

namespace {

// The swatches stand in the margin left of the bands, the added one first
// as the words name it, so that the line's words start where the reading
// line's do.
constexpr int swatch_size = 16, swatch_border = 1, swatch_spacing = 4;
constexpr int swatch_step = swatch_spacing + swatch_size + 2 * swatch_border;
constexpr int words_left = 2 * swatch_step;
static_assert(words_left < chart::band_left);

double plate_nm = chart::default_plate_nm;
Widget plate_line;
Widget added_swatch, subtracted_swatch;
// The resources' words, with %p %a %s (and the reading line's
// placeholders) where the reading goes.  Without them, the numbers alone.
String plate_template = const_cast<String>("%a  %s");
int row_shown = chart::no_row;

// The plate's retardation in nm from "yarx.compensator", or the default.
// Read as a string, as the thickness is.
void read_plate(Widget toplevel) {
    const String text = resource_of(toplevel, "compensator", "Compensator");
    if (text && !chart::parse_plate(text, plate_nm))
        std::fprintf(stderr, "yarx: compensator '%s' is not a number from %g to %g; using %g\n",
                     text, chart::no_plate_nm, chart::greatest_plate_nm, chart::default_plate_nm);
}

// The band's pixel as the last draw got it, as the swatch window's own
// background: the server paints it on every exposure, and nothing here
// waits for an answer.  No row, or no chart yet, and no swatch shows.
void show_band(Widget swatch, int row) {
    const GivenColour *bands = band_colours();
    const bool shows = row != chart::no_row && bands && XtIsRealized(swatch);
    if (shows) {
        XSetWindowBackground(XtDisplay(swatch), XtWindow(swatch), bands[row].pixel);
        XClearWindow(XtDisplay(swatch), XtWindow(swatch));
    }
    XtSetMappedWhenManaged(swatch, shows ? True : False);
}

void show_swatches() {
    if (row_shown == chart::no_row) return;
    const chart::PlateRows rows = chart::rows_with_plate(row_shown, plate_nm);
    show_band(added_swatch, rows.added);
    show_band(subtracted_swatch, rows.subtracted);
}

// Widget resources read best one name-value pair a line.
// clang-format off
Widget build_swatch(const char *name, Widget row, Widget to_its_left) {
    return XtVaCreateManagedWidget(
        name, xmDrawingAreaWidgetClass, row,
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
Widget build_plate_line(Widget toplevel, Widget form, Widget above) {
    read_plate(toplevel);
    Widget row = XtVaCreateWidget(
        "canvasplate", xmFormWidgetClass, form,
        XmNtopAttachment, XmATTACH_WIDGET,
        XmNtopWidget, above,
        XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_FORM,
        nullptr);
    added_swatch = build_swatch("canvasadded", row, nullptr);
    subtracted_swatch = build_swatch("canvassubtracted", row, added_swatch);
    // Fixed in size and left aligned, as the reading line is.
    plate_line = XtVaCreateManagedWidget(
        "canvasplateread", xmLabelWidgetClass, row,
        XmNrecomputeSize, False,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left - words_left,
        XmNtopAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM,
        XmNleftAttachment, XmATTACH_WIDGET,
        XmNleftWidget, subtracted_swatch,
        XmNrightAttachment, XmATTACH_FORM,
        nullptr);
    plate_template =
        resource_of(plate_line, "readingTemplate", "ReadingTemplate", plate_template);

    // The swatches in the middle of the line's height, which its font gives.
    // The row is given that height now: the chart window's size is asked
    // for before the window is first laid out, when a form inside it has
    // no size of its own yet.
    Dimension line_height = 0;
    XtVaGetValues(plate_line, XmNheight, &line_height, nullptr);
    const int swatch_height = swatch_size + 2 * swatch_border;
    const int top = std::max(0, (line_height - swatch_height) / 2);
    XtVaSetValues(added_swatch, XmNtopOffset, top, nullptr);
    XtVaSetValues(subtracted_swatch, XmNtopOffset, top, nullptr);
    XtVaSetValues(row, XmNheight, std::max<int>(line_height, swatch_height), nullptr);

    if (plate_nm == chart::no_plate_nm) return above;
    XtManageChild(row);
    return row;
}
// clang-format on

double plate_in_force_nm() { return plate_nm; }

// The label keeps its own copy of the text, as the reading line's does.
void show_plate_row(int row, double thickness_um) {
    if (plate_nm == chart::no_plate_nm || row == chart::no_row) return;
    row_shown = row;
    char text[256];
    chart::format_reading(plate_template, row, thickness_um, text, sizeof text, plate_nm);
    XmString label = XmStringCreateLocalized(text);
    XtVaSetValues(plate_line, XmNlabelString, label, nullptr);
    XmStringFree(label);
    show_swatches();
}

void swatches_follow_chart() {
    if (plate_nm != chart::no_plate_nm) show_swatches();
}

}  // namespace yarx::ui
