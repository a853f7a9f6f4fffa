#include "fan_drawing.h"

#include <X11/Xlib-xcb.h>
#include <xcb/xproto.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "chart/fan_geometry.h"
#include "ui/xcb_reply.h"

namespace yarx::ui {

namespace {

using namespace chart;

// The labels' font, asked for once; its id None when the server had
// neither the font asked for nor "fixed".
struct FanFont {
    const char *name = nullptr;
    bool asked = false, taken = false;
    Font id = None;
    xcb_void_cookie_t opened{};
    xcb_query_font_cookie_t queried{};
    int ascent = 0, descent = 0;
    std::int16_t widths[256] = {};
};
FanFont font;

// Where the labels go in that font, worked out once it has come.
FanLabelText line_labels[fan_line_count];
FanLabels line_label_places;
char axis_numbers[axis_number_count][8];
AxisLabels axis_places;

GC gc = nullptr;

// The lines from the chart's origin to where each leaves the bands.
constexpr auto segments = [] {
    std::array<XSegment, fan_line_count> lines{};
    for (int i = 0; i < fan_line_count; ++i) {
        const Point end = fan_line_end(fan_lines[i].thousandths);
        lines[i] = {static_cast<short>(band_left), static_cast<short>(band_top),
                    static_cast<short>(end.x), static_cast<short>(end.y)};
    }
    return lines;
}();

void ask_for_font(xcb_connection_t *c, const char *name) {
    font.id = xcb_generate_id(c);
    font.opened =
        xcb_open_font_checked(c, font.id, static_cast<std::uint16_t>(std::strlen(name)), name);
    font.queried = xcb_query_font(c, font.id);
}

// The advance of each of the first 256 characters, as XDrawString takes
// them: each byte a character of the font's first row.  A character the
// font lacks stands for its default character.
void note_metrics(const xcb_query_font_reply_t &reply) {
    font.ascent = std::max(reply.font_ascent, reply.max_bounds.ascent);
    font.descent = std::max(reply.font_descent, reply.max_bounds.descent);
    const xcb_charinfo_t *infos = xcb_query_font_char_infos(&reply);
    const int count = xcb_query_font_char_infos_length(&reply);
    const auto info_of = [&](int code) -> const xcb_charinfo_t * {
        if (count == 0) return &reply.max_bounds;  // every character alike
        const int index = code - reply.min_char_or_byte2;
        if (reply.min_byte1 != 0 || code > reply.max_char_or_byte2 || index < 0 || index >= count)
            return nullptr;
        const xcb_charinfo_t &info = infos[index];
        const bool exists = info.character_width || info.left_side_bearing ||
                            info.right_side_bearing || info.ascent || info.descent;
        return exists ? &info : nullptr;
    };
    const xcb_charinfo_t *fallback = info_of(reply.default_char);
    for (int code = 0; code < 256; ++code) {
        const xcb_charinfo_t *info = info_of(code);
        if (!info) info = fallback;
        font.widths[code] = static_cast<std::int16_t>(info ? info->character_width : 0);
    }
}

// The font's answer, and whether it opened.
bool take_font_answer(xcb_connection_t *c) {
    xcb_generic_error_t *error = nullptr;
    const XcbReply<xcb_query_font_reply_t> reply(xcb_query_font_reply(c, font.queried, &error));
    const XcbError refusal(error);
    const XcbError not_opened(xcb_request_check(c, font.opened));
    if (!reply || not_opened) return false;
    note_metrics(*reply.get());
    return true;
}

TextSize size_of(const char *text) {
    int width = 0;
    for (const char *p = text; *p; ++p) width += font.widths[static_cast<unsigned char>(*p)];
    return {width, font.ascent, font.descent};
}

void place_labels() {
    TextSize line_sizes[fan_line_count];
    for (int i = 0; i < fan_line_count; ++i) {
        line_labels[i] = fan_label_text(fan_lines[i].thousandths);
        line_sizes[i] = size_of(line_labels[i].data());
    }
    line_label_places = place_fan_labels(line_sizes);
    TextSize number_sizes[axis_number_count];
    for (int i = 0; i < axis_number_count; ++i) {
        std::snprintf(axis_numbers[i], sizeof axis_numbers[i], "%d", axis_numbers_um[i]);
        number_sizes[i] = size_of(axis_numbers[i]);
    }
    axis_places = place_axis_labels(number_sizes, size_of(axis_unit), size_of(" ").width);
}

// Takes the font's answer, which came back with the draw's colours; a
// font the server lacks gives way to "fixed", which every server has, at
// the cost of one more round trip, once, and a warning that names it.
void take_font(Display *display) {
    xcb_connection_t *c = XGetXCBConnection(display);
    font.taken = true;
    if (!take_font_answer(c)) {
        std::fprintf(stderr, "yarx: fanFont '%s' cannot be opened; using fixed\n", font.name);
        ask_for_font(c, "fixed");
        if (!take_font_answer(c)) {
            font.id = None;
            return;
        }
    }
    place_labels();
}

void draw_text(Display *display, Window window, const Box &box, const char *text) {
    XDrawString(display, window, gc, box.left, box.top + font.ascent, text,
                static_cast<int>(std::strlen(text)));
}

}  // namespace

void request_fan_font(Display *display, const char *font_name) {
    if (font.asked) return;
    font.asked = true;
    font.name = font_name;
    ask_for_font(XGetXCBConnection(display), font_name);
}

void draw_fan(Display *display, Window window, unsigned long black, unsigned long white,
              double thickness_um) {
    if (font.asked && !font.taken) take_font(display);
    if (!gc) {
        XGCValues dashed{};
        dashed.line_style = LineDoubleDash;
        gc = XCreateGC(display, window, GCLineStyle, &dashed);
        if (font.id != None) XSetFont(display, gc, font.id);
    }
    // Even dashes in the foreground, odd ones in the background; text in
    // the foreground alone.
    XGCValues colours{};
    colours.foreground = white;
    colours.background = black;
    XChangeGC(display, gc, GCForeground | GCBackground, &colours);

    const int x = section_column(thickness_um);
    if (x <= band_right) XDrawLine(display, window, gc, x, band_top, x, vertical_bottom);
    XDrawSegments(display, window, gc, const_cast<XSegment *>(segments.data()), fan_line_count);

    if (font.id == None) return;
    for (int i = 0; i < fan_line_count; ++i)
        if (line_label_places.shown[i])
            draw_text(display, window, line_label_places.boxes[i], line_labels[i].data());
    for (int i = 0; i < axis_number_count; ++i)
        if (axis_places.number_shown[i])
            draw_text(display, window, axis_places.numbers[i], axis_numbers[i]);
    if (axis_places.unit_shown) draw_text(display, window, axis_places.unit, axis_unit);
}

void clear_fan_margins(Display *display, Window window) {
    for (const Box &margin : {top_margin, right_margin, bottom_margin})
        XClearArea(display, window, margin.left, margin.top,
                   static_cast<unsigned>(margin.right - margin.left + 1),
                   static_cast<unsigned>(margin.bottom - margin.top + 1), False);
}

}  // namespace yarx::ui
