#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// The built-in resource list for the class "yarx": every text, font and
// colour the windows show.  Used when no application defaults file exists;
// the user's own resources (-xrm, ~/.Xresources) override it either way.
// A null-terminated list, grouped by window.
extern String *const fallback_resources;

}  // namespace yarx::ui
