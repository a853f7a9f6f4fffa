// The one-bit notice image that stands in the right part of the chart.
//
// Cell (r, c) is drawn as a 2 x 1 rectangle outline at
// (notice_left + 2 c, notice_top + r), so every set cell shows as a solid
// 3 x 2 pixel block and the whole image is about 45 x 586 pixels.  The
// picture is the program's notice set sideways: it reads from top to bottom
// with the tops of the letters to the right.
#pragma once

namespace yarx::chart {

constexpr int notice_rows = 585;
constexpr int notice_columns = 22;
constexpr int notice_set_cells = 2416;

// 1 where a cell is drawn, 0 elsewhere.
extern const int (&notice_image)[notice_rows][notice_columns];

}  // namespace yarx::chart
