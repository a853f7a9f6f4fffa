// What yarx_pictures makes and check_pictures looks at: the setup window,
// the charts' pictures, one for each illuminant and way of showing it, the
// overview of them all, and the icons; and where the sources keep the
// pictures that must stay what yarx draws.
#pragma once

#include <string>

#include "chart/chart_geometry.h"
#include "chart/window_icon.h"
#include "colour/chart_colours.h"

namespace yarx::pictures {

// The chart's own colours, then true colours; the end of their pictures'
// names.
struct Way {
    colour::Rendering rendering;
    const char *suffix;
};
inline constexpr Way ways[] = {{colour::Rendering::cie_rgb, ""},
                               {colour::Rendering::true_colours, "-srgb"}};
inline constexpr int way_count = static_cast<int>(std::size(ways));

inline std::string chart_picture(const colour::Illuminant &illuminant, const Way &way) {
    return "chart-" + std::string(illuminant.short_name) + way.suffix + ".png";
}
// The chart with the birefringence fan over it.
inline std::string fan_picture(const colour::Illuminant &illuminant, const Way &way) {
    return "chart-" + std::string(illuminant.short_name) + way.suffix + "-fan.png";
}

inline constexpr const char *setup_picture = "setup.png";
inline constexpr const char *overview_picture = "overview.png";
// The reading line and the plate's line, for the README.
inline constexpr const char *reading_picture = "reading.png";
// The printed chart, landscape, with the minerals, in true colours under
// D65, as yarx-chart writes it; for the README.
inline constexpr const char *printed_picture = "chart-landscape-minerals.png";
inline constexpr const char *printed_picture_options[] = {"--landscape", "--minerals",
                                                          "--true-colours", "--illuminant", "d65"};
// Interference figures in true colours, as yarx-chart --figure writes
// them; for the README: a uniaxial positive mineral with the first-order red
// plate, and a biaxial one at the 45-degree position.
inline constexpr const char *uniaxial_figure_picture = "figure-zircon-plate.png";
inline constexpr const char *uniaxial_figure_options[] = {
    "--figure", "--mineral", "zircon", "--plate", "551", "--true-colours"};
inline constexpr const char *biaxial_figure_picture = "figure-muscovite.png";
inline constexpr const char *biaxial_figure_options[] = {"--figure", "--mineral", "muscovite",
                                                         "--true-colours"};
// What the screen showed when the tool gave up waiting for a chart.
inline constexpr const char *failure_picture = "failure-screen.png";

inline std::string icon_picture(int size) { return "icon-" + std::to_string(size) + ".png"; }
// The icons as the program compiles them in (chart::window_icon_sizes).
inline constexpr const char *icon_runs = "window_icon_runs.inc";

// Where the sources keep them, from the top of the tree: the package's icon
// at each of chart::installed_icon_sizes, the runs, and the reading lines.
inline std::string kept_icon(int size) { return "data/yarx-" + std::to_string(size) + ".png"; }
inline constexpr const char *kept_icon_runs = "src/chart/window_icon_runs.inc";
inline constexpr const char *kept_reading = "doc/reading.png";
inline constexpr const char *kept_printed = "doc/chart-landscape-minerals.png";
inline constexpr const char *kept_uniaxial_figure = "doc/figure-zircon-plate.png";
inline constexpr const char *kept_biaxial_figure = "doc/figure-muscovite.png";

// The overview: a strip of labels, then a row of charts at half size for
// each way, a column for each illuminant, all with a gap around.
namespace overview {
constexpr int column = chart::canvas_width / 2, chart_height = chart::canvas_height / 2;
constexpr int gap = 10, label_height = 28;
constexpr int width = gap + colour::illuminant_count * (column + gap);
constexpr int height = label_height + way_count * (chart_height + gap);
// The top left corner of a chart.
constexpr int chart_left(int illuminant_index) { return gap + illuminant_index * (column + gap); }
constexpr int chart_top(int way_index) { return label_height + way_index * (chart_height + gap); }
}  // namespace overview

}  // namespace yarx::pictures
