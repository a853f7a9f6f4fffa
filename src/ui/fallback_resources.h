#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// The built-in resource list for the class "yarx": every text, font and
// colour the windows show.  Used when no application defaults file exists;
// the user's own resources (-xrm, ~/.Xresources) override it either way.
// A null-terminated list, grouped by window.
extern String *const fallback_resources;

// The texts the program reads itself, as the list gives them.  The
// resource tables take them as their defaults too, so that a resource
// missing from an application defaults file reads as the list has it.
namespace fallback {
inline constexpr char chart_title[] = "yarx";
inline constexpr char true_colours_title[] = "sRGB";
// The fonts' "µ" is the Latin-1 byte: the program sets no locale.
inline constexpr char reading_hint[] = "Point at the chart to read retardation and birefringence";
inline constexpr char plate_hint[] = "and what the accessory plate adds and subtracts";
inline constexpr char save_hint[] =
    "Save... or Ctrl+S writes the chart as shown to a PDF, SVG or PNG file";
inline constexpr char reading_template[] =
    "%r nm   order %o   birefringence %b at %t \265m\ncandidates: %m";
inline constexpr char plate_template[] = "with the %p nm plate: added %a, subtracted %s";
inline constexpr char pick_hint[] =
    "Press P or Pick colour, then click a colour on the screen\nto find it on the chart; Escape "
    "cancels";
inline constexpr char pick_template[] = "picked %h:  nearest %b\n%a";
inline constexpr char refused_text[] = "Another program holds the pointer: no colour picked";
inline constexpr char unreadable_text[] =
    "This display's pixels do not tell their colour: no colour picked";
inline constexpr char saved_text[] = "Saved %f";
inline constexpr char failed_text[] = "Not saved: %r";
// The figure window's title before what it shows, its reading and what
// it says on a display of no true colour.
inline constexpr char figure_title[] = "yarx";
inline constexpr char figure_template[] =
    "%r nm   order %o\nslow vibration at %s\260\n%a\260 from the axis in air";
inline constexpr char no_true_colour_text[] =
    "This display does not show true colour:\nno figure can be drawn";
// On two lines, within the panel's width.
inline constexpr char figure_save_hint[] =
    "Ctrl+S writes the figure as shown\nto a PNG, PDF or SVG file";
inline constexpr char figure_replace_text[] =
    "%f is there already.\nReplace it with the figure shown?";
inline constexpr char replace_text[] = "%f is there already.\nReplace it with the chart shown?";
// The birefringence lines' labels: smaller than the reading's text.
inline constexpr char fan_font[] = "-*-lucida-medium-r-*-*-12-*-*-*-*-*-iso8859-1";
}  // namespace fallback

}  // namespace yarx::ui
