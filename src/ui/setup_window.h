// The setup window: the illuminant toggles, OK and Exit.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// The illuminant the next OK computes; "D68" until the user picks another.
extern int illuminant_in_force;

// Builds the setup window's form under the top-level shell, turns on "D68"
// and manages the form.
void build_setup_window(Widget toplevel);

}  // namespace yarx::ui
