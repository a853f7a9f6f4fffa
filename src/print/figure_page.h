// An interference figure on a page of its own: the figure's pixels at the
// top, the page as wide as the figure, and the caption under it.  PDF and
// SVG hold the figure as one image under text, one unit a pixel, so that
// they lie over the PNG.
#pragma once

#include <cstddef>

#include "figure/figure_image.h"
#include "print/figure.h"

namespace yarx::print {

// Whether a figure can be drawn for the settings: a crystal that is not
// isotropic, each value in its range, an illuminant of the catalogue.
// False with one line that says which.
bool figure_settings_fit(const figure::Settings &settings, char *reason, std::size_t reason_size);

// The page for a computed image: the image at (0, 0), the caption's lines
// under it, as wide as the image allows.  The page keeps pointing at the
// image's pixels.
void build_figure_page(const figure::Settings &settings, const figure::Image &image, Figure &page);

// Computes the figure for the settings and writes its page to the path,
// PNG, PDF or SVG by the extension, atomically as the chart's files are.
// True, or false with one line that says why.  Not reentrant: the image
// and page live in static storage.
bool write_figure_file(const figure::Settings &settings, const char *path, char *reason,
                       std::size_t reason_size);

}  // namespace yarx::print
