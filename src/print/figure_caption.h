// The line under a figure that says what it shows: the illuminant, the
// colours, the section's thickness where there are lines, and the program.
#pragma once

#include "print/figure.h"

namespace yarx::print {

// µm and a middle dot in UTF-8, as the files take text; the window's fonts
// take Latin-1.
constexpr const char *micrometres = "\xc2\xb5m";
constexpr const char *middle_dot = " \xc2\xb7 ";

// Where the caption stands and how it looks: after a title of the
// layout's own, at its size unless it would be wider than width, when it
// is set smaller to fit.
struct CaptionStyle {
    const char *title;
    double x, baseline;
    Anchor anchor;
    double size, width;
    Rgb8 ink;
};

// The caption's text, "D65, chart colours (CIE RGB) · section 30 µm
// (dashed) · yarx 3.0" after the title; "(dashed)" where the figure dashes
// the thickness.
void write_caption(const FigureSettings &settings, const char *title, bool thickness_dashed,
                   char *out, std::size_t size);

void add_caption(Figure &f, const FigureSettings &settings, bool thickness_dashed,
                 const CaptionStyle &style);

}  // namespace yarx::print
