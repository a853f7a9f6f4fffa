#include "reading.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "chart/chart_geometry.h"
#include "chart/minerals.h"
#include "chart/text_writer.h"

namespace yarx::chart {

namespace {

// The orders the chart reaches: 2497.5 nm lies in the fifth.
constexpr const char *roman_orders[] = {"I", "II", "III", "IV", "V"};
static_assert(std::size(roman_orders) == order_count);
static_assert(last_row * colour::retardation_step_nm / order_length_nm < order_count);

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The longest name in the table, for the room the candidates take.
constexpr std::size_t longest_name() {
    std::size_t longest = 0;
    for (const Mineral &m : minerals) {
        std::size_t n = 0;
        while (m.name[n]) ++n;
        longest = std::max(longest, n);
    }
    return longest;
}

// What the row reads, as the placeholders show it.  The candidates take
// their names, a ", " between them and ", ..." after them.
struct Reading {
    char retardation[16], birefringence[24], thickness[24];
    char candidates[candidates_shown * (longest_name() + 2) + 4];
    const char *order;
};

// The candidates' names, comma-separated, "..." after the last when more fit.
void list_candidates(const Candidates &found, char *out, std::size_t size) {
    TextWriter writer(out, size);
    for (std::size_t k = 0; k < found.count; ++k) {
        if (k > 0) writer.put(", ");
        writer.put(found.nearest[k]->name);
    }
    if (found.more) writer.put(", ...");
}

// R = 2.5 row nm, exact in a double, so "%.1f" shows it exactly.  The
// birefringence R / (1000 t) is rounded half up at the fourth decimal from
// 10 R / t, which is exact at a tie for a whole thickness: 67.5 nm at
// 30 µm is 0.00225, shown 0.0023, where "%.4f" would show 0.0022.  The
// candidates go by the birefringence itself, not by the four decimals shown:
// 55 nm at 30 µm is 0.00183, within nepheline's widened range, where 0.0018
// would not be.  Below the least thickness there is no birefringence to
// name them by.
Reading read_row(int row, double thickness_um) {
    Reading r{};
    const double retardation_nm = colour::retardation_step_nm * row;
    std::snprintf(r.retardation, sizeof r.retardation, "%.1f", retardation_nm);
    const long ten_thousandths = std::lround(10 * retardation_nm / thickness_um);
    std::snprintf(r.birefringence, sizeof r.birefringence, "%ld.%04ld", ten_thousandths / 10000,
                  ten_thousandths % 10000);
    std::snprintf(r.thickness, sizeof r.thickness, "%g", thickness_um);
    r.order = order_numeral(order_of(row));
    if (thickness_um >= least_thickness_um)
        list_candidates(candidates_for(retardation_nm / (1000 * thickness_um)), r.candidates,
                        sizeof r.candidates);
    return r;
}

// The text for placeholder %name, or nullptr when %name is none.
const char *placeholder(char name, const Reading &r) {
    switch (name) {
        case 'r':
            return r.retardation;
        case 'o':
            return r.order;
        case 'b':
            return r.birefringence;
        case 't':
            return r.thickness;
        case 'm':
            return r.candidates;
        default:
            return nullptr;
    }
}

}  // namespace

bool parse_thickness(const char *text, double &thickness_um) {
    if (!text) return false;
    const char *p = text;
    while (is_blank(*p)) ++p;
    const char *number = p;
    int digits = 0;
    for (; is_digit(*p); ++p) ++digits;
    if (*p == '.')
        for (++p; is_digit(*p); ++p) ++digits;
    while (is_blank(*p)) ++p;
    // Only digits and one point: strtod alone would also take "nan",
    // "inf", "1e9" and hexadecimal.
    if (digits == 0 || *p != '\0') return false;
    const double value = std::strtod(number, nullptr);
    if (value < least_thickness_um || value > greatest_thickness_um) return false;
    thickness_um = value;
    return true;
}

// A reading just below an order mark already belongs to the next order.
int order_of(int row) {
    const int order = static_cast<int>(colour::retardation_step_nm * row / order_length_nm);
    return std::min(order, order_count - 1);
}

const char *order_numeral(int order) { return roman_orders[order]; }

int row_under(int x, int y) {
    if (x < 0 || x >= canvas_width || y < band_top || y > band_bottom) return no_row;
    return y - band_top;
}

void format_reading(const char *text_template, int row, double thickness_um, char *out,
                    std::size_t size) {
    const Reading reading = read_row(row, thickness_um);
    TextWriter writer(out, size);
    for (const char *p = text_template; *p; ++p) {
        if (*p != '%' || p[1] == '\0') {
            writer.put(*p);
            continue;
        }
        // A % and the character after it: a placeholder, or kept as it is.
        ++p;
        if (const char *value = placeholder(*p, reading)) {
            writer.put(value);
        } else {
            writer.put('%');
            writer.put(*p);
        }
    }
}

}  // namespace yarx::chart
