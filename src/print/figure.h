// The chart as a figure to put on paper: a display list of plain
// primitives in the figure's own units, built once and written by two small
// back ends, cairo (PNG, PDF) and a plain SVG writer.  No X, no allocation:
// fixed-size arrays that a figure fills in place.
//
// The units are the window canvas's pixels in portrait, so that a figure
// drawn at one pixel a unit lies exactly over the canvas; the landscape
// figure has units of its own, of the same order.
#pragma once

#include "colour/chart_colours.h"
#include "print/figure_settings.h"

namespace yarx::print {

using colour::Rgb8;

constexpr Rgb8 black{0, 0, 0};
constexpr Rgb8 white{255, 255, 255};

// The bands as one image, one pixel a row of the chart, stretched without
// interpolation over the box: bands that abut as separate rectangles show
// hairlines in many viewers.  Down the page (1 x 1000 pixels) in portrait,
// across it (1000 x 1) in landscape; none where the box is empty.
struct BandImage {
    double x, y, width, height;
    bool across;
};

// An image of pixels of its own, one unit a pixel, row by row from the top
// left, drawn without smoothing; none where pixels is null.  The pixels
// stay the caller's.
struct Picture {
    double x, y;
    int width, height;
    const Rgb8 *pixels;
};

// A filled rectangle.
struct Rect {
    double x, y, width, height;
    Rgb8 colour;
};

// A straight line, its ends cut square; dashed when dash > 0: dash units
// drawn, dash units left out, from the first end.
struct Line {
    double x0, y0, x1, y1;
    double width;
    Rgb8 colour;
    double dash;
};

// How a text stands to its point: its start, middle or end there.
enum class Anchor { start, middle, end };

// A text in UTF-8, its baseline through (x, y), turned by angle degrees
// clockwise about that point (-90 reads upwards).
constexpr int text_capacity = 160;
struct Text {
    double x, y;
    double size;
    Anchor anchor;
    double angle;
    Rgb8 colour;
    char text[text_capacity];
};

// What the figure holds; more than this is a fault in the layout, which
// the figure notes rather than drawing less.
constexpr int max_rects = 1536;
constexpr int max_lines = 384;
constexpr int max_texts = 192;

struct Figure {
    double width, height;
    Rgb8 background;
    BandImage bands;
    Rgb8 band_colours[colour::chart_rows];
    Picture picture;    // none on the chart's pages
    const char *title;  // a PDF's; the chart's where null
    Rect rects[max_rects];
    Line lines[max_lines];
    Text texts[max_texts];
    int rect_count, line_count, text_count;
    bool overflowed;

    void add(const Rect &rect);
    void add(const Line &line);
    // The text is copied, cut to text_capacity - 1 bytes.
    void add(double x, double y, double size, Anchor anchor, double angle, Rgb8 colour,
             const char *text);
};

// The font the figure's texts are set in, and how wide a text is in it at
// a size: the layout measures every text with the font the files name.
constexpr const char *font_family = "DejaVu Sans";
double text_width(const char *utf8, double size);

// The part of the font's size above a label's baseline and below it, taken
// from the ascenders and descenders of its small letters and digits: what a
// label of names and numbers covers.
constexpr double label_ascent = 0.76, label_descent = 0.24;

// Fills the figure for the settings: the chart's colours, the canvas's
// layout in portrait or the printed chart's in landscape, the fan, the
// minerals' lines and the caption.
void build_figure(const FigureSettings &settings, const colour::ChartColours &chart,
                  Figure &figure);

}  // namespace yarx::print
