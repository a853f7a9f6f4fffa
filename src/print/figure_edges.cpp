#include "figure_edges.h"

#include <algorithm>
#include <array>

namespace yarx::print {

namespace {

using chart::fan_line_count;
using chart::fan_lines;

// The window's dashes: 4 pixels of white, 4 of black, from the start.
constexpr double dash_length = 4;

// The fan's values, ".010", where the labels can point at them.
constexpr auto fan_values = [] {
    std::array<chart::FanLabelText, fan_line_count> values{};
    for (int i = 0; i < fan_line_count; ++i)
        values[i] = chart::fan_label_text(fan_lines[i].thousandths);
    return values;
}();

}  // namespace

ChartLines chart_lines(const FigureSettings &settings) {
    ChartLines all{};
    if (settings.fan)
        for (int i = 0; i < fan_line_count; ++i)
            all.lines[all.count++] = {fan_lines[i].thousandths,
                                      fan_lines[i].major ? major_value : minor_value,
                                      fan_values[i].data()};
    if (settings.minerals)
        for (const chart::Mineral &mineral : chart::minerals)
            all.lines[all.count++] = {mineral.greatest_thousandths, mineral_name, mineral.name};
    return all;
}

void add_dashed(Figure &f, double x0, double y0, double x1, double y1, double width) {
    f.add(Line{x0, y0, x1, y1, width, black, solid});
    f.add(Line{x0, y0, x1, y1, width, white, dash_length});
}

void label_edge(Figure &f, const Edge &edge, const EdgeEnds &ends, int which,
                const LabelStyle &style) {
    EdgeLabel labels[max_edge_labels];
    if (ends.counts[which] > max_edge_labels) f.overflowed = true;
    const int count = std::min(ends.counts[which], max_edge_labels);
    const EdgeEnd *end = ends.ends[which];
    for (int i = 0; i < count; ++i)
        labels[i] = {edge.vertical ? end[i].y : end[i].x, style.size, ends.importance[which][i], 0,
                     false};
    place_along_edge(labels, count, edge.low, edge.high, edge.obstacles, edge.obstacle_count,
                     style.gap);
    // The baseline's offset from a label's middle, across its lines of text.
    const double to_baseline = (label_ascent - label_descent) / 2 * style.size;
    const double out = edge.at + edge.outward * style.leader;
    const double text_at = out + edge.outward * style.gap * 2;
    for (int i = 0; i < count; ++i) {
        if (!labels[i].shown) continue;
        const double centre = labels[i].centre;
        if (edge.vertical) {
            f.add(Line{edge.at, end[i].y, out, centre, style.leader_width, style.ink, solid});
            f.add(text_at, centre + to_baseline, style.size, Anchor::start, 0, style.ink,
                  end[i].text);
        } else {
            f.add(Line{end[i].x, edge.at, centre, out, style.leader_width, style.ink, solid});
            f.add(centre + to_baseline, text_at, style.size,
                  edge.outward < 0 ? Anchor::start : Anchor::end, -90, style.ink, end[i].text);
        }
    }
}

}  // namespace yarx::print
