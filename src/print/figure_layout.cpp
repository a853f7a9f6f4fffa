// Where everything of the printed chart stands: the canvas's layout in
// portrait, drawn from the same geometry as the window, and the printed
// chart's in landscape.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "chart/chart_geometry.h"
#include "chart/fan_geometry.h"
#include "chart/minerals.h"
#include "chart/notice_image.h"
#include "chart/reading.h"
#include "chart/text_writer.h"
#include "print/edge_labels.h"
#include "print/figure.h"

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

namespace {

using chart::fan_line_count;
using chart::fan_lines;

// µm in UTF-8, as the files take text; the window's fonts take Latin-1.
constexpr const char *micrometres = "\xc2\xb5m";
constexpr const char *middle_dot = " \xc2\xb7 ";

// The window's dashes: 4 pixels of white, 4 of black, from the start.
constexpr double dash_length = 4;

// A line of the fan, or a mineral's, from the chart's origin to where it
// leaves the bands, with its label.  Minerals of the same birefringence
// share a line; each keeps a label of its own, and the labels of a crowd
// are shifted apart along the edge with a short leader to the line's end.
// Shifting keeps every name, where merging them would make labels too long
// for the canvas's right margin; a label is left out only when its stretch
// of the edge cannot hold them all, the fan's minor values first, then the
// minerals, then the fan's major values.
enum Priority { major_value, mineral_name, minor_value };

struct ChartLine {
    int thousandths;
    Priority priority;
    const char *name;  // a mineral's, or the fan line's value
};

constexpr int max_chart_lines = fan_line_count + static_cast<int>(std::size(chart::minerals));

struct ChartLines {
    ChartLine lines[max_chart_lines];
    int count;
};

// The fan's values, ".010", where the labels can point at them.
constexpr auto fan_values = [] {
    std::array<chart::FanLabelText, fan_line_count> values{};
    for (int i = 0; i < fan_line_count; ++i)
        values[i] = chart::fan_label_text(fan_lines[i].thousandths);
    return values;
}();

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

// The black under the dashes, then the white dashes: the window's double
// dashes, which show on every band, dark or light.
void add_dashed(Figure &f, double x0, double y0, double x1, double y1, double width) {
    f.add(Line{x0, y0, x1, y1, width, black, 0});
    f.add(Line{x0, y0, x1, y1, width, white, dash_length});
}

// The caption: the illuminant's label and the colours, the section's
// thickness where there are lines (dashed, where the chart reaches it), and
// the program.
void write_caption(const FigureSettings &settings, const char *title, bool thickness_dashed,
                   char *out, std::size_t size) {
    chart::TextWriter caption(out, size);
    caption.put(title);
    const colour::Illuminant *illuminant = colour::find_illuminant(settings.illuminant);
    caption.put(illuminant ? illuminant->label : "?");
    caption.put(settings.rendering == colour::Rendering::true_colours
                    ? ", true colours (sRGB)"
                    : ", chart colours (CIE RGB)");
    if (settings.fan || settings.minerals) {
        char thickness[64];
        std::snprintf(thickness, sizeof thickness, "%ssection %g %s%s", middle_dot,
                      settings.thickness_um, micrometres, thickness_dashed ? " (dashed)" : "");
        caption.put(thickness);
    }
    caption.put(middle_dot);
    caption.put("yarx " YARX_VERSION);
}

// The caption, centred, at a size that fits the width.
void add_caption(Figure &f, const FigureSettings &settings, const char *title,
                 bool thickness_dashed, double x, double baseline, double size, double width,
                 Rgb8 ink, Anchor anchor) {
    char caption[text_capacity];
    write_caption(settings, title, thickness_dashed, caption, sizeof caption);
    const double natural = text_width(caption, size);
    if (natural > width) size *= width / natural;
    f.add(x, baseline, size, anchor, 0, ink, caption);
}

// ---------------------------------------------------------------- edges

// An edge of the bands that lines leave by, and how its labels stand
// beyond it: down a vertical edge, level and stacked; along a horizontal
// one, turned to read upwards.  The lines end at the bands; the labels'
// leaders start at the edge, just outside the frame.
struct Edge {
    bool vertical;
    double at;       // the x of a vertical edge, the y of a horizontal one
    double outward;  // +1 to the right or downwards, -1 upwards
    double low, high;
    Span obstacles[max_obstacles];
    int obstacle_count;
};

struct LabelStyle {
    double size, gap, leader;
    Rgb8 ink;
    double leader_width;
};

// A line's end on its edge, and the label that goes with it.
struct EdgeEnd {
    double x, y;
    const char *text;
};

// Places and draws the labels of the lines that leave by the edge.
void label_edge(Figure &f, const Edge &edge, const EdgeEnd *ends, const Priority *priorities,
                int count, const LabelStyle &style) {
    EdgeLabel labels[max_edge_labels];
    count = std::min(count, max_edge_labels);
    for (int i = 0; i < count; ++i)
        labels[i] = {edge.vertical ? ends[i].y : ends[i].x, style.size, priorities[i], 0, false};
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
            f.add(Line{edge.at, ends[i].y, out, centre, style.leader_width, style.ink, 0});
            f.add(text_at, centre + to_baseline, style.size, Anchor::start, 0, style.ink,
                  ends[i].text);
        } else {
            f.add(Line{ends[i].x, edge.at, centre, out, style.leader_width, style.ink, 0});
            f.add(centre + to_baseline, text_at, style.size,
                  edge.outward < 0 ? Anchor::start : Anchor::end, -90, style.ink, ends[i].text);
        }
    }
}

