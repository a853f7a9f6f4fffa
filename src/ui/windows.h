// Both windows, built and shown the one way the program and its benchmarks
// share.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// Builds the chart window (unmanaged) and the setup window under the
// top-level shell, and realizes them, the setup window showing with the
// program's icon and process on both.
void build_windows(Widget toplevel);

}  // namespace yarx::ui
