// Where everything stands in the chart window, in canvas pixels (x to the
// right, y downwards).  40 pixels are 100 nm of retardation.
#pragma once

namespace yarx::ui {

constexpr int canvas_width = 570;
constexpr int canvas_height = 1100;

// Row i of the chart is the line y = band_top + i from x = band_left to
// band_left + band_width - 1.
constexpr int band_left = 50;
constexpr int band_top = 20;
constexpr int band_width = 400;
constexpr int first_row = 0;
constexpr int last_row = 999;

// Horizontal grid every 100 nm, a second line under every fifth (500 nm).
constexpr int grid_step = 40;
constexpr int grid_lines = 26;  // 0 .. 2500 nm
constexpr int heavy_every = 5;

// Vertical grid at x = 50, 150, ..., 550; the last two stand in the margin.
constexpr int vertical_step = 100;
constexpr int vertical_lines = 6;
constexpr int vertical_bottom = 1019;

// Order marks every 551 nm in the right margin: y = 220.4 k + 20, k = 1..4.
constexpr double order_spacing = 220.4;
constexpr int order_marks = 4;
constexpr int order_mark_left = 450;
constexpr int order_mark_right = 550;

// White frame around the bands.
constexpr int frame_x = 50, frame_y = 19, frame_width = 400, frame_height = 1001;

// Top-left corner of the notice image; each cell is drawn 2 x 1.
constexpr int notice_left = 400, notice_top = 220;

}  // namespace yarx::ui
