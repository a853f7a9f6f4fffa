// yarx: the interference colour chart of a birefringent plate between
// crossed polarisers, for the CIE 1931 observer under a chosen illuminant.

#include <X11/Intrinsic.h>

#include "ui/chart_window.h"
#include "ui/fallback_resources.h"
#include "ui/setup_window.h"

int main(int argc, char **argv) {
    XtAppContext app;
    Widget toplevel = XtAppInitialize(&app, "yarx", nullptr, 0, &argc, argv,
                                      yarx::ui::fallback_resources, nullptr, 0);
    yarx::ui::build_chart_window(toplevel);
    yarx::ui::build_setup_window(toplevel);
    XtRealizeWidget(toplevel);
    XtAppMainLoop(app);
}
