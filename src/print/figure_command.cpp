#include "figure_command.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "chart/reading.h"
#include "colour/illuminants.h"
#include "figure/mineral_optics.h"
#include "print/chart_file.h"

namespace yarx::print {

namespace {

using figure::Range;
using figure::Settings;

enum class Option {
    figure,
    sign,
    number,
    size,
    mineral,
    thickness,
    illuminant,
    true_colours,
    help,
    version,
    chart_only
};

constexpr Range azimuth_range{-360, 360, false};

// clang-format off
constexpr struct {
    const char *name;
    Option option;
    double Settings::*field;  // for a number
    const Range *range;
    const char *wanted;       // what a number must be, before its range, for the refusal
} options[] = {
    // name             option                 field                           range                              wanted
    { "figure",         Option::figure,        nullptr,                         nullptr,                           nullptr },
    { "sign",           Option::sign,          nullptr,                         nullptr,                           nullptr },
    { "birefringence",  Option::number,        &Settings::birefringence,        &figure::birefringence_range,      "a number" },
    { "index",          Option::number,        &Settings::mean_index,           &figure::mean_index_range,         "a number" },
    { "2v",             Option::number,        &Settings::optic_angle_deg,      &figure::optic_angle_range,        "a number of degrees" },
    { "na",             Option::number,        &Settings::numerical_aperture,   &figure::numerical_aperture_range, "a number" },
    { "tilt",           Option::number,        &Settings::tilt_deg,             &figure::tilt_range,               "a number of degrees" },
    { "azimuth",        Option::number,        &Settings::azimuth_deg,          &azimuth_range,                    "a number of degrees" },
    { "plate",          Option::number,        &Settings::plate_nm,             &figure::plate_range,              "a number of nm" },
    { "size",           Option::size,          nullptr,                         &figure::size_range,               "a whole number of pixels" },
    { "mineral",        Option::mineral,       nullptr,                         nullptr,                           nullptr },
    { "thickness",      Option::thickness,     nullptr,                         nullptr,                           nullptr },
    { "illuminant",     Option::illuminant,    nullptr,                         nullptr,                           nullptr },
    { "true-colours",   Option::true_colours,  nullptr,                         nullptr,                           nullptr },
    { "help",           Option::help,          nullptr,                         nullptr,                           nullptr },
    { "version",        Option::version,       nullptr,                         nullptr,                           nullptr },
    // The chart's own, which mean nothing for a figure.
    { "fan",            Option::chart_only,    nullptr,                         nullptr,                           nullptr },
    { "minerals",       Option::chart_only,    nullptr,                         nullptr,                           nullptr },
    { "landscape",      Option::chart_only,    nullptr,                         nullptr,                           nullptr },
    { "paper",          Option::chart_only,    nullptr,                         nullptr,                           nullptr },
    { "dpi",            Option::chart_only,    nullptr,                         nullptr,                           nullptr },
    { "scale",          Option::chart_only,    nullptr,                         nullptr,                           nullptr },
};
// clang-format on

using Known = decltype(&options[0]);

// "--tilt '91' is not a number of degrees from 0 to 90".
bool refuse_option_number(char *reason, std::size_t size, const char *name, const char *value,
                          const char *wanted, const Range &range) {
    char option[32];
    std::snprintf(option, sizeof option, "--%s", name);
    return chart::refuse_number(reason, size, option, value, wanted, range.least, range.greatest,
                                range.open_below);
}

bool takes_value(Option option) {
    return option != Option::figure && option != Option::true_colours && option != Option::help &&
           option != Option::version && option != Option::chart_only;
}

Known option_named(const char *name, std::size_t length) {
    for (const auto &o : options)
        if (std::strlen(o.name) == length && std::strncmp(o.name, name, length) == 0) return &o;
    return nullptr;
}

bool refuse(char *reason, std::size_t size, const char *format, const char *a, const char *b = "") {
    std::snprintf(reason, size, format, a, b);
    return false;
}

// A decimal number and nothing else, finite.
bool parse_number(const char *text, double &value) {
    char *end = nullptr;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}

// One argument: an option with its value where it takes one, or a word.
struct Argument {
    Known option;       // nullptr for a word
    const char *value;  // the option's value, or the word
};

// Walks the arguments as both passes read them.  False with the reason for
// an option it does not know or a value missing.
class Arguments {
public:
    Arguments(int argc, const char *const *argv, char *reason, std::size_t size)
        : argc_(argc), argv_(argv), reason_(reason), size_(size) {}

