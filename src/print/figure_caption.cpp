#include "figure_caption.h"

#include <cstdio>

#include "chart/text_writer.h"
#include "colour/illuminants.h"

namespace yarx::print {

void write_caption(const FigureSettings &settings, const char *title, bool thickness_dashed,
                   char *out, std::size_t size) {
    chart::TextWriter caption(out, size);
    caption.put(title);
    const colour::Illuminant *illuminant = colour::find_illuminant(settings.illuminant);
    caption.put(illuminant ? illuminant->label : "?");
    caption.put(settings.rendering == colour::Rendering::true_colours
                    ? ", true colours (sRGB)"
                    : ", chart colours (CIE RGB)");
    if (settings.fan || settings.minerals) {
        char thickness[64];
        std::snprintf(thickness, sizeof thickness, "%ssection %g %s%s", middle_dot,
                      settings.thickness_um, micrometres, thickness_dashed ? " (dashed)" : "");
        caption.put(thickness);
    }
    caption.put(middle_dot);
    caption.put("yarx " YARX_VERSION);
}

void add_caption(Figure &f, const FigureSettings &settings, bool thickness_dashed,
                 const CaptionStyle &style) {
    char caption[text_capacity];
    write_caption(settings, style.title, thickness_dashed, caption, sizeof caption);
    double size = style.size;
    const double natural = text_width(caption, size);
    if (natural > style.width) size *= style.width / natural;
    f.add(style.x, style.baseline, size, style.anchor, 0, style.ink, caption);
}

}  // namespace yarx::print
