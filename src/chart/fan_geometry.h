// The birefringence fan over the chart, as plain geometry: a thickness axis
// along the bands, 0 µm at their left edge and 10 pixels a µm, and the
// straight lines of constant birefringence through the chart's origin,
// each labelled with its Δn in the margin where it leaves the bands.
//
// At thickness t µm a plate of birefringence Δn has the retardation
// R = 1000 Δn t nm, so the line for Δn runs from (band_left, band_top)
// along y = band_top + R / 2.5 with t = (x - band_left) / 10.
#pragma once

#include <array>
#include <iterator>

#include "chart/chart_geometry.h"
#include "chart/notice_image.h"

namespace yarx::chart {

// ---------------------------------------------------------------- axis

constexpr int pixels_per_um = 10;

// The column of a thickness, and the thickness of a column.
constexpr int column_of_thickness(int thickness_um) {
    return band_left + pixels_per_um * thickness_um;
}
constexpr double thickness_of_column(int x) {
    return static_cast<double>(x - band_left) / pixels_per_um;
}

// The numbers in the top margin, centred on the vertical grid lines at
// 0, 10, 20, 30 and 40 µm, the unit after the last.
constexpr int axis_numbers_um[] = {0, 10, 20, 30, 40};
constexpr int axis_number_count = static_cast<int>(std::size(axis_numbers_um));

// The column the section's thickness is dashed in, the one a crisp
// one-pixel stroke through x = band_left + 10 t + 0.5 fills, as a chart
// on paper draws it: the nearest, a half going left.  Past band_right when
// the section is thicker than the bands reach (39.95 µm on), and then not
// dashed.
int section_column(double thickness_um);
// µm in the fonts' Latin-1.
constexpr const char *axis_unit = "\265m";
static_assert(column_of_thickness(10) == band_left + vertical_step &&
              column_of_thickness(40) == band_left + 4 * vertical_step);

// ---------------------------------------------------------------- lines

// A line of constant birefringence, Δn in thousandths.  The major ones are
// those every chart labels, and get their labels first; the others keep
// theirs where there is room left.
struct FanLine {
    int thousandths;
    bool major;
};

// clang-format off
constexpr FanLine fan_lines[] = {
    //  Δn    major
    {   1, false }, {   2, false }, {   3, false }, {   4, false }, {   5, true  },
    {   6, false }, {   7, false }, {   8, false }, {   9, false }, {  10, true  },
    {  12, false }, {  15, false }, {  20, true  }, {  25, false }, {  30, true  },
    {  35, false }, {  40, true  }, {  45, false }, {  50, true  }, {  60, true  },
    {  70, false }, {  80, true  }, {  90, false }, { 100, true  }, { 120, false },
    { 150, true  }, { 200, false },
};
// clang-format on
constexpr int fan_line_count = static_cast<int>(std::size(fan_lines));

// The rows the line for Δn falls a column: 1000 Δn nm a µm, over 10 columns
// a µm and 2.5 nm a row, is thousandths / 25.  In whole numbers, exactly.
constexpr int columns_per_row_at_one_thousandth = 25;
static_assert(columns_per_row_at_one_thousandth == pixels_per_um * colour::retardation_step_nm);

// Whether the line leaves the bands through their right edge (x = 449);
// steeper ones leave through the bottom (y = 1019).
constexpr bool leaves_at_right(int thousandths) {
    return thousandths * (band_right - band_left) <= last_row * columns_per_row_at_one_thousandth;
}

// a / b to the nearest whole number, a half up; a and b positive.
constexpr int nearest(int a, int b) { return (2 * a + b) / (2 * b); }

// The line's last pixel in the bands, on the edge it leaves by, the nearest
// to where the exact line crosses that edge.
constexpr Point fan_line_end(int thousandths) {
    if (leaves_at_right(thousandths))
        return {band_right, band_top + nearest(thousandths * (band_right - band_left),
                                               columns_per_row_at_one_thousandth)};
    return {band_left + nearest(last_row * columns_per_row_at_one_thousandth, thousandths),
            band_bottom};
}

// Whether the pixel lies within a pixel of a line of the fan, the dashed
// line of the section's thickness among them: what a server may draw of
// them, whichever pixels it picks along the way.
bool near_fan_line(int x, int y, double thickness_um);

// The label of a line: its Δn with three decimals and no leading zero,
// ".010".
using FanLabelText = std::array<char, 6>;
constexpr FanLabelText fan_label_text(int thousandths) {
    return {'.',
            static_cast<char>('0' + thousandths / 100 % 10),
            static_cast<char>('0' + thousandths / 10 % 10),
            static_cast<char>('0' + thousandths % 10),
            '\0',
            '\0'};
}

// ---------------------------------------------------------------- labels

// The axis stands in the top margin (chart_geometry.h), the lines' labels
// in the right and bottom margins.

// Pixels between a label and the frame; pixels at least between two labels
// side by side, which at less run together into one number (one above the
// other, a pixel is enough).
constexpr int label_gap = 2;
constexpr int label_spacing = 4;

// How much room a text takes in a font: its width, and the font's height
// above and below the baseline.
struct TextSize {
    int width, ascent, descent;
};

// Where a line's label goes: in the right margin, its middle on the row the
// line leaves by; or in the bottom margin, centred on the column.
Box fan_label_box(int thousandths, const TextSize &size);

// Which labels the chart can show: in their margin, clear by a pixel of the
// order marks, the last vertical grid line and the notice, and of each
// other by label_spacing across and a pixel up and down.  The
// major lines are placed first, then the others in their order; a label
// that would overlap is left out.
struct FanLabels {
    Box boxes[fan_line_count];
    bool shown[fan_line_count];
};
FanLabels place_fan_labels(const TextSize (&sizes)[fan_line_count]);

// The axis's numbers, centred on their lines in the top margin, and the
// unit a space after the last; a text the margin cannot hold, or that
// would come within label_spacing of the one before, is left out.
struct AxisLabels {
    Box numbers[axis_number_count];
    bool number_shown[axis_number_count];
    Box unit;
    bool unit_shown;
};
AxisLabels place_axis_labels(const TextSize (&numbers)[axis_number_count], const TextSize &unit,
                             int space_width);

}  // namespace yarx::chart
