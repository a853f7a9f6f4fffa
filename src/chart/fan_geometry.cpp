#include "fan_geometry.h"

#include <cmath>

namespace yarx::chart {

namespace {

// What a label in the right margin keeps clear of: the order marks, which
// run across it, and the last vertical grid line; and the notice, which
// stands beside it inside the bands.
constexpr int obstacle_count = order_marks + 2;
constexpr std::array<Box, obstacle_count> obstacles = [] {
    std::array<Box, obstacle_count> boxes{};
    for (int k = 1; k <= order_marks; ++k)
        boxes[k - 1] = {order_mark_left, order_mark_y(k), order_mark_right, order_mark_y(k)};
    boxes[order_marks] = {order_mark_right, band_top, order_mark_right, vertical_bottom};
    boxes[order_marks + 1] = {notice_left, notice_top, notice_left + 2 * notice_columns,
                              notice_top + notice_rows};
    return boxes;
}();

// A box larger all round: what must stay clear for a gap of that many
// pixels, across and up and down.
constexpr Box grown(const Box &b, int across, int down) {
    return {b.left - across, b.top - down, b.right + across, b.bottom + down};
}

// A text's box with its left edge and top given.
constexpr Box text_box(int left, int top, const TextSize &size) {
    return {left, top, left + size.width - 1, top + size.ascent + size.descent - 1};
}

// The top of a text whose middle is at y.
constexpr int top_centred_on(int y, const TextSize &size) {
    return y - (size.ascent + size.descent) / 2;
}

}  // namespace

int section_column(double thickness_um) {
    return static_cast<int>(std::ceil(band_left + pixels_per_um * thickness_um - 0.5));
}

bool near_fan_line(int x, int y, double thickness_um) {
    if (x == section_column(thickness_um) && y >= band_top && y <= vertical_bottom) return true;
    for (const FanLine &line : fan_lines) {
        const Point end = fan_line_end(line.thousandths);
        if (x < band_left - 1 || x > end.x + 1 || y < band_top - 1 || y > end.y + 1) continue;
        // The distance from the line through the origin and the end: the
        // cross product over the length.
        const double dx = end.x - band_left, dy = end.y - band_top;
        const double cross = dx * (y - band_top) - dy * (x - band_left);
        if (cross * cross <= dx * dx + dy * dy) return true;
    }
    return false;
}

Box fan_label_box(int thousandths, const TextSize &size) {
    const Point end = fan_line_end(thousandths);
    if (leaves_at_right(thousandths))
        return text_box(right_margin.left + label_gap, top_centred_on(end.y, size), size);
    return text_box(end.x - size.width / 2, bottom_margin.top + label_gap, size);
}

FanLabels place_fan_labels(const TextSize (&sizes)[fan_line_count]) {
    FanLabels labels{};
    for (const bool major : {true, false})
        for (int i = 0; i < fan_line_count; ++i) {
            if (fan_lines[i].major != major) continue;
            const int thousandths = fan_lines[i].thousandths;
            const Box box = fan_label_box(thousandths, sizes[i]);
            labels.boxes[i] = box;
            const Box &margin = leaves_at_right(thousandths) ? right_margin : bottom_margin;
            bool clear = inside(box, margin);
            for (const Box &obstacle : obstacles)
                clear = clear && !overlap(grown(box, 1, 1), obstacle);
            for (int j = 0; j < fan_line_count; ++j)
                clear = clear && !(labels.shown[j] &&
                                   overlap(grown(box, label_spacing, 1), labels.boxes[j]));
            labels.shown[i] = clear;
        }
    return labels;
}

AxisLabels place_axis_labels(const TextSize (&numbers)[axis_number_count], const TextSize &unit,
                             int space_width) {
    AxisLabels labels{};
    const int middle = top_margin.bottom / 2;
    Box last_shown{-2, 0, -2, 0};
    for (int i = 0; i < axis_number_count; ++i) {
        const TextSize &size = numbers[i];
        const int x = column_of_thickness(axis_numbers_um[i]);
        const Box box = text_box(x - size.width / 2, top_centred_on(middle, size), size);
        labels.numbers[i] = box;
        labels.number_shown[i] =
            inside(box, top_margin) && !overlap(grown(box, label_spacing, 1), last_shown);
        if (labels.number_shown[i]) last_shown = box;
    }
    const Box &last_number = labels.numbers[axis_number_count - 1];
    labels.unit = text_box(last_number.right + 1 + space_width, top_centred_on(middle, unit), unit);
    labels.unit_shown =
        labels.number_shown[axis_number_count - 1] && inside(labels.unit, top_margin);
    return labels;
}

}  // namespace yarx::chart
