// A figure filled in place for the settings: the chart's colours, the
// canvas's layout in portrait or the printed chart's in landscape, the
// fan, the minerals' lines and the caption.
#pragma once

#include "colour/chart_colours.h"
#include "print/figure.h"

namespace yarx::print {

void build_figure(const FigureSettings &settings, const colour::ChartColours &chart,
                  Figure &figure);

}  // namespace yarx::print
