// The program's icon, compiled in for the windows' _NET_WM_ICON: the same
// pictures that the package installs (data/yarx-48.png, data/yarx-256.png),
// the top left corner of the D65 chart, kept as runs of one colour along
// the rows so that they take little room.  The pictures tool writes the
// runs (window_icon_runs.inc) when it makes the icons.
#pragma once

#include <cstdint>

namespace yarx::chart {

struct IconRun {
    int count;          // pixels, row after row
    std::uint32_t rgb;  // 0xRRGGBB
};

struct WindowIcon {
    int size;  // width and height
    const IconRun *runs;
    int run_count;
};

extern const WindowIcon window_icons[2];  // 48 and 256 pixels

// _NET_WM_ICON for all the icons: for each, its width and height, then its
// pixels as opaque 0xAARRGGBB, row after row; the small icon comes first,
// and can be sent alone.
constexpr int small_icon_property_length = 2 + 48 * 48;
constexpr int window_icon_property_length = small_icon_property_length + 2 + 256 * 256;
void window_icon_property(std::uint32_t (&property)[window_icon_property_length]);

}  // namespace yarx::chart
