// The chart in a file, for print: PNG, PDF or SVG, written without X from
// the same colours, geometry and minerals as the window's canvas.  The
// command yarx-chart and the window's Save both write through here, so the
// same settings give the same file.
#pragma once

#include <cstddef>

#include "colour/chart_colours.h"
#include "print/figure_settings.h"

namespace yarx::print {

// The format a file name asks for by its extension, in any case: ".png",
// ".pdf" or ".svg".  False for any other.
bool format_of(const char *path, Format &format);

// The limits on what a file may ask for: a size or resolution outside them
// is refused, not attempted.
constexpr int least_scale = 1, greatest_scale = 16;
constexpr int least_dpi = 1, greatest_dpi = 2400;
constexpr double greatest_megapixels = 200;
// A PDF or SVG page's side at most, in points or units: 200 inches, the
// largest page PDF readers take.
constexpr double greatest_page_side = 14400;

// Whether the settings can be written in the format: the illuminant is one
// of the catalogue's, the thickness, scale and dpi are in their ranges, a
// PNG stays within greatest_megapixels and a page within
// greatest_page_side.  False with one line that says
// which (no program name in front).
bool settings_fit(const FigureSettings &settings, Format format, char *reason,
                  std::size_t reason_size);

// Writes the chart to the path, in the format its extension asks for,
// atomically: through a temporary file beside it, renamed into place, so a
// failure leaves whatever was there before as it was, and no stray file.
// True, or false with one line that says why (with the system's reason
// where it gave one).  The chart is colour::compute_chart's for the
// settings' illuminant and rendering.  Not reentrant: the figure it builds
// lives in static storage.
bool write_chart(const FigureSettings &settings, const colour::ChartColours &chart,
                 const char *path, char *reason, std::size_t reason_size);

// Writes a figure already built, so placed, to the path in the format, as
// atomically as write_chart; the same answers.
struct Figure;
struct Placement;
bool write_built_figure(const Figure &figure, const Placement &placement, Format format,
                        const char *path, char *reason, std::size_t reason_size);

}  // namespace yarx::print