// The ends of the chart's lines on two edges, sorted into the edge each
// leaves by.
struct EdgeEnds {
    EdgeEnd ends[2][max_chart_lines];
    Priority priorities[2][max_chart_lines];
    int counts[2];

    void add(int edge, const EdgeEnd &end, Priority priority) {
        ends[edge][counts[edge]] = end;
        priorities[edge][counts[edge]++] = priority;
    }
};

// ---------------------------------------------------------------- portrait

namespace portrait {

using namespace chart;

constexpr double label_size = 10;
constexpr double caption_size = 11;
// The caption stands below the labels in the bottom margin.
constexpr double caption_baseline = canvas_height - 8;

// A pixel's centre, where the window's one-pixel lines run.
constexpr double centre(int pixel) { return pixel + 0.5; }

// A row or column of pixels, from the first to the last.
Rect row_of_pixels(int x0, int x1, int y, Rgb8 colour) {
    return {double(x0), double(y), double(x1 - x0 + 1), 1, colour};
}
Rect column_of_pixels(int x, int y0, int y1, Rgb8 colour) {
    return {double(x), double(y0), 1, double(y1 - y0 + 1), colour};
}

// The notice image, cell by cell the outline of a 2 x 1 rectangle, as the
// pixels they fill: runs along each row, a run that repeats on the rows
// below it one rectangle.
void add_notice(Figure &f) {
    constexpr int width = 2 * notice_columns + 1, height = notice_rows + 1;
    static bool ink[height][width];
    for (int r = 0; r < notice_rows; ++r)
        for (int c = 0; c < notice_columns; ++c)
            if (notice_image[r][c])
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 3; ++dx) ink[r + dy][2 * c + dx] = true;
    int open[width], open_count = 0;  // the rectangles that reach the row above
    for (int y = 0; y < height && !f.overflowed; ++y) {
        int now[width], now_count = 0;
        for (int x = 0; x < width;) {
            if (!ink[y][x]) {
                ++x;
                continue;
            }
            int end = x;
            while (end < width && ink[y][end]) ++end;
            const double left = notice_left + x, run = end - x;
            int *same = std::find_if(open, open + open_count, [&](int i) {
                return f.rects[i].x == left && f.rects[i].width == run;
            });
            if (same != open + open_count) {
                f.rects[*same].height += 1;
                now[now_count++] = *same;
            } else {
                f.add(Rect{left, double(notice_top + y), run, 1, white});
                now[now_count++] = f.rect_count - 1;
            }
            x = end;
        }
        std::copy(now, now + now_count, open);
        open_count = now_count;
    }
}

// What the window draws before the fan, pixel for pixel: the bands, the
// black grid, and in white the order marks, the frame and the notice.
void add_canvas(Figure &f) {
    f.width = canvas_width;
    f.height = canvas_height;
    f.background = black;
    f.bands = {band_left, band_top, band_width, colour::chart_rows, false};
    for (int k = 0; k < grid_lines; ++k)
        f.add(row_of_pixels(band_left, band_right, band_top + grid_step * k, black));
    for (int k = 0; k < grid_lines; k += heavy_every)
        f.add(row_of_pixels(band_left, band_right, band_top + grid_step * k + 1, black));
    for (int k = 0; k < vertical_lines; ++k)
        f.add(column_of_pixels(band_left + vertical_step * k, band_top, vertical_bottom, black));
    for (int k = 1; k <= order_marks; ++k)
        f.add(row_of_pixels(order_mark_left, order_mark_right, order_mark_y(k), white));
    // An outline of w x h covers w + 1 by h + 1 pixels.
    const int frame_right = frame_x + frame_width, frame_bottom = frame_y + frame_height;
    f.add(row_of_pixels(frame_x, frame_right, frame_y, white));
    f.add(row_of_pixels(frame_x, frame_right, frame_bottom, white));
    f.add(column_of_pixels(frame_x, frame_y, frame_bottom, white));
    f.add(column_of_pixels(frame_right, frame_y, frame_bottom, white));
    add_notice(f);
}

