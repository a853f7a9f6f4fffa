// The figure as SVG, written by hand: texts as <text> elements that a
// search finds, and the bands as one embedded PNG that viewers are told not
// to smooth.

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "print/figure_output.h"

namespace yarx::print {

namespace {

// Bytes gathered in a buffer of its own and passed on in large pieces; the
// first failure sticks, and everything after it is dropped.
class SvgWriter {
public:
    SvgWriter(cairo_write_func_t write, void *closure) : write_(write), closure_(closure) {}

    void put(const char *text) { put(text, std::strlen(text)); }
    void put(const char *data, std::size_t length) {
        while (length > 0 && ok_) {
            if (used_ == sizeof buffer_) flush();
            const std::size_t n = std::min(length, sizeof buffer_ - used_);
            std::memcpy(buffer_ + used_, data, n);
            used_ += n;
            data += n;
            length -= n;
        }
    }
    // A number as SVG takes it, to a thousandth of a unit, without
    // trailing zeros: "20.5", "1100".
    void number(double value) {
        char text[32];
        int n = std::snprintf(text, sizeof text, "%.3f", value);
        while (n > 0 && text[n - 1] == '0') --n;
        if (n > 0 && text[n - 1] == '.') --n;
        if (n == 2 && text[0] == '-' && text[1] == '0') n = 1, text[0] = '0';
        put(text, static_cast<std::size_t>(n));
    }
    void attribute(const char *name, double value) {
        put(" ");
        put(name);
        put("=\"");
        number(value);
        put("\"");
    }
    void colour(const char *name, const Rgb8 &c) {
        char text[40];
        std::snprintf(text, sizeof text, " %s=\"#%02x%02x%02x\"", name, c.red, c.green, c.blue);
        put(text);
    }
    // Text with the characters that XML reserves escaped.
    void escaped(const char *text) {
        for (; *text; ++text) switch (*text) {
                case '&':
                    put("&amp;");
                    break;
                case '<':
                    put("&lt;");
                    break;
                case '>':
                    put("&gt;");
                    break;
                default:
                    put(text, 1);
            }
    }
    bool finish() {
        flush();
        return ok_;
    }

private:
    void flush() {
        if (ok_ && used_ > 0)
            ok_ = write_(closure_, buffer_, static_cast<unsigned>(used_)) == CAIRO_STATUS_SUCCESS;
        used_ = 0;
    }

    cairo_write_func_t write_;
    void *closure_;
    unsigned char buffer_[16384];
    std::size_t used_ = 0;
    bool ok_ = true;
};

// Base64 of what cairo's PNG encoder hands over, three bytes at a time.
struct Base64 {
    SvgWriter &out;
    unsigned char held[3];
    int held_count;

