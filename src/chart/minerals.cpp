#include "minerals.h"

#include <cmath>
#include <cstring>

namespace yarx::chart {

namespace {

// Whether m lies nearer than n to twice the birefringence in thousandths:
// the distance to the middle of a range, doubled so that it stays whole on
// the table's side.
bool nearer(double twice_thousandths, const Mineral &m, const Mineral &n) {
    const double m_distance =
        std::fabs(twice_thousandths - (m.least_thousandths + m.greatest_thousandths));
    const double n_distance =
        std::fabs(twice_thousandths - (n.least_thousandths + n.greatest_thousandths));
    if (m_distance != n_distance) return m_distance < n_distance;
    return std::strcmp(m.name, n.name) < 0;
}

}  // namespace

Candidates candidates_for(double birefringence) {
    Candidates found{};
    // Also false for NaN.
    if (!(birefringence >= 0)) return found;
    const double thousandths = 1000 * birefringence;
    const double widening = 0.1 * thousandths + 1;
    for (const Mineral &mineral : minerals) {
        if (thousandths < mineral.least_thousandths - widening ||
            thousandths > mineral.greatest_thousandths + widening)
            continue;
        // Into the nearest few, in order, as a hand of cards is sorted.
        std::size_t at = found.count;
        while (at > 0 && nearer(2 * thousandths, mineral, *found.nearest[at - 1])) --at;
        if (at == candidates_shown) {
            found.more = true;
            continue;
        }
        if (found.count == candidates_shown) {
            found.more = true;
        } else {
            ++found.count;
        }
        for (std::size_t k = found.count - 1; k > at; --k) found.nearest[k] = found.nearest[k - 1];
        found.nearest[at] = &mineral;
    }
    return found;
}

}  // namespace yarx::chart
