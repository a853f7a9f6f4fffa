// The names of the program's two shells.  Window managers group the windows
// by them, and users' resources, users' scripts and the tests address the
// windows through them: keep them.  No X here, so that the X driver and the
// tools read them too.
#pragma once

namespace yarx::ui {

// The program's class.
inline constexpr char program_class[] = "yarx";

// The setup window's shell, the top-level one: Xt names it after the file
// the program runs as (or -name).
inline constexpr char setup_shell_name[] = "yarx";

// The chart window is a form dialog; Motif names a dialog's shell after the
// dialog, with "_popup" added.
inline constexpr char chart_dialog_name[] = "yarx";
inline constexpr char chart_shell_name[] = "yarx_popup";

}  // namespace yarx::ui
