#include "portrait_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/chart_geometry.h"
#include "chart/fan_geometry.h"
#include "chart/notice_image.h"
#include "print/figure_caption.h"
#include "print/figure_edges.h"

namespace yarx::print {

namespace {

using namespace chart;

constexpr double label_size = 10;
constexpr double caption_size = 11;
// The caption stands below the labels in the bottom margin.
constexpr double caption_baseline = canvas_height - 8;

// The window's lines, one pixel wide.
constexpr double line_width = 1;

// The labels' look along the right margin and under the bands.
constexpr double right_leader = 6, bottom_leader = 4, label_gap = 1;

// The retardation scale's numbers end this far left of the frame.
constexpr double scale_gap = 4;

// What the margins are painted in and what they are written in: the
// window's black and white on a screen, and on paper the other way round,
// so that a page is not a black rectangle.  Over the bands the grid stays
// black and the notice white.
struct Palette {
    Rgb8 ground, ink;
};
constexpr Palette on_screen{black, white}, on_paper{white, black};

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
    static bool inked[height][width];
    for (int r = 0; r < notice_rows; ++r)
        for (int c = 0; c < notice_columns; ++c)
            if (notice_image[r][c])
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 3; ++dx) inked[r + dy][2 * c + dx] = true;
    int open[width], open_count = 0;  // the rectangles that reach the row above
    for (int y = 0; y < height && !f.overflowed; ++y) {
        int now[width], now_count = 0;
        for (int x = 0; x < width;) {
            if (!inked[y][x]) {
                ++x;
                continue;
            }
            int end = x;
            while (end < width && inked[y][end]) ++end;
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
// black grid, the white notice, and in the ink the order marks and the
// frame.  The grid's last two columns stand in the right margin, where
// the window's black on black does not show, nor does a page's.
void add_canvas(Figure &f, const Palette &palette) {
    f.width = canvas_width;
    f.height = canvas_height;
    f.background = palette.ground;
    f.bands = {band_left, band_top, band_width, colour::chart_rows, false};
    for (int k = 0; k < grid_lines; ++k)
        f.add(row_of_pixels(band_left, band_right, band_top + grid_step * k, black));
    for (int k = 0; k < grid_lines; k += heavy_every)
        f.add(row_of_pixels(band_left, band_right, band_top + grid_step * k + 1, black));
    for (int k = 0; k < vertical_lines; ++k) {
        const int x = band_left + vertical_step * k;
        f.add(column_of_pixels(x, band_top, vertical_bottom,
                               x <= band_right ? black : palette.ground));
    }
    for (int k = 1; k <= order_marks; ++k)
        f.add(row_of_pixels(order_mark_left, order_mark_right, order_mark_y(k), palette.ink));
    // An outline of w x h covers w + 1 by h + 1 pixels.
    const int frame_right = frame_x + frame_width, frame_bottom = frame_y + frame_height;
    f.add(row_of_pixels(frame_x, frame_right, frame_y, palette.ink));
    f.add(row_of_pixels(frame_x, frame_right, frame_bottom, palette.ink));
    f.add(column_of_pixels(frame_x, frame_y, frame_bottom, palette.ink));
    f.add(column_of_pixels(frame_right, frame_y, frame_bottom, palette.ink));
    add_notice(f);
}

TextSize text_size(const char *text) {
    return {static_cast<int>(std::ceil(text_width(text, label_size))),
            static_cast<int>(std::ceil(label_ascent * label_size)),
            static_cast<int>(std::ceil(label_descent * label_size))};
}

void add_box_text(Figure &f, const Box &box, const char *text, Rgb8 ink) {
    f.add(box.left, box.top + std::ceil(label_ascent * label_size), label_size, Anchor::start, 0,
          ink, text);
}

// The thickness axis in the top margin, placed as the window places it.
void add_axis(Figure &f, Rgb8 ink) {
    char numbers[axis_number_count][8];
    TextSize sizes[axis_number_count];
    for (int i = 0; i < axis_number_count; ++i) {
        std::snprintf(numbers[i], sizeof numbers[i], "%d", axis_numbers_um[i]);
        sizes[i] = text_size(numbers[i]);
    }
    const AxisLabels axis = place_axis_labels(sizes, text_size(micrometres),
                                              static_cast<int>(text_width(" ", label_size)));
    for (int i = 0; i < axis_number_count; ++i)
        if (axis.number_shown[i]) add_box_text(f, axis.numbers[i], numbers[i], ink);
    if (axis.unit_shown) add_box_text(f, axis.unit, micrometres, ink);
}

// The retardation every 100 nm down the left margin, level with the grid's
// rows, the unit after the first: what a page has to say what the bands
// are, where the window has the reading line.
void add_retardation_scale(Figure &f, Rgb8 ink) {
    const double to_baseline = (label_ascent - label_descent) / 2 * label_size;
    for (int k = 0; k < grid_lines; ++k) {
        char number[16];
        std::snprintf(number, sizeof number, k == 0 ? "0 nm" : "%d",
                      static_cast<int>(k * grid_step * colour::retardation_step_nm));
        f.add(band_left - scale_gap, band_top + grid_step * k + to_baseline, label_size,
              Anchor::end, 0, ink, number);
    }
}

// The fan's values where the window puts them, when they have the margins
// to themselves.
void add_fan_labels(Figure &f, Rgb8 ink) {
    TextSize sizes[fan_line_count];
    for (int i = 0; i < fan_line_count; ++i)
        sizes[i] = text_size(fan_label_text(fan_lines[i].thousandths).data());
    const FanLabels labels = place_fan_labels(sizes);
    for (int i = 0; i < fan_line_count; ++i)
        if (labels.shown[i])
            add_box_text(f, labels.boxes[i], fan_label_text(fan_lines[i].thousandths).data(), ink);
}

// The column of the section's thickness, through its pixels' centres;
// beyond the bands from 40 µm on.
double thickness_x(const FigureSettings &settings) {
    return band_left + pixels_per_um * settings.thickness_um + 0.5;
}

// Where a line leaves the bands: a mineral's exact line through the
// pixels' centres, or the fan line's last pixel as the window draws it.
EdgeEnd line_end(const ChartLine &line, bool at_right) {
    if (line.importance != mineral_name) {
        const Point pixel = fan_line_end(line.thousandths);
        return {centre(pixel.x), centre(pixel.y), line.name};
    }
    const double rows_per_column = line.thousandths / double(columns_per_row_at_one_thousandth);
    if (at_right)
        return {centre(band_right), centre(band_top) + rows_per_column * (band_right - band_left),
                line.name};
    return {centre(band_left) + last_row / rows_per_column, centre(band_bottom), line.name};
}

// The lines, the thickness line and the axis, and the lines' labels.
void add_lines(Figure &f, const FigureSettings &settings, Rgb8 ink) {
    const double x = thickness_x(settings);
    if (x < band_right + 1) add_dashed(f, x, band_top, x, vertical_bottom + 1, line_width);
    const ChartLines lines = chart_lines(settings);
    // Right and bottom: the edges the lines leave by.
    enum { right_edge, bottom_edge };
    EdgeEnds ends{};
    const double x0 = centre(band_left), y0 = centre(band_top);
    for (int i = 0; i < lines.count; ++i) {
        const ChartLine &line = lines.lines[i];
        const bool at_right = leaves_at_right(line.thousandths);
        const EdgeEnd end = line_end(line, at_right);
        if (line.importance == mineral_name)
            f.add(Line{x0, y0, end.x, end.y, line_width, black, solid});
        else
            add_dashed(f, x0, y0, end.x, end.y, line_width);
        ends.add(at_right ? right_edge : bottom_edge, end, line.importance);
    }
    add_axis(f, ink);
    if (!settings.minerals) {
        add_fan_labels(f, ink);
        return;
    }
    // The minerals' names share the margins with the fan's values: one
    // column down the right margin, between the order marks, and one row
    // under the bands, turned, above the caption.
    Edge right;
    right.vertical = true;
    right.at = frame_x + frame_width + 1.0;
    right.low = frame_y;
    right.high = bottom_margin.top;
    for (int k = 1; k <= order_marks; ++k)
        right.obstacles[right.obstacle_count++] = {double(order_mark_y(k)), order_mark_y(k) + 1.0};
    label_edge(f, right, ends, right_edge, {label_size, label_gap, right_leader, line_width, ink});
    Edge bottom;
    bottom.at = bottom_margin.top;
    bottom.low = 2;
    bottom.high = canvas_width - 2.0;
    label_edge(f, bottom, ends, bottom_edge,
               {label_size, label_gap, bottom_leader, line_width, ink});
}

}  // namespace

void build_portrait(const FigureSettings &settings, Figure &f) {
    const Palette &palette = settings.paper ? on_paper : on_screen;
    add_canvas(f, palette);
    if (settings.paper) add_retardation_scale(f, palette.ink);
    if (settings.fan || settings.minerals) add_lines(f, settings, palette.ink);
    const CaptionStyle caption{"",           canvas_width / 2.0, caption_baseline, Anchor::middle,
                               caption_size, canvas_width - 8.0, palette.ink};
    add_caption(f, settings, thickness_x(settings) < band_right + 1, caption);
}

}  // namespace yarx::print