TextSize text_size(const char *text) {
    return {static_cast<int>(std::ceil(text_width(text, label_size))),
            static_cast<int>(std::ceil(label_ascent * label_size)),
            static_cast<int>(std::ceil(label_descent * label_size))};
}

void add_box_text(Figure &f, const Box &box, const char *text) {
    f.add(box.left, box.top + std::ceil(label_ascent * label_size), label_size, Anchor::start, 0,
          white, text);
}

// The thickness axis in the top margin, placed as the window places it.
void add_axis(Figure &f) {
    char numbers[axis_number_count][8];
    TextSize sizes[axis_number_count];
    for (int i = 0; i < axis_number_count; ++i) {
        std::snprintf(numbers[i], sizeof numbers[i], "%d", axis_numbers_um[i]);
        sizes[i] = text_size(numbers[i]);
    }
    const AxisLabels axis = place_axis_labels(sizes, text_size(micrometres),
                                              static_cast<int>(text_width(" ", label_size)));
    for (int i = 0; i < axis_number_count; ++i)
        if (axis.number_shown[i]) add_box_text(f, axis.numbers[i], numbers[i]);
    if (axis.unit_shown) add_box_text(f, axis.unit, micrometres);
}

// The fan's values where the window puts them, when they have the margins
// to themselves.
void add_fan_labels(Figure &f) {
    TextSize sizes[fan_line_count];
    for (int i = 0; i < fan_line_count; ++i)
        sizes[i] = text_size(fan_label_text(fan_lines[i].thousandths).data());
    const FanLabels labels = place_fan_labels(sizes);
    for (int i = 0; i < fan_line_count; ++i)
        if (labels.shown[i])
            add_box_text(f, labels.boxes[i], fan_label_text(fan_lines[i].thousandths).data());
}

// The lines, the thickness line and the axis, and the lines' labels.
// The column of the section's thickness, through its pixels' centres;
// beyond the bands from 40 µm on.
double thickness_x(const FigureSettings &settings) {
    return band_left + pixels_per_um * settings.thickness_um + 0.5;
}

void add_lines(Figure &f, const FigureSettings &settings) {
    const double x = thickness_x(settings);
    if (x < band_right + 1) add_dashed(f, x, band_top, x, vertical_bottom + 1, 1);
    const ChartLines lines = chart_lines(settings);
    // Right and bottom: the edges the lines leave by.
    EdgeEnds ends{};
    const double x0 = centre(band_left), y0 = centre(band_top);
    for (int i = 0; i < lines.count; ++i) {
        const ChartLine &line = lines.lines[i];
        const int edge = leaves_at_right(line.thousandths) ? 0 : 1;
        EdgeEnd end;
        if (line.priority == mineral_name) {
            // The exact line, through the pixels' centres.
            const double rows_per_column =
                line.thousandths / double(columns_per_row_at_one_thousandth);
            end = edge == 0
                      ? EdgeEnd{centre(band_right), y0 + rows_per_column * (band_right - band_left),
                                line.name}
                      : EdgeEnd{x0 + last_row / rows_per_column, centre(band_bottom), line.name};
            f.add(Line{x0, y0, end.x, end.y, 1, black, 0});
        } else {
            const Point pixel = fan_line_end(line.thousandths);
            end = {centre(pixel.x), centre(pixel.y), line.name};
            add_dashed(f, x0, y0, end.x, end.y, 1);
        }
        ends.add(edge, end, line.priority);
    }
    add_axis(f);
    if (!settings.minerals) {
        add_fan_labels(f);
        return;
    }
    // The minerals' names share the margins with the fan's values: one
    // column down the right margin, between the order marks, and one row
    // under the bands, turned, above the caption.
    const LabelStyle style{label_size, 1, 6, white, 1};
    Edge right{true, frame_x + frame_width + 1.0, 1, frame_y, bottom_margin.top, {}, order_marks};
    for (int k = 1; k <= order_marks; ++k)
        right.obstacles[k - 1] = {double(order_mark_y(k)), order_mark_y(k) + 1.0};
    label_edge(f, right, ends.ends[0], ends.priorities[0], ends.counts[0], style);
    const Edge bottom{false, double(bottom_margin.top), 1, 2, canvas_width - 2.0, {}, 0};
    label_edge(f, bottom, ends.ends[1], ends.priorities[1], ends.counts[1],
               {label_size, 1, 4, white, 1});
}

