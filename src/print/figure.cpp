// A figure filled in place: the chart's colours, then the layout that the
// settings ask for.

#include "figure.h"

#include "chart/text_writer.h"
#include "print/landscape_layout.h"
#include "print/portrait_layout.h"

namespace yarx::print {

void Figure::add(const Rect &rect) {
    if (rect_count == max_rects) {
        overflowed = true;
        return;
    }
    rects[rect_count++] = rect;
}

void Figure::add(const Line &line) {
    if (line_count == max_lines) {
        overflowed = true;
        return;
    }
    lines[line_count++] = line;
}

void Figure::add(double x, double y, double size, Anchor anchor, double angle, Rgb8 colour,
                 const char *text) {
    if (text_count == max_texts) {
        overflowed = true;
        return;
    }
    Text &t = texts[text_count++];
    t = {x, y, size, anchor, angle, colour, {}};
    chart::TextWriter(t.text, sizeof t.text).put(text);
}

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
