#include "window_icon.h"

namespace yarx::chart {

namespace {

#include "window_icon_runs.inc"

}  // namespace

const WindowIcon window_icons[2] = {
    {48, icon_48, static_cast<int>(sizeof icon_48 / sizeof icon_48[0])},
    {256, icon_256, static_cast<int>(sizeof icon_256 / sizeof icon_256[0])},
};

void window_icon_property(std::uint32_t (&property)[window_icon_property_length]) {
    int n = 0;
    for (const WindowIcon &icon : window_icons) {
        property[n++] = static_cast<std::uint32_t>(icon.size);
        property[n++] = static_cast<std::uint32_t>(icon.size);
        for (int r = 0; r < icon.run_count; ++r)
            for (int i = 0; i < icon.runs[r].count && n < window_icon_property_length; ++i)
                property[n++] = 0xff000000u | icon.runs[r].rgb;
    }
}

}  // namespace yarx::chart
