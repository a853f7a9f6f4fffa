// The landscape figure, the printed chart: retardation across, thickness
// up, the lines of constant birefringence from the origin at the bottom
// left, black on white.
#pragma once

#include "print/figure.h"

namespace yarx::print {

void build_landscape(const FigureSettings &settings, Figure &f);

}  // namespace yarx::print
