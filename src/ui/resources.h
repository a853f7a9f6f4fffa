// The user's resources, read through the toolkit's own lookup.
#pragma once

#include <X11/Intrinsic.h>

namespace yarx::ui {

// The value that the resources (the user's, then the fallback list) give
// this resource of the widget, as a string the toolkit owns; the default
// when they give none.  For the top-level shell, an application resource
// ("yarx.thickness").
String resource_of(Widget w, const char *name, const char *resource_class,
                   String default_value = nullptr);

}  // namespace yarx::ui
