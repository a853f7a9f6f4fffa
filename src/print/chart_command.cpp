#include "chart_command.h"

#include <strings.h>
#include <cstdio>
#include <cstring>

#include "chart/reading.h"
#include "chart/text_writer.h"
#include "colour/illuminants.h"
#include "print/figure_command.h"

namespace yarx::print {

namespace {

enum class Option {
    illuminant,
    true_colours,
    fan,
    minerals,
    thickness,
    landscape,
    paper,
    dpi,
    scale,
    help,
    version
};

// clang-format off
constexpr struct {
    const char *name;
    Option option;
    bool takes_value;
} options[] = {
    // name            option                  value
    { "illuminant",    Option::illuminant,     true  },
    { "true-colours",  Option::true_colours,   false },
    { "fan",           Option::fan,            false },
    { "minerals",      Option::minerals,       false },
    { "thickness",     Option::thickness,      true  },
    { "landscape",     Option::landscape,      false },
    { "paper",         Option::paper,          true  },
    { "dpi",           Option::dpi,            true  },
    { "scale",         Option::scale,          true  },
    { "help",          Option::help,           false },
    { "version",       Option::version,        false },
};

// clang-format on

bool refuse(char *reason, std::size_t size, const char *format, const char *a, const char *b = "") {
    std::snprintf(reason, size, format, a, b);
    return false;
}

// A value refused for being out of its range, which the line names.

// A whole number in decimal digits alone, from least to greatest.
bool parse_whole(const char *text, int least, int greatest, int &value) {
    const std::size_t length = std::strlen(text);
    if (length == 0 || length > 9 || std::strspn(text, "0123456789") != length) return false;
    const int n = static_cast<int>(std::strtol(text, nullptr, 10));
    if (n < least || n > greatest) return false;
    value = n;
    return true;
}

bool take_value(Option option, const char *value, FigureSettings &s, char *reason,
                std::size_t size) {
    switch (option) {
        case Option::illuminant: {
            const colour::Illuminant *illuminant = colour::illuminant_called(value);
            if (!illuminant) return refuse(reason, size, "unknown illuminant '%s'", value);
            s.illuminant = illuminant->id;
            return true;
        }
        case Option::thickness:
            if (!chart::parse_thickness(value, s.thickness_um))
                return chart::refuse_number(reason, size, "thickness", value, "a number",
                                            chart::least_thickness_um,
                                            chart::greatest_thickness_um);
            return true;
        case Option::paper: {
            for (const Paper &paper : papers)
                if (strcasecmp(value, paper.name) == 0) {
                    s.paper = &paper;
                    return true;
                }
            char names[64];
            chart::TextWriter list(names, sizeof names);
            put_alternatives(list, papers, &Paper::name);
            return refuse(reason, size, "unknown paper '%s' (%s)", value, names);
        }
        case Option::dpi:
            if (!parse_whole(value, least_dpi, greatest_dpi, s.dpi))
                return chart::refuse_number(reason, size, "dpi", value, "a whole number", least_dpi,
                                            greatest_dpi);
            return true;
        case Option::scale:
            if (!parse_whole(value, least_scale, greatest_scale, s.scale))
                return chart::refuse_number(reason, size, "scale", value, "a whole number",
                                            least_scale, greatest_scale);
            return true;
        default:
            return true;
    }
}

void take_flag(Option option, Command &command) {
    FigureSettings &s = command.settings;
    switch (option) {
        case Option::true_colours:
            s.rendering = colour::Rendering::true_colours;
            break;
        case Option::fan:
            s.fan = true;
            break;
        case Option::minerals:
            s.minerals = true;
            break;
        case Option::landscape:
            s.landscape = true;
            break;
        case Option::help:
            command.action = Command::Action::help;
            break;
        case Option::version:
            command.action = Command::Action::version;
            break;
        default:
            break;
    }
}

}  // namespace

bool parse_command(int argc, const char *const *argv, Command &command, char *reason,
                   std::size_t reason_size) {
    command = Command{};
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        if (options_ended || argument[0] != '-' || std::strcmp(argument, "-") == 0) {
            if (command.path)
                return refuse(reason, reason_size, "more than one file: '%s' and '%s'",
                              command.path, argument);
            command.path = argument;
            continue;
        }
        if (std::strcmp(argument, "--") == 0) {
            options_ended = true;
            continue;
        }
        if (std::strcmp(argument, "-h") == 0) {
            command.action = Command::Action::help;
            return true;
        }
        // "--name value" or "--name=value".
        const char *equals = std::strchr(argument, '=');
        const std::size_t name_length =
            equals ? static_cast<std::size_t>(equals - argument) : std::strlen(argument);
        const auto *known = std::begin(options);
        while (known != std::end(options) &&
               !(argument[0] == '-' && argument[1] == '-' &&
                 std::strlen(known->name) == name_length - 2 &&
                 std::strncmp(argument + 2, known->name, name_length - 2) == 0))
            ++known;
        if (known == std::end(options) && name_length > 2 &&
            is_figure_option(argument + 2, name_length - 2)) {
            std::snprintf(reason, reason_size, "option '%.*s' is a figure's: it needs --figure",
                          static_cast<int>(name_length), argument);
            return false;
        }
        if (known == std::end(options))
            return refuse(reason, reason_size, "unknown option '%s'", argument);
        if (!known->takes_value) {
            if (equals)
                return refuse(reason, reason_size, "option '--%s' takes no value", known->name);
            take_flag(known->option, command);
            if (command.action != Command::Action::write) return true;
            continue;
        }
        const char *value = equals ? equals + 1 : (i + 1 < argc ? argv[++i] : nullptr);
        if (!value) return refuse(reason, reason_size, "option '--%s' needs a value", known->name);
        if (!take_value(known->option, value, command.settings, reason, reason_size)) return false;
    }
    if (!command.path) return refuse(reason, reason_size, "no FILE to write (see --help)", "");
    return format_of(command.path, command.format, reason, reason_size);
}

const char *command_usage() {
    static char usage[2048];
    if (usage[0]) return usage;
    const FigureSettings defaults;
    char paper_names[64];
    chart::TextWriter list(paper_names, sizeof paper_names);
    put_alternatives(list, papers, &Paper::name);
    std::snprintf(
        usage, sizeof usage,
        "usage: yarx-chart [OPTION]... FILE\n"
        "Writes the interference colour chart to FILE: PNG, PDF or SVG by its extension.\n"
        "\n"
        "  --illuminant NAME  the illuminant, by its label (\"D65\", \"CIE A\") or short\n"
        "                     name (d65, cie-a, eew); %s unless told\n"
        "  --true-colours     true colours for an sRGB display, not the chart's own\n"
        "  --fan              the thickness axis and the lines of constant birefringence\n"
        "  --minerals         a line for each mineral at its greatest birefringence\n"
        "  --thickness UM     the section's thickness, dashed over, %g to %g (%g)\n"
        "  --landscape        the printed chart's layout instead of the window's\n"
        "  --paper SIZE       fit on a page of %s, with margins\n"
        "  --dpi N            pixels an inch for a PNG of a page, %d to %d (%d)\n"
        "  --scale N          pixels (or units) a canvas pixel, %d to %d (%d)\n"
        "  -h, --help         this message\n"
        "  --version          the program's version\n",
        colour::find_illuminant(defaults.illuminant)->label, chart::least_thickness_um,
        chart::greatest_thickness_um, defaults.thickness_um, paper_names, least_dpi, greatest_dpi,
        defaults.dpi, least_scale, greatest_scale, defaults.scale);
    return usage;
}

}  // namespace yarx::print