    void encode_held() {
        static constexpr char digits[] =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const unsigned word =
            held[0] << 16 | (held_count > 1 ? held[1] << 8 : 0) | (held_count > 2 ? held[2] : 0);
        const char quad[4] = {digits[word >> 18 & 63], digits[word >> 12 & 63],
                              held_count > 1 ? digits[word >> 6 & 63] : '=',
                              held_count > 2 ? digits[word & 63] : '='};
        out.put(quad, 4);
        held_count = 0;
    }
    static cairo_status_t take(void *closure, const unsigned char *data, unsigned int length) {
        auto *self = static_cast<Base64 *>(closure);
        for (unsigned i = 0; i < length; ++i) {
            self->held[self->held_count++] = data[i];
            if (self->held_count == 3) self->encode_held();
        }
        return CAIRO_STATUS_SUCCESS;
    }
    void finish() {
        if (held_count > 0) encode_held();
    }
};

// An image in its box as an embedded PNG; the surface is destroyed.
void write_image(SvgWriter &out, cairo_surface_t *image, double x, double y, double width,
                 double height) {
    out.put("<image");
    out.attribute("x", x);
    out.attribute("y", y);
    out.attribute("width", width);
    out.attribute("height", height);
    // Every band or pixel its own colour to its edges: no smoothing, in the
    // words of old viewers and new ones.
    out.put(
        " preserveAspectRatio=\"none\" image-rendering=\"optimizeSpeed\""
        " style=\"image-rendering:pixelated\" xlink:href=\"data:image/png;base64,");
    Base64 encoder{out, {}, 0};
    cairo_surface_write_to_png_stream(image, Base64::take, &encoder);
    encoder.finish();
    cairo_surface_destroy(image);
    out.put("\"/>\n");
}

void write_bands(SvgWriter &out, const Figure &f) {
    if (!(f.bands.width > 0 && f.bands.height > 0)) return;
    write_image(out, band_image(f), f.bands.x, f.bands.y, f.bands.width, f.bands.height);
}

void write_picture(SvgWriter &out, const Figure &f) {
    if (!f.picture.pixels) return;
    write_image(out, picture_image(f.picture), f.picture.x, f.picture.y, f.picture.width,
                f.picture.height);
}

void write_rects(SvgWriter &out, const Figure &f) {
    for (int i = 0; i < f.rect_count;) {
        const Rgb8 colour = f.rects[i].colour;
        out.put("<g");
        out.colour("fill", colour);
        out.put(">\n");
        for (; i < f.rect_count && f.rects[i].colour.red == colour.red &&
               f.rects[i].colour.green == colour.green && f.rects[i].colour.blue == colour.blue;
             ++i) {
            const Rect &r = f.rects[i];
            out.put("<rect");
            out.attribute("x", r.x);
            out.attribute("y", r.y);
            out.attribute("width", r.width);
            out.attribute("height", r.height);
            out.put("/>\n");
        }
        out.put("</g>\n");
    }
}

void write_lines(SvgWriter &out, const Figure &f) {
    for (int i = 0; i < f.line_count; ++i) {
        const Line &l = f.lines[i];
        out.put("<line");
        out.attribute("x1", l.x0);
        out.attribute("y1", l.y0);
        out.attribute("x2", l.x1);
        out.attribute("y2", l.y1);
        out.colour("stroke", l.colour);
        out.attribute("stroke-width", l.width);
        if (l.dash > 0) {
            out.put(" stroke-dasharray=\"");
            out.number(l.dash);
            out.put("\"");
        }
        out.put("/>\n");
    }
}

void write_texts(SvgWriter &out, const Figure &f) {
    static constexpr const char *anchors[] = {"start", "middle", "end"};
    for (int i = 0; i < f.text_count; ++i) {
        const Text &t = f.texts[i];
        out.put("<text");
        out.attribute("x", t.x);
        out.attribute("y", t.y);
        out.attribute("font-size", t.size);
        out.colour("fill", t.colour);
        if (t.anchor != Anchor::start) {
            out.put(" text-anchor=\"");
            out.put(anchors[static_cast<int>(t.anchor)]);
            out.put("\"");
        }
        if (t.angle != 0) {
            out.put(" transform=\"rotate(");
            out.number(t.angle);
            out.put(" ");
            out.number(t.x);
            out.put(" ");
            out.number(t.y);
            out.put(")\"");
        }
        out.put(">");
        out.escaped(t.text);
        out.put("</text>\n");
    }
}

}  // namespace

bool write_svg(const Figure &figure, const Placement &placement, cairo_write_func_t write,
               void *closure) {
    SvgWriter out(write, closure);
    const char *unit = placement.on_paper ? "pt" : "";
    char size[96];
    out.put(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\""
        " version=\"1.1\"");
    std::snprintf(size, sizeof size, " width=\"%.3f%s\" height=\"%.3f%s\"", placement.page_width,
                  unit, placement.page_height, unit);
    out.put(size);
    out.put(" viewBox=\"0 0 ");
    out.number(placement.page_width);
    out.put(" ");
    out.number(placement.page_height);
    out.put("\" font-family=\"'");
    out.put(font_family);
    out.put("', sans-serif\">\n");
    if (placement.on_paper) out.put("<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n");
    out.put("<g transform=\"translate(");
    out.number(placement.left);
    out.put(" ");
    out.number(placement.top);
    out.put(") scale(");
    out.number(placement.scale);
    out.put(")\">\n<rect");
    out.attribute("width", figure.width);
    out.attribute("height", figure.height);
    out.colour("fill", figure.background);
    out.put("/>\n");
    write_bands(out, figure);
    write_picture(out, figure);
    write_rects(out, figure);
    write_lines(out, figure);
    write_texts(out, figure);
    out.put("</g>\n</svg>\n");
    return out.finish();
}

}  // namespace yarx::print
