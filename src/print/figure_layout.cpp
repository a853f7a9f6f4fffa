#include "figure_layout.h"

#include "print/landscape_layout.h"
#include "print/portrait_layout.h"

namespace yarx::print {

void build_figure(const FigureSettings &settings, const colour::ChartColours &chart,
                  Figure &figure) {
    figure.rect_count = figure.line_count = figure.text_count = 0;
    figure.overflowed = false;
    for (int row = 0; row < colour::chart_rows; ++row)
        figure.band_colours[row] = colour::eight_bit_colour(chart.colours[row]);
    if (settings.landscape)
        build_landscape(settings, figure);
    else
        build_portrait(settings, figure);
}

}  // namespace yarx::print
