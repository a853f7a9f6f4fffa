// yarx_app_defaults: writes the program's fallback resources out as its
// application defaults file, so that the installed file and the built-in list
// are one list.  The build runs it; the result goes to
// /etc/X11/app-defaults/yarx.
//
// Usage: yarx_app_defaults FILE

#include <cstdio>
#include <cstring>

#include "ui/fallback_resources.h"

namespace {

// The toolkit reads the file instead of the built-in list, never both: the
// header says what that means for whoever edits it.
constexpr const char *header =
    "! Application defaults for yarx, the interference colour chart.\n"
    "!\n"
    "! The X toolkit reads this file instead of the defaults built into yarx,\n"
    "! which it uses only when it finds no file for the class yarx.  A line left\n"
    "! out of this file is therefore left unset (a label then shows its widget\n"
    "! name): keep the file whole.  Change values here for everyone, or put your\n"
    "! own in ~/.Xresources or pass them with -xrm; those apply on top of it.\n"
    "! See yarx(1), FILES and ENVIRONMENT.\n"
    "!\n"
    "! Made from the program's built-in list when yarx was built.\n"
    "\n";

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    std::FILE *file = std::fopen(argv[1], "w");
    if (!file) {
        std::perror(argv[1]);
        return 1;
    }
    std::fputs(header, file);
    for (const String *line = yarx::ui::fallback_resources; *line; ++line) {
        // A resource line may not span lines of a file.
        if (std::strchr(*line, '\n')) {
            std::fprintf(stderr, "%s: a fallback resource holds a newline: %s\n", argv[0], *line);
            std::fclose(file);
            std::remove(argv[1]);
            return 1;
        }
        std::fprintf(file, "%s\n", *line);
    }
    if (std::fclose(file) != 0) {
        std::perror(argv[1]);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}
