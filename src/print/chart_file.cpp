#include "chart_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "chart/reading.h"
#include "print/figure_output.h"

namespace yarx::print {

namespace {

// A file written beside its target under a name of its own, and renamed
// over the target only once every byte of it is on the disk: until then,
// and whatever goes wrong, the target stays as it was.  The first failure
// is kept, with the system's reason; the temporary goes with it.
class AtomicFile {
public:
    AtomicFile(const char *path, char *reason, std::size_t reason_size)
        : path_(path), reason_(reason), reason_size_(reason_size) {}
    ~AtomicFile() {
        if (fd_ >= 0) close(fd_);
        if (created_ && !renamed_) unlink(temporary_);
    }
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // ".<name>.XXXXXX" in the target's directory, made by mkstemp.
    bool open() {
        const char *slash = std::strrchr(path_, '/');
        const int directory_length = slash ? static_cast<int>(slash - path_ + 1) : 0;
        const int n = std::snprintf(temporary_, sizeof temporary_, "%.*s.%s.XXXXXX",
                                    directory_length, path_, slash ? slash + 1 : path_);
        if (n < 0 || n >= static_cast<int>(sizeof temporary_)) return fail(ENAMETOOLONG);
        fd_ = mkstemp(temporary_);
        if (fd_ < 0) return fail(errno);
        created_ = true;
        return true;
    }

    bool write(const unsigned char *data, std::size_t length) {
        while (length > 0 && !failed_) {
            const ssize_t n = ::write(fd_, data, length);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return fail(n < 0 ? errno : EIO);
            data += n;
            length -= static_cast<std::size_t>(n);
        }
        return !failed_;
    }

    static cairo_status_t take(void *closure, const unsigned char *data, unsigned int length) {
        return static_cast<AtomicFile *>(closure)->write(data, length) ? CAIRO_STATUS_SUCCESS
                                                                       : CAIRO_STATUS_WRITE_ERROR;
    }

    // The mode a new file gets, on the disk, closed, and in place.
    bool commit() {
        if (failed_) return false;
        const mode_t mask = umask(0);
        umask(mask);
        if (fchmod(fd_, 0666 & ~mask) != 0 || fsync(fd_) != 0) return fail(errno);
        const int fd = fd_;
        fd_ = -1;
        if (close(fd) != 0) return fail(errno);
        if (rename(temporary_, path_) != 0) return fail(errno);
        renamed_ = true;
        return true;
    }

    // A failure that the back end noticed and the file did not.
    bool fail(int error) {
        if (!failed_)
            std::snprintf(reason_, reason_size_, "cannot write '%s': %s", path_,
                          error ? std::strerror(error) : "the drawing failed");
        failed_ = true;
        return false;
    }

private:
    const char *path_;
    char *reason_;
    std::size_t reason_size_;
    char temporary_[PATH_MAX];
    int fd_ = -1;
    bool created_ = false, renamed_ = false, failed_ = false;
};

bool write_png(const Figure &figure, const Placement &placement, AtomicFile &file) {
    cairo_surface_t *raster = draw_raster(figure, placement);
    const bool written =
        cairo_surface_status(raster) == CAIRO_STATUS_SUCCESS &&
        cairo_surface_write_to_png_stream(raster, AtomicFile::take, &file) == CAIRO_STATUS_SUCCESS;
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
    return write_built_figure(figure, placement_of(settings, format, figure), format, path, reason,
                              reason_size);
}

bool write_built_figure(const Figure &figure, const Placement &placement, Format format,
                        const char *path, char *reason, std::size_t reason_size) {
    AtomicFile file(path, reason, reason_size);
    if (!file.open()) return false;
    bool drawn = false;
    switch (format) {
        case Format::png:
            drawn = write_png(figure, placement, file);
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
