// Where everything stands in the chart window's canvas, in pixels (x to the
// right, y downwards).  One row of pixels is one row of the chart, 2.5 nm of
// retardation, so 40 rows are 100 nm.
#pragma once

#include "colour/chart_colours.h"

namespace yarx::chart {

// A point, and a rectangle of pixels with its bounds included.
struct Point {
    int x, y;
};
struct Box {
    int left, top, right, bottom;
};

constexpr bool overlap(const Box &a, const Box &b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}
constexpr bool inside(const Box &inner, const Box &outer) {
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

constexpr int canvas_width = 570;
constexpr int canvas_height = 1100;

// Row i of the chart is the line y = band_top + i from x = band_left to
// band_right.
constexpr int band_left = 50;
constexpr int band_top = 20;
constexpr int band_width = 400;
constexpr int band_right = band_left + band_width - 1;
constexpr int last_row = colour::chart_rows - 1;
constexpr int band_bottom = band_top + last_row;

// Horizontal grid every 100 nm from 0 to 2500 nm, a second line under
// every fifth (500 nm).
constexpr int grid_step = static_cast<int>(100 / colour::retardation_step_nm);
constexpr int grid_lines = colour::chart_rows / grid_step + 1;
constexpr int heavy_every = 5;

// Whether a row is covered by the horizontal grid: one line every 100 nm,
// and the second line of every 500 nm.
constexpr bool is_grid_row(int row) {
    return row % grid_step == 0 || row % (grid_step * heavy_every) == 1;
}

// Vertical grid every 100 pixels from the bands' left edge; the last two
// lines stand in the right margin.
constexpr int vertical_step = 100;
constexpr int vertical_lines = 6;
constexpr int vertical_bottom = band_bottom;

// Order marks every 551 nm in the right margin, from the bands' right edge
// to the last vertical line: y = 220.4 k + band_top, truncated, k = 1..4.
// The reading line counts orders from the same 551 nm.
constexpr double order_length_nm = 551;
constexpr double order_spacing = order_length_nm / colour::retardation_step_nm;
constexpr int order_marks = 4;
constexpr int order_mark_left = band_left + band_width;
constexpr int order_mark_right = band_left + (vertical_lines - 1) * vertical_step;

// The row of pixels of order mark k, 1..order_marks.
constexpr int order_mark_y(int k) { return static_cast<int>(order_spacing * k + band_top); }

// The white frame: its left side on the bands' first column, its other
// sides one pixel outside the bands.
constexpr int frame_x = band_left, frame_y = band_top - 1;
constexpr int frame_width = band_width, frame_height = colour::chart_rows + 1;

// Top-left corner of the notice image; each cell (r, c) is the outline of
// a 2 x 1 rectangle, which fills the 3 x 2 pixels of this box.
constexpr int notice_left = 400, notice_top = 220;
constexpr Box notice_cell(int r, int c) {
    return {notice_left + 2 * c, notice_top + r, notice_left + 2 * c + 2, notice_top + r + 1};
}

// The margins around the frame (which stands one pixel outside the bands):
// above it and below it across the canvas, and right of it beside the
// bands.
constexpr Box top_margin{0, 0, canvas_width - 1, frame_y - 1};
constexpr Box right_margin{band_right + 3, band_top, canvas_width - 1, band_bottom};
constexpr Box bottom_margin{0, band_bottom + 2, canvas_width - 1, canvas_height - 1};

// A column where every row shows its band, or the horizontal grid: clear
// of the vertical lines and of the notice image.  The tests and the
// pictures tool read the bands there.
constexpr int probe_x = band_left + 25;
static_assert(band_left < probe_x && probe_x < band_left + vertical_step && probe_x < notice_left);

// The colours a draw asks the server for, in this order: the bands in row
// order, then black for the grid, then white for the order marks, the frame
// and the notice.
constexpr int colours_per_draw = colour::chart_rows + 2;

// A picked colour's marks in the right margin, at the nearest row of each
// order: the nearest of all a bar three rows high across the margin, the
// others a line in its outer part.
constexpr int pick_mark_left = right_margin.left + 20;

// What the chart has always looked like.
static_assert(band_right == 449 && band_bottom == 1019 && grid_step == 40 && grid_lines == 26);
static_assert(order_spacing == 220.4 && order_mark_left == 450 && order_mark_right == 550);
static_assert(frame_y == 19 && frame_height == 1001 && colours_per_draw == 1002);
static_assert(order_mark_y(1) == 240 && order_mark_y(3) == 681 && order_mark_y(4) == 901);
static_assert(top_margin.bottom == 18 && right_margin.left == 452 && right_margin.right == 569 &&
              bottom_margin.top == 1021);

}  // namespace yarx::chart
