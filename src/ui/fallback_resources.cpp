#include "fallback_resources.h"

#include <array>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string_view>

#include "colour/illuminants.h"

namespace yarx::ui {

namespace {

// clang-format off
constexpr const char *setup_window[] = {
    "*labelC1.labelString: Yarx",
    "*labelC1*fontList: -*-helvetica-bold-r-*-*-14-*-*-*-*-*-iso8859-1",
    "*labelC2.labelString: Interference colours between crossed polarisers",
    "*labelC2*fontList: -*-helvetica-bold-r-*-*-14-*-*-*-*-*-iso8859-1",
    "*labelC3.labelString: Copyright (C) 2026 the yarx developers",
    "*labelC3*fontList: -*-helvetica-bold-r-*-*-14-*-*-*-*-*-iso8859-1",
    "*srctitle.labelString: Select illuminant",
    "*srctitle*fontList: -*-lucida-bold-r-*-*-12-*-*-*-*-*-iso8859-1",
    "*labelend.labelString: Press OK button to show chart",
    "*labelend*fontList: -*-lucida-medium-r-*-*-12-*-*-*-*-*-iso8859-1",
    "*setupok.labelString: OK",
    "*setupok*fontList: -*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1",
    "*setupexit.labelString: Exit",
    "*setupexit*fontList: -*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1",
};

// The illuminant toggles, three lines each, from the illuminant catalogue.
constexpr std::string_view toggle_font = "-*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1";
constexpr std::string_view toggle_select_colour = "yellow";

// The chart window; its title is followed by the illuminant's label, and
// in true colours by the word that says so.  The reading line's fonts are
// Latin-1 and the program sets no locale, so its "µ" is the Latin-1 byte,
// written as the resource manager's octal escape to keep this list, and the
// application defaults file, plain ASCII.  The reading's second line, the
// candidate minerals, follows the resource manager's "\n", since a line of
// the file may hold no newline itself.
constexpr const char *chart_window[] = {
    "*yarx_popup.title: yarx",
    "*yarx_popup.trueColoursTitle: sRGB",
    "*canvasdismis.labelString: Dismiss",
    "*canvasdismis*fontList: -*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1",
    "*canvasread.labelString: Point at the chart to read retardation and birefringence",
    "*canvasread.readingTemplate: %r nm   order %o   birefringence %b at %t \\265m\\ncandidates: %m",
    "*canvasread*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1",
    "*canvaspick.labelString: Pick colour",
    "*canvaspick*fontList: -*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1",
    "*canvaspicked.labelString: Press P or Pick colour, then click a colour anywhere on the screen\\nto find it on the chart; Escape or button 3 cancels",
    "*canvaspicked.pickTemplate: picked %h:  nearest %b\\n%a",
    "*canvaspicked.refusedText: Another program holds the pointer: no colour picked",
    "*canvaspicked.unreadableText: This display's pixels do not tell their colour: no colour picked",
    "*canvaspicked*fontList: -*-lucida-medium-r-*-*-12-*-*-*-*-*-iso8859-1",
    "*canvas.background: black",
};
// clang-format on

// A resource line put together at compile time, ending in a zero.
using Line = std::array<char, 96>;

constexpr Line join(std::initializer_list<std::string_view> parts) {
    Line line{};
    std::size_t n = 0;
    for (std::string_view part : parts)
        for (char c : part) {
            if (n + 1 >= line.size()) throw std::length_error("a resource line is too long");
            line[n++] = c;
        }
    return line;
}

// In the toggles' order on screen: the label, the font, the select colour.
constexpr auto toggle_lines = [] {
    std::array<Line, std::size(colour::illuminants) * 3> lines{};
    std::size_t n = 0;
    for (const colour::Illuminant &i : colour::illuminants) {
        lines[n++] = join({"*", i.widget, ".labelString: ", i.label});
        lines[n++] = join({"*", i.widget, "*fontList: ", toggle_font});
        lines[n++] = join({"*", i.widget, "*selectColor: ", toggle_select_colour});
    }
    return lines;
}();

// The toggle for true colours, below the illuminants, in their font.
constexpr Line true_colours_lines[] = {
    join({"*setupsrgb.labelString: True colours (sRGB display)"}),
    join({"*setupsrgb*fontList: ", toggle_font}),
    join({"*setupsrgb*selectColor: ", toggle_select_colour}),
};

constexpr std::size_t line_count = std::size(setup_window) + toggle_lines.size() +
                                   std::size(true_colours_lines) + std::size(chart_window);

// Xt wants String (char *) but never writes through it.
constexpr std::array<String, line_count + 1> list_of_lines() {
    std::array<String, line_count + 1> list{};
    std::size_t n = 0;
    for (const char *line : setup_window) list[n++] = const_cast<String>(line);
    for (const Line &line : toggle_lines) list[n++] = const_cast<String>(line.data());
    for (const Line &line : true_colours_lines) list[n++] = const_cast<String>(line.data());
    for (const char *line : chart_window) list[n++] = const_cast<String>(line);
    list[n] = nullptr;
    return list;
}

std::array<String, line_count + 1> lines = list_of_lines();

}  // namespace

String *const fallback_resources = lines.data();

}  // namespace yarx::ui
