#include "resources.h"

#include <X11/StringDefs.h>
#include <Xm/Xm.h>

#include <cstddef>
#include <cstdio>
#include <iterator>

#include "chart/reading.h"
#include "figure/mineral_optics.h"
#include "figure/settings.h"
#include "ui/fallback_resources.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

// A resource read as a string, which the toolkit owns: the program, not a
// toolkit converter with its own ideas of a number, decides what to take.
XtResource text_resource(const char *name, const char *resource_class, std::size_t offset,
                         const char *default_value) {
    return {const_cast<String>(name),         const_cast<String>(resource_class),
            const_cast<String>(XtRString),    sizeof(String),
            static_cast<Cardinal>(offset),    const_cast<String>(XtRString),
            const_cast<char *>(default_value)};
}

// What the tables read, before the numbers are checked.
struct Texts {
    String fan_font;
    String reading_template, plate_template;
    String reading_hint, plate_hint, save_hint;
    String pick_hint, pick_template, refused_text, unreadable_text;
    String saved_text, failed_text, replace_text;
    String chart_title, true_colours_title;
    String geometry, x, y, default_position;
};

#define TEXT(name, resource_class, field, default_value) \
    text_resource(name, resource_class, offsetof(Texts, field), default_value)

// clang-format off
XtResource canvas[] = {
    TEXT("fanFont", "FanFont", fan_font, fallback::fan_font),
};
XtResource reading_line[] = {
    TEXT(XmNlabelString,    XmCLabelString,    reading_hint,     fallback::reading_hint),
    TEXT("readingTemplate", "ReadingTemplate", reading_template, fallback::reading_template),
};
XtResource plate_line[] = {
    TEXT(XmNlabelString,    XmCLabelString,    plate_hint,     fallback::plate_hint),
    TEXT("readingTemplate", "ReadingTemplate", plate_template, fallback::plate_template),
};
XtResource pick_line[] = {
    TEXT(XmNlabelString,    XmCLabelString,   pick_hint,       fallback::pick_hint),
    TEXT("pickTemplate",    "PickTemplate",   pick_template,   fallback::pick_template),
    TEXT("refusedText",     "RefusedText",    refused_text,    fallback::refused_text),
    TEXT("unreadableText",  "UnreadableText", unreadable_text, fallback::unreadable_text),
};
XtResource save_line[] = {
    TEXT(XmNlabelString, XmCLabelString, save_hint, fallback::save_hint),
    TEXT("savedText",   "SavedText",   saved_text,   fallback::saved_text),
    TEXT("failedText",  "FailedText",  failed_text,  fallback::failed_text),
    TEXT("replaceText", "ReplaceText", replace_text, fallback::replace_text),
};
// Whether the user gave the chart's shell a geometry or a position, or the
// dialog a position of its own: none has a default.
XtResource chart_shell[] = {
    TEXT(XmNtitle,            XmCTitle,            chart_title,        fallback::chart_title),
    TEXT("trueColoursTitle",  "TrueColoursTitle",  true_colours_title, fallback::true_colours_title),
    TEXT(XmNgeometry,         XmCGeometry,         geometry,           nullptr),
    TEXT(XmNx,                XmCPosition,         x,                  nullptr),
    TEXT(XmNy,                XmCPosition,         y,                  nullptr),
};
XtResource chart_dialog[] = {
    TEXT(XmNdefaultPosition, XmCDefaultPosition, default_position, nullptr),
};
// clang-format on
#undef TEXT

// The section's, read into the view alone.
struct SectionTexts {
    String thickness, compensator;
};
// clang-format off
XtResource section[] = {
    text_resource("thickness",   "Thickness",   offsetof(SectionTexts, thickness),   nullptr),
    text_resource("compensator", "Compensator", offsetof(SectionTexts, compensator), nullptr),
};
// clang-format on

// The figure window's, and its first state.
struct FigureTexts {
    String title, reading_template, no_true_colour_text, replace_text;
    String geometry, x, y;
    String mineral, numerical_aperture;
};
#define FIGURE_TEXT(name, resource_class, field, default_value) \
    text_resource(name, resource_class, offsetof(FigureTexts, field), default_value)
// clang-format off
XtResource figure_shell[] = {
    FIGURE_TEXT(XmNtitle,             XmCTitle,           title,               fallback::figure_title),
    FIGURE_TEXT(XmNgeometry,          XmCGeometry,        geometry,            nullptr),
    FIGURE_TEXT(XmNx,                 XmCPosition,        x,                   nullptr),
    FIGURE_TEXT(XmNy,                 XmCPosition,        y,                   nullptr),
};
XtResource figure_reading[] = {
    FIGURE_TEXT("readingTemplate",    "ReadingTemplate",  reading_template,    fallback::figure_template),
    FIGURE_TEXT("noTrueColourText",   "NoTrueColourText", no_true_colour_text, fallback::no_true_colour_text),
};
XtResource figure_save_line[] = {
    FIGURE_TEXT("replaceText",        "ReplaceText",      replace_text,        fallback::figure_replace_text),
};
XtResource figure_start[] = {
    FIGURE_TEXT("figureMineral",      "FigureMineral",    mineral,             nullptr),
    FIGURE_TEXT("numericalAperture",  "NumericalAperture", numerical_aperture, nullptr),
};
// clang-format on
#undef FIGURE_TEXT

// A mineral of the table, and one with a figure, when none is named.
constexpr char default_figure_mineral[] = "quartz";

template <std::size_t N>
void read_under(Widget parent, ChartWidget widget, const char *widget_class, Texts &texts,
                XtResource (&table)[N]) {
    XtGetSubresources(parent, &texts, const_cast<String>(name_of(widget)),
                      const_cast<String>(widget_class), table, N, nullptr, 0);
}

