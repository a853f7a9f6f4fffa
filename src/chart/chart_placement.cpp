#include "chart_placement.h"

#include <algorithm>

namespace yarx::chart {

namespace {

// Never shorter than this, whatever the work area says: a sliver of chart
// helps nobody, and the window manager will cut it to the screen anyway.
constexpr int minimum_height = 100;

int overlap(const Rect &a, const Rect &b) {
    const int w = std::min(a.right(), b.right()) - std::max(a.x, b.x);
    const int h = std::min(a.bottom(), b.bottom()) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

int covered(const Rect &chart, const Rect *keep_clear, int count) {
    int total = 0;
    for (int i = 0; i < count; ++i) total += overlap(chart, keep_clear[i]);
    return total;
}

}  // namespace

ChartPlacement place_chart(const Rect &work_area, const Rect &setup, const FrameExtents &frame,
                           int wanted_width, int wanted_height, int scroll_bar_width,
                           const Rect *keep_clear, int keep_clear_count, int narrowable) {
    ChartPlacement p{};
    const int room = work_area.height - frame.top - frame.bottom;
    p.height = std::max(minimum_height, std::min(wanted_height, room));
    p.scrolls = p.height < wanted_height;
    p.width = wanted_width + (p.scrolls ? scroll_bar_width : 0);

    // Level with the setup window, moved up as far as it must to fit.
    const int lowest = work_area.bottom() - frame.bottom - p.height;
    p.y = std::max(work_area.y + frame.top, std::min(setup.y, lowest));

    // Client x of a chart whose frame stands just right of the setup
    // window's frame, and the widest client there is room for on each side.
    const int right_of_setup = setup.right() + frame.right + frame.left;
    const int leftmost = work_area.x + frame.left;
    const int room_right = work_area.right() - frame.right - right_of_setup;
    const int room_left = setup.x - frame.left - frame.right - leftmost;
    const int narrowest = p.width - std::max(0, narrowable);
    if (p.width <= room_right) {
        p.x = right_of_setup;
    } else if (p.width <= room_left) {
        p.x = leftmost + room_left - p.width;
    } else if (narrowest <= std::max(room_right, room_left)) {
        p.width = std::max(room_right, room_left);
        p.x = room_right >= room_left ? right_of_setup : leftmost;
    } else {
        const int rightmost = work_area.right() - frame.right - p.width;
        p.x = rightmost;
        const Rect at_left{leftmost, p.y, p.width, p.height};
        const Rect at_right{rightmost, p.y, p.width, p.height};
        if (covered(at_left, keep_clear, keep_clear_count) <
            covered(at_right, keep_clear, keep_clear_count))
            p.x = leftmost;
    }
    return p;
}

}  // namespace yarx::chart
