// The birefringence fan's geometry: where each line leaves the bands, and
// labels that stay in their margins, clear of the chart and of each other,
// in fonts of any size.

#include <gtest/gtest.h>

#include <cmath>

#include "chart/fan_geometry.h"

namespace yarx::chart {
namespace {

TEST(FanGeometry, EachLineEndsOnTheEdgeOfTheBandsWhereItLeaves) {
    const struct {
        int thousandths;
        Point end;
    } ends[] = {
        {10, {449, 180}},    // 399 nm at 39.9 µm
        {62, {449, 1010}},   // the steepest to leave at the right
        {63, {446, 1019}},   // the first to leave at the bottom
        {150, {217, 1019}},  // 2497.5 nm at 16.65 µm
    };
    for (const auto &[thousandths, end] : ends) {
        EXPECT_EQ(fan_line_end(thousandths).x, end.x) << thousandths;
        EXPECT_EQ(fan_line_end(thousandths).y, end.y) << thousandths;
    }
    // Every line drawn: its end on the right or bottom edge, within half a
    // pixel of the exact line y = 20 + 40 Δn (x - 50).
    for (const FanLine &line : fan_lines) {
        const Point end = fan_line_end(line.thousandths);
        EXPECT_TRUE(end.x == band_right || end.y == band_bottom) << line.thousandths;
        EXPECT_TRUE(end.x <= band_right && end.y <= band_bottom) << line.thousandths;
        const double exact_y = band_top + 40 * line.thousandths / 1000.0 * (end.x - band_left);
        const double exact_x = band_left + (end.y - band_top) / (40 * line.thousandths / 1000.0);
        EXPECT_TRUE(std::abs(exact_y - end.y) <= 0.5 || std::abs(exact_x - end.x) <= 0.5)
            << line.thousandths;
    }
    EXPECT_TRUE(near_fan_line(75, 21, 30));      // .001 at 2.5 µm
    EXPECT_TRUE(near_fan_line(350, 600, 30));    // the section, 30 µm
    EXPECT_FALSE(near_fan_line(350, 600, 25));   // not at 25 µm
    EXPECT_TRUE(near_fan_line(300, 600, 25));    // which is here
    EXPECT_FALSE(near_fan_line(449, 183, 30));   // between .010 and .012
    EXPECT_FALSE(near_fan_line(100, 1000, 30));  // below the steepest
}

// The section's column is the one a chart on paper fills, a crisp stroke
// through x = 50 + 10 t + 0.5.
TEST(FanGeometry, TheSectionIsDashedInTheColumnPaperFills) {
    struct Case {
        double thickness_um;
        int column;
    };
    // clang-format off
    constexpr Case cases[] = {
        //  µm    column
        {  30,    350 },
        {  25,    300 },
        {  25.37, 304 },
        {  25.35, 303 },  // a half goes left
        {   1,     60 },
        {  39.9,  449 },
        {  40,    450 },  // beyond the bands
    };
    // clang-format on
    for (const Case &c : cases)
        EXPECT_EQ(section_column(c.thickness_um), c.column) << c.thickness_um;
}

TEST(FanGeometry, LabelsKeepToTheirMarginsClearOfTheChartAndEachOther) {
    constexpr Box order_mark{order_mark_left, 240, order_mark_right, 240};
    constexpr Box last_vertical{order_mark_right, band_top, order_mark_right, band_bottom};
    // An ordinary font, then one too large for every label to fit.
    int shown_before = fan_line_count + 1;
    for (const TextSize size : {TextSize{26, 11, 3}, TextSize{70, 30, 8}}) {
        SCOPED_TRACE(size.width);
        TextSize sizes[fan_line_count];
        for (TextSize &s : sizes) s = size;
        const FanLabels labels = place_fan_labels(sizes);
        int shown = 0;
        for (int i = 0; i < fan_line_count; ++i) {
            if (!labels.shown[i]) {
                EXPECT_FALSE(size.width == 26 && fan_lines[i].major) << fan_lines[i].thousandths;
                continue;
            }
            ++shown;
            const Box &b = labels.boxes[i];
            EXPECT_TRUE(inside(b, right_margin) || inside(b, bottom_margin));
            EXPECT_FALSE(overlap(b, order_mark) || overlap(b, last_vertical));
            for (int j = 0; j < i; ++j)
                EXPECT_FALSE(labels.shown[j] && overlap(b, labels.boxes[j]))
                    << fan_lines[i].thousandths << " on " << fan_lines[j].thousandths;
        }
        EXPECT_LT(shown, shown_before);
        shown_before = shown;
    }
    // .010 leaves at row 180, .150 at column 217.
    const Box right = fan_label_box(10, {26, 11, 3}), bottom = fan_label_box(150, {26, 11, 3});
    EXPECT_EQ((right.top + right.bottom + 1) / 2, 180);
    EXPECT_EQ((bottom.left + bottom.right + 1) / 2, 217);
}

TEST(FanGeometry, AxisNumbersCentreOnTheirLinesWithTheUnitAfterTheLast) {
    const TextSize digits{14, 11, 3}, one{7, 11, 3}, unit{16, 11, 3};
    const TextSize numbers[axis_number_count] = {one, digits, digits, digits, digits};
    AxisLabels axis = place_axis_labels(numbers, unit, 4);
    for (int i = 0; i < axis_number_count; ++i) {
        EXPECT_TRUE(axis.number_shown[i]);
        const Box &b = axis.numbers[i];
        EXPECT_EQ((b.left + b.right + 1) / 2, column_of_thickness(axis_numbers_um[i]));
        EXPECT_TRUE(inside(b, top_margin));
    }
    EXPECT_TRUE(axis.unit_shown);
    EXPECT_EQ(axis.unit.left, axis.numbers[axis_number_count - 1].right + 1 + 4);
    // A font taller than the margin shows no axis at all.
    const TextSize tall{14, 16, 4};
    const TextSize tall_numbers[axis_number_count] = {tall, tall, tall, tall, tall};
    axis = place_axis_labels(tall_numbers, tall, 4);
    for (const bool shown : axis.number_shown) EXPECT_FALSE(shown);
    EXPECT_FALSE(axis.unit_shown);
}

}  // namespace
}  // namespace yarx::chart
