#include "save_dialog.h"

#include <Xm/FileSB.h>
#include <Xm/Label.h>
#include <Xm/MessageB.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "chart/chart_geometry.h"
#include "chart/reading.h"
#include "chart/text_writer.h"
#include "colour/illuminants.h"
#include "print/chart_file.h"
#include "ui/widget_chores.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

Widget save_line;
Widget dialog;
Widget error_box;  // over the dialog, when a save fails
Widget question;   // over the dialog, when the file is there already
// In whose words a save says what it did.
const Resources *texts = nullptr;

// Whether the user has made the file name their own, by typing or by
// choosing a file in the list: a new chart then leaves it as it is.  The
// program's own changes to it are not the user's.
bool name_edited = false;
bool offering = false;
// Whether the user has said Replace to the question for the name chosen.
bool replace_agreed = false;
// The owner's callback, for the dialog's OK and the question's Replace.
XtCallbackProc owners_callback = nullptr;

// The settings yarx-chart takes for what the window shows.
print::FigureSettings settings_shown(const chart::ChartView &shown) {
    print::FigureSettings settings;
    settings.illuminant = shown.illuminant;
    settings.rendering = shown.rendering;
    settings.fan = shown.fan_shown;
    settings.thickness_um = shown.thickness_um;
    return settings;
}

// The text of the template: %f the file, %r why it was not saved.
void fill(char *text, std::size_t size, const char *text_template, const char *file,
          const char *reason) {
    chart::TextWriter writer(text, size);
    chart::fill_template(text_template, writer, [&](char name, chart::TextWriter &w) {
        if (name != 'f' && name != 'r') return false;
        w.put(name == 'f' ? file : reason);
        return true;
    });
}

// A message box over the dialog, made the first time, with the buttons
// given unmanaged.
Widget message_box(Widget &box, Widget (*create)(Widget, String, ArgList, Cardinal),
                   const char *name, std::initializer_list<unsigned char> buttons_not_shown) {
    if (!box) {
        box = create(dialog, const_cast<String>(name), nullptr, 0);
        for (const unsigned char button : buttons_not_shown)
            XtUnmanageChild(XmMessageBoxGetChild(box, button));
    }
    return box;
}

// Shows the box with the text and the keyboard in it.
void show_message(Widget box, const char *text) {
    XmString message = XmStringCreateLocalized(const_cast<char *>(text));
    XtVaSetValues(box, XmNmessageString, message, nullptr);
    XmStringFree(message);
    XtManageChild(box);
}

// Says on the save line, and over the dialog in full, since a path may be
// longer than the panel is wide, that the file was not saved and why.
void say_not_saved(const char *file, const char *reason) {
    char text[1024];
    fill(text, sizeof text, texts->failed_text, file, reason);
    set_label_text(save_line, text);
    show_message(message_box(error_box, XmCreateErrorDialog, save_error_name,
                             {XmDIALOG_CANCEL_BUTTON, XmDIALOG_HELP_BUTTON}),
                 text);
}

void replace_callback(Widget, XtPointer, XtPointer) { replace_agreed = true; }

// Asks whether to replace the file, Cancel the default: Return and Escape
// keep the file as it is.  Replace, and then the owner's callback, save.
void ask_before_replacing(const char *path) {
    if (!question) {
        message_box(question, XmCreateQuestionDialog, save_question_name, {XmDIALOG_HELP_BUTTON});
        XtVaSetValues(question, XmNdialogStyle, XmDIALOG_PRIMARY_APPLICATION_MODAL,
                      XmNdefaultButtonType, XmDIALOG_CANCEL_BUTTON, nullptr);
        XtAddCallback(question, XmNokCallback, replace_callback, nullptr);
        XtAddCallback(question, XmNokCallback, owners_callback, nullptr);
    }
    char text[1024];
    fill(text, sizeof text, texts->replace_text, path, "");
    show_message(question, text);
}

// The file name as the dialog's text field holds it, copied out without
// the toolkit allocating a copy for us.
bool file_named(char *path, std::size_t size) {
    Widget text = XmFileSelectionBoxGetChild(dialog, XmDIALOG_TEXT);
    const XmTextPosition length = XmTextFieldGetLastPosition(text);
    if (length <= 0 || static_cast<std::size_t>(length) >= size) return false;
    return XmTextFieldGetSubstring(text, 0, static_cast<int>(length), static_cast<int>(size),
                                   path) == XmCOPY_SUCCEEDED;
}

// The file the dialog names, a PDF when its name has no extension, as the
// name offered has; false when it names no file.
bool file_chosen(char *path, std::size_t size) {
    if (!file_named(path, size)) return false;
    const char *slash = std::strrchr(path, '/');
    const char *name = slash ? slash + 1 : path;
    if (*name == '\0') return false;
    if (std::strchr(name + 1, '.')) return true;
    constexpr char pdf[] = ".pdf";
    const std::size_t length = std::strlen(path);
    if (length + sizeof pdf > size) return false;
    std::memcpy(path + length, pdf, sizeof pdf);
    return true;
}

void cancel_callback(Widget, XtPointer, XtPointer) { XtUnmanageChild(dialog); }

