#include "chart_file.h"

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "chart/reading.h"
#include "chart/text_writer.h"
#include "print/atomic_file.h"
#include "print/figure_layout.h"
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

// The chart and the figure of the last file written; in static storage, as
// the program's objects keep everything.
colour::ChartColours colours;
Figure figure;

bool refuse(char *reason, std::size_t reason_size, const char *what) {
    std::snprintf(reason, reason_size, "%s", what);
    return false;
}

// Whether the settings are in their ranges, before anything is computed.
bool settings_in_range(const FigureSettings &settings, char *reason, std::size_t reason_size) {
    if (!colour::find_illuminant(settings.illuminant)) {
        std::snprintf(reason, reason_size, "unknown illuminant %d", settings.illuminant);
        return false;
    }
    if (!thickness_in_range(settings.thickness_um, reason, reason_size)) return false;
    const struct {
        const char *name;
        int value, least, greatest;
    } ranges[] = {
        {"scale", settings.scale, least_scale, greatest_scale},
        {"dpi", settings.dpi, least_dpi, greatest_dpi},
    };
    for (const auto &r : ranges)
        if (r.value < r.least || r.value > r.greatest) {
            std::snprintf(reason, reason_size, "%s out of range (%d to %d)", r.name, r.least,
                          r.greatest);
            return false;
        }
    return true;
}

// Whether the figure's page can be written in the format.
bool page_fits(const Placement &p, Format format, char *reason, std::size_t reason_size) {
    char what[128];
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

}  // namespace

bool thickness_in_range(double thickness_um, char *reason, std::size_t reason_size) {
    if (thickness_um >= chart::least_thickness_um && thickness_um <= chart::greatest_thickness_um)
        return true;
    std::snprintf(reason, reason_size, "thickness out of range (%g to %g \xc2\xb5m)",
                  chart::least_thickness_um, chart::greatest_thickness_um);
    return false;
}

bool format_of(const char *path, Format &format, char *reason, std::size_t reason_size) {
    const char *dot = std::strrchr(path, '.');
    if (dot && !std::strchr(dot, '/'))
        for (const FileType &type : file_types)
            if (strcasecmp(dot, type.extension) == 0) {
                format = type.format;
                return true;
            }
    chart::TextWriter out(reason, reason_size);
    out.put("'");
    out.put(path);
    out.put("': unknown file type (use ");
    put_alternatives(out, file_types, &FileType::extension);
    out.put(")");
    return false;
}

WriteOutcome write_chart(const FigureSettings &settings, const char *path, char *reason,
                         std::size_t reason_size) {
    Format format;
    if (!format_of(path, format, reason, reason_size) ||
        !settings_in_range(settings, reason, reason_size))
        return WriteOutcome::refused;
    colour::compute_chart(settings.illuminant, settings.rendering, colours);
    build_figure(settings, colours, figure);
    const Placement placement = placement_of(settings, format, figure);
    if (!page_fits(placement, format, reason, reason_size)) return WriteOutcome::refused;
    if (figure.overflowed) {
        refuse(reason, reason_size, "the figure holds too much");
        return WriteOutcome::failed;
    }
    return write_built_figure(figure, placement, format, settings.rendering, path, reason,
                              reason_size);
}

WriteOutcome write_built_figure(const Figure &figure, const Placement &placement, Format format,
                                colour::Rendering rendering, const char *path, char *reason,
                                std::size_t reason_size) {
    AtomicFile file(path, reason, reason_size);
    if (!file.open()) return WriteOutcome::failed;
    bool drawn = false;
    switch (format) {
        case Format::png:
            drawn = write_png(figure, placement, rendering, file);
            break;
        case Format::pdf:
            drawn = write_pdf(figure, placement, AtomicFile::take, &file);
            break;
        case Format::svg:
            drawn = write_svg(figure, placement, AtomicFile::take, &file);
            break;
    }
    if (!drawn) file.fail(0);
    return drawn && file.commit() ? WriteOutcome::written : WriteOutcome::failed;
}

}  // namespace yarx::print
