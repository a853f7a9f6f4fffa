// The command line of yarx-chart --figure: an interference figure instead
// of the chart, read without X and without allocating.
#pragma once

#include <cstddef>

#include "figure/settings.h"

namespace yarx::print {

struct FigureCommand {
    enum class Action { write, help, version };
    Action action = Action::write;
    figure::Settings settings;
    const char *path = nullptr;
};

// Whether the arguments ask for a figure: --figure among the options.
bool asks_for_figure(int argc, const char *const *argv);

// Whether an option's name (without its dashes) is one only a figure
// takes, so that the chart refuses it as such.
bool is_figure_option(const char *name, std::size_t length);

// Reads the arguments of a figure, argv[0] being the program's name: the
// optics, a mineral's (which explicit options override), the lamp and the
// rendering, and the file.  True with the command; false with one line that
// names what was refused.
bool parse_figure_command(int argc, const char *const *argv, FigureCommand &command, char *reason,
                          std::size_t reason_size);

// The usage of --figure for --help, ending in a newline, from the ranges
// and defaults the parser keeps.
const char *figure_usage();

}  // namespace yarx::print