    // The next argument into a; false at the end, or on a refusal (failed()).
    bool next(Argument &a) {
        while (++i_ < argc_) {
            const char *arg = argv_[i_];
            if (ended_ || arg[0] != '-' || std::strcmp(arg, "-") == 0) {
                a = {nullptr, arg};
                return true;
            }
            if (std::strcmp(arg, "--") == 0) {
                ended_ = true;
                continue;
            }
            if (std::strcmp(arg, "-h") == 0) {
                a = {option_named("help", 4), nullptr};
                return true;
            }
            const char *name = arg + 2;
            const char *equals = std::strchr(arg, '=');
            const std::size_t length =
                equals ? static_cast<std::size_t>(equals - name) : std::strlen(name);
            a.option = arg[1] == '-' ? option_named(name, length) : nullptr;
            if (!a.option) return fail("unknown option '%s'", arg);
            if (!takes_value(a.option->option)) {
                if (equals) return fail("option '--%s' takes no value", a.option->name);
                a.value = nullptr;
                return true;
            }
            a.value = equals ? equals + 1 : (i_ + 1 < argc_ ? argv_[++i_] : nullptr);
            if (!a.value) return fail("option '--%s' needs a value", a.option->name);
            return true;
        }
        return false;
    }
    bool failed() const { return failed_; }
    // The word right after --figure, which may name the class.
    bool follows_figure() const { return i_ >= 2 && std::strcmp(argv_[i_ - 1], "--figure") == 0; }

private:
    bool fail(const char *format, const char *what) {
        failed_ = true;
        return refuse(reason_, size_, format, what);
    }
    int argc_;
    const char *const *argv_;
    char *reason_;
    std::size_t size_;
    int i_ = 0;
    bool ended_ = false, failed_ = false;
};

// The class or sign of those given that the word names ("biaxial",
// "negative"), into value; false for none of them.
template <typename Kind>
bool take_word(const char *word, std::initializer_list<Kind> kinds, Kind &value) {
    for (const Kind kind : kinds)
        if (std::strcmp(word, figure::word_for(kind)) == 0) {
            value = kind;
            return true;
        }
    return false;
}

// The mineral's settings, first, so that the other options override them.
bool take_mineral(int argc, const char *const *argv, Settings &s, char *reason, std::size_t size) {
    Arguments arguments(argc, argv, reason, size);
    Argument a;
    while (arguments.next(a)) {
        if (!a.option || a.option->option != Option::mineral) continue;
        const figure::MineralOptics *mineral = figure::mineral_named(a.value);
        if (!mineral) return refuse(reason, size, "unknown mineral '%s'", a.value);
        if (!figure::take_mineral(*mineral, s))
            return refuse(reason, size, "%s is isotropic: it has no interference figure",
                          mineral->name);
    }
    return !arguments.failed();
}

bool take_option(const Argument &a, FigureCommand &command, bool &optic_angle_given, char *reason,
                 std::size_t size) {
    Settings &s = command.settings;
    const auto &o = *a.option;
    switch (o.option) {
        case Option::sign:
            return take_word(a.value, {figure::OpticSign::positive, figure::OpticSign::negative},
                             s.sign) ||
                   refuse(reason, size, "sign '%s' is not positive or negative", a.value);
        case Option::number: {
            double v;
            if (!parse_number(a.value, v) || !o.range->holds(v)) {
                return refuse_option_number(reason, size, o.name, a.value, o.wanted, *o.range);
            }
            s.*o.field = v;
            if (o.field == &Settings::optic_angle_deg) optic_angle_given = true;
            return true;
        }
        case Option::size: {
            double v;
            if (!parse_number(a.value, v) || v != std::floor(v) || !o.range->holds(v))
                return refuse_option_number(reason, size, o.name, a.value, o.wanted, *o.range);
            s.size = static_cast<int>(v);
            return true;
        }
        case Option::thickness:
            if (!chart::parse_thickness(a.value, s.thickness_um))
                return chart::refuse_number(reason, size, "thickness", a.value, "a number",
                                            chart::least_thickness_um,
                                            chart::greatest_thickness_um);
            return true;
        case Option::illuminant: {
            const colour::Illuminant *illuminant = colour::illuminant_called(a.value);
            if (!illuminant) return refuse(reason, size, "unknown illuminant '%s'", a.value);
            s.illuminant = illuminant->id;
            return true;
        }
        case Option::true_colours:
            s.rendering = colour::Rendering::true_colours;
            return true;
        case Option::help:
            command.action = FigureCommand::Action::help;
            return true;
        case Option::version:
            command.action = FigureCommand::Action::version;
            return true;
        case Option::chart_only:
            return refuse(reason, size, "option '--%s' means nothing for a figure", o.name);
        default:
            return true;
    }
}

}  // namespace

bool asks_for_figure(int argc, const char *const *argv) {
    for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i)
        if (std::strcmp(argv[i], "--figure") == 0) return true;
    return false;
}

