// The canvas as the window draws a chart, pixel for pixel, stated on its
// own: the X server's picture for the end-to-end tests, and the file's for
// the tests of yarx-chart.  No X: a pixel is whatever the caller counts
// in, a server's pixel value or an RGB word.
#pragma once

#include <vector>

#include "chart/chart_geometry.h"
#include "chart/notice_image.h"

namespace yarx::e2e {

// The black background, then in drawing order the bands, the black grid,
// and in white the order marks, the frame and the notice image; row by
// row, canvas_width pixels a row.
template <class Bands, class Pixel>
std::vector<Pixel> paint_canvas(const Bands &bands, Pixel black, Pixel white) {
    using namespace chart;
    std::vector<Pixel> canvas(canvas_width * canvas_height, black);
    auto set = [&](int x, int y, Pixel pixel) { canvas[y * canvas_width + x] = pixel; };
    auto hline = [&](int x0, int x1, int y, Pixel pixel) {
        for (int x = x0; x <= x1; ++x) set(x, y, pixel);
    };
    auto vline = [&](int x, int y0, int y1, Pixel pixel) {
        for (int y = y0; y <= y1; ++y) set(x, y, pixel);
    };

    for (int row = 0; row <= last_row; ++row)
        hline(band_left, band_right, band_top + row, bands[row]);
    for (int k = 0; k < grid_lines; ++k)
        hline(band_left, band_right, grid_step * k + band_top, black);
    for (int k = 0; k < grid_lines; k += heavy_every)
        hline(band_left, band_right, grid_step * k + band_top + 1, black);
    for (int k = 0; k < vertical_lines; ++k)
        vline(vertical_step * k + band_left, band_top, vertical_bottom, black);
    // 220.4 k + 20, truncated
    for (int y : {240, 460, 681, 901}) hline(order_mark_left, order_mark_right, y, white);
    const int frame_right = frame_x + frame_width, frame_bottom = frame_y + frame_height;
    hline(frame_x, frame_right, frame_y, white);
    hline(frame_x, frame_right, frame_bottom, white);
    vline(frame_x, frame_y, frame_bottom, white);
    vline(frame_right, frame_y, frame_bottom, white);
    for (int r = 0; r < notice_rows; ++r)
        for (int c = 0; c < notice_columns; ++c)
            if (notice_image[r][c]) {
                const int x = notice_left + 2 * c, y = notice_top + r;
                hline(x, x + 2, y, white);
                hline(x, x + 2, y + 1, white);
            }
    return canvas;
}

}  // namespace yarx::e2e
