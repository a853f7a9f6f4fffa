// What the figure window's panel sets and says, without X: the scales'
// ranges and how their integer positions stand for the figure's settings,
// the reading under the pointer put into a template's words, the window's
// title, and the mineral a chart reading offers.  No allocation: the
// caller gives the buffers.
#pragma once

#include <cstddef>

#include "chart/minerals.h"
#include "figure/optics.h"
#include "figure/settings.h"

namespace yarx::figure {

// The panel's scales, in the order the panel stacks them.
enum class FigureScale { birefringence, optic_angle, tilt, azimuth };
constexpr int scale_count = 4;

// A scale moves in whole steps from least to greatest; a position p stands
// for the setting p / 10^decimals.
struct ScaleRange {
    FigureScale scale;
    double Settings::*setting;
    int least, greatest;
    int decimals;
};

// clang-format off
inline constexpr ScaleRange scale_ranges[] = {
    { FigureScale::birefringence, &Settings::birefringence,    1, 200, 3 },  // 0.001 to 0.200
    { FigureScale::optic_angle,   &Settings::optic_angle_deg,  1,  90, 0 },  // 2V, degrees
    { FigureScale::tilt,          &Settings::tilt_deg,         0,  60, 0 },
    { FigureScale::azimuth,       &Settings::azimuth_deg,      0, 180, 0 },
};
// clang-format on

constexpr const ScaleRange &range_of(FigureScale scale) {
    return scale_ranges[static_cast<int>(scale)];
}

// The position that shows the settings' value, rounded to the nearest step
// and held within the scale: a mineral's birefringence beyond the scale
// stands at its end, while the figure keeps the mineral's own.
int scale_position(FigureScale scale, const Settings &settings);

// Sets what the scale's position stands for.
void take_scale_position(FigureScale scale, int position, Settings &settings);

// The reading of a point of the figure, the template's placeholders filled
// in: %r the retardation in nm, one decimal; %o its order of interference
// in Roman numerals, counted in 551 nm from I; %s the slow vibration's
// azimuth, %a the angle in air from the microscope's axis, each in whole
// degrees.  Outside the field the whole reading is "-".  Other characters
// and % sequences are copied as they stand, as in the chart's reading.
void format_figure_reading(const char *text_template, const Ray &ray, char *out, std::size_t size);

// The window's title after the prefix: "yarx: figure of quartz", or for
// optics of the user's own "yarx: figure of a biaxial negative crystal".
void write_figure_title(const char *prefix, const Settings &settings, char *out, std::size_t size);

// The first of a reading's candidates that has a figure, or nullptr when
// none has.
const MineralOptics *first_with_figure(const chart::Candidates &candidates);

}  // namespace yarx::figure
