#include "windows.h"

#include "ui/chart_window.h"
#include "ui/setup_window.h"
#include "ui/window_identity.h"

namespace yarx::ui {

void build_windows(Widget toplevel) {
    ask_for_identity_atoms(XtDisplay(toplevel));
    build_chart_window(toplevel);
    build_setup_window(toplevel);
    realize_with_identity(toplevel);
}

}  // namespace yarx::ui
