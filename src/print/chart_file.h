// The chart in a file, for print: PNG, PDF or SVG, written without X from
// the same colours, geometry and minerals as the window's canvas.  The
// command yarx-chart and the window's Save both write through here, so the
// same settings give the same file.
#pragma once

#include <cstddef>

#include "colour/chart_colours.h"
#include "colour/illuminants.h"

namespace yarx::print {

enum class Format { png, pdf, svg };

// The format a file name asks for by its extension, in any case: ".png",
// ".pdf" or ".svg".  False for any other.
bool format_of(const char *path, Format &format);

// A page to fit the figure on, with margins, for print; none for a page of
// the figure's own size.
enum class Paper { none, a4, a3, letter };

// The window's illuminant at start, worked out when the program is built.
constexpr int default_illuminant = colour::id_of("d68");

struct FigureSettings {
    int illuminant = default_illuminant;
    colour::Rendering rendering = colour::Rendering::cie_rgb;
    bool fan = false, minerals = false;
    double thickness_um = 30;  // the emphasised thickness
    bool landscape = false;
    Paper paper = Paper::none;
    int dpi = 300;  // pixels an inch for a PNG of a paper page
    int scale = 1;  // pixels (or units) a canvas pixel, without paper
};

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

}  // namespace yarx::print
