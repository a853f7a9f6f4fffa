// The portrait figure: the window's canvas, pixel for pixel, with the fan,
// the minerals' lines and a caption; on paper, white where the canvas is
// black outside the bands, and a retardation scale in the left margin.
#pragma once

#include "print/figure.h"

namespace yarx::print {

void build_portrait(const FigureSettings &settings, Figure &f);

}  // namespace yarx::print