void value_changed_callback(Widget, XtPointer, XtPointer) {
    if (!offering) name_edited = true;
}

// Selects the name without its directory, so that typing replaces it and
// Return takes it as it stands.
void select_the_name() {
    Widget text = XmFileSelectionBoxGetChild(dialog, XmDIALOG_TEXT);
    const XmTextPosition end = XmTextFieldGetLastPosition(text);
    char path[4096];
    if (!file_named(path, sizeof path)) return;
    const char *slash = std::strrchr(path, '/');
    const XmTextPosition name = slash ? static_cast<XmTextPosition>(slash - path + 1) : 0;
    XmTextFieldSetSelection(text, name, end, XtLastTimestampProcessed(XtDisplay(text)));
    XmTextFieldSetInsertionPosition(text, end);
}

// The current directory and a name after the chart, as the pictures are
// named: "chart-d65-srgb-fan.pdf", and with the section's thickness where
// the fan dashes one other than the usual, "chart-d65-fan-25um.pdf".
void offer_a_name(const chart::ChartView &shown) {
    char directory[4000];
    if (!getcwd(directory, sizeof directory)) directory[0] = '\0';
    const colour::Illuminant *illuminant = colour::find_illuminant(shown.illuminant);
    char thickness[32] = "";
    if (shown.fan_shown && shown.thickness_um != chart::default_thickness_um)
        std::snprintf(thickness, sizeof thickness, "-%gum", shown.thickness_um);
    char path[4096];
    std::snprintf(path, sizeof path, "%s/chart-%s%s%s%s.pdf", directory,
                  illuminant ? illuminant->short_name : "", shown.true_colours() ? "-srgb" : "",
                  shown.fan_shown ? "-fan" : "", thickness);
    XmString offered = XmStringCreateLocalized(path);
    offering = true;
    XtVaSetValues(dialog, XmNdirSpec, offered, nullptr);
    offering = false;
    XmStringFree(offered);
    name_edited = false;
}

void map_callback(Widget, XtPointer, XtPointer) { select_the_name(); }

void make_dialog(Widget chart_form) {
    // Wide enough for a path in its fields; down only when a save is done
    // or given up.
    Arg args[2];
    XtSetArg(args[0], XmNwidth, 560);
    XtSetArg(args[1], XmNautoUnmanage, False);
    dialog = XmCreateFileSelectionDialog(chart_form, const_cast<String>(save_dialog_name), args, 2);
    XtVaSetValues(dialog, XmNresizePolicy, XmRESIZE_GROW, nullptr);
    XtUnmanageChild(XmFileSelectionBoxGetChild(dialog, XmDIALOG_HELP_BUTTON));
    XtAddCallback(dialog, XmNokCallback, owners_callback, nullptr);
    XtAddCallback(dialog, XmNcancelCallback, cancel_callback, nullptr);
    XtAddCallback(dialog, XmNmapCallback, map_callback, nullptr);
    Widget text = XmFileSelectionBoxGetChild(dialog, XmDIALOG_TEXT);
    XtAddCallback(text, XmNvalueChangedCallback, value_changed_callback, nullptr);
    XtVaSetValues(dialog, XmNinitialFocus, text, nullptr);
}

}  // namespace

// Widget resources read best one name-value pair a line.
// clang-format off
Widget build_save_line(Widget panel, Widget above, const Resources &resources) {
    texts = &resources;
    save_line = create_row(
        name_of(ChartWidget::save_line), xmLabelWidgetClass, panel, above,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left);
    fix_label_lines(save_line, 1);
    return save_line;
}
// clang-format on

void ask_where_to_save(Widget chart_form, const chart::ChartView &view,
                       XtCallbackProc chosen_callback) {
    owners_callback = chosen_callback;
    if (!dialog) make_dialog(chart_form);
    // Afresh each time it opens: the files there now, and a name for the
    // chart now.  Up already, it keeps a name the user has made theirs.
    if (!XtIsManaged(dialog) || !name_edited) {
        offering = true;
        XmFileSelectionDoSearch(dialog, nullptr);
        offering = false;
        offer_a_name(view);
        if (XtIsManaged(dialog)) select_the_name();
    }
    XtManageChild(dialog);
}

void offer_name_for(const chart::ChartView &view) {
    if (!dialog || !XtIsManaged(dialog) || name_edited) return;
    offer_a_name(view);
    select_the_name();
}

void save_chosen(const chart::ChartView &view) {
    char path[4096];
    if (!file_chosen(path, sizeof path)) {
        say_not_saved("", "no file name");
        return;
    }
    struct stat there;
    if (!replace_agreed && lstat(path, &there) == 0) {
        ask_before_replacing(path);
        return;
    }
    replace_agreed = false;
    // A save that fails says why on the save line and leaves the dialog
    // up, to try another name.
    char reason[512] = "";
    if (!print::write_chart(settings_shown(view), view.chart, path, reason, sizeof reason)) {
        say_not_saved(path, reason);
        return;
    }
    char text[1024];
    fill(text, sizeof text, texts->saved_text, path, "");
    set_label_text(save_line, text);
    XtUnmanageChild(dialog);
}

}  // namespace yarx::ui
