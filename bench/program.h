// The program's windows built inside a benchmark, on a display of its
// choice, exactly as main builds them; the benchmark then runs the program's
// own callbacks and times them, without a process or an input event in
// between.
#pragma once

#include <X11/Intrinsic.h>

#include <string>

namespace yarx::bench {

struct Program {
    XtAppContext app = nullptr;
    Widget toplevel = nullptr;
    Display *display = nullptr;
};

// Builds the setup and chart windows on the display and realizes them, once
// per process; later calls return the same program.
Program &open_program(const std::string &display_name);

// Runs the OK button's callback, as a click on it does.
void press_ok(Program &program);

// Turns the birefringence fan's toggle on or off, as a click on it does;
// the next OK draws accordingly.
void set_fan(Program &program, bool on);

// The chart's canvas window; None before the first OK.
Window canvas_window(Program &program);

// Handles whatever the server has sent so far (exposures, focus changes).
void process_pending_events(Program &program);

}  // namespace yarx::bench
