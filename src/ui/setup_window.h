// The setup window: the illuminant toggles, the toggles for true colours and
// for the birefringence fan, OK and Exit.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// Builds the setup window's form under the top-level shell, turns on "D68"
// and manages the form.
void build_setup_window(Widget toplevel);

}  // namespace yarx::ui
