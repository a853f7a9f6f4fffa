// The minerals a birefringence may belong to: the common rock-forming
// minerals of data/minerals.tsv, compiled in when the program is built, and
// the rule that names the candidates for a reading.  No X, no allocation.
#pragma once

#include <cstddef>

namespace yarx::chart {

// A mineral's birefringence over its usual compositions, in thousandths as
// the sources give it (three decimals).  Whole numbers, so that minerals
// whose ranges have the same middle tie exactly, and go by name.
struct Mineral {
    const char *name;
    int least_thousandths, greatest_thousandths;
};

// In the data file's order.
inline constexpr Mineral minerals[] = {
#include "minerals_table.inc"
};

// A reading names at most this many candidates.
constexpr std::size_t candidates_shown = 4;

// The candidates for a birefringence, nearest first; more when others fit
// too.
struct Candidates {
    const Mineral *nearest[candidates_shown];
    std::size_t count;
    bool more;
};

// The minerals whose range, widened on each side by a tenth of the
// birefringence b plus 0.001, holds b: a section's thickness is known to
// about 3 µm in 30, and the sources differ by about 0.001.  Nearest first
// by the distance from b to the middle of the range, ties by name.  None
// for a b that is not a number from 0 up.
Candidates candidates_for(double birefringence);

}  // namespace yarx::chart
