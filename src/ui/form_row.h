// A row of a form: a child stretched across the form's width below another
// child, or at the form's top when it is the first.  The setup window, the
// chart window and its reading line stack their widgets so.
#pragma once

#include <X11/Intrinsic.h>
#include <Xm/Xm.h>

namespace yarx::ui {

// Creates and manages the child as a row below `above` (at the top when it
// is null).  Its own resources, if any, come as XtVaCreateManagedWidget takes
// them, name then value, without the ending null: this adds the row's
// attachments and ends the list.
// Widget resources read best one name-value pair a line.
// clang-format off
template <typename... Resources>
Widget create_row(const char *name, WidgetClass widget_class, Widget form, Widget above,
                  Resources... resources) {
    static_assert(sizeof...(resources) % 2 == 0, "resources come as name-value pairs");
    return XtVaCreateManagedWidget(
        name, widget_class, form,
        resources...,
        XmNtopAttachment, above ? XmATTACH_WIDGET : XmATTACH_FORM,
        XmNtopWidget, above,
        XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_FORM,
        nullptr);
}
// clang-format on

}  // namespace yarx::ui
