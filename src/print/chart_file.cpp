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
#include "chart/text_writer.h"
#include "print/figure_layout.h"
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
    if (!(settings.thickness_um >= chart::least_thickness_um &&
          settings.thickness_um <= chart::greatest_thickness_um)) {
        std::snprintf(reason, reason_size, "thickness out of range (%g to %g \xc2\xb5m)",
                      chart::least_thickness_um, chart::greatest_thickness_um);
        return false;
    }
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
    AtomicFile file(path, reason, reason_size);
    if (!file.open()) return WriteOutcome::failed;
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
    if (!drawn) file.fail(0);
    return drawn && file.commit() ? WriteOutcome::written : WriteOutcome::failed;
}

}  // namespace yarx::print
