#include "landscape_layout.h"

#include <algorithm>
#include <cstdio>

#include "chart/chart_geometry.h"
#include "chart/reading.h"
#include "print/figure_caption.h"
#include "print/figure_edges.h"

namespace yarx::print {

namespace {

// Retardation across, 0 nm at the left, one unit a band; thickness up,
// 0 µm at the bottom to 50 µm at the top; the lines labelled along the
// top and right edges; the orders along the bottom.
constexpr double plot_width = colour::chart_rows;
constexpr double greatest_um = 50;
constexpr double units_per_um = 12;
constexpr double plot_height = greatest_um * units_per_um;
constexpr double band_width = plot_width / colour::chart_rows;

constexpr double margin = 16;
constexpr double label_size = 11, number_size = 10, title_size = 12, caption_size = 11;
constexpr double label_gap = 1.5, leader = 8, leader_width = 0.5;
constexpr LabelStyle style{label_size, label_gap, leader, leader_width, black};
constexpr double tick = 5, tick_width = 0.75;
constexpr double rule = 1;  // the frame's width, and the lines' every 10 µm
constexpr double mineral_line_width = 0.75, fan_line_width = 1, order_mark_width = 1;
constexpr double overhang = 40;
constexpr double axis_room = 64;  // left of the bands: the thickness axis and its title

constexpr double last_nm = chart::last_row * colour::retardation_step_nm;

constexpr const char *title = "Interference colours between crossed polarisers";

struct Plot {
    double left, top;
    double right() const { return left + plot_width; }
    double bottom() const { return top + plot_height; }
    // Band i stands for 2.5 i nm; its middle is where that retardation is.
    double x_of(double nm) const {
        return left + (nm / colour::retardation_step_nm + 0.5) * band_width;
    }
    double y_of(double um) const { return bottom() - um * units_per_um; }
};

// Where a line of birefringence leaves the bands: the top edge at 50 µm,
// or the right edge at the chart's last retardation.
bool leaves_at_top(int thousandths) { return thousandths * greatest_um <= last_nm; }
EdgeEnd line_end(const Plot &p, int thousandths, const char *text) {
    if (leaves_at_top(thousandths)) return {p.x_of(thousandths * greatest_um), p.top, text};
    return {p.x_of(last_nm), p.y_of(last_nm / thousandths), text};
}

// The widest label on each edge, which sets the margins.
struct LabelWidths {
    double top, right;
};
LabelWidths widest_labels(const ChartLines &lines) {
    LabelWidths widest{0, 0};
    for (int i = 0; i < lines.count; ++i) {
        const double width = text_width(lines.lines[i].name, label_size);
        double &edge = leaves_at_top(lines.lines[i].thousandths) ? widest.top : widest.right;
        edge = std::max(edge, width);
    }
    return widest;
}

// A filled band across the plot, frame included, or up it.
Rect column_at(const Plot &p, double x, double width) {
    return {x, p.top, width, plot_height, black};
}
Rect row_at(const Plot &p, double y, double height) {
    return {p.left - rule, y, plot_width + 2 * rule, height, black};
}

void add_grid(Figure &f, const Plot &p) {
    using chart::grid_step;
    // Every 100 nm a band's width of black, doubled every 500 nm, as the
    // canvas has its grid rows; every 10 µm a line across.
    for (int k = 0; k * grid_step < colour::chart_rows; ++k)
        f.add(column_at(p, p.left + k * grid_step * band_width, band_width));
    for (int k = 0; k * grid_step + 1 < colour::chart_rows; k += chart::heavy_every)
        f.add(column_at(p, p.left + (k * grid_step + 1) * band_width, band_width));
    for (int um = 10; um < greatest_um; um += 10)
        f.add(Rect{p.left, p.y_of(um) - rule / 2, plot_width, rule, black});
    // The frame, just outside the bands.
    f.add(row_at(p, p.top - rule, rule));
    f.add(row_at(p, p.bottom(), rule));
    f.add(column_at(p, p.left - rule, rule));
    f.add(column_at(p, p.right(), rule));
}

// A short black line, solid.
Line tick_line(double x0, double y0, double x1, double y1, double width) {
    return {x0, y0, x1, y1, width, black, solid};
}

// The axes and their titles; returns the bottom of what they put under
// the bands.
double add_axes(Figure &f, const Plot &p) {
    char number[16];
    // Retardation every 100 nm along the bottom.
    const double tick_top = p.bottom() + 1;
    const double number_baseline = tick_top + tick + 2 + label_ascent * number_size;
    const double names_right = p.left - tick - 4;  // where the rows' names end
    for (int nm = 0; nm <= last_nm; nm += 100) {
        const double x = p.x_of(nm);
        f.add(tick_line(x, tick_top, x, tick_top + tick, tick_width));
        std::snprintf(number, sizeof number, "%d", nm);
        f.add(x, number_baseline, number_size, Anchor::middle, 0, black, number);
    }
    f.add(names_right, number_baseline, number_size, Anchor::end, 0, black, "nm");
    // The orders between their marks, every 551 nm, as the canvas's right
    // margin has them.
    const double order_top = number_baseline + 6, order_bottom = order_top + title_size + 4;
    const double order_baseline = order_bottom - 4;
    for (int k = 1; k <= chart::order_marks; ++k) {
        const double x = p.x_of(k * chart::order_length_nm);
        f.add(tick_line(x, order_top, x, order_bottom, order_mark_width));
    }
    for (int order = 0; order < chart::order_count; ++order) {
        const double from = order * chart::order_length_nm;
        const double to = std::min((order + 1) * chart::order_length_nm, last_nm);
        f.add((p.x_of(from) + p.x_of(to)) / 2, order_baseline, title_size, Anchor::middle, 0, black,
              chart::order_numeral(order));
    }
    f.add(names_right, order_baseline, number_size, Anchor::end, 0, black, "order");
    const double title_baseline = order_bottom + 4 + label_ascent * title_size;
    f.add((p.left + p.right()) / 2, title_baseline, title_size, Anchor::middle, 0, black,
          "retardation (nm)");
    // Thickness every 10 µm up the left.
    for (int um = 0; um <= greatest_um; um += 10) {
        const double y = p.y_of(um);
        f.add(tick_line(p.left - 1 - tick, y, p.left - 1, y, tick_width));
        std::snprintf(number, sizeof number, "%d", um);
        f.add(names_right, y + (label_ascent - label_descent) / 2 * number_size, number_size,
              Anchor::end, 0, black, number);
    }
    char thickness_title[32];
    std::snprintf(thickness_title, sizeof thickness_title, "thickness (%s)", micrometres);
    f.add(p.left - axis_room + margin + label_ascent * title_size, (p.top + p.bottom()) / 2,
          title_size, Anchor::middle, -90, black, thickness_title);
    return title_baseline + label_descent * title_size;
}

void add_lines(Figure &f, const FigureSettings &settings, const Plot &p, const ChartLines &lines) {
    if (settings.thickness_um <= greatest_um)
        add_dashed(f, p.left, p.y_of(settings.thickness_um), p.right(),
                   p.y_of(settings.thickness_um), fan_line_width);
    enum { top_edge, right_edge };
    EdgeEnds ends{};
    const double x0 = p.x_of(0), y0 = p.bottom();
    for (int i = 0; i < lines.count; ++i) {
        const ChartLine &line = lines.lines[i];
        const EdgeEnd end = line_end(p, line.thousandths, line.name);
        if (line.importance == mineral_name)
            f.add(Line{x0, y0, end.x, end.y, mineral_line_width, black, solid});
        else
            add_dashed(f, x0, y0, end.x, end.y, fan_line_width);
        ends.add(leaves_at_top(line.thousandths) ? top_edge : right_edge, end, line.importance);
    }
    // The labels may stand a little beyond the corners, over the thickness
    // axis's end and below the bands, where nothing else is.
    Edge top;
    top.at = p.top - 1;
    top.outward = -1;
    top.low = p.left - overhang;
    top.high = p.right();
    label_edge(f, top, ends, top_edge, style);
    Edge right;
    right.vertical = true;
    right.at = p.right() + 1;
    right.low = p.top;
    right.high = p.bottom() + overhang;
    label_edge(f, right, ends, right_edge, style);
}

}  // namespace

void build_landscape(const FigureSettings &settings, Figure &f) {
    const ChartLines lines = chart_lines(settings);
    const LabelWidths widest = widest_labels(lines);
    const double label_room = style.leader + 2 * style.gap + 2;
    const Plot p{axis_room, margin + (widest.top > 0 ? widest.top + label_room : 0)};
    f.width = p.right() + (widest.right > 0 ? widest.right + label_room : 0) + margin;
    f.background = white;
    f.bands = {p.left, p.top, plot_width, plot_height, true};
    add_grid(f, p);
    const double caption_baseline = add_axes(f, p) + 12 + label_ascent * caption_size;
    f.height = caption_baseline + label_descent * caption_size + margin;
    if (settings.fan || settings.minerals) add_lines(f, settings, p, lines);
    char caption_title[64];
    std::snprintf(caption_title, sizeof caption_title, "%s%s", title, middle_dot);
    const CaptionStyle caption{caption_title, p.left,       caption_baseline,
                               Anchor::start, caption_size, f.width - p.left - margin,
                               black};
    add_caption(f, settings, settings.thickness_um <= greatest_um, caption);
}

}  // namespace yarx::print
