// The command line of yarx-chart, read without X and without allocating:
// what to write, and where.
#pragma once

#include <cstddef>

#include "print/chart_file.h"

namespace yarx::print {

struct Command {
    enum class Action { write, help, version };
    Action action = Action::write;
    FigureSettings settings;
    Format format = Format::png;
    const char *path = nullptr;
};

// Reads the arguments, argv[0] being the program's name.  True with the
// command; false with one line that names what was refused (no program
// name in front).  The size of a page is checked later, by write_chart.
bool parse_command(int argc, const char *const *argv, Command &command, char *reason,
                   std::size_t reason_size);

// The usage message for --help, ending in a newline.  Not reentrant: it
// is put together once, in static storage.
const char *command_usage();

}  // namespace yarx::print
