#include "save_dialog.h"

#include <Xm/FileSB.h>
#include <Xm/Label.h>
#include <Xm/MessageB.h>
#include <Xm/TextF.h>
#include <Xm/Xm.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "chart/chart_geometry.h"
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
// What a save writes, and in whose words it says so.
const chart::ChartView *shown = nullptr;
const Resources *texts = nullptr;

// The settings yarx-chart takes for what the window shows.
print::FigureSettings settings_shown() {
    print::FigureSettings settings;
    settings.illuminant = shown->illuminant;
    settings.rendering = shown->rendering;
    settings.fan = shown->fan_shown;
    settings.thickness_um = shown->thickness_um;
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

// Says on the save line, and over the dialog in full, since a path may be
// longer than the panel is wide, that the file was not saved and why.
void say_not_saved(const char *file, const char *reason) {
    char text[1024];
    fill(text, sizeof text, texts->failed_text, file, reason);
    set_label_text(save_line, text);
    if (!error_box) {
        error_box = XmCreateErrorDialog(dialog, const_cast<String>(save_error_name), nullptr, 0);
        XtUnmanageChild(XmMessageBoxGetChild(error_box, XmDIALOG_CANCEL_BUTTON));
        XtUnmanageChild(XmMessageBoxGetChild(error_box, XmDIALOG_HELP_BUTTON));
    }
    XmString message = XmStringCreateLocalized(text);
    XtVaSetValues(error_box, XmNmessageString, message, nullptr);
    XmStringFree(message);
    XtManageChild(error_box);
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

// OK, or Return in the file name.  A save that fails says why on the save
// line and leaves the dialog up, to try another name.
void ok_callback(Widget, XtPointer, XtPointer) {
    char path[4096];
    if (!file_named(path, sizeof path)) {
        say_not_saved("", "no file name");
        return;
    }
    char reason[512] = "";
    if (print::write_chart(settings_shown(), path, reason, sizeof reason) !=
        print::WriteOutcome::written) {
        say_not_saved(path, reason);
        return;
    }
    char text[1024];
    fill(text, sizeof text, texts->saved_text, path, "");
    set_label_text(save_line, text);
    XtUnmanageChild(dialog);
}

void cancel_callback(Widget, XtPointer, XtPointer) { XtUnmanageChild(dialog); }

// The current directory and a name after the chart, as the pictures are
// named: "chart-d65-srgb-fan.pdf".
void offer_a_name() {
    char directory[4000];
    if (!getcwd(directory, sizeof directory)) directory[0] = '\0';
    const colour::Illuminant *illuminant = colour::find_illuminant(shown->illuminant);
    char path[4096];
    std::snprintf(path, sizeof path, "%s/chart-%s%s%s.pdf", directory,
                  illuminant ? illuminant->short_name : "", shown->true_colours() ? "-srgb" : "",
                  shown->fan_shown ? "-fan" : "");
    XmString offered = XmStringCreateLocalized(path);
    XtVaSetValues(dialog, XmNdirSpec, offered, nullptr);
    XmStringFree(offered);
}

// Once the dialog shows, the name is selected, so that typing replaces it
// and Return takes it as it stands.
void map_callback(Widget, XtPointer, XtPointer) {
    Widget text = XmFileSelectionBoxGetChild(dialog, XmDIALOG_TEXT);
    const XmTextPosition end = XmTextFieldGetLastPosition(text);
    char path[4096];
    if (!file_named(path, sizeof path)) return;
    const char *slash = std::strrchr(path, '/');
    const XmTextPosition name = slash ? static_cast<XmTextPosition>(slash - path + 1) : 0;
    XmTextFieldSetSelection(text, name, end, XtLastTimestampProcessed(XtDisplay(text)));
    XmTextFieldSetInsertionPosition(text, end);
}

void make_dialog(Widget chart_form) {
    // Wide enough for a path in its fields; down only when a save is done
    // or given up.
    Arg args[2];
    XtSetArg(args[0], XmNwidth, 560);
    XtSetArg(args[1], XmNautoUnmanage, False);
    dialog = XmCreateFileSelectionDialog(chart_form, const_cast<String>(save_dialog_name), args, 2);
    XtVaSetValues(dialog, XmNresizePolicy, XmRESIZE_GROW, nullptr);
    XtUnmanageChild(XmFileSelectionBoxGetChild(dialog, XmDIALOG_HELP_BUTTON));
    XtAddCallback(dialog, XmNokCallback, ok_callback, nullptr);
    XtAddCallback(dialog, XmNcancelCallback, cancel_callback, nullptr);
    XtAddCallback(dialog, XmNmapCallback, map_callback, nullptr);
    XtVaSetValues(dialog, XmNinitialFocus, XmFileSelectionBoxGetChild(dialog, XmDIALOG_TEXT),
                  nullptr);
}

}  // namespace

// Widget resources read best one name-value pair a line.
// clang-format off
Widget build_save_line(Widget panel, Widget above, const chart::ChartView &view,
                       const Resources &resources) {
    shown = &view;
    texts = &resources;
    save_line = create_row(
        name_of(ChartWidget::save_line), xmLabelWidgetClass, panel, above,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left);
    fix_label_lines(save_line, 1);
    return save_line;
}
// clang-format on

void ask_where_to_save(Widget chart_form) {
    if (!dialog) make_dialog(chart_form);
    // Afresh each time: the files there now, and a name for the chart now.
    XmFileSelectionDoSearch(dialog, nullptr);
    offer_a_name();
    XtManageChild(dialog);
}

}  // namespace yarx::ui
