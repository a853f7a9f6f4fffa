// The chart read at a row: the retardation there, its order of
// interference, the birefringence it means for a section of a given
// thickness and the minerals that birefringence fits, put into the words of
// a template from the resources.  No X, no allocation: the caller gives the
// buffer.
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

// The chart row under canvas point (x, y), or no_row when the point is
// outside the canvas or above or below the bands.
constexpr int no_row = -1;
int row_under(int x, int y);

// The template with its placeholders filled in for the row: %r the
// retardation in nm, one decimal; %o its order, in Roman numerals; %b the
// birefringence at the thickness, four decimals; %t the thickness in µm;
// %m the minerals whose birefringence fits (candidates_for), comma-separated,
// with "..." after the fourth when more fit, and empty for a thickness below
// least_thickness_um, which stands for no birefringence.  Every other
// character, and every other % sequence (a % and the character after it),
// is copied as it stands.  Writes at most size - 1 characters and a zero
// (size > 0).
void format_reading(const char *text_template, int row, double thickness_um, char *out,
                    std::size_t size);

}  // namespace yarx::chart