void build(const FigureSettings &settings, Figure &f) {
    add_canvas(f);
    if (settings.fan || settings.minerals) add_lines(f, settings);
    add_caption(f, settings, "", thickness_x(settings) < band_right + 1, canvas_width / 2.0,
                caption_baseline, caption_size, canvas_width - 8.0, white, Anchor::middle);
}

}  // namespace portrait

// ---------------------------------------------------------------- landscape

namespace landscape {

// The printed chart: retardation across, 0 nm at the left, one unit a
// band; thickness up, 0 µm at the bottom to 50 µm at the top; the lines
// of constant birefringence from the origin at the bottom left, labelled
// along the top and right edges; the orders along the bottom.  Black on a
// white page.
constexpr double plot_width = colour::chart_rows;
constexpr double greatest_um = 50;
constexpr double units_per_um = 12;
constexpr double plot_height = greatest_um * units_per_um;
constexpr double band_width = plot_width / colour::chart_rows;

constexpr double margin = 16;
constexpr double label_size = 11, number_size = 10, title_size = 12, caption_size = 11;
constexpr LabelStyle style{label_size, 1.5, 8, black, 0.5};
constexpr double tick = 5;
constexpr double overhang = 40;
constexpr double axis_room = 64;  // left of the bands: the thickness axis and its title

constexpr double last_nm = chart::last_row * colour::retardation_step_nm;

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
void widest_labels(const ChartLines &lines, double &top, double &right) {
    top = right = 0;
    for (int i = 0; i < lines.count; ++i) {
        const double width = text_width(lines.lines[i].name, label_size);
        double &edge = leaves_at_top(lines.lines[i].thousandths) ? top : right;
        edge = std::max(edge, width);
    }
}

void add_grid(Figure &f, const Plot &p) {
    using chart::grid_step;
    // Every 100 nm a band's width of black, doubled every 500 nm, as the
    // canvas has its grid rows; every 10 µm a line across.
    for (int k = 0; k * grid_step < colour::chart_rows; ++k)
        f.add(Rect{p.left + k * grid_step * band_width, p.top, band_width, plot_height, black});
    for (int k = 0; k * grid_step + 1 < colour::chart_rows; k += chart::heavy_every)
        f.add(
            Rect{p.left + (k * grid_step + 1) * band_width, p.top, band_width, plot_height, black});
    for (int um = 10; um < greatest_um; um += 10)
        f.add(Rect{p.left, p.y_of(um) - 0.5, plot_width, 1, black});
    // The frame, just outside the bands.
    f.add(Rect{p.left - 1, p.top - 1, plot_width + 2, 1, black});
    f.add(Rect{p.left - 1, p.bottom(), plot_width + 2, 1, black});
    f.add(Rect{p.left - 1, p.top, 1, plot_height, black});
    f.add(Rect{p.right(), p.top, 1, plot_height, black});
}

// The axes and their titles; returns the bottom of what they put under
// the bands.
double add_axes(Figure &f, const Plot &p) {
    char number[16];
    // Retardation every 100 nm along the bottom.
    const double number_baseline = p.bottom() + 1 + tick + 2 + label_ascent * number_size;
    for (int nm = 0; nm <= last_nm; nm += 100) {
        const double x = p.x_of(nm);
        f.add(Line{x, p.bottom() + 1, x, p.bottom() + 1 + tick, 0.75, black, 0});
        std::snprintf(number, sizeof number, "%d", nm);
        f.add(x, number_baseline, number_size, Anchor::middle, 0, black, number);
    }
    f.add(p.left - tick - 4, number_baseline, number_size, Anchor::end, 0, black, "nm");
    // The orders between their marks, every 551 nm, as the canvas's right
    // margin has them.
    const double order_top = number_baseline + 6, order_bottom = order_top + title_size + 4;
    const double order_baseline = order_bottom - 4;
    for (int k = 1; k <= chart::order_marks; ++k) {
        const double x = p.x_of(k * chart::order_length_nm);
        f.add(Line{x, order_top, x, order_bottom, 1, black, 0});
    }
    for (int order = 0; order < chart::order_count; ++order) {
        const double from = order * chart::order_length_nm;
        const double to = std::min((order + 1) * chart::order_length_nm, last_nm);
        f.add((p.x_of(from) + p.x_of(to)) / 2, order_baseline, title_size, Anchor::middle, 0, black,
              chart::order_numeral(order));
    }
    f.add(p.left - tick - 4, order_baseline, number_size, Anchor::end, 0, black, "order");
    const double title_baseline = order_bottom + 4 + label_ascent * title_size;
    f.add((p.left + p.right()) / 2, title_baseline, title_size, Anchor::middle, 0, black,
          "retardation (nm)");
    // Thickness every 10 µm up the left.
    for (int um = 0; um <= greatest_um; um += 10) {
        const double y = p.y_of(um);
        f.add(Line{p.left - 1 - tick, y, p.left - 1, y, 0.75, black, 0});
        std::snprintf(number, sizeof number, "%d", um);
        f.add(p.left - tick - 4, y + (label_ascent - label_descent) / 2 * number_size, number_size,
              Anchor::end, 0, black, number);
    }
    char title[32];
    std::snprintf(title, sizeof title, "thickness (%s)", micrometres);
    f.add(p.left - axis_room + margin + label_ascent * title_size, (p.top + p.bottom()) / 2,
          title_size, Anchor::middle, -90, black, title);
    return title_baseline + label_descent * title_size;
}

void add_lines(Figure &f, const FigureSettings &settings, const Plot &p, const ChartLines &lines) {
    if (settings.thickness_um <= greatest_um)
        add_dashed(f, p.left, p.y_of(settings.thickness_um), p.right(),
                   p.y_of(settings.thickness_um), 1);
    EdgeEnds ends{};
    const double x0 = p.x_of(0), y0 = p.bottom();
    for (int i = 0; i < lines.count; ++i) {
        const ChartLine &line = lines.lines[i];
        const EdgeEnd end = line_end(p, line.thousandths, line.name);
        if (line.priority == mineral_name)
            f.add(Line{x0, y0, end.x, end.y, 0.75, black, 0});
        else
            add_dashed(f, x0, y0, end.x, end.y, 1);
        ends.add(leaves_at_top(line.thousandths) ? 0 : 1, end, line.priority);
    }
    // The labels may stand a little beyond the corners, over the thickness
    // axis's end and below the bands, where nothing else is.
    const Edge top{false, p.top - 1, -1, p.left - overhang, p.right(), {}, 0};
    label_edge(f, top, ends.ends[0], ends.priorities[0], ends.counts[0], style);
    const Edge right{true, p.right() + 1, 1, p.top, p.bottom() + overhang, {}, 0};
    label_edge(f, right, ends.ends[1], ends.priorities[1], ends.counts[1], style);
}

void build(const FigureSettings &settings, Figure &f) {
    const ChartLines lines = chart_lines(settings);
    double top_labels, right_labels;
    widest_labels(lines, top_labels, right_labels);
    const double label_room = style.leader + 2 * style.gap + 2;
    const Plot p{axis_room, margin + (top_labels > 0 ? top_labels + label_room : 0)};
    f.width = p.right() + (right_labels > 0 ? right_labels + label_room : 0) + margin;
    f.background = white;
    f.bands = {p.left, p.top, plot_width, plot_height, true};
    add_grid(f, p);
    const double caption_baseline = add_axes(f, p) + 12 + label_ascent * caption_size;
    f.height = caption_baseline + label_descent * caption_size + margin;
    if (settings.fan || settings.minerals) add_lines(f, settings, p, lines);
    char title[64];
    std::snprintf(title, sizeof title, "Interference colours between crossed polarisers%s",
                  middle_dot);
    add_caption(f, settings, title, settings.thickness_um <= greatest_um, p.left, caption_baseline,
                caption_size, f.width - p.left - margin, black, Anchor::start);
}

}  // namespace landscape

}  // namespace

void build_figure(const FigureSettings &settings, const colour::ChartColours &chart,
                  Figure &figure) {
    figure.rect_count = figure.line_count = figure.text_count = 0;
    figure.overflowed = false;
    for (int row = 0; row < colour::chart_rows; ++row)
        figure.band_colours[row] = colour::eight_bit_colour(chart.colours[row]);
    if (settings.landscape)
        landscape::build(settings, figure);
    else
        portrait::build(settings, figure);
}

}  // namespace yarx::print
