// The program's icon: the top left corner of the D65 chart, as the pictures
// tool cuts it, at each size the package installs in the hicolor theme
// (data/yarx-<size>.png).  The small sizes are compiled in too, for the
// setup window's _NET_WM_ICON, as runs of one colour along the rows so that
// they take little room; the pictures tool writes the runs
// (window_icon_runs.inc) when it makes the icons.  The large one stays out:
// a client sends its icon before its window shows, and over a slow link
// every kilobyte costs start-up time, while task bars that draw large
// icons take them from the theme.
#pragma once

#include <cstdint>
#include <iterator>

namespace yarx::chart {

// Smallest first.
inline constexpr int installed_icon_sizes[] = {16, 32, 48, 256};
inline constexpr int window_icon_sizes[] = {16, 32, 48};
inline constexpr int window_icon_count = static_cast<int>(std::size(window_icon_sizes));
static_assert(
    [] {
        for (const int size : window_icon_sizes) {
            bool installed = false;
            for (const int other : installed_icon_sizes) installed |= other == size;
            if (!installed) return false;
        }
        return true;
    }(),
    "the windows' icons are cut at sizes the package installs");

struct IconRun {
    int count;          // pixels, row after row
    std::uint32_t rgb;  // 0xRRGGBB
};

// _NET_WM_ICON for all the compiled-in icons: for each, its width and
// height, then its pixels as opaque 0xAARRGGBB, row after row.
constexpr int window_icon_property_length = [] {
    int length = 0;
    for (const int size : window_icon_sizes) length += 2 + size * size;
    return length;
}();
void window_icon_property(std::uint32_t (&property)[window_icon_property_length]);

}  // namespace yarx::chart
