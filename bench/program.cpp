#include "program.h"

#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <vector>

#include "ui/window_names.h"
#include "ui/windows.h"

namespace yarx::bench {

Program &open_program(const std::string &display_name) {
    static Program program;
    if (program.display) return program;
    // Named as the program is, so that its resources and shells are the same.
    std::vector<std::string> args = {ui::setup_shell_name, "-display", display_name};
    std::vector<char *> argv;
    for (std::string &a : args) argv.push_back(a.data());
    int argc = static_cast<int>(argv.size());
    program.toplevel = ui::start_toolkit(&program.app, &argc, argv.data());
    program.display = XtDisplay(program.toplevel);
    ui::build_windows(program.toplevel);
    process_pending_events(program);
    return program;
}

void press_ok(Program &program) {
    XtCallCallbacks(XtNameToWidget(program.toplevel, "*setupok"), XmNactivateCallback, nullptr);
}

void set_fan(Program &program, bool on) {
    XmToggleButtonSetState(XtNameToWidget(program.toplevel, "*setupfan"), on, False);
}

Window canvas_window(Program &program) {
    return XtWindow(XtNameToWidget(program.toplevel, "*canvas"));
}

void process_pending_events(Program &program) {
    XSync(program.display, False);
    while (XtAppPending(program.app)) XtAppProcessEvent(program.app, XtIMAll);
}

}  // namespace yarx::bench
