// yarx: the interference colour chart of a birefringent plate between
// crossed polarisers, for the CIE 1931 observer under a chosen illuminant.

#include <X11/Intrinsic.h>

#include <cstdio>
#include <cstdlib>

#include "ui/windows.h"

namespace {

// The toolkit has taken out of argv every option it knows; yarx has none of
// its own, so anything left is a mistake, and a misspelt "-dispaly host:0"
// must not quietly open on the local display instead.
void refuse_leftover_arguments(int argc, char **argv) {
    if (argc < 2) return;
    std::fprintf(stderr, "yarx: unexpected argument '%s'\n", argv[1]);
    std::fprintf(stderr,
                 "usage: yarx [-display host:n] [-geometry geometry] [-name name]"
                 " [-xrm 'resource: value'] ...\n");
    std::exit(2);
}

}  // namespace

int main(int argc, char **argv) {
    XtAppContext app;
    Widget toplevel = yarx::ui::start_toolkit(&app, &argc, argv);
    refuse_leftover_arguments(argc, argv);
    yarx::ui::build_windows(toplevel);
    XtAppMainLoop(app);
}
