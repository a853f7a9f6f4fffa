// The words under a figure: the mineral where one was named, the figure's
// optics, the lamp and the colours, and the program; for example
// "biaxial negative, 2V 60°, Δn 0.025, 30 µm, NA 0.85 · D68, chart colours
// · yarx 3.0".
#pragma once

#include <cstddef>

#include "chart/text_writer.h"
#include "figure/settings.h"

namespace yarx::figure {

// The caption in UTF-8, cut to the buffer (size > 0).
void write_caption(const Settings &settings, char *out, std::size_t size);

// The separator between the caption's parts, where a caption set on more
// than one line may break.
constexpr const char *caption_separator = chart::middle_dot;

}  // namespace yarx::figure
