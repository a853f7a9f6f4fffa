#include "program.h"

#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <vector>

#include "ui/fallback_resources.h"
#include "ui/windows.h"

namespace yarx::bench {

Program &open_program(const std::string &display_name) {
    static Program program;
    if (program.display) return program;
    std::vector<std::string> args = {"yarx", "-display", display_name};
    std::vector<char *> argv;
    for (std::string &a : args) argv.push_back(a.data());
    int argc = static_cast<int>(argv.size());
    program.toplevel = XtAppInitialize(&program.app, "yarx", nullptr, 0, &argc, argv.data(),
                                       ui::fallback_resources, nullptr, 0);
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
