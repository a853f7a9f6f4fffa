// The figure through cairo: a raster for PNG, a page of vectors for PDF,
// with the texts kept as text and the bands as one image that no viewer
// smooths.

#include <cairo-pdf.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "print/figure_output.h"

namespace yarx::print {

namespace {

// A page's size in points, portrait, and the margin kept clear on it.
struct PaperSize {
    double width, height;
};
constexpr double points_per_mm = 72 / 25.4;
constexpr double paper_margin = 12 * points_per_mm;
constexpr double points_per_inch = 72;

PaperSize paper_size(Paper paper) {
    switch (paper) {
        case Paper::a3:
            return {297 * points_per_mm, 420 * points_per_mm};
        case Paper::letter:
            return {8.5 * points_per_inch, 11 * points_per_inch};
        default:
            return {210 * points_per_mm, 297 * points_per_mm};
    }
}

// The texts' face, with hinting that leaves the widths as measured, so
// that a raster at any scale sets them as the layout placed them.
void set_font(cairo_t *cr) {
    cairo_select_font_face(cr, font_family, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void set_colour(cairo_t *cr, const Rgb8 &c) {
    cairo_set_source_rgb(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

bool same(const Rgb8 &a, const Rgb8 &b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

void draw_bands(cairo_t *cr, const Figure &f) {
    if (!(f.bands.width > 0 && f.bands.height > 0)) return;
    cairo_surface_t *image = band_image(f);
    const int width = cairo_image_surface_get_width(image);
    const int height = cairo_image_surface_get_height(image);
    cairo_save(cr);
    cairo_translate(cr, f.bands.x, f.bands.y);
    cairo_scale(cr, f.bands.width / width, f.bands.height / height);
    cairo_set_source_surface(cr, image, 0, 0);
    // Each band its own colour to its edges, in every viewer: no smoothing.
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
}

// Pixel for pixel at one unit a pixel, and blocks of them at any scale.
void draw_picture(cairo_t *cr, const Figure &f) {
    if (!f.picture.pixels) return;
    cairo_surface_t *image = picture_image(f.picture);
    cairo_save(cr);
    cairo_set_source_surface(cr, image, f.picture.x, f.picture.y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, f.picture.x, f.picture.y, f.picture.width, f.picture.height);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
}

// The rectangles of one colour in one path: fewer operators on a page.
void draw_rects(cairo_t *cr, const Figure &f) {
    for (int i = 0; i < f.rect_count;) {
        const Rgb8 colour = f.rects[i].colour;
        for (; i < f.rect_count && same(f.rects[i].colour, colour); ++i)
            cairo_rectangle(cr, f.rects[i].x, f.rects[i].y, f.rects[i].width, f.rects[i].height);
        set_colour(cr, colour);
        cairo_fill(cr);
    }
}

void draw_lines(cairo_t *cr, const Figure &f, bool crisp) {
    cairo_save(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    if (crisp) cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int i = 0; i < f.line_count; ++i) {
        const Line &l = f.lines[i];
        set_colour(cr, l.colour);
        cairo_set_line_width(cr, l.width);
        cairo_set_dash(cr, &l.dash, l.dash > 0 ? 1 : 0, 0);
        cairo_move_to(cr, l.x0, l.y0);
        cairo_line_to(cr, l.x1, l.y1);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void draw_texts(cairo_t *cr, const Figure &f) {
    set_font(cr);
    for (int i = 0; i < f.text_count; ++i) {
        const Text &t = f.texts[i];
        cairo_save(cr);
        cairo_set_font_size(cr, t.size);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, t.text, &extents);
        const double shift = t.anchor == Anchor::start    ? 0
                             : t.anchor == Anchor::middle ? extents.x_advance / 2
                                                          : extents.x_advance;
        cairo_translate(cr, t.x, t.y);
        cairo_rotate(cr, t.angle * M_PI / 180);
        cairo_move_to(cr, -shift, 0);
        set_colour(cr, t.colour);
        cairo_show_text(cr, t.text);
        cairo_restore(cr);
    }
}

// One scaled font for measuring, made once: cairo keeps it.
cairo_scaled_font_t *measuring_font() {
    static cairo_scaled_font_t *font = [] {
        cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
        cairo_t *cr = cairo_create(surface);
        set_font(cr);
        cairo_set_font_size(cr, 1);
        cairo_scaled_font_t *scaled = cairo_scaled_font_reference(cairo_get_scaled_font(cr));
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        return scaled;
    }();
    return font;
}

}  // namespace

double text_width(const char *utf8, double size) {
    cairo_text_extents_t extents;
    cairo_scaled_font_text_extents(measuring_font(), utf8, &extents);
    return extents.x_advance * size;
}

Placement placement_of(const FigureSettings &settings, Format format, const Figure &figure) {
    if (settings.paper == Paper::none) {
        const double scale = settings.scale;
        double width = figure.width * scale, height = figure.height * scale;
        if (format == Format::png) {
            width = std::ceil(width);
            height = std::ceil(height);
        }
        return {width, height, scale, 0, 0, false};
    }
    PaperSize page = paper_size(settings.paper);
    if (settings.landscape) std::swap(page.width, page.height);
    double fit = std::min((page.width - 2 * paper_margin) / figure.width,
                          (page.height - 2 * paper_margin) / figure.height);
    if (format == Format::png) {
        const double pixels_per_point = settings.dpi / points_per_inch;
        page = {std::round(page.width * pixels_per_point),
                std::round(page.height * pixels_per_point)};
        fit *= pixels_per_point;
    }
    return {page.width,
            page.height,
            fit,
            (page.width - figure.width * fit) / 2,
            (page.height - figure.height * fit) / 2,
            true};
}

cairo_surface_t *band_image(const Figure &figure) {
    const int rows = colour::chart_rows;
    cairo_surface_t *image = figure.bands.across
                                 ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, rows, 1)
                                 : cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, rows);
    unsigned char *data = cairo_image_surface_get_data(image);
    if (!data) return image;
    const int stride = cairo_image_surface_get_stride(image);
    cairo_surface_flush(image);
    for (int row = 0; row < rows; ++row) {
        const Rgb8 &c = figure.band_colours[row];
        const int x = figure.bands.across ? row : 0, y = figure.bands.across ? 0 : row;
        // RGB24: one 32-bit word a pixel, red in bits 16 to 23.
        reinterpret_cast<std::uint32_t *>(data + static_cast<std::ptrdiff_t>(y) * stride)[x] =
            std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue;
    }
    cairo_surface_mark_dirty(image);
    return image;
}

cairo_surface_t *picture_image(const Picture &picture) {
    cairo_surface_t *image =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    unsigned char *data = cairo_image_surface_get_data(image);
    if (!data) return image;
    const int stride = cairo_image_surface_get_stride(image);
    cairo_surface_flush(image);
    for (int y = 0; y < picture.height; ++y) {
        auto *line =
            reinterpret_cast<std::uint32_t *>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < picture.width; ++x) {
            const Rgb8 &c = picture.pixels[static_cast<std::ptrdiff_t>(y) * picture.width + x];
            line[x] = std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue;
        }
    }
    cairo_surface_mark_dirty(image);
    return image;
}

void draw_figure(cairo_t *cr, const Figure &figure, const Placement &placement) {
    cairo_save(cr);
    if (placement.on_paper) {
        // The paper around the figure.
        set_colour(cr, white);
        cairo_paint(cr);
    }
    cairo_translate(cr, placement.left, placement.top);
    cairo_scale(cr, placement.scale, placement.scale);
    set_colour(cr, figure.background);
    cairo_rectangle(cr, 0, 0, figure.width, figure.height);
    cairo_fill(cr);
    draw_bands(cr, figure);
    draw_picture(cr, figure);
    draw_rects(cr, figure);
    // At one pixel a unit, as the X server draws its lines.
    draw_lines(cr, figure, placement.scale == 1 && !placement.on_paper);
    draw_texts(cr, figure);
    cairo_restore(cr);
}

cairo_surface_t *draw_raster(const Figure &figure, const Placement &placement) {
    cairo_surface_t *surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, static_cast<int>(placement.page_width),
                                   static_cast<int>(placement.page_height));
    cairo_t *cr = cairo_create(surface);
    draw_figure(cr, figure, placement);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    return surface;
}

bool write_pdf(const Figure &figure, const Placement &placement, cairo_write_func_t write,
               void *closure) {
    cairo_surface_t *surface = cairo_pdf_surface_create_for_stream(
        write, closure, placement.page_width, placement.page_height);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE,
                                   figure.title ? figure.title : "Interference colour chart");
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "yarx " YARX_VERSION);
    cairo_t *cr = cairo_create(surface);
    draw_figure(cr, figure, placement);
    bool written = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    written = written && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

}  // namespace yarx::print
