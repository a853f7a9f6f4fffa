#include "setup_window.h"

#include <Xm/Form.h>
#include <Xm/Frame.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Separator.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <cstdint>
#include <cstdlib>

#include "colour/chart_colours.h"
#include "ui/chart_window.h"
#include "ui/resources.h"
#include "ui/widget_chores.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

// "D68" is on when the program starts.
constexpr int illuminant_at_start = colour::default_illuminant;

// The illuminant the next OK computes.
int illuminant_in_force = illuminant_at_start;

// The toggle of the illuminant in force: the chart's title names it, and
// the keyboard, entering the radio box, lands on it.
Widget toggle_in_force;

// Only a toggle being turned on changes the illuminant; nothing is
// recomputed until OK.
void toggle_callback(Widget toggle, XtPointer client_data, XtPointer call_data) {
    const auto *cbs = static_cast<XmToggleButtonCallbackStruct *>(call_data);
    const int illuminant = static_cast<int>(reinterpret_cast<std::intptr_t>(client_data));
    if (!cbs || cbs->set != 1 || !colour::find_illuminant(illuminant)) return;
    illuminant_in_force = illuminant;
    toggle_in_force = toggle;
    XtVaSetValues(XtParent(toggle), XmNinitialFocus, toggle, nullptr);
}

// The toggle's label as its resources give it, the text the user reads;
// the widget's name when they give none, as the toolkit shows it then.
String label_of(Widget toggle) {
    return resource_text(toggle, "XmToggleButton", XmNlabelString, XmCLabelString, XtName(toggle));
}

// The toggle that asks for the true colours of an sRGB display instead of
// the chart's own, and the one that asks for the birefringence fan over the
// chart; their states are read at OK, like the illuminant's.
Widget true_colours_toggle;
Widget fan_toggle;

// Computes the chart of the illuminant in force and shows it.
void ok_callback(Widget, XtPointer, XtPointer) {
    const bool true_colours = XmToggleButtonGetState(true_colours_toggle);
    show_chart({illuminant_in_force, label_of(toggle_in_force),
                true_colours ? colour::Rendering::true_colours : colour::Rendering::cie_rgb,
                XmToggleButtonGetState(fan_toggle) != False});
}

void exit_callback(Widget, XtPointer, XtPointer) { std::exit(0); }

// Widget resources read best one name-value pair a line.
// clang-format off
Widget create_illuminant_box(Widget form, Widget above) {
    Widget frame = create_row(name_of(SetupWidget::frame), xmFrameWidgetClass, form, above);
    XtVaCreateManagedWidget(
        name_of(SetupWidget::frame_title), xmLabelWidgetClass, frame,
        XmNchildType, XmFRAME_TITLE_CHILD,
        XmNchildHorizontalAlignment, XmALIGNMENT_BEGINNING,
        XmNchildVerticalAlignment, XmALIGNMENT_BASELINE_BOTTOM,
        nullptr);
    Widget radio_box = XtVaCreateManagedWidget(
        name_of(SetupWidget::radio_box), xmRowColumnWidgetClass, frame,
        XmNradioBehavior, True,
        XmNradioAlwaysOne, True,
        nullptr);
    for (const colour::Illuminant &illuminant : colour::illuminants) {
        Widget toggle = XtVaCreateManagedWidget(
            illuminant.widget, xmToggleButtonWidgetClass, radio_box,
            XmNindicatorType, XmONE_OF_MANY,
            nullptr);
        XtAddCallback(toggle, XmNvalueChangedCallback, toggle_callback,
                      reinterpret_cast<XtPointer>(static_cast<std::intptr_t>(illuminant.id)));
    }
    return frame;
}

}  // namespace

SetupControls build_setup_window(Widget toplevel) {
    // Created in the order of the setup window's table (ui/window_names.h).
    Widget form = XmCreateForm(toplevel, const_cast<String>(name_of(SetupWidget::form)), nullptr, 0);
    const auto row = [form](SetupWidget widget, WidgetClass widget_class, Widget above) {
        return create_row(name_of(widget), widget_class, form, above);
    };
    Widget title = row(SetupWidget::title, xmLabelWidgetClass, nullptr);
    Widget notice1 = row(SetupWidget::notice1, xmLabelWidgetClass, title);
    Widget notice2 = row(SetupWidget::notice2, xmLabelWidgetClass, notice1);
    Widget frame = create_illuminant_box(form, notice2);
    Widget radio_box = XtNameToWidget(frame, name_of(SetupWidget::radio_box));
    true_colours_toggle = row(SetupWidget::true_colours, xmToggleButtonWidgetClass, frame);
    fan_toggle = row(SetupWidget::fan, xmToggleButtonWidgetClass, true_colours_toggle);
    Widget prompt = row(SetupWidget::prompt, xmLabelWidgetClass, fan_toggle);
    Widget separator = row(SetupWidget::separator, xmSeparatorWidgetClass, prompt);

    Widget ok = create_button(name_of(SetupWidget::ok), form, separator, 0, 45);
    Widget exit = create_button(name_of(SetupWidget::exit), form, separator, 55, 100);
    XtAddCallback(ok, XmNactivateCallback, ok_callback, nullptr);
    XtAddCallback(exit, XmNactivateCallback, exit_callback, nullptr);
    // The keyboard starts in the radio box; Return presses OK; Tab stops at
    // the radio box, the true-colours toggle, the fan toggle, OK and Exit.
    XtVaSetValues(form,
        XmNinitialFocus, radio_box,
        XmNdefaultButton, ok,
        nullptr);
    for (Widget option : {true_colours_toggle, fan_toggle})
        XtVaSetValues(option,
            XmNalignment, XmALIGNMENT_BEGINNING,
            XmNnavigationType, XmTAB_GROUP,
            nullptr);
    XtVaSetValues(ok, XmNnavigationType, XmTAB_GROUP, nullptr);
    XtVaSetValues(exit, XmNnavigationType, XmTAB_GROUP, nullptr);

    const char *on_at_start = colour::find_illuminant(illuminant_at_start)->widget;
    XmToggleButtonSetState(XtNameToWidget(radio_box, on_at_start), True, True);
    XtManageChild(form);
    return {{frame, true_colours_toggle, fan_toggle, ok, exit}, 5};
}
// clang-format on

}  // namespace yarx::ui
