// yarx-chart: the interference colour chart in a file, PNG, PDF or SVG,
// for print; no X display needed.

#include <cstdio>

#include "print/chart_command.h"
#include "print/chart_file.h"
#include "print/figure_command.h"
#include "print/figure_page.h"

namespace {

// Refused input ends with 2, a file that cannot be written with 1.
constexpr int refused = 2, not_written = 1;

// What --version prints, for the chart and the figure alike.
constexpr char version_line[] = "yarx-chart " YARX_VERSION "\n";

int complain(const char *reason, int status) {
    std::fprintf(stderr, "yarx-chart: %s\n", reason);
    return status;
}

// What --help and --version print, and whether it reached standard output.
int say(const char *text) {
    std::fputs(text, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : not_written;
}

// A refusal ends with 2, a write that failed with 1.
int status_of(yarx::print::WriteOutcome outcome, const char *reason) {
    using yarx::print::WriteOutcome;
    switch (outcome) {
        case WriteOutcome::written:
            return 0;
        case WriteOutcome::refused:
            return complain(reason, refused);
        case WriteOutcome::failed:
            break;
    }
    return complain(reason, not_written);
}

// yarx-chart --figure: an interference figure instead of the chart.
int write_figure(int argc, char **argv) {
    using namespace yarx;
    static print::FigureCommand command;
    static char reason[512];
    if (!print::parse_figure_command(argc, argv, command, reason, sizeof reason))
        return complain(reason, refused);
    if (command.action == print::FigureCommand::Action::help) return say(print::figure_usage());
    if (command.action == print::FigureCommand::Action::version) return say(version_line);
    return status_of(
        print::write_figure_file(command.settings, command.path, reason, sizeof reason), reason);
}

}  // namespace

int main(int argc, char **argv) {
    using namespace yarx;
    if (print::asks_for_figure(argc, argv)) return write_figure(argc, argv);
    static print::Command command;
    static char reason[512];
    if (!print::parse_command(argc, argv, command, reason, sizeof reason))
        return complain(reason, refused);
    if (command.action == print::Command::Action::help)
        return say(print::command_usage()) == 0 && say("\n") == 0 ? say(print::figure_usage())
                                                                  : not_written;
    if (command.action == print::Command::Action::version) return say(version_line);
    return status_of(print::write_chart(command.settings, command.path, reason, sizeof reason),
                     reason);
}
