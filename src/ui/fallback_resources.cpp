#include "fallback_resources.h"

#include <array>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string_view>

#include "colour/illuminants.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

// A resource line put together at compile time, ending in a zero.
using Line = std::array<char, 128>;

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

// The resource's line with the text as the resource manager reads it back:
// a newline as "\n", a backslash doubled, and a byte beyond ASCII as its
// octal escape, so that the list, and the application defaults file, stay
// plain ASCII, one line a resource.
constexpr Line text_line(std::string_view resource, std::string_view text) {
    constexpr std::size_t longest = 128;
    char escaped[longest]{};
    std::size_t n = 0;
    const auto put = [&](char c) {
        if (n + 1 >= longest) throw std::length_error("a resource text is too long");
        escaped[n++] = c;
    };
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            put('\\');
            put('n');
        } else if (c == '\\') {
            put('\\');
            put('\\');
        } else if (byte >= 0x80) {
            put('\\');
            put(static_cast<char>('0' + (byte >> 6)));
            put(static_cast<char>('0' + (byte >> 3 & 7)));
            put(static_cast<char>('0' + (byte & 7)));
        } else {
            put(c);
        }
    }
    return join({resource, ": ", std::string_view(escaped, n)});
}

// The fonts, each named once: the setup window's headings, its captions and
// prompt, the buttons, and the text of the toggles and the reading lines.
constexpr std::string_view heading_font = "-*-helvetica-bold-r-*-*-14-*-*-*-*-*-iso8859-1";
constexpr std::string_view caption_font = "-*-lucida-bold-r-*-*-12-*-*-*-*-*-iso8859-1";
constexpr std::string_view prompt_font = "-*-lucida-medium-r-*-*-12-*-*-*-*-*-iso8859-1";
constexpr std::string_view button_font = "-*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1";
constexpr std::string_view text_font = "-*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1";

// clang-format off
constexpr Line setup_window[] = {
    join({"*labelC1.labelString: Yarx"}),
    join({"*labelC1*fontList: ", heading_font}),
    join({"*labelC2.labelString: Interference colours between crossed polarisers"}),
    join({"*labelC2*fontList: ", heading_font}),
    join({"*labelC3.labelString: Copyright (C) 2026 the yarx developers"}),
    join({"*labelC3*fontList: ", heading_font}),
    join({"*srctitle.labelString: Select illuminant"}),
    join({"*srctitle*fontList: ", caption_font}),
    join({"*labelend.labelString: Press OK button to show chart"}),
    join({"*labelend*fontList: ", prompt_font}),
    join({"*setupok.labelString: OK"}),
    join({"*setupok*fontList: ", button_font}),
    join({"*setupexit.labelString: Exit"}),
    join({"*setupexit*fontList: ", button_font}),
};

// The illuminant toggles, three lines each, from the illuminant catalogue.
constexpr std::string_view toggle_font = text_font;
constexpr std::string_view toggle_select_colour = "yellow";

// The chart window; its title is followed by the illuminant's label, and
// in true colours by the word that says so.  The texts the program reads
// itself come from fallback_resources.h; the reading's second line, the
// candidate minerals, follows a newline, and the pick line's second line.
static_assert(std::string_view(fallback::fan_font) == prompt_font);
constexpr Line chart_window[] = {
    text_line(join({"*", chart_shell_name, ".title"}).data(), fallback::chart_title),
    text_line(join({"*", chart_shell_name, ".trueColoursTitle"}).data(), fallback::true_colours_title),
    join({"*canvasdismis.labelString: Dismiss"}),
    join({"*canvasdismis*fontList: ", button_font}),
    text_line("*canvasread.labelString", fallback::reading_hint),
    text_line("*canvasread.readingTemplate", fallback::reading_template),
    join({"*canvasread*fontList: ", text_font}),
    text_line("*canvasplateread.labelString", fallback::plate_hint),
    text_line("*canvasplateread.readingTemplate", fallback::plate_template),
    join({"*canvasplateread*fontList: ", text_font}),
    join({"*canvaspick.labelString: Pick colour"}),
    join({"*canvaspick*fontList: ", button_font}),
    text_line("*canvaspicked.labelString", fallback::pick_hint),
    text_line("*canvaspicked.pickTemplate", fallback::pick_template),
    text_line("*canvaspicked.refusedText", fallback::refused_text),
    text_line("*canvaspicked.unreadableText", fallback::unreadable_text),
    join({"*canvaspicked*fontList: ", prompt_font}),
    join({"*canvassave.labelString: Save..."}),
    join({"*canvassave*fontList: ", button_font}),
    join({"*", save_shell_name, ".title: yarx: save the chart"}),
    join({"*", save_error_shell_name, ".title: yarx: not saved"}),
    join({"*", save_question_shell_name, ".title: yarx: replace the file?"}),
    join({"*", save_question_name, ".okLabelString: Replace"}),
    join({"*", save_question_name, ".cancelLabelString: Cancel"}),
    join({"*", save_dialog_name, "*fontList: ", prompt_font}),
    join({"*", save_error_name, "*fontList: ", prompt_font}),
    join({"*", save_question_name, "*fontList: ", prompt_font}),
    text_line("*canvassaved.labelString", fallback::save_hint),
    text_line("*canvassaved.savedText", fallback::saved_text),
    text_line("*canvassaved.failedText", fallback::failed_text),
    text_line("*canvassaved.replaceText", fallback::replace_text),
    join({"*canvassaved*fontList: ", prompt_font}),
    join({"*canvas.background: black"}),
    join({"*canvas.fanFont: ", fallback::fan_font}),
};
// clang-format on

