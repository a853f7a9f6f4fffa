#include "chart_command.h"

#include <strings.h>
#include <cstdio>
#include <cstring>

#include "chart/reading.h"
#include "colour/illuminants.h"
#include "print/figure_command.h"

namespace yarx::print {

const char command_usage[] =
    "usage: yarx-chart [OPTION]... FILE\n"
    "Writes the interference colour chart to FILE: PNG, PDF or SVG by its extension.\n"
    "\n"
    "  --illuminant NAME  the illuminant, by its label (\"D65\", \"CIE A\") or short\n"
    "                     name (d65, cie-a, eew); D68 unless told\n"
    "  --true-colours     true colours for an sRGB display, not the chart's own\n"
    "  --fan              the thickness axis and the lines of constant birefringence\n"
    "  --minerals         a line for each mineral at its greatest birefringence\n"
    "  --thickness UM     the section's thickness, dashed over, 1 to 1000 (30)\n"
    "  --landscape        the printed chart's layout instead of the window's\n"
    "  --paper SIZE       fit on a page of a4, a3 or letter, with margins\n"
    "  --dpi N            pixels an inch for a PNG of a page, 1 to 2400 (300)\n"
    "  --scale N          pixels (or units) a canvas pixel, 1 to 16 (1)\n"
    "  -h, --help         this message\n"
    "  --version          the program's version\n";

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

constexpr struct {
    const char *name;
    Paper paper;
} papers[] = {
    { "a4",     Paper::a4 },
    { "a3",     Paper::a3 },
    { "letter", Paper::letter },
};
// clang-format on

bool refuse(char *reason, std::size_t size, const char *format, const char *a, const char *b = "") {
    std::snprintf(reason, size, format, a, b);
    return false;
}

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
                return refuse(reason, size, "thickness '%s' is not a number from 1 to 1000", value);
            return true;
        case Option::paper:
            for (const auto &p : papers)
                if (strcasecmp(value, p.name) == 0) {
                    s.paper = p.paper;
                    return true;
                }
            return refuse(reason, size, "unknown paper '%s' (a4, a3 or letter)", value);
        case Option::dpi:
            if (!parse_whole(value, least_dpi, greatest_dpi, s.dpi))
                return refuse(reason, size, "dpi '%s' is not a whole number from 1 to 2400", value);
            return true;
        case Option::scale:
            if (!parse_whole(value, least_scale, greatest_scale, s.scale))
                return refuse(reason, size, "scale '%s' is not a whole number from 1 to 16", value);
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
    if (!format_of(command.path, command.format))
        return refuse(reason, reason_size, "'%s': unknown file type (use .png, .pdf or .svg)",
                      command.path);
    return true;
}

}  // namespace yarx::print
