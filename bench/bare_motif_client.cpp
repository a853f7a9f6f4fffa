// The link benchmark's floor for start-up: a bare Motif client with the
// same kinds of widget as yarx, laid out the same way: a setup window of
// labels, a framed radio box of eleven toggles, a toggle, a separator and
// two push buttons, and, realized but not shown, a form dialog with a push
// button, a separator, a label and a scrolled drawing area.  It names no
// resources, fonts or colours of its own, and sets no icon.

#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrolledW.h>
#include <Xm/Separator.h>
#include <Xm/ToggleB.h>

#include <string>

namespace {

// Widget resources read best one name-value pair a line.
// clang-format off
Widget row(const char *name, WidgetClass widget_class, Widget form, Widget above) {
    return XtVaCreateManagedWidget(
        name, widget_class, form,
        XmNtopAttachment, above ? XmATTACH_WIDGET : XmATTACH_FORM,
        XmNtopWidget, above,
        XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_FORM,
        nullptr);
}

void build_dialog(Widget toplevel) {
    Widget dialog = XmCreateFormDialog(toplevel, const_cast<String>("dialog"), nullptr, 0);
    Widget button = row("dismiss", xmPushButtonWidgetClass, dialog, nullptr);
    Widget separator = row("separator", xmSeparatorWidgetClass, dialog, button);
    Widget label = row("reading", xmLabelWidgetClass, dialog, separator);
    Widget scroller = XtVaCreateManagedWidget(
        "scroller", xmScrolledWindowWidgetClass, dialog,
        XmNscrollingPolicy, XmAUTOMATIC,
        XmNscrollBarDisplayPolicy, XmAS_NEEDED,
        XmNtopAttachment, XmATTACH_WIDGET,
        XmNtopWidget, label,
        XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM,
        nullptr);
    XtVaCreateManagedWidget("area", xmDrawingAreaWidgetClass, scroller, nullptr);
}

void build_main_window(Widget toplevel) {
    Widget form = XmCreateForm(toplevel, const_cast<String>("form"), nullptr, 0);
    Widget above = nullptr;
    for (const char *name : {"title", "line1", "line2"})
        above = row(name, xmLabelWidgetClass, form, above);
    Widget frame = row("frame", xmFrameWidgetClass, form, above);
    XtVaCreateManagedWidget(
        "frametitle", xmLabelWidgetClass, frame,
        XmNchildType, XmFRAME_TITLE_CHILD,
        nullptr);
    Widget radio_box = XtVaCreateManagedWidget(
        "radio", xmRowColumnWidgetClass, frame,
        XmNradioBehavior, True,
        XmNradioAlwaysOne, True,
        nullptr);
    for (int i = 0; i < 11; ++i)
        XtVaCreateManagedWidget(
            ("toggle" + std::to_string(i)).c_str(), xmToggleButtonWidgetClass, radio_box,
            XmNindicatorType, XmONE_OF_MANY,
            nullptr);
    Widget toggle = row("toggle", xmToggleButtonWidgetClass, form, frame);
    Widget prompt = row("prompt", xmLabelWidgetClass, form, toggle);
    Widget separator = row("separator", xmSeparatorWidgetClass, form, prompt);
    XtVaCreateManagedWidget(
        "ok", xmPushButtonWidgetClass, form,
        XmNtopAttachment, XmATTACH_WIDGET,
        XmNtopWidget, separator,
        XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_POSITION,
        XmNrightPosition, 45,
        nullptr);
    XtVaCreateManagedWidget(
        "exit", xmPushButtonWidgetClass, form,
        XmNtopAttachment, XmATTACH_WIDGET,
        XmNtopWidget, separator,
        XmNrightAttachment, XmATTACH_FORM,
        XmNleftAttachment, XmATTACH_POSITION,
        XmNleftPosition, 55,
        nullptr);
    XtManageChild(form);
}
// clang-format on

}  // namespace

int main(int argc, char **argv) {
    XtAppContext app;
    Widget toplevel = XtAppInitialize(&app, "Bare", nullptr, 0, &argc, argv, nullptr, nullptr, 0);
    build_dialog(toplevel);
    build_main_window(toplevel);
    XtRealizeWidget(toplevel);
    XtAppMainLoop(app);
}
