#include "colour_match.h"

#include <cstdio>

#include "chart/text_writer.h"
#include "colour/chart_colours.h"

namespace yarx::chart {

namespace {

double retardation_of(int row) { return colour::retardation_step_nm * row; }

// 8 bits of a channel: v under the mask, times 65535 over the mask's
// largest value, its high byte.
unsigned char channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask >> shift & 1)) ++shift;
    const unsigned long largest = mask >> shift;
    const unsigned long value = (pixel & mask) >> shift;
    return colour::eight_bits(static_cast<unsigned short>(value * 65535 / largest));
}

void put_order(TextWriter &writer, int order, const OrderMatch &m, const char *format) {
    char text[48];
    std::snprintf(text, sizeof text, format, order_numeral(order), retardation_of(m.row),
                  m.difference);
    writer.put(text);
}

}  // namespace

ChartMatch match_on_chart(const colour::Rgb8 &colour, const colour::Rgb8 *rows) {
    const colour::Lab target = colour::lab_of_srgb(colour);
    ChartMatch match{};
    for (OrderMatch &m : match.orders) m = {-1, 0};
    for (int row = 0; row < colour::chart_rows; ++row) {
        const double difference = colour::ciede2000(target, colour::lab_of_srgb(rows[row]));
        OrderMatch &m = match.orders[order_of(row)];
        if (m.row < 0 || difference < m.difference) m = {row, difference};
    }
    for (int order = 1; order < order_count; ++order)
        if (match.orders[order].difference < match.best().difference) match.best_order = order;
    return match;
}

colour::Rgb8 colour_of_pixel(unsigned long pixel, unsigned long red_mask, unsigned long green_mask,
                             unsigned long blue_mask) {
    return {channel(pixel, red_mask), channel(pixel, green_mask), channel(pixel, blue_mask)};
}

void format_match(const char *text_template, const colour::Rgb8 &colour, const ChartMatch &match,
                  char *out, std::size_t size) {
    TextWriter writer(out, size);
    fill_template(text_template, writer, [&](char name, TextWriter &w) {
        switch (name) {
            case 'h': {
                char hex[8];
                std::snprintf(hex, sizeof hex, "#%02X%02X%02X", colour.red, colour.green,
                              colour.blue);
                w.put(hex);
                return true;
            }
            case 'b':
                put_order(w, match.best_order, match.best(), "%s %.1f nm (dE %.1f)");
                return true;
            case 'a':
                for (int order = 0; order < order_count; ++order) {
                    if (order > 0) w.put("  ");
                    put_order(w, order, match.orders[order], "%s %.1f (%.1f)");
                }
                return true;
            default:
                return false;
        }
    });
}

}  // namespace yarx::chart
