#include "figure.h"

#include "chart/text_writer.h"

namespace yarx::print {

void Figure::add(const Rect &rect) {
    if (rect_count == max_rects) {
        overflowed = true;
        return;
    }
    rects[rect_count++] = rect;
}

void Figure::add(const Line &line) {
    if (line_count == max_lines) {
        overflowed = true;
        return;
    }
    lines[line_count++] = line;
}

void Figure::add(double x, double y, double size, Anchor anchor, double angle, Rgb8 colour,
                 const char *text) {
    if (text_count == max_texts) {
        overflowed = true;
        return;
    }
    Text &t = texts[text_count++];
    t = {x, y, size, anchor, angle, colour, {}};
    chart::TextWriter(t.text, sizeof t.text).put(text);
}

}  // namespace yarx::print
