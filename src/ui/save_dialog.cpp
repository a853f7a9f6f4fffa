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
#include "figure/mineral_optics.h"
#include "print/chart_file.h"
#include "print/figure_page.h"
#include "ui/widget_chores.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

// A window's saves: its save line, its dialog and the boxes over it, made
// the first time, and where the user stands with them.  The chart window
// and the figure window each have one.
struct Saver {
    const char *extension;  // what a name without one gets, as offered
    const char *replace_text;
    Widget line = nullptr;
    Widget dialog = nullptr;
    Widget error_box = nullptr;  // over the dialog, when a save fails
    Widget question = nullptr;   // over the dialog, when the file is there already
    // Whether the user has made the file name their own, by typing or by
    // choosing a file in the list: a new chart then leaves it as it is.
    // The program's own changes to it are not the user's.
    bool name_edited = false;
    bool offering = false;
    // Whether the user has said Replace to the question for the name chosen.
    bool replace_agreed = false;
    // The owner's callback, for the dialog's OK and the question's Replace.
    XtCallbackProc owners_callback = nullptr;
};
Saver chart_saver{print::extension_of(print::Format::pdf), nullptr};
Saver figure_saver{print::extension_of(print::Format::png), nullptr};
// In whose words a save says what it did.
const Resources *texts = nullptr;

