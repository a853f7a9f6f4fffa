// Where a colour stands on the chart: in each order of interference, the
// row whose colour as shown is nearest to it by CIEDE2000, and the nearest
// of all; and the words that say so.  No X, no allocation.
#pragma once

#include <cstddef>

#include "chart/reading.h"
#include "colour/cielab.h"

namespace yarx::chart {

// A row and its CIEDE2000 difference from the colour looked for.
struct OrderMatch {
    int row;
    double difference;
};

struct ChartMatch {
    OrderMatch orders[order_count];  // I to V
    int best_order;                  // the order whose row is nearest of all
    const OrderMatch &best() const { return orders[best_order]; }
};

// The colour against the chart's colours as shown, chart_rows of them in
// row order.  Of rows equally near, the first counts.
ChartMatch match_on_chart(const colour::Rgb8 &colour, const colour::Rgb8 *rows);

// A TrueColor pixel's colour through the visual's masks: each channel's
// bits scaled to 16 bits as an X server reports a colour, and their 8 bits.
colour::Rgb8 colour_of_pixel(unsigned long pixel, unsigned long red_mask, unsigned long green_mask,
                             unsigned long blue_mask);

// The template with its placeholders filled in: %h the colour in hex
// ("#D8C8A0"); %b the nearest of all, "II 887.5 nm (dE 2.1)"; %a every
// order's nearest in order, "I 312.5 (4.1)  II 887.5 (2.1) ...".  Every
// other character, and every other % sequence, is copied as it stands.
// Writes at most size - 1 characters and a zero (size > 0).
void format_match(const char *text_template, const colour::Rgb8 &colour, const ChartMatch &match,
                  char *out, std::size_t size);

}  // namespace yarx::chart
