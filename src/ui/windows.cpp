#include "windows.h"

#include "ui/chart_window.h"
#include "ui/colour_pick.h"
#include "ui/fallback_resources.h"
#include "ui/figure_window.h"
#include "ui/resources.h"
#include "ui/setup_window.h"
#include "ui/window_identity.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

// Read once; the windows keep reading what their builders were given.
Resources resources;

// Each event type's dispatcher before ours, which ours hand on to.
XtEventDispatchProc key_dispatcher_before, press_dispatcher_before, release_dispatcher_before;

// Keys anywhere on the display: a pick under way takes them all.
Boolean dispatch_key_display_wide(XEvent *event) {
    if (pick_takes_key(event->xkey)) return True;
    return key_dispatcher_before(event);
}

// Buttons anywhere on the display: a pick under way takes them all.
Boolean dispatch_button_display_wide(XEvent *event) {
    if (pick_takes_button(event->xbutton)) return True;
    return (event->type == ButtonPress ? press_dispatcher_before
                                       : release_dispatcher_before)(event);
}

// A pick grabs the pointer and the keyboard on the whole screen, so its
// events may come for any window of the display, the program's or not.
void install_display_wide_dispatchers(Display *display) {
    key_dispatcher_before = XtSetEventDispatcher(display, KeyPress, dispatch_key_display_wide);
    press_dispatcher_before =
        XtSetEventDispatcher(display, ButtonPress, dispatch_button_display_wide);
    release_dispatcher_before =
        XtSetEventDispatcher(display, ButtonRelease, dispatch_button_display_wide);
}

}  // namespace

Widget start_toolkit(XtAppContext *app, int *argc, char **argv) {
    return XtAppInitialize(app, program_class, nullptr, 0, argc, argv, fallback_resources, nullptr,
                           0);
}

void build_windows(Widget toplevel) {
    const IdentityAtoms atoms = ask_for_identity_atoms(XtDisplay(toplevel));
    Widget chart_form = create_chart_dialog(toplevel);
    resources = read_resources(toplevel, chart_form);
    build_chart_window(chart_form, resources);
    build_figure_window(toplevel, mark_chart_retardation);
    const SetupControls controls = build_setup_window(toplevel);
    keep_chart_clear_of(controls.widgets, controls.count);
    install_display_wide_dispatchers(XtDisplay(toplevel));
    realize_with_identity(toplevel, atoms);
}

}  // namespace yarx::ui
