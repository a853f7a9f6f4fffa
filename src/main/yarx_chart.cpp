// yarx-chart: the interference colour chart in a file, PNG, PDF or SVG,
// for print; no X display needed.

#include <cstdio>

#include "print/chart_command.h"
#include "print/chart_file.h"

namespace {

// Refused input ends with 2, a file that cannot be written with 1.
constexpr int refused = 2, not_written = 1;

int complain(const char *reason, int status) {
    std::fprintf(stderr, "yarx-chart: %s\n", reason);
    return status;
}

// What --help and --version print, and whether it reached standard output.
int say(const char *text) {
    std::fputs(text, stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : not_written;
}

}  // namespace

int main(int argc, char **argv) {
    using namespace yarx;
    static print::Command command;
    static char reason[512];
    if (!print::parse_command(argc, argv, command, reason, sizeof reason))
        return complain(reason, refused);
    if (command.action == print::Command::Action::help) return say(print::command_usage());
    if (command.action == print::Command::Action::version)
        return say("yarx-chart " YARX_VERSION "\n");
    switch (print::write_chart(command.settings, command.path, reason, sizeof reason)) {
        case print::WriteOutcome::written:
            return 0;
        case print::WriteOutcome::refused:
            return complain(reason, refused);
        case print::WriteOutcome::failed:
            break;
    }
    return complain(reason, not_written);
}