// Whether the user gave a shell a size, and a position, by its geometry
// or its x and y.
struct Given {
    bool size, position;
};
Given given_by(String geometry, String x, String y) {
    Given given{false, x || y};
    if (!geometry) return given;
    int at_x, at_y;
    unsigned int width, height;
    const int parts = XParseGeometry(geometry, &at_x, &at_y, &width, &height);
    given.size = parts & (WidthValue | HeightValue);
    given.position = given.position || (parts & (XValue | YValue));
    return given;
}

// The number a resource gives, from least to greatest, or the default,
// with a warning that names the resource and the text refused.
double number(const char *name, String text, double least, double greatest, double default_value) {
    double value = default_value;
    if (text && !chart::parse_number_in(text, least, greatest, value))
        std::fprintf(stderr, "yarx: %s '%s' is not a number from %g to %g; using %g\n", name, text,
                     least, greatest, default_value);
    return value;
}

}  // namespace

// The chart window's widgets are looked up as children of its form, which
// is what every resource of theirs that names them ("*canvasread.…")
// matches.
Resources read_resources(Widget toplevel, Widget chart_form) {
    Texts t{};
    Widget shell = XtParent(chart_form);
    XtGetSubresources(toplevel, &t, const_cast<String>(chart_shell_name),
                      const_cast<String>("XmDialogShell"), chart_shell, std::size(chart_shell),
                      nullptr, 0);
    XtGetSubresources(shell, &t, const_cast<String>(chart_dialog_name),
                      const_cast<String>("XmForm"), chart_dialog, std::size(chart_dialog), nullptr,
                      0);
    read_under(chart_form, ChartWidget::canvas, "XmDrawingArea", t, canvas);
    read_under(chart_form, ChartWidget::reading, "XmLabel", t, reading_line);
    read_under(chart_form, ChartWidget::plate_reading, "XmLabel", t, plate_line);
    read_under(chart_form, ChartWidget::pick_line, "XmLabel", t, pick_line);
    read_under(chart_form, ChartWidget::save_line, "XmLabel", t, save_line);

    Resources r{};
    r.fan_font = t.fan_font;
    r.reading_template = t.reading_template;
    r.plate_template = t.plate_template;
    r.pick_template = t.pick_template;
    r.reading_hint = t.reading_hint;
    r.plate_hint = t.plate_hint;
    r.save_hint = t.save_hint;
    r.pick_hint = t.pick_hint;
    r.refused_text = t.refused_text;
    r.unreadable_text = t.unreadable_text;
    r.saved_text = t.saved_text;
    r.failed_text = t.failed_text;
    r.replace_text = t.replace_text;
    r.chart_title = t.chart_title;
    r.true_colours_title = t.true_colours_title;
    const Given given = given_by(t.geometry, t.x, t.y);
    r.chart_size_given = given.size;
    r.chart_position_given = given.position;
    r.chart_centres_itself = t.default_position != nullptr;
    return r;
}

FigureResources read_figure_resources(Widget toplevel, Widget figure_form) {
    FigureTexts t{};
    XtGetSubresources(toplevel, &t, const_cast<String>(figure_shell_name),
                      const_cast<String>("XmDialogShell"), figure_shell, std::size(figure_shell),
                      nullptr, 0);
    XtGetSubresources(figure_form, &t, const_cast<String>(name_of(FigureWidget::reading)),
                      const_cast<String>("XmLabel"), figure_reading, std::size(figure_reading),
                      nullptr, 0);
    XtGetSubresources(figure_form, &t, const_cast<String>(name_of(FigureWidget::saved)),
                      const_cast<String>("XmLabel"), figure_save_line, std::size(figure_save_line),
                      nullptr, 0);
    XtGetApplicationResources(toplevel, &t, figure_start, std::size(figure_start), nullptr, 0);

    FigureResources r{};
    r.title = t.title;
    r.reading_template = t.reading_template;
    r.no_true_colour_text = t.no_true_colour_text;
    r.replace_text = t.replace_text;
    r.first_mineral = default_figure_mineral;
    const figure::MineralOptics *named = t.mineral ? figure::mineral_named(t.mineral) : nullptr;
    if (named && named->optic_class != figure::OpticClass::isotropic)
        r.first_mineral = named->name;
    else if (t.mineral)
        std::fprintf(stderr, "yarx: figureMineral '%s' is not a mineral with a figure; using %s\n",
                     t.mineral, default_figure_mineral);
    r.position_given = given_by(t.geometry, t.x, t.y).position;
    const figure::Range &na = figure::numerical_aperture_range;
    r.numerical_aperture = number("numericalAperture", t.numerical_aperture, na.least, na.greatest,
                                  figure::Settings{}.numerical_aperture);
    return r;
}

void read_section(Widget toplevel, chart::ChartView &view) {
    SectionTexts t{};
    XtGetApplicationResources(toplevel, &t, section, std::size(section), nullptr, 0);
    view.thickness_um = number("thickness", t.thickness, chart::least_thickness_um,
                               chart::greatest_thickness_um, view.thickness_um);
    view.plate_nm = number("compensator", t.compensator, chart::no_plate_nm,
                           chart::greatest_plate_nm, view.plate_nm);
}

String resource_text(Widget widget, const char *widget_class, const char *name,
                     const char *resource_class, String default_value) {
    String value = nullptr;
    XtResource resource = text_resource(name, resource_class, 0, default_value);
    XtGetSubresources(XtParent(widget), &value, XtName(widget), const_cast<String>(widget_class),
                      &resource, 1, nullptr, 0);
    return value;
}

}  // namespace yarx::ui
