#include "figure_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/chart_geometry.h"
#include "chart/text_writer.h"
#include "figure/mineral_optics.h"

namespace yarx::figure {

namespace {

constexpr double step_of(const ScaleRange &range) {
    double step = 1;
    for (int d = 0; d < range.decimals; ++d) step /= 10;
    return step;
}

// Roman numerals up to 3999: a strong crystal's figure runs through many
// more orders than the chart's five.
void put_roman(chart::TextWriter &out, int number) {
    struct Numeral {
        int value;
        const char *text;
    };
    // clang-format off
    constexpr Numeral numerals[] = {
        {1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"}, {90, "XC"},
        {50,   "L"}, {40,  "XL"}, {10,  "X"}, {9,   "IX"}, {5,   "V"}, {4,  "IV"}, {1, "I"},
    };
    // clang-format on
    for (const Numeral &n : numerals)
        for (; number >= n.value; number -= n.value) out.put(n.text);
}

}  // namespace

int scale_position(FigureScale scale, const Settings &settings) {
    const ScaleRange &range = range_of(scale);
    const long position = std::lround(settings.*range.setting / step_of(range));
    return static_cast<int>(std::clamp<long>(position, range.least, range.greatest));
}

void take_scale_position(FigureScale scale, int position, Settings &settings) {
    const ScaleRange &range = range_of(scale);
    settings.*range.setting = std::clamp(position, range.least, range.greatest) * step_of(range);
}

void format_figure_reading(const char *text_template, const Ray &ray, char *out, std::size_t size) {
    chart::TextWriter writer(out, size);
    if (!ray.inside) {
        writer.put("-");
        return;
    }
    chart::fill_template(text_template, writer, [&ray](char name, chart::TextWriter &w) {
        char number[32];
        switch (name) {
            case 'r':
                std::snprintf(number, sizeof number, "%.1f", ray.retardation_nm);
                break;
            case 'o':
                put_roman(w, static_cast<int>(ray.retardation_nm / chart::order_length_nm) + 1);
                return true;
            case 's':
                std::snprintf(number, sizeof number, "%.0f", ray.slow_azimuth_deg);
                break;
            case 'a':
                std::snprintf(number, sizeof number, "%.0f", ray.air_angle_deg);
                break;
            default:
                return false;
        }
        w.put(number);
        return true;
    });
}

void write_figure_title(const char *prefix, const Settings &settings, char *out, std::size_t size) {
    chart::TextWriter title(out, size);
    title.put(prefix);
    title.put(": figure of ");
    if (settings.mineral) {
        title.put(settings.mineral->name);
        return;
    }
    title.put("a ");
    title.put(word_for(settings.optic_class));
    title.put(" ");
    title.put(word_for(settings.sign));
    title.put(" crystal");
}

const MineralOptics *first_with_figure(const chart::Candidates &candidates) {
    for (std::size_t k = 0; k < candidates.count; ++k) {
        const MineralOptics &optics = mineral_optics[candidates.nearest[k] - chart::minerals];
        if (optics.optic_class != OpticClass::isotropic) return &optics;
    }
    return nullptr;
}

}  // namespace yarx::figure
