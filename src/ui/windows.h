// Both windows, built and shown the one way the program and its benchmarks
// share.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// Starts the toolkit as the program of class "yarx" with its fallback
// resources, on the display the options name; takes the toolkit's options
// out of argv and returns the top-level shell.
Widget start_toolkit(XtAppContext *app, int *argc, char **argv);

// Reads the resources, builds the chart window (unmanaged) and the setup
// window under the top-level shell, takes the display's key and button
// events before the toolkit, and realizes the windows, the setup window
// showing with the program's icon, and both windows with its process.
void build_windows(Widget toplevel);

}  // namespace yarx::ui
