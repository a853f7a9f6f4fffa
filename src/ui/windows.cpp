#include "windows.h"

#include "ui/chart_window.h"
#include "ui/fallback_resources.h"
#include "ui/setup_window.h"
#include "ui/shell_names.h"
#include "ui/window_identity.h"

namespace yarx::ui {

Widget start_toolkit(XtAppContext *app, int *argc, char **argv) {
    return XtAppInitialize(app, program_class, nullptr, 0, argc, argv, fallback_resources, nullptr,
                           0);
}

void build_windows(Widget toplevel) {
    const IdentityAtoms atoms = ask_for_identity_atoms(XtDisplay(toplevel));
    build_chart_window(toplevel);
    build_setup_window(toplevel);
    realize_with_identity(toplevel, atoms);
}

}  // namespace yarx::ui
