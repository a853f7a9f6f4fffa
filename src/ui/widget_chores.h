// The Motif chores every window does the same way: a child stacked as a row
// of a form, a label's text, a label fixed at a number of lines, a swatch
// painted in a pixel, where the pointer is now, and a key's symbol.
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

// Creates and manages a push button in a row of buttons across the form,
// below `above` (at the top when it is null), from left to right in
// hundredths of the form's width: at 0 and 100 it is attached to the form's
// edges.
Widget create_button(const char *name, Widget form, Widget above, int left, int right);

// Shows the text in the label, a "\n" starting a new line.  The label keeps
// its own copy; the XmString made for it is given back at once: set
// through a typed argument instead, each conversion would stay referenced
// from the label until it is destroyed, some bytes more for every text.
void set_label_text(Widget label, const char *text);

// Shows the text in the label as set_label_text does, each line that is
// wider than the label broken at the last space that lets it fit, as often
// as it takes; a word wider than the label stays whole.  The label's width
// is the one its parent gave it.
void set_wrapped_text(Widget label, const char *text);

// The width the label needs to show the text without wrapping it, from the
// left edge of its form.
int width_for(Widget label, const char *text);

// The number of lines of a text: one more than its newlines.
int lines_in(const char *text);

// Fixes the label's height at that of so many lines of its font, or of the
// text it shows now if that has more, whatever text it shows later; it
// keeps the text it shows.  A new text then never resizes the window.
void fix_label_lines(Widget label, int lines);

// Paints the swatch, a bare drawing area, all in the pixel: set as its
// window's background, it costs one request, and the server repaints it on
// every exposure.  Nothing before the swatch has a window.
void paint_swatch(Widget swatch, unsigned long pixel);

// Where the pointer is now, for a window that follows it: where it
// entered, or where the last of a motion and those queued right behind it
// for the same window stand, since only that is worth showing.  Looks only
// at what has already arrived, without asking the server anything.  False
// for any other event.
bool pointer_now(const XEvent &event, int &x, int &y);

// A key of a window's own: the event in the toolkit's translation syntax,
// and the action of the program's it calls, by its name and its procedure.
struct KeyBinding {
    const char *event;
    const char *action;
    XtActionProc proc;
};
constexpr int max_key_bindings = 8;

// Gives the widget and all its children the keys (up to max_key_bindings),
// ahead of their own translations, wherever the keyboard focus is among
// them.  Dialogs over the window, such as the save dialog, whose file name
// may well hold a "p", are its popups, not its children.
void bind_keys(Widget top, const KeyBinding *keys, int count);

// The key's first keysym, from the toolkit's copy of the keyboard map,
// which its translations have loaded already: Xlib's own lookup would ask
// the server for a second copy.
KeySym keysym_of(const XKeyEvent &key);

}  // namespace yarx::ui
