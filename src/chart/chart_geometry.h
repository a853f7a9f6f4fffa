// Where everything stands in the chart window's canvas, in pixels (x to the
// right, y downwards).  One row of pixels is one row of the chart, 2.5 nm of
// retardation, so 40 rows are 100 nm.
#pragma once

#include "colour/chart_colours.h"

namespace yarx::chart {

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

// The white frame: its left side on the bands' first column, its other
// sides one pixel outside the bands.
constexpr int frame_x = band_left, frame_y = band_top - 1;
constexpr int frame_width = band_width, frame_height = colour::chart_rows + 1;

// Top-left corner of the notice image; each cell is drawn 2 x 1.
constexpr int notice_left = 400, notice_top = 220;

// A column where every row shows its band, or the horizontal grid: clear
// of the vertical lines and of the notice image.  The tests and the
// pictures tool read the bands there.
constexpr int probe_x = band_left + 25;
static_assert(band_left < probe_x && probe_x < band_left + vertical_step && probe_x < notice_left);

// The colours a draw asks the server for, in this order: the bands in row
// order, then black for the grid, then white for the order marks, the frame
// and the notice.
constexpr int colours_per_draw = colour::chart_rows + 2;

// A picked colour's marks in the right margin, right of the frame, at the
// nearest row of each order: the nearest of all a bar three rows high
// across the margin, the others a line in its outer part.
constexpr int pick_margin_left = band_left + band_width + 2;
constexpr int pick_margin_right = canvas_width - 1;
constexpr int pick_mark_left = pick_margin_left + 20;
static_assert(pick_margin_left == 452 && pick_margin_right == 569);

// What the chart has always looked like.
static_assert(band_right == 449 && band_bottom == 1019 && grid_step == 40 && grid_lines == 26);
static_assert(order_spacing == 220.4 && order_mark_left == 450 && order_mark_right == 550);
static_assert(frame_y == 19 && frame_height == 1001 && colours_per_draw == 1002);

}  // namespace yarx::chart
