// What a chart on paper is to show and how large: the settings the command
// line and the window's Save give, and the file formats.  Plain values.
#pragma once

#include "colour/chart_colours.h"
#include "colour/illuminants.h"

namespace yarx::print {

enum class Format { png, pdf, svg };

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

}  // namespace yarx::print
