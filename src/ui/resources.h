// The resources the program reads itself, besides those its widgets take:
// read once at start-up through the toolkit's resource tables, with the
// fallback list's texts as their defaults, into one struct that the
// windows' builders receive.
#pragma once

#include <X11/Intrinsic.h>

#include "chart/chart_view.h"

namespace yarx::ui {

struct Resources {
    // *canvas.fanFont: the font of the birefringence lines' labels.
    String fan_font;
    // The templates of the reading line, the plate's line and the pick line.
    String reading_template, plate_template, pick_template;
    // What the reading line, the plate's line and the save line say before
    // they have anything to say.
    String reading_hint, plate_hint, save_hint;
    // The pick line's texts: its hint, and what it says when the pointer
    // could not be had or the pixel not be read.
    String pick_hint, refused_text, unreadable_text;
    // What the save line says of a save: %f the file, %r why it failed;
    // and what the question asks before a save replaces the file %f.
    String saved_text, failed_text, replace_text;
    // The chart window's title before the illuminant, and the word after it
    // in true colours.
    String chart_title, true_colours_title;
    // What the user's resources decide about the chart window's place: its
    // size, its position, or that it centres itself over the setup window.
    bool chart_size_given, chart_position_given, chart_centres_itself;
};

// The figure window's texts, and what the user's resources decide about its
// first state besides the toggle's own set resource.
struct FigureResources {
    // The title before ": figure of ...".
    String title;
    // The reading's template, and what the reading line says on a display
    // that cannot show the figure's colours.
    String reading_template, no_true_colour_text;
    // The question before a save replaces a file: %f the file.
    String replace_text;
    // yarx.figureMineral: the first figure's mineral, by name; quartz when
    // the resources give none.  And yarx.numericalAperture.
    const char *first_mineral;
    double numerical_aperture;
    // Whether the user placed the figure window's shell: it then opens
    // there, and not in the screen's corner.
    bool position_given;
};

// Reads them for the top-level shell and for the chart window's widgets,
// which are looked up under the chart dialog's form.
Resources read_resources(Widget toplevel, Widget chart_form);

// Reads the figure window's, its widgets' under its form; warns once on
// standard error of a mineral with no figure or an aperture out of its
// range, and keeps the default.
FigureResources read_figure_resources(Widget toplevel, Widget figure_form);

// yarx.thickness and yarx.compensator, the section's thickness in µm and
// the accessory plate's retardation in nm (0, no plate), checked, into the
// view that shows them; warns once on standard error of one that is not a
// number in its range, and keeps the view's default.
void read_section(Widget toplevel, chart::ChartView &view);

// The text the resources give the widget, of the class named, for one of
// its resources; the default when they give none.  For a resource the
// widget shows, as the text the user reads.
String resource_text(Widget widget, const char *widget_class, const char *name,
                     const char *resource_class, String default_value);

}  // namespace yarx::ui
