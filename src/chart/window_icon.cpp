#include "window_icon.h"

namespace yarx::chart {

namespace {

struct WindowIcon {
    int size;  // width and height
    const IconRun *runs;
    int run_count;
};

// The runs of each icon, and window_icons: each icon's size and its runs.
#include "window_icon_runs.inc"

// The property is filled run by run: a table whose runs do not cover each
// icon exactly would shift every icon after it, or write past the end.
constexpr bool runs_fill_their_icons() {
    if (std::size(window_icons) != std::size(window_icon_sizes)) return false;
    for (int i = 0; i < window_icon_count; ++i) {
        const WindowIcon &icon = window_icons[i];
        int pixels = 0;
        for (int r = 0; r < icon.run_count; ++r) {
            if (icon.runs[r].count <= 0) return false;
            pixels += icon.runs[r].count;
        }
        if (icon.size != window_icon_sizes[i] || pixels != icon.size * icon.size) return false;
    }
    return true;
}
static_assert(runs_fill_their_icons(),
              "window_icon_runs.inc does not hold the icons of window_icon_sizes, run for pixel");

}  // namespace

void window_icon_property(std::uint32_t (&property)[window_icon_property_length]) {
    int n = 0;
    for (const WindowIcon &icon : window_icons) {
        property[n++] = static_cast<std::uint32_t>(icon.size);
        property[n++] = static_cast<std::uint32_t>(icon.size);
        for (int r = 0; r < icon.run_count; ++r)
            for (int i = 0; i < icon.runs[r].count; ++i)
                property[n++] = 0xff000000u | icon.runs[r].rgb;
    }
}

}  // namespace yarx::chart
