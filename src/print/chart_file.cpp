#include "chart_file.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "chart/reading.h"
#include "print/atomic_file.h"
#include "print/figure_output.h"

namespace yarx::print {

namespace {

// A PNG in true colours says that it is sRGB, in the chunk that says so
// (rendering intent 0, perceptual) right after the header chunk, where
// cairo, which tags nothing, leaves every other byte as it writes them.
// The chart's own colours go to the display as they are, and stay untagged.
constexpr std::uint32_t png_crc(const unsigned char *bytes, std::size_t length) {
    std::uint32_t crc = 0xffffffff;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (crc & 1 ? 0xedb88320 : 0);
    }
    return ~crc;
}

struct SrgbChunk {
    unsigned char bytes[13];
    constexpr SrgbChunk() : bytes{0, 0, 0, 1, 's', 'R', 'G', 'B', 0} {
        const std::uint32_t crc = png_crc(bytes + 4, 5);
        for (int i = 0; i < 4; ++i) bytes[9 + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
    }
};
constexpr SrgbChunk srgb_chunk;

// The PNG signature and the header chunk, 8 and 25 bytes, open every PNG.
constexpr std::size_t png_header_length = 8 + 25;

// The PNG as cairo writes it, the chunk put in when it is tagged.
struct PngStream {
    AtomicFile &file;
    bool srgb;
    std::size_t passed;

    static cairo_status_t take(void *closure, const unsigned char *data, unsigned int length) {
        auto *self = static_cast<PngStream *>(closure);
        const std::size_t before = self->passed;
        self->passed += length;
        if (!self->srgb || before >= png_header_length || self->passed < png_header_length)
            return AtomicFile::take(&self->file, data, length);
        const std::size_t head = png_header_length - before;
        const bool written = self->file.write(data, head) &&
                             self->file.write(srgb_chunk.bytes, sizeof srgb_chunk.bytes) &&
                             self->file.write(data + head, length - head);
        return written ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
    }
};

bool write_png(const Figure &figure, const Placement &placement, colour::Rendering rendering,
               AtomicFile &file) {
    cairo_surface_t *raster = draw_raster(figure, placement);
    if (!raster) return false;
    PngStream stream{file, rendering == colour::Rendering::true_colours, 0};
    const bool written =
        cairo_surface_write_to_png_stream(raster, PngStream::take, &stream) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(raster);
    return written;
}

// The figure of the last settings asked about; in static storage, as the
// program's objects keep everything.
Figure figure;

bool refuse(char *reason, std::size_t reason_size, const char *what) {
    std::snprintf(reason, reason_size, "%s", what);
    return false;
}

}  // namespace

bool format_of(const char *path, Format &format) {
    const char *dot = std::strrchr(path, '.');
    if (!dot || std::strchr(dot, '/')) return false;
    static constexpr struct {
        const char *extension;
        Format format;
    } formats[] = {{".png", Format::png}, {".pdf", Format::pdf}, {".svg", Format::svg}};
    for (const auto &f : formats)
        if (strcasecmp(dot, f.extension) == 0) {
            format = f.format;
            return true;
        }
    return false;
}

bool settings_fit(const FigureSettings &settings, Format format, char *reason,
                  std::size_t reason_size) {
    char what[128];
    if (!colour::find_illuminant(settings.illuminant)) {
        std::snprintf(what, sizeof what, "unknown illuminant %d", settings.illuminant);
        return refuse(reason, reason_size, what);
    }
    if (!(settings.thickness_um >= chart::least_thickness_um &&
          settings.thickness_um <= chart::greatest_thickness_um))
        return refuse(reason, reason_size, "thickness out of range (1 to 1000 \xc2\xb5m)");
    if (settings.scale < least_scale || settings.scale > greatest_scale)
        return refuse(reason, reason_size, "scale out of range (1 to 16)");
    if (settings.dpi < least_dpi || settings.dpi > greatest_dpi)
        return refuse(reason, reason_size, "dpi out of range (1 to 2400)");
    static const colour::ChartColours no_colours{};
    build_figure(settings, no_colours, figure);
    const Placement p = placement_of(settings, format, figure);
    if (format == Format::png && p.page_width * p.page_height / 1e6 > greatest_megapixels)
        std::snprintf(what, sizeof what,
                      "size %.0f x %.0f pixels is more than %.0f megapixels (use a lower scale "
                      "or dpi)",
                      p.page_width, p.page_height, greatest_megapixels);
    else if (format != Format::png && std::max(p.page_width, p.page_height) > greatest_page_side)
        std::snprintf(what, sizeof what,
                      "page %.0f x %.0f is larger than %.0f a side (use a lower scale)",
                      p.page_width, p.page_height, greatest_page_side);
    else
        return true;
    return refuse(reason, reason_size, what);
}

bool write_chart(const FigureSettings &settings, const colour::ChartColours &chart,
                 const char *path, char *reason, std::size_t reason_size) {
    Format format;
    if (!format_of(path, format)) {
        std::snprintf(reason, reason_size, "'%s': unknown file type (use .png, .pdf or .svg)",
                      path);
        return false;
    }
    if (!settings_fit(settings, format, reason, reason_size)) return false;
    build_figure(settings, chart, figure);
    if (figure.overflowed) return refuse(reason, reason_size, "the figure holds too much");
    const Placement placement = placement_of(settings, format, figure);
    AtomicFile file(path, reason, reason_size);
    if (!file.open()) return false;
    bool drawn = false;
    switch (format) {
        case Format::png:
            drawn = write_png(figure, placement, settings.rendering, file);
            break;
        case Format::pdf:
            drawn = write_pdf(figure, placement, AtomicFile::take, &file);
            break;
        case Format::svg:
            drawn = write_svg(figure, placement, AtomicFile::take, &file);
            break;
    }
    if (!drawn) return file.fail(0);
    return file.commit();
}

}  // namespace yarx::print
