// The chart in a file, for print: PNG, PDF or SVG, written without X from
// the same colours, geometry and minerals as the window's canvas.  The
// command yarx-chart and the window's Save both write through here, so the
// same settings give the same file.
#pragma once

#include <cstddef>

#include "print/figure_settings.h"

namespace yarx::print {

// The format a file name asks for by its extension, in any case: ".png",
// ".pdf" or ".svg".  False for any other, with one line that says so.
bool format_of(const char *path, Format &format, char *reason, std::size_t reason_size);

// Whether the section's thickness is in the chart's range; false with
// "thickness out of range (1 to 1000 µm)".  The chart and the figure both
// refuse a thickness so.
bool thickness_in_range(double thickness_um, char *reason, std::size_t reason_size);

// The limits on what a file may ask for: a size or resolution outside them
// is refused, not attempted.
constexpr int least_scale = 1, greatest_scale = 16;
constexpr int least_dpi = 1, greatest_dpi = 2400;
constexpr double greatest_megapixels = 200;
// A PDF or SVG page's side at most, in points or units: 200 inches, the
// largest page PDF readers take.
constexpr double greatest_page_side = 14400;

// Writes the chart for the settings to the path, in the format its
// extension asks for, through an AtomicFile (print/atomic_file.h): a
// failure or a signal leaves whatever was there before as it was, and no
// stray file.  A PNG in true colours is tagged sRGB.  Refused, with one line that says which (no
// program name in front), when the path's extension names no format, the
// illuminant is none of the catalogue's, the thickness, scale or dpi is
// out of its range, a PNG would be more than greatest_megapixels or a page
// larger than greatest_page_side a side; failed, with one line that says
// why (with the system's reason where it gave one), when the file could not
// be written.  Not reentrant: the chart and the figure live in static
// storage.
enum class WriteOutcome { written, refused, failed };
WriteOutcome write_chart(const FigureSettings &settings, const char *path, char *reason,
                         std::size_t reason_size);

// Writes a figure already built, so placed, to the path in the format, as
// atomically as write_chart, a PNG in true colours tagged sRGB; written,
// or failed with one line that says why.
struct Figure;
struct Placement;
WriteOutcome write_built_figure(const Figure &figure, const Placement &placement, Format format,
                                colour::Rendering rendering, const char *path, char *reason,
                                std::size_t reason_size);

}  // namespace yarx::print
