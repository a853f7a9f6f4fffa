// The line under a figure that says what it shows: the illuminant, the
// colours, the section's thickness where there are lines, and the program.
#pragma once

#include "chart/text_writer.h"
#include "print/figure.h"

namespace yarx::print {

using chart::micrometres;
using chart::middle_dot;

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
