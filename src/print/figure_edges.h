// The lines a figure draws from the chart's origin, the fan's and the
// minerals', and their labels along the edges of the bands where they
// leave: what the portrait and the landscape layouts share.
#pragma once

#include <iterator>

#include "chart/fan_geometry.h"
#include "chart/minerals.h"
#include "print/edge_labels.h"
#include "print/figure.h"

namespace yarx::print {

// Minerals of the same birefringence share a line; each keeps a label of
// its own, and the labels of a crowd are shifted apart along the edge with
// a short leader to the line's end.  Shifting keeps every name, where
// merging them would make labels too long for the canvas's right margin; a
// label is left out only when its stretch of the edge cannot hold them
// all, the least important first: the fan's minor values, then the
// minerals, then the fan's major values.
enum Importance { minor_value, mineral_name, major_value };

struct ChartLine {
    int thousandths;
    Importance importance;
    const char *name;  // a mineral's, or the fan line's value
};

constexpr int max_chart_lines =
    chart::fan_line_count + static_cast<int>(std::size(chart::minerals));

struct ChartLines {
    ChartLine lines[max_chart_lines];
    int count;
};

// The fan's lines and the minerals' that the settings ask for.
ChartLines chart_lines(const FigureSettings &settings);

// The window's dashes over a black line under them, which show on every
// band, dark or light.
void add_dashed(Figure &f, double x0, double y0, double x1, double y1, double width);

// An edge of the bands that lines leave by, and how its labels stand
// beyond it: down a vertical edge, level and stacked; along a horizontal
// one, turned to read upwards.  The lines end at the bands; the labels'
// leaders start at the edge, just outside the frame.
struct Edge {
    bool vertical = false;
    double at = 0;       // the x of a vertical edge, the y of a horizontal one
    double outward = 1;  // +1 to the right or downwards, -1 to the left or upwards
    double low = 0, high = 0;
    Span obstacles[max_obstacles] = {};
    int obstacle_count = 0;
};

// The labels' look: their size, the gap kept between two of them and from
// an obstacle, the length of the leaders to them and their width.
struct LabelStyle {
    double size, gap, leader, leader_width;
    Rgb8 ink;
};

// A line's end on its edge, and the label that goes with it.
struct EdgeEnd {
    double x, y;
    const char *text;
};

// The ends of the chart's lines on two edges, sorted into the edge each
// leaves by.
struct EdgeEnds {
    EdgeEnd ends[2][max_chart_lines];
    Importance importance[2][max_chart_lines];
    int counts[2];

    void add(int edge, const EdgeEnd &end, Importance how_important) {
        ends[edge][counts[edge]] = end;
        importance[edge][counts[edge]++] = how_important;
    }
};

// Places and draws the labels of the lines that leave by one of the two
// edges; more than max_edge_labels is a fault the figure notes.
void label_edge(Figure &f, const Edge &edge, const EdgeEnds &ends, int which,
                const LabelStyle &style);

}  // namespace yarx::print