// The figure window, and Figure... in the chart window that opens it.  The
// menu's minerals show their names.
constexpr Line figure_window[] = {
    join({"*canvasfigure.labelString: Figure..."}),
    join({"*canvasfigure*fontList: ", button_font}),
    text_line(join({"*", figure_shell_name, ".title"}).data(), fallback::figure_title),
    join({"*figurecanvas.background: black"}),
    join({"*figuremineral.labelString: Mineral"}),
    join({"*figuremineral*fontList: ", text_font}),
    join({"*figuremenu*fontList: ", text_font}),
    join({"*figurecustom.labelString: Custom"}),
    join({"*figureuniaxial.labelString: Uniaxial"}),
    join({"*figurebiaxial.labelString: Biaxial"}),
    join({"*figureclass*fontList: ", text_font}),
    join({"*figureclass*selectColor: ", toggle_select_colour}),
    join({"*figurepositive.labelString: Positive"}),
    join({"*figurenegative.labelString: Negative"}),
    join({"*figuresign*fontList: ", text_font}),
    join({"*figuresign*selectColor: ", toggle_select_colour}),
    join({"*figurebirefringence.titleString: Birefringence"}),
    join({"*figurebirefringence*fontList: ", text_font}),
    join({"*figure2v.titleString: 2V (degrees)"}),
    join({"*figure2v*fontList: ", text_font}),
    join({"*figuretilt.titleString: Tilt (degrees)"}),
    join({"*figuretilt*fontList: ", text_font}),
    join({"*figureazimuth.titleString: Azimuth of the optic axial plane (degrees)"}),
    join({"*figureazimuth*fontList: ", text_font}),
    join({"*figureplate.labelString: Accessory plate"}),
    join({"*figureplate*fontList: ", text_font}),
    join({"*figureplate*selectColor: ", toggle_select_colour}),
    join({"*figureread.labelString: Point at the figure to read it"}),
    text_line("*figureread.readingTemplate", fallback::figure_template),
    text_line("*figureread.noTrueColourText", fallback::no_true_colour_text),
    join({"*figureread*fontList: ", prompt_font}),
    text_line("*figuresaved.labelString", fallback::figure_save_hint),
    text_line("*figuresaved.replaceText", fallback::figure_replace_text),
    join({"*figuresaved*fontList: ", prompt_font}),
    join({"*figuredismiss.labelString: Dismiss"}),
    join({"*figuredismiss*fontList: ", button_font}),
};

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

// The toggles for true colours and for the birefringence fan, below the
// illuminants, in their font.
constexpr Line option_lines[] = {
    join({"*setupsrgb.labelString: True colours (sRGB display)"}),
    join({"*setupsrgb*fontList: ", toggle_font}),
    join({"*setupsrgb*selectColor: ", toggle_select_colour}),
    join({"*setupfan.labelString: Birefringence lines"}),
    join({"*setupfan*fontList: ", toggle_font}),
    join({"*setupfan*selectColor: ", toggle_select_colour}),
};

constexpr std::size_t line_count = std::size(setup_window) + toggle_lines.size() +
                                   std::size(option_lines) + std::size(chart_window) +
                                   std::size(figure_window);

// Xt wants String (char *) but never writes through it.
constexpr std::array<String, line_count + 1> list_of_lines() {
    std::array<String, line_count + 1> list{};
    std::size_t n = 0;
    for (const Line &line : setup_window) list[n++] = const_cast<String>(line.data());
    for (const Line &line : toggle_lines) list[n++] = const_cast<String>(line.data());
    for (const Line &line : option_lines) list[n++] = const_cast<String>(line.data());
    for (const Line &line : chart_window) list[n++] = const_cast<String>(line.data());
    for (const Line &line : figure_window) list[n++] = const_cast<String>(line.data());
    list[n] = nullptr;
    return list;
}

std::array<String, line_count + 1> lines = list_of_lines();

}  // namespace

String *const fallback_resources = lines.data();

}  // namespace yarx::ui
