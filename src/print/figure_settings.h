// What a chart on paper is to show and how large: the settings the command
// line and the window's Save give, the file formats and the papers.  Plain
// values.
#pragma once

#include <cstddef>

#include "chart/reading.h"
#include "chart/text_writer.h"
#include "colour/chart_colours.h"
#include "colour/illuminants.h"

namespace yarx::print {

enum class Format { png, pdf, svg };

// The formats by the extension that a file name asks for each with.
struct FileType {
    Format format;
    const char *extension;
};
// clang-format off
constexpr FileType file_types[] = {
    // format        extension
    { Format::png,   ".png" },
    { Format::pdf,   ".pdf" },
    { Format::svg,   ".svg" },
};
// clang-format on

// The extension a file of the format is named with.
constexpr const char *extension_of(Format format) {
    for (const FileType &type : file_types)
        if (type.format == format) return type.extension;
    return "";
}

// A page to fit the figure on, with margins, for print: its name on the
// command line and its size in points, portrait.  A new paper is a row.
struct Paper {
    const char *name;
    double width, height;
};
constexpr double points_per_inch = 72;
constexpr double points_per_mm = points_per_inch / 25.4;
// clang-format off
constexpr Paper papers[] = {
    // name       width                    height
    { "a4",       210 * points_per_mm,     297 * points_per_mm },
    { "a3",       297 * points_per_mm,     420 * points_per_mm },
    { "letter",   8.5 * points_per_inch,   11 * points_per_inch },
};
// clang-format on

struct FigureSettings {
    int illuminant = colour::default_illuminant;
    colour::Rendering rendering = colour::Rendering::cie_rgb;
    bool fan = false, minerals = false;
    double thickness_um = chart::default_thickness_um;  // the emphasised thickness
    bool landscape = false;
    const Paper *paper = nullptr;  // none: a page of the figure's own size
    int dpi = 300;                 // pixels an inch for a PNG of a paper page
    int scale = 1;                 // pixels (or units) a canvas pixel, without paper
};

// The names of a table's rows as a message lists them: "a4, a3 or letter".
template <typename Row, std::size_t count>
void put_alternatives(chart::TextWriter &out, const Row (&rows)[count], const char *Row::*name) {
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) out.put(i + 1 == count ? " or " : ", ");
        out.put(rows[i].*name);
    }
}

}  // namespace yarx::print
