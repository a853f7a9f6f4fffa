// The chart read at a row: the retardation there, its order of
// interference, the birefringence it means for a section of a given
// thickness, the minerals that birefringence fits, and what an accessory
// plate adds to the retardation and subtracts from it, put into the words
// of a template from the resources.  No X, no allocation: the caller gives
// the buffer.
#pragma once

#include <cstddef>

namespace yarx::chart {

// A section's thickness in µm, when the resources give none or a bad one:
// the usual thin section.
constexpr double default_thickness_um = 30;
constexpr double least_thickness_um = 1, greatest_thickness_um = 1000;

// The thickness a resource value gives: a plain decimal number ("25",
// "27.5"), blanks around it allowed, from 1 to 1000.  False for anything
// else, such as "abc", "1e9", "nan", "-5" or "".
bool parse_thickness(const char *text, double &thickness_um);

// The orders of interference the chart reaches, I to V, each 551 nm long;
// a row's order counts from 0, and its numeral is the one the reading shows.
constexpr int order_count = 5;
int order_of(int row);
const char *order_numeral(int order);

// The accessory plate's retardation in nm, when the resources give none or
// a bad one: the first-order red plate as most makers engrave it (theirs
// run from 530 to 560 nm; the order marks keep their 551).  0 is no plate.
constexpr double default_plate_nm = 550;
constexpr double no_plate_nm = 0;
constexpr double greatest_plate_nm = 2497.5;  // the chart's end

// The plate's retardation a resource value gives: a plain decimal number
// as for the thickness, from 0 to 2497.5.
bool parse_plate(const char *text, double &plate_nm);

// A plain decimal number from least to greatest, as for the thickness; the
// value stays as it was for anything else.
bool parse_number_in(const char *text, double least, double greatest, double &value);

// Refuses a value that is not a number of the kind in its range, with one
// line that names the range from its constants: "thickness 'x' is not a
// number from 1 to 1000".  Always false.
bool refuse_number(char *reason, std::size_t size, const char *name, const char *value,
                   const char *kind, double least, double greatest, bool above_least = false);

// The chart row under canvas point (x, y), or no_row when the point is
// outside the canvas or above or below the bands.
constexpr int no_row = -1;
int row_under(int x, int y);

// The thickness a reading at canvas column x takes: with the birefringence
// fan shown and x over the bands, the fan's thickness there, (x - 50) / 10
// µm, which is below least_thickness_um over the bands' first ten columns;
// elsewhere the section's thickness.
double thickness_under(int x, bool fan_shown, double thickness_um);

// The rows whose bands show the retardations R + P (added) and |R - P|
// (subtracted), for the row's R and a plate of P nm: the nearest row, and
// of two as near the greater.  added is no_row where R + P passes the
// chart's end.
struct PlateRows {
    int added, subtracted;
};
PlateRows rows_with_plate(int row, double plate_nm);

// The template with its placeholders filled in for the row: %r the
// retardation in nm, one decimal; %o its order, in Roman numerals; %b the
// birefringence at the thickness, four decimals, or "-" for a thickness
// below least_thickness_um, too thin for a birefringence to mean anything;
// %t the thickness in µm; %m the minerals whose birefringence fits
// (candidates_for), comma-separated, with "..." after the fourth when more
// fit, and empty for a thickness below least_thickness_um; %p the plate's
// retardation in nm; %a and %s the retardations it adds and subtracts, each
// in nm with one decimal and its order ("820.0 nm II"), or for %a "beyond
// the chart".  Every other character, and every other % sequence (a % and
// the character after it), is copied as it stands.  Writes at most size - 1
// characters and a zero (size > 0).
void format_reading(const char *text_template, int row, double thickness_um, char *out,
                    std::size_t size, double plate_nm = no_plate_nm);

}  // namespace yarx::chart