XtPointer as_client_data(Saver &saver) { return &saver; }
Saver &saver_of(XtPointer client_data) { return *static_cast<Saver *>(client_data); }

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
Widget message_box(const Saver &saver, Widget &box,
                   Widget (*create)(Widget, String, ArgList, Cardinal), const char *name,
                   std::initializer_list<unsigned char> buttons_not_shown) {
    if (!box) {
        box = create(saver.dialog, const_cast<String>(name), nullptr, 0);
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
void say_not_saved(Saver &saver, const char *file, const char *reason) {
    char text[1024];
    fill(text, sizeof text, texts->failed_text, file, reason);
    set_wrapped_text(saver.line, text);
    show_message(message_box(saver, saver.error_box, XmCreateErrorDialog, save_error_name,
                             {XmDIALOG_CANCEL_BUTTON, XmDIALOG_HELP_BUTTON}),
                 text);
}

void replace_callback(Widget, XtPointer client_data, XtPointer) {
    saver_of(client_data).replace_agreed = true;
}

// Asks whether to replace the file, Cancel the default: Return and Escape
// keep the file as it is.  Replace, and then the owner's callback, save.
void ask_before_replacing(Saver &saver, const char *path) {
    if (!saver.question) {
        message_box(saver, saver.question, XmCreateQuestionDialog, save_question_name,
                    {XmDIALOG_HELP_BUTTON});
        XtVaSetValues(saver.question, XmNdialogStyle, XmDIALOG_PRIMARY_APPLICATION_MODAL,
                      XmNdefaultButtonType, XmDIALOG_CANCEL_BUTTON, nullptr);
        XtAddCallback(saver.question, XmNokCallback, replace_callback, as_client_data(saver));
        XtAddCallback(saver.question, XmNokCallback, saver.owners_callback, nullptr);
    }
    char text[1024];
    fill(text, sizeof text, saver.replace_text, path, "");
    show_message(saver.question, text);
}

// The file name as the dialog's text field holds it, copied out without
// the toolkit allocating a copy for us.
bool file_named(const Saver &saver, char *path, std::size_t size) {
    Widget text = XmFileSelectionBoxGetChild(saver.dialog, XmDIALOG_TEXT);
    const XmTextPosition length = XmTextFieldGetLastPosition(text);
    if (length <= 0 || static_cast<std::size_t>(length) >= size) return false;
    return XmTextFieldGetSubstring(text, 0, static_cast<int>(length), static_cast<int>(size),
                                   path) == XmCOPY_SUCCEEDED;
}

// The file the dialog names, with the saver's extension when its name has
// none, as the name offered has; false when it names no file.
bool file_chosen(const Saver &saver, char *path, std::size_t size) {
    if (!file_named(saver, path, size)) return false;
    const char *slash = std::strrchr(path, '/');
    const char *name = slash ? slash + 1 : path;
    if (*name == '\0') return false;
    if (std::strchr(name + 1, '.')) return true;
    const std::size_t length = std::strlen(path), extension = std::strlen(saver.extension);
    if (length + extension + 1 > size) return false;
    std::memcpy(path + length, saver.extension, extension + 1);
    return true;
}

void cancel_callback(Widget, XtPointer client_data, XtPointer) {
    XtUnmanageChild(saver_of(client_data).dialog);
}

void value_changed_callback(Widget, XtPointer client_data, XtPointer) {
    Saver &saver = saver_of(client_data);
    if (!saver.offering) saver.name_edited = true;
}

// Selects the name without its directory, so that typing replaces it and
// Return takes it as it stands.
void select_the_name(const Saver &saver) {
    Widget text = XmFileSelectionBoxGetChild(saver.dialog, XmDIALOG_TEXT);
    const XmTextPosition end = XmTextFieldGetLastPosition(text);
    char path[4096];
    if (!file_named(saver, path, sizeof path)) return;
    const char *slash = std::strrchr(path, '/');
    const XmTextPosition name = slash ? static_cast<XmTextPosition>(slash - path + 1) : 0;
    XmTextFieldSetSelection(text, name, end, XtLastTimestampProcessed(XtDisplay(text)));
    XmTextFieldSetInsertionPosition(text, end);
}

// Offers the name in the current directory.
void offer(Saver &saver, const char *name) {
    char directory[4000];
    if (!getcwd(directory, sizeof directory)) directory[0] = '\0';
    char path[4096];
    std::snprintf(path, sizeof path, "%s/%s", directory, name);
    XmString offered = XmStringCreateLocalized(path);
    saver.offering = true;
    XtVaSetValues(saver.dialog, XmNdirSpec, offered, nullptr);
    saver.offering = false;
    XmStringFree(offered);
    saver.name_edited = false;
}

// A name after the chart, as the pictures are named:
// "chart-d65-srgb-fan.pdf", and with the section's thickness where the fan
// dashes one other than the usual, "chart-d65-fan-25um.pdf".
void offer_a_name(const chart::ChartView &shown) {
    const colour::Illuminant *illuminant = colour::find_illuminant(shown.illuminant);
    char thickness[32] = "";
    if (shown.fan_shown && shown.thickness_um != chart::default_thickness_um)
        std::snprintf(thickness, sizeof thickness, "-%gum", shown.thickness_um);
    char name[128];
    std::snprintf(name, sizeof name, "chart-%s%s%s%s%s", illuminant ? illuminant->short_name : "",
                  shown.true_colours() ? "-srgb" : "", shown.fan_shown ? "-fan" : "", thickness,
                  chart_saver.extension);
    offer(chart_saver, name);
}

// A figure's after its mineral, or its class and sign, and the lamp:
// "figure-quartz-d68-plate.png", "figure-biaxial-negative-d65-srgb.png".
void offer_a_name(const figure::Settings &shown) {
    const colour::Illuminant *illuminant = colour::find_illuminant(shown.illuminant);
    char crystal[64];
    if (shown.mineral)
        std::snprintf(crystal, sizeof crystal, "%s", shown.mineral->name);
    else
        std::snprintf(crystal, sizeof crystal, "%s-%s", figure::word_for(shown.optic_class),
                      figure::word_for(shown.sign));
    char name[128];
    std::snprintf(name, sizeof name, "figure-%s-%s%s%s%s", crystal,
                  illuminant ? illuminant->short_name : "",
                  shown.rendering == colour::Rendering::true_colours ? "-srgb" : "",
                  shown.plate_nm > 0 ? "-plate" : "", figure_saver.extension);
    offer(figure_saver, name);
}

void map_callback(Widget, XtPointer client_data, XtPointer) {
    select_the_name(saver_of(client_data));
}

void make_dialog(Saver &saver, Widget owner_form) {
    // Wide enough for a path in its fields; down only when a save is done
    // or given up.
    Arg args[2];
    XtSetArg(args[0], XmNwidth, 560);
    XtSetArg(args[1], XmNautoUnmanage, False);
    saver.dialog =
        XmCreateFileSelectionDialog(owner_form, const_cast<String>(save_dialog_name), args, 2);
    Widget dialog = saver.dialog;
    XtVaSetValues(dialog, XmNresizePolicy, XmRESIZE_GROW, nullptr);
    XtUnmanageChild(XmFileSelectionBoxGetChild(dialog, XmDIALOG_HELP_BUTTON));
    XtAddCallback(dialog, XmNokCallback, saver.owners_callback, nullptr);
    XtAddCallback(dialog, XmNcancelCallback, cancel_callback, as_client_data(saver));
    XtAddCallback(dialog, XmNmapCallback, map_callback, as_client_data(saver));
    Widget text = XmFileSelectionBoxGetChild(dialog, XmDIALOG_TEXT);
    XtAddCallback(text, XmNvalueChangedCallback, value_changed_callback, as_client_data(saver));
    XtVaSetValues(dialog, XmNinitialFocus, text, nullptr);
}

// Opens the saver's dialog, made the first time.  Afresh each time it
// opens: the files there now, and a name for what is shown now.  Up
// already, it keeps a name the user has made theirs.
template <typename Shown>
void ask(Saver &saver, Widget owner_form, const Shown &shown, XtCallbackProc chosen_callback) {
    saver.owners_callback = chosen_callback;
    if (!saver.dialog) make_dialog(saver, owner_form);
    if (!XtIsManaged(saver.dialog) || !saver.name_edited) {
        saver.offering = true;
        XmFileSelectionDoSearch(saver.dialog, nullptr);
        saver.offering = false;
        offer_a_name(shown);
        if (XtIsManaged(saver.dialog)) select_the_name(saver);
    }
    XtManageChild(saver.dialog);
}

// What is shown now: the name offered follows it while the dialog is up
// and the user has not made the name their own.
template <typename Shown>
void follow(Saver &saver, const Shown &shown) {
    if (!saver.dialog || !XtIsManaged(saver.dialog) || saver.name_edited) return;
    offer_a_name(shown);
    select_the_name(saver);
}

// Writes the file chosen through write(path, reason, size), or asks first
// when a file is there already and the user has not yet said Replace.  A
// save that fails says why on the save line and leaves the dialog up, to
// try another name.
template <typename Write>
void save(Saver &saver, Write write) {
    char path[4096];
    if (!file_chosen(saver, path, sizeof path)) {
        say_not_saved(saver, "", "no file name");
        return;
    }
    struct stat there;
    if (!saver.replace_agreed && lstat(path, &there) == 0) {
        ask_before_replacing(saver, path);
        return;
    }
    saver.replace_agreed = false;
    char reason[512] = "";
    if (!write(path, reason, sizeof reason)) {
        say_not_saved(saver, path, reason);
        return;
    }
    char text[1024];
    fill(text, sizeof text, texts->saved_text, path, "");
    set_wrapped_text(saver.line, text);
    XtUnmanageChild(saver.dialog);
}

}  // namespace

// Widget resources read best one name-value pair a line.
// clang-format off
Widget build_save_line(Widget panel, Widget above, const Resources &resources) {
    texts = &resources;
    chart_saver.replace_text = resources.replace_text;
    chart_saver.line = create_row(
        name_of(ChartWidget::save_line), xmLabelWidgetClass, panel, above,
        XmNalignment, XmALIGNMENT_BEGINNING,
        XmNmarginLeft, chart::band_left);
    fix_label_lines(chart_saver.line, 2);
    return chart_saver.line;
}
// clang-format on

void show_save_hint() { set_wrapped_text(chart_saver.line, texts->save_hint); }

void ask_where_to_save(Widget chart_form, const chart::ChartView &view,
                       XtCallbackProc chosen_callback) {
    ask(chart_saver, chart_form, view, chosen_callback);
}

void offer_name_for(const chart::ChartView &view) { follow(chart_saver, view); }

void save_chosen(const chart::ChartView &view) {
    save(chart_saver, [&view](const char *path, char *reason, std::size_t size) {
        return print::write_chart(settings_shown(view), path, reason, size) ==
               print::WriteOutcome::written;
    });
}

void saves_figure_on(Widget line, const char *replace_text) {
    figure_saver.line = line;
    figure_saver.replace_text = replace_text;
}

void ask_where_to_save(Widget figure_form, const figure::Settings &settings,
                       XtCallbackProc chosen_callback) {
    ask(figure_saver, figure_form, settings, chosen_callback);
}

void offer_name_for(const figure::Settings &settings) { follow(figure_saver, settings); }

void save_chosen(const figure::Settings &settings) {
    save(figure_saver, [&settings](const char *path, char *reason, std::size_t size) {
        return print::write_figure_file(settings, path, reason, size) ==
               print::WriteOutcome::written;
    });
}

}  // namespace yarx::ui
