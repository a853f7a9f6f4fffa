#include "mineral_optics.h"

#include <cstring>
#include <iterator>

namespace yarx::figure {

namespace {

constexpr bool same_name(const char *a, const char *b) {
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}

// One row each, the same minerals in the same order: the optics file and
// the birefringence file describe one list.
constexpr bool tables_agree() {
    if (std::size(mineral_optics) != std::size(chart::minerals)) return false;
    for (std::size_t i = 0; i < std::size(mineral_optics); ++i)
        if (!same_name(mineral_optics[i].name, chart::minerals[i].name)) return false;
    return true;
}
static_assert(tables_agree(), "data/mineral_optics.tsv and data/minerals.tsv list other minerals");

}  // namespace

const MineralOptics *mineral_named(const char *name) {
    for (const MineralOptics &m : mineral_optics)
        if (std::strcmp(m.name, name) == 0) return &m;
    return nullptr;
}

double greatest_birefringence(const MineralOptics &mineral) {
    return chart::minerals[&mineral - mineral_optics].greatest_thousandths / 1000.0;
}

bool take_mineral(const MineralOptics &mineral, Settings &settings) {
    if (mineral.optic_class == OpticClass::isotropic) return false;
    settings.optic_class = mineral.optic_class;
    settings.sign = mineral.drawn_sign;
    if (mineral.optic_class == OpticClass::biaxial)
        settings.optic_angle_deg = mineral.drawn_optic_angle_deg;
    settings.birefringence = greatest_birefringence(mineral);
    settings.mean_index = (mineral.least_index + mineral.greatest_index) / 2;
    settings.mineral = &mineral;
    return true;
}

const MineralOptics *anisotropic_mineral(int n) {
    for (const MineralOptics &m : mineral_optics)
        if (m.optic_class != OpticClass::isotropic && n-- == 0) return &m;
    return nullptr;
}

}  // namespace yarx::figure
