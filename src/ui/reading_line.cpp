#include "reading_line.h"

#include <Xm/Label.h>
#include <Xm/Xm.h>

#include <cstdio>

#include "chart/chart_geometry.h"
#include "chart/reading.h"
#include "ui/form_row.h"
#include "ui/plate_line.h"
#include "ui/resources.h"

namespace yarx::ui {

namespace {

Widget reading_line;
// The resources' words, with %r %o %b %t %m where the reading goes, and
// "\n" where a line ends.  Without them, the numbers alone.
String reading_template = const_cast<String>("%r  %o  %b  %t");
double thickness_um = chart::default_thickness_um;
bool fan_thickness = false;
// The row and the thickness whose reading the line shows; a move that
// changes neither changes nothing.
int row_shown = chart::no_row;
double thickness_shown = 0;

// The thickness in µm from "yarx.thickness", or the default.  Read as a
// string, so that this check, not a toolkit converter with its own ideas
// of a number, decides what to take.
void read_thickness(Widget toplevel) {
    const String text = resource_of(toplevel, "thickness", "Thickness");
    if (text && !chart::parse_thickness(text, thickness_um))
        std::fprintf(stderr, "yarx: thickness '%s' is not a number from %g to %g; using %g\n", text,
                     chart::least_thickness_um, chart::greatest_thickness_um,
                     chart::default_thickness_um);
}

// The label keeps the height it is made with, that of the hint it shows
// first.  So that a reading of more lines than the hint shows them all, the
// hint gets empty lines up to as many as the template has: an empty line
// after a separator is as tall as a line of text.  (XmStringCreateLocalized
// in show_reading makes a separator of each "\n".)
void make_room_for_template_lines(Widget label) {
    int lines = 1;
    for (const char *p = reading_template; *p; ++p)
        if (*p == '\n') ++lines;
    XmString hint = nullptr;
    XtVaGetValues(label, XmNlabelString, &hint, nullptr);
    if (!hint) return;
    const int hint_lines = XmStringLineCount(hint);
    if (hint_lines < lines) {
        for (int k = hint_lines; k < lines; ++k)
            hint = XmStringConcatAndFree(hint, XmStringSeparatorCreate());
        XtVaSetValues(label, XmNrecomputeSize, True, XmNlabelString, hint, nullptr);
        XtVaSetValues(label, XmNrecomputeSize, False, nullptr);
    }
    XmStringFree(hint);
}

// The label keeps its own copy of the text.  The XmString made for it is
// given back at once: set through a typed argument instead, each
// conversion would stay referenced from the label until it is destroyed,
// some bytes more for every row the pointer crosses.
void show_reading(int x, int y) {
    const int row = chart::row_under(x, y);
    if (row == chart::no_row) return;
    const double thickness = chart::thickness_under(x, fan_thickness, thickness_um);
    if (row == row_shown && thickness == thickness_shown) return;
    row_shown = row;
    thickness_shown = thickness;
    char text[256];
    chart::format_reading(reading_template, row, thickness, text, sizeof text, plate_in_force_nm());
    XmString label = XmStringCreateLocalized(text);
    XtVaSetValues(reading_line, XmNlabelString, label, nullptr);
    XmStringFree(label);
    show_plate_row(row, thickness);
}

// The last of this motion event and those queued right behind it for the
// same window: only where the pointer is now is worth showing.  Looks only
// at what has already arrived, without asking the server anything.
XEvent latest_motion(const XEvent &event) {
    Display *display = event.xany.display;
    XEvent latest = event;
    while (XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent next;
        XPeekEvent(display, &next);
        if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window) break;
        XNextEvent(display, &latest);
    }
    return latest;
}

void follow_pointer(Widget, XtPointer, XEvent *event, Boolean *) {
    if (event->type == EnterNotify) {
        show_reading(event->xcrossing.x, event->xcrossing.y);
    } else if (event->type == MotionNotify) {
        const XEvent latest = latest_motion(*event);
        show_reading(latest.xmotion.x, latest.xmotion.y);
    }
}

}  // namespace

// Widget resources read best one name-value pair a line.
// clang-format off
Widget build_reading_line(Widget toplevel, Widget form, Widget above) {
    // Fixed in size, so that a new reading never resizes the window; left
    // aligned, above the bands' left edge, so that its words do not wander
    // as the numbers change.
    reading_line = create_row(
        "canvasread", xmLabelWidgetClass, form, above,
        XmNrecomputeSize, False,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left);
    reading_template =
        resource_of(reading_line, "readingTemplate", "ReadingTemplate", reading_template);
    make_room_for_template_lines(reading_line);
    read_thickness(toplevel);
    return reading_line;
}
// clang-format on

// Motion alone, without hints: a hint would cost a QueryPointer, a round
// trip, for every move.  Entering reads too, since the pointer may come to
// rest on the first row it enters.
void read_under_pointer(Widget canvas) {
    XtAddEventHandler(canvas, PointerMotionMask | EnterWindowMask, False, follow_pointer, nullptr);
}

void read_thickness_from_fan(bool fan_shown) { fan_thickness = fan_shown; }

}  // namespace yarx::ui
