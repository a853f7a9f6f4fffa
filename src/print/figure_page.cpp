#include "figure_page.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "figure/caption.h"
#include "print/chart_file.h"
#include "print/figure_output.h"

namespace yarx::print {

namespace {

// The caption's size follows the figure's, within what stays legible.
constexpr double least_caption_size = 7, greatest_caption_size = 12;
constexpr double caption_size_per_pixel = 1 / 34.0;
constexpr double line_spacing = 1.3;  // baselines apart, in sizes
constexpr Rgb8 caption_ink{230, 230, 230};

bool refuse(char *reason, std::size_t size, const char *what, double least, double greatest) {
    std::snprintf(reason, size, what, least, greatest);
    return false;
}

// The caption broken into lines that fit the width, at its separators:
// "A · B, C" into "A", "B, C" or "A", "B", "C" as the width asks, the
// separator at a break left out.  A piece wider than the width has a line
// of its own.
int add_caption_lines(Figure &page, const char *caption, double x, double baseline, double size,
                      double width) {
    char line[text_capacity] = "";
    char trial[text_capacity];
    int lines = 0;
    const char *joint = "";  // between the line so far and the next piece
    const auto flush = [&] {
        page.add(x, baseline + lines * line_spacing * size, size, Anchor::start, 0, caption_ink,
                 line);
        ++lines;
    };
    for (const char *p = caption; *p;) {
        const char *comma = std::strstr(p, ", ");
        const char *dot = std::strstr(p, figure::caption_separator);
        const char *end = comma && (!dot || comma < dot) ? comma : dot ? dot : p + std::strlen(p);
        const int length = static_cast<int>(end - p);
        std::snprintf(trial, sizeof trial, "%s%s%.*s", line, joint, length, p);
        if (*line && text_width(trial, size) > width) {
            flush();
            std::snprintf(trial, sizeof trial, "%.*s", length, p);
        }
        std::memcpy(line, trial, sizeof line);
        joint = end == comma ? ", " : end == dot ? figure::caption_separator : "";
        p = end + std::strlen(joint);
    }
    if (*line) flush();
    return lines;
}

figure::Workspace workspace;
figure::Image image;
Figure page;

}  // namespace

bool figure_settings_fit(const figure::Settings &s, char *reason, std::size_t size) {
    using namespace figure;
    if (s.optic_class == OpticClass::isotropic)
        return refuse(reason, size, "an isotropic crystal has no interference figure", 0, 0);
    const struct {
        double value;
        Range range;
        const char *what;
    } values[] = {
        {s.birefringence, birefringence_range, "birefringence out of range (above %g to %g)"},
        {s.mean_index, mean_index_range, "index out of range (%g to %g)"},
        {s.optic_angle_deg, optic_angle_range, "2V out of range (above %g to %g degrees)"},
        {s.numerical_aperture, numerical_aperture_range, "NA out of range (%g to %g)"},
        {s.tilt_deg, tilt_range, "tilt out of range (%g to %g degrees)"},
        {s.plate_nm, plate_range, "plate out of range (%g to %g nm)"},
        {static_cast<double>(s.size), size_range, "size out of range (%g to %g pixels)"},
    };
    for (const auto &v : values)
        if (!v.range.holds(v.value))
            return refuse(reason, size, v.what, v.range.least, v.range.greatest);
    if (!thickness_in_range(s.thickness_um, reason, size)) return false;
    if (!colour::find_illuminant(s.illuminant))
        return refuse(reason, size, "unknown illuminant", 0, 0);
    return true;
}

void build_figure_page(const figure::Settings &settings, const figure::Image &picture, Figure &f) {
    f.rect_count = f.line_count = f.text_count = 0;
    f.overflowed = false;
    f.background = black;
    f.bands = {};
    f.picture = {0, 0, picture.size, picture.size, picture.pixels};
    f.title = "Interference figure";
    const double size = std::clamp(picture.size * caption_size_per_pixel, least_caption_size,
                                   greatest_caption_size);
    const double margin = 0.6 * size;
    char caption[text_capacity * 2];
    figure::write_caption(settings, caption, sizeof caption);
    const double first_baseline = picture.size + margin + label_ascent * size;
    const int lines =
        add_caption_lines(f, caption, margin, first_baseline, size, picture.size - 2 * margin);
    f.width = picture.size;
    f.height = first_baseline + (lines - 1) * line_spacing * size + label_descent * size + margin;
}

WriteOutcome write_figure_file(const figure::Settings &settings, const char *path, char *reason,
                               std::size_t reason_size) {
    Format format;
    if (!format_of(path, format, reason, reason_size) ||
        !figure_settings_fit(settings, reason, reason_size))
        return WriteOutcome::refused;
    figure::compute_figure(settings, workspace, image);
    build_figure_page(settings, image, page);
    if (page.overflowed) {
        std::snprintf(reason, reason_size, "the figure's page holds too much");
        return WriteOutcome::failed;
    }
    // One unit a pixel in every format, on a page the figure's width.
    FigureSettings own_size;
    return write_built_figure(page, placement_of(own_size, format, page), format,
                              settings.rendering, path, reason, reason_size);
}

}  // namespace yarx::print
