// The minerals' optics, compiled in from data/mineral_optics.tsv when the
// program is built: what a mineral's interference figure is drawn with.
// The birefringence stays in the chart's table of minerals, row for row.
#pragma once

#include "chart/minerals.h"
#include "figure/settings.h"

namespace yarx::figure {

struct MineralOptics {
    const char *name;
    OpticClass optic_class;
    const char *sign;  // "+", "-", "+/-" where it changes with composition, "0"
    OpticSign drawn_sign;
    double drawn_optic_angle_deg;  // 2V drawn; 0 unless biaxial
    double least_index, greatest_index;
    bool typical;             // the sign or 2V drawn is one composition's
    const char *composition;  // the composition drawn, or ""
};

// In the chart's order of minerals, one row each.
inline constexpr MineralOptics mineral_optics[] = {
#include "mineral_optics_table.inc"
};

// The mineral of that name, or nullptr.
const MineralOptics *mineral_named(const char *name);

// Its birefringence in the chart's table: the greatest.
double greatest_birefringence(const MineralOptics &mineral);

// The settings with the mineral's class, drawn sign and 2V, greatest
// birefringence and the middle of its indices; the rest as they were.
// False, changing nothing, for an isotropic mineral.
bool take_mineral(const MineralOptics &mineral, Settings &settings);

// The anisotropic minerals in the table's order, for a menu: the n-th, or
// nullptr past the last.
const MineralOptics *anisotropic_mineral(int n);

}  // namespace yarx::figure
