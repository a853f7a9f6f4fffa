#include "resources.h"

#include <X11/IntrinsicP.h>
#include <X11/StringDefs.h>

namespace yarx::ui {

// A subresource of the parent under the widget's own name and class is
// looked up along the widget's full path, as the widget's own resources are;
// the top-level shell has no parent, and its resources are the application's.
String resource_of(Widget w, const char *name, const char *resource_class, String default_value) {
    String value = nullptr;
    XtResource resource = {const_cast<String>(name),
                           const_cast<String>(resource_class),
                           const_cast<String>(XtRString),
                           sizeof(String),
                           0,
                           const_cast<String>(XtRString),
                           default_value};
    if (!XtParent(w))
        XtGetApplicationResources(w, &value, &resource, 1, nullptr, 0);
    else
        XtGetSubresources(XtParent(w), &value, XtName(w), XtClass(w)->core_class.class_name,
                          &resource, 1, nullptr, 0);
    return value;
}

}  // namespace yarx::ui
