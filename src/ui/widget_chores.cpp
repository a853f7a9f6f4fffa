#include "widget_chores.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include <Xm/PushB.h>

#include "chart/text_writer.h"

namespace yarx::ui {

// Widget resources read best one name-value pair a line.
// clang-format off
Widget create_button(const char *name, Widget form, Widget above, int left, int right) {
    return XtVaCreateManagedWidget(
        name, xmPushButtonWidgetClass, form,
        XmNtopAttachment, above ? XmATTACH_WIDGET : XmATTACH_FORM,
        XmNtopWidget, above,
        XmNleftAttachment, left == 0 ? XmATTACH_FORM : XmATTACH_POSITION,
        XmNleftPosition, left,
        XmNrightAttachment, right == 100 ? XmATTACH_FORM : XmATTACH_POSITION,
        XmNrightPosition, right,
        nullptr);
}
// clang-format on

void set_label_text(Widget label, const char *text) {
    XmString string = XmStringCreateLocalized(const_cast<char *>(text));
    XtVaSetValues(label, XmNlabelString, string, nullptr);
    XmStringFree(string);
}

namespace {

// The width of the first `length` bytes of a line in the fonts.
int width_of(XmRenderTable fonts, const char *line, std::size_t length) {
    char part[1024];
    chart::TextWriter writer(part, sizeof part);
    for (std::size_t i = 0; i < length; ++i) writer.put(line[i]);
    XmString string = XmStringCreateLocalized(part);
    const int width = XmStringWidth(fonts, string);
    XmStringFree(string);
    return width;
}

// Breaks the lines of the text that are wider than the room.  Only the
// last space of a run of them is a place to break: the next line starts
// with its word.
void wrap(char *text, int room, XmRenderTable fonts) {
    char *line = text;
    while (*line) {
        char *end = std::strchr(line, '\n');
        if (!end) end = line + std::strlen(line);
        char *last_break = nullptr;
        for (char *p = line; p <= end; ++p) {
            if (p != end && (*p != ' ' || p[1] == ' ')) continue;
            if (width_of(fonts, line, static_cast<std::size_t>(p - line)) <= room) {
                if (p != end) last_break = p;
                continue;
            }
            if (last_break) {
                *last_break = '\n';
                end = last_break;
            }
            break;
        }
        line = *end ? end + 1 : end;
    }
}

// What of a label's width is not its text's, and its fonts.
struct LabelFrame {
    int width, around_text;
    int offset;  // from the left of its form
    XmRenderTable fonts;
};
LabelFrame frame_of(Widget label) {
    Dimension width = 0, left = 0, right = 0, margin = 0, highlight = 0, shadow = 0;
    int offset = 0;
    XmRenderTable fonts = nullptr;
    XtVaGetValues(label, XmNwidth, &width, XmNmarginLeft, &left, XmNmarginRight, &right,
                  XmNmarginWidth, &margin, XmNhighlightThickness, &highlight, XmNshadowThickness,
                  &shadow, XmNrenderTable, &fonts, nullptr);
    XtVaGetValues(label, XmNleftOffset, &offset, nullptr);
    return {width, left + right + 2 * (margin + highlight + shadow), offset, fonts};
}

}  // namespace

void set_wrapped_text(Widget label, const char *text) {
    const LabelFrame frame = frame_of(label);
    const int room = frame.width - frame.around_text;
    char wrapped[1024];
    chart::TextWriter writer(wrapped, sizeof wrapped);
    writer.put(text);
    if (frame.fonts && room > 0) wrap(wrapped, room, frame.fonts);
    set_label_text(label, wrapped);
}

int width_for(Widget label, const char *text) {
    const LabelFrame frame = frame_of(label);
    int widest = 0;
    for (const char *line = text; frame.fonts;) {
        const char *end = std::strchr(line, '\n');
        if (!end) end = line + std::strlen(line);
        widest =
            std::max(widest, width_of(frame.fonts, line, static_cast<std::size_t>(end - line)));
        if (!*end) break;
        line = end + 1;
    }
    return frame.offset + frame.around_text + widest;
}

int lines_in(const char *text) {
    int lines = 1;
    for (const char *p = text; *p; ++p) lines += *p == '\n';
    return lines;
}

// Sized on as many lines of one letter, then fixed, then given its text
// back; the form it stands in gives it its width.
void fix_label_lines(Widget label, int lines) {
    constexpr int most_lines = 16;
    XmString shown = nullptr;
    XtVaGetValues(label, XmNlabelString, &shown, nullptr);  // a copy, ours to free
    if (shown) lines = std::max(lines, XmStringLineCount(shown));
    char sizing[2 * most_lines];
    chart::TextWriter writer(sizing, sizeof sizing);
    for (int k = 0; k < lines && k < most_lines; ++k) writer.put(k ? "\nM" : "M");
    XtVaSetValues(label, XmNrecomputeSize, True, nullptr);
    set_label_text(label, sizing);
    XtVaSetValues(label, XmNrecomputeSize, False, XmNlabelString, shown, nullptr);
    XmStringFree(shown);
}

void paint_swatch(Widget swatch, unsigned long pixel) {
    if (!XtIsRealized(swatch)) return;
    XSetWindowBackground(XtDisplay(swatch), XtWindow(swatch), pixel);
    XClearWindow(XtDisplay(swatch), XtWindow(swatch));
}

KeySym keysym_of(const XKeyEvent &key) {
    KeyCode first = 0;
    int per_keycode = 0;
    const KeySym *table = XtGetKeysymTable(key.display, &first, &per_keycode);
    if (!table || key.keycode < first) return NoSymbol;
    return table[static_cast<std::size_t>(key.keycode - first) * per_keycode];
}

namespace {

void give_keys(Widget w, XtTranslations keys) {
    XtOverrideTranslations(w, keys);
    if (!XtIsComposite(w)) return;
    WidgetList children = nullptr;
    Cardinal count = 0;
    XtVaGetValues(w, XmNchildren, &children, XmNnumChildren, &count, nullptr);
    for (Cardinal i = 0; i < count; ++i) give_keys(children[i], keys);
}

}  // namespace

void bind_keys(Widget top, const KeyBinding *keys, int count) {
    count = std::min(count, max_key_bindings);
    XtActionsRec actions[max_key_bindings];
    char table[64 * max_key_bindings];
    chart::TextWriter translations(table, sizeof table);
    for (int i = 0; i < count; ++i) {
        actions[i] = {const_cast<String>(keys[i].action), keys[i].proc};
        translations.put(keys[i].event);
        translations.put(": ");
        translations.put(keys[i].action);
        translations.put("()\n");
    }
    XtAppAddActions(XtWidgetToApplicationContext(top), actions, static_cast<Cardinal>(count));
    give_keys(top, XtParseTranslationTable(table));
}

bool pointer_now(const XEvent &event, int &x, int &y) {
    if (event.type == EnterNotify) {
        x = event.xcrossing.x;
        y = event.xcrossing.y;
        return true;
    }
    if (event.type != MotionNotify) return false;
    Display *display = event.xany.display;
    XEvent latest = event;
    while (XEventsQueued(display, QueuedAfterReading) > 0) {
        XEvent next;
        XPeekEvent(display, &next);
        if (next.type != MotionNotify || next.xmotion.window != event.xmotion.window) break;
        XNextEvent(display, &latest);
    }
    x = latest.xmotion.x;
    y = latest.xmotion.y;
    return true;
}

}  // namespace yarx::ui
