// The setup window: the illuminant toggles, the toggles for true colours and
// for the birefringence fan, OK and Exit.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// What the user still needs once the chart is up beside the setup window:
// the illuminant box, the two option toggles, OK and Exit.
struct SetupControls {
    Widget widgets[5];
    int count;
};

// Builds the setup window's form under the top-level shell, turns on "D68"
// and manages the form.
SetupControls build_setup_window(Widget toplevel);

}  // namespace yarx::ui