bool is_figure_option(const char *name, std::size_t length) {
    const Known o = option_named(name, length);
    return o && (o->option == Option::figure || o->option == Option::sign ||
                 o->option == Option::number || o->option == Option::size ||
                 o->option == Option::mineral);
}

bool parse_figure_command(int argc, const char *const *argv, FigureCommand &command, char *reason,
                          std::size_t reason_size) {
    command = FigureCommand{};
    if (!take_mineral(argc, argv, command.settings, reason, reason_size)) return false;
    Arguments arguments(argc, argv, reason, reason_size);
    Argument a;
    bool optic_angle_given = false;
    while (arguments.next(a)) {
        if (a.option) {
            if (!take_option(a, command, optic_angle_given, reason, reason_size)) return false;
            if (command.action != FigureCommand::Action::write) return true;
            continue;
        }
        if (arguments.follows_figure() &&
            take_word(a.value, {figure::OpticClass::uniaxial, figure::OpticClass::biaxial},
                      command.settings.optic_class))
            continue;
        if (command.path)
            return refuse(reason, reason_size, "more than one file: '%s' and '%s'", command.path,
                          a.value);
        command.path = a.value;
    }
    if (arguments.failed()) return false;
    if (optic_angle_given && command.settings.optic_class != figure::OpticClass::biaxial)
        return refuse(reason, reason_size, "--2v is for a biaxial figure, not a uniaxial one", "");
    if (!command.path) return refuse(reason, reason_size, "no FILE to write (see --help)", "");
    Format format;
    return format_of(command.path, format, reason, reason_size);
}

namespace {

// A range as the usage names it: "above 0 to 0.3", "1.3 to 2.5".
struct RangeText {
    explicit RangeText(const Range &range) {
        std::snprintf(text, sizeof text, range.open_below ? "above %g to %g" : "%g to %g",
                      range.least, range.greatest);
    }
    char text[48];
};

}  // namespace

const char *figure_usage() {
    static char usage[1536];
    if (usage[0]) return usage;
    const Settings defaults;
    std::snprintf(usage, sizeof usage,
                  "usage: yarx-chart --figure [uniaxial|biaxial] [OPTION]... FILE\n"
                  "Writes the interference figure of a crystal in convergent light instead.\n"
                  "\n"
                  "  --sign SIGN          positive or negative (%s)\n"
                  "  --birefringence DN   %s (%g)\n"
                  "  --index N            the mean refractive index, %s (%g)\n"
                  "  --2v DEG             the optic angle of a biaxial crystal, %s (%g)\n"
                  "  --na NA              the objective's numerical aperture, %s (%g)\n"
                  "  --tilt DEG           the optic axis or acute bisectrix from upright, %s (%g)\n"
                  "  --azimuth DEG        of the optic axial plane, from east, %s (%g)\n"
                  "  --plate NM           the accessory plate, %s (%g: none)\n"
                  "  --size PX            pixels a side, %s (%d)\n"
                  "  --mineral NAME       a mineral's class, sign, birefringence, index and 2V\n"
                  "  --thickness, --illuminant and --true-colours as for the chart\n",
                  figure::word_for(defaults.sign), RangeText(figure::birefringence_range).text,
                  defaults.birefringence, RangeText(figure::mean_index_range).text,
                  defaults.mean_index, RangeText(figure::optic_angle_range).text,
                  defaults.optic_angle_deg, RangeText(figure::numerical_aperture_range).text,
                  defaults.numerical_aperture, RangeText(figure::tilt_range).text,
                  defaults.tilt_deg, RangeText(azimuth_range).text, defaults.azimuth_deg,
                  RangeText(figure::plate_range).text, defaults.plate_nm,
                  RangeText(figure::size_range).text, defaults.size);
    return usage;
}

}  // namespace yarx::print
