#include "caption.h"

#include <cmath>
#include <cstdio>

#include "chart/text_writer.h"
#include "figure/mineral_optics.h"

namespace yarx::figure {

namespace {

constexpr const char *degrees = "\xc2\xb0";

// "text" and a number as few digits show it: 0.009, 42.5, 30.
void put(chart::TextWriter &out, const char *text, double value, const char *unit = "") {
    char number[64];
    std::snprintf(number, sizeof number, "%s%g%s", text, value, unit);
    out.put(number);
}

}  // namespace

void write_caption(const Settings &s, char *out, std::size_t size) {
    chart::TextWriter caption(out, size);
    if (s.mineral) {
        caption.put(s.mineral->name);
        if (s.mineral->typical) {
            caption.put(", typical");
            if (*s.mineral->composition) {
                caption.put(" (");
                caption.put(s.mineral->composition);
                caption.put(")");
            }
        }
        caption.put(caption_separator);
    }
    caption.put(word_for(s.optic_class));
    caption.put(" ");
    caption.put(word_for(s.sign));
    if (s.optic_class == OpticClass::biaxial) put(caption, ", 2V ", s.optic_angle_deg, degrees);
    put(caption, ", \xce\x94n ", s.birefringence);
    put(caption, ", ", s.thickness_um, " \xc2\xb5m");
    put(caption, ", NA ", s.numerical_aperture);
    if (s.tilt_deg != 0) put(caption, ", tilt ", s.tilt_deg, degrees);
    if (s.azimuth_deg != Settings{}.azimuth_deg) put(caption, ", azimuth ", s.azimuth_deg, degrees);
    if (s.plate_nm > 0) put(caption, ", plate ", s.plate_nm, " nm");
    caption.put(caption_separator);
    const colour::Illuminant *illuminant = colour::find_illuminant(s.illuminant);
    caption.put(illuminant ? illuminant->label : "?");
    caption.put(s.rendering == colour::Rendering::true_colours ? ", true colours"
                                                               : ", chart colours");
    caption.put(caption_separator);
    caption.put("yarx " YARX_VERSION);
}

}  // namespace yarx::figure
