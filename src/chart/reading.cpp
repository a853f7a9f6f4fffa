#include "reading.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>

#include "chart/chart_geometry.h"
#include "chart/fan_geometry.h"
#include "chart/minerals.h"
#include "chart/text_writer.h"

namespace yarx::chart {

namespace {

// The orders the chart reaches: 2497.5 nm lies in the fifth.
constexpr const char *roman_orders[] = {"I", "II", "III", "IV", "V"};
static_assert(std::size(roman_orders) == order_count);
static_assert(last_row * colour::retardation_step_nm / order_length_nm < order_count);

// The retardation of the last band: an added retardation past it is off the
// chart.  A plate may be as great.
constexpr double chart_end_nm = last_row * colour::retardation_step_nm;
static_assert(greatest_plate_nm == chart_end_nm);

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The order a retardation belongs to, counted from 0.  A reading just
// below an order mark already belongs to the next order.
int order_at(double retardation_nm) {
    const int order = static_cast<int>(retardation_nm / order_length_nm);
    return std::min(order, order_count - 1);
}

// "820.0 nm II": the retardation rounded half up at the first decimal, so
// that 821.25 nm shows 821.3, as its nearest row is the greater of two.
void show_with_order(double retardation_nm, char *out, std::size_t size) {
    const long tenths = std::lround(10 * retardation_nm);
    std::snprintf(out, size, "%ld.%ld nm %s", tenths / 10, tenths % 10,
                  order_numeral(order_at(retardation_nm)));
}

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
    char plate[24], added[32], subtracted[32];
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
// would not be.  Below the least thickness there is no birefringence, "-",
// and none to name them by.
Reading read_row(int row, double thickness_um, double plate_nm) {
    Reading r{};
    const double retardation_nm = colour::retardation_step_nm * row;
    std::snprintf(r.retardation, sizeof r.retardation, "%.1f", retardation_nm);
    std::snprintf(r.thickness, sizeof r.thickness, "%g", thickness_um);
    r.order = order_numeral(order_of(row));

    std::snprintf(r.plate, sizeof r.plate, "%g", plate_nm);
    const double added_nm = retardation_nm + plate_nm;
    if (added_nm > chart_end_nm)
        std::snprintf(r.added, sizeof r.added, "beyond the chart");
    else
        show_with_order(added_nm, r.added, sizeof r.added);
    show_with_order(std::fabs(retardation_nm - plate_nm), r.subtracted, sizeof r.subtracted);

    if (thickness_um < least_thickness_um) {
        std::snprintf(r.birefringence, sizeof r.birefringence, "-");
        return r;
    }
    const long ten_thousandths = std::lround(10 * retardation_nm / thickness_um);
    std::snprintf(r.birefringence, sizeof r.birefringence, "%ld.%04ld", ten_thousandths / 10000,
                  ten_thousandths % 10000);
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
        case 'p':
            return r.plate;
        case 'a':
            return r.added;
        case 's':
            return r.subtracted;
        default:
            return nullptr;
    }
}

}  // namespace

// A plain decimal number ("25", "27.5"), blanks around it allowed.
bool parse_number_in(const char *text, double least, double greatest, double &value) {
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
    const double parsed = std::strtod(number, nullptr);
    if (parsed < least || parsed > greatest) return false;
    value = parsed;
    return true;
}

namespace {

// The row nearest to a retardation on the chart, the greater of two as
// near: R / 2.5 is exact at a tie (x.25 or x.75 nm), and lround takes it up.
int nearest_row(double retardation_nm) {
    return static_cast<int>(std::lround(retardation_nm / colour::retardation_step_nm));
}

}  // namespace

bool parse_thickness(const char *text, double &thickness_um) {
    return parse_number_in(text, least_thickness_um, greatest_thickness_um, thickness_um);
}

bool parse_plate(const char *text, double &plate_nm) {
    return parse_number_in(text, no_plate_nm, greatest_plate_nm, plate_nm);
}

int order_of(int row) { return order_at(colour::retardation_step_nm * row); }

const char *order_numeral(int order) { return roman_orders[order]; }

int row_under(int x, int y) {
    if (x < 0 || x >= canvas_width || y < band_top || y > band_bottom) return no_row;
    return y - band_top;
}

double thickness_under(int x, bool fan_shown, double thickness_um) {
    if (fan_shown && x >= band_left && x <= band_right) return thickness_of_column(x);
    return thickness_um;
}

PlateRows rows_with_plate(int row, double plate_nm) {
    const double retardation_nm = colour::retardation_step_nm * row;
    const double added_nm = retardation_nm + plate_nm;
    return {added_nm > chart_end_nm ? no_row : nearest_row(added_nm),
            nearest_row(std::fabs(retardation_nm - plate_nm))};
}

void format_reading(const char *text_template, int row, double thickness_um, char *out,
                    std::size_t size, double plate_nm) {
    const Reading reading = read_row(row, thickness_um, plate_nm);
    TextWriter writer(out, size);
    fill_template(text_template, writer, [&reading](char name, TextWriter &w) {
        const char *value = placeholder(name, reading);
        if (value) w.put(value);
        return value != nullptr;
    });
}

bool refuse_number(char *reason, std::size_t size, const char *name, const char *value,
                   const char *kind, double least, double greatest, bool above_least) {
    std::snprintf(
        reason, size,
        above_least ? "%s '%s' is not %s above %g up to %g" : "%s '%s' is not %s from %g to %g",
        name, value, kind, least, greatest);
    return false;
}

}  // namespace yarx::chart
