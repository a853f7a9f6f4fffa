// The names of the program's two windows and of their widgets, in the order
// the windows' builders create them.  Window managers group the windows by
// the shells' names; users' resources, users' scripts and the tests address
// the widgets by theirs: keep them.  The X driver finds a widget's window
// by its place in this order, since X keeps a window's children in the order
// they were made.  No X here, so that the X driver and the tools read them
// too.
#pragma once

#include <cstddef>
#include <iterator>

namespace yarx::ui {

// The program's class.
inline constexpr char program_class[] = "yarx";

// The setup window's shell, the top-level one: Xt names it after the file
// the program runs as (or -name).
inline constexpr char setup_shell_name[] = "yarx";

// The chart window is a form dialog; Motif names a dialog's shell after the
// dialog, with "_popup" added.  So are the file selection dialog that saves
// the chart and the message and the question over it.
inline constexpr char chart_dialog_name[] = "yarx";
inline constexpr char chart_shell_name[] = "yarx_popup";
inline constexpr char save_dialog_name[] = "canvassavebox";
inline constexpr char save_shell_name[] = "canvassavebox_popup";
inline constexpr char save_error_name[] = "canvassaveerror";
inline constexpr char save_error_shell_name[] = "canvassaveerror_popup";
// The figure window is a form dialog of its own.
inline constexpr char figure_dialog_name[] = "figure";
inline constexpr char figure_shell_name[] = "figure_popup";
inline constexpr char save_question_name[] = "canvassaveask";
inline constexpr char save_question_shell_name[] = "canvassaveask_popup";

// A widget: its name, and the widget it is a child of.
template <typename Id>
struct WidgetName {
    const char *name;
    Id parent;
};

// ---------------------------------------------------------------- setup window

enum class SetupWidget {
    form,
    title,
    notice1,
    notice2,
    frame,
    frame_title,
    radio_box,  // the illuminant toggles, in the catalogue's order
    true_colours,
    fan,
    prompt,
    separator,
    ok,
    exit
};

// An odd name for a form, but users' resources and scripts know the setup
// window's widgets under it.
// clang-format off
inline constexpr WidgetName<SetupWidget> setup_widgets[] = {
    { "YARX Version " YARX_VERSION, SetupWidget::form },
    { "labelC1",          SetupWidget::form },
    { "labelC2",          SetupWidget::form },
    { "labelC3",          SetupWidget::form },
    { "srcframe",         SetupWidget::form },
    { "srctitle",         SetupWidget::frame },
    { "srcraw",           SetupWidget::frame },
    { "setupsrgb",        SetupWidget::form },
    { "setupfan",         SetupWidget::form },
    { "labelend",         SetupWidget::form },
    { "setupsep",         SetupWidget::form },
    { "setupok",          SetupWidget::form },
    { "setupexit",        SetupWidget::form },
};
// clang-format on

// ---------------------------------------------------------------- chart window

enum class ChartWidget {
    form,
    dismiss,
    pick,
    save,
    figure,
    separator,
    scroller,
    clip,
    vertical_scroll_bar,
    canvas,
    panel,
    reading,
    plate,
    added_swatch,
    subtracted_swatch,
    plate_reading,
    pick_line,
    swatch,
    save_line
};

// The buttons in a row along the top, then the separator; under it the
// canvas in its scrolled window and, right of it, the panel of the lines
// that read the chart.  The scrolled window makes its clip window, which
// holds the canvas, and its scroll bars itself.  "canvasdismis" is one "s"
// short, but users' resources and scripts address it so.
// clang-format off
inline constexpr WidgetName<ChartWidget> chart_widgets[] = {
    { chart_dialog_name,          ChartWidget::form },
    { "canvasdismis",             ChartWidget::form },
    { "canvaspick",               ChartWidget::form },
    { "canvassave",               ChartWidget::form },
    { "canvasfigure",             ChartWidget::form },
    { "canvassep",                ChartWidget::form },
    { "canvasscroll",             ChartWidget::form },
    { "ClipWindow",               ChartWidget::scroller },
    { "VertScrollBar",            ChartWidget::scroller },
    { "canvas",                   ChartWidget::clip },
    { "canvaspanel",              ChartWidget::form },
    { "canvasread",               ChartWidget::panel },
    { "canvasplate",              ChartWidget::panel },
    { "canvasadded",              ChartWidget::plate },
    { "canvassubtracted",         ChartWidget::plate },
    { "canvasplateread",          ChartWidget::plate },
    { "canvaspicked",             ChartWidget::panel },
    { "canvasswatch",             ChartWidget::panel },
    { "canvassaved",              ChartWidget::panel },
};
// clang-format on

// ---------------------------------------------------------------- figure window

enum class FigureWidget {
    form,
    canvas,
    panel,
    mineral,
    optic_class,
    uniaxial,
    biaxial,
    sign,
    positive,
    negative,
    birefringence,
    birefringence_bar,
    optic_angle,
    optic_angle_bar,
    tilt,
    tilt_bar,
    azimuth,
    azimuth_bar,
    plate,
    reading,
    saved,
    dismiss
};

// The canvas, and right of it the panel of the controls and the reading.
// The option menu's label and button are gadgets, without windows of their
// own; each scale makes its scroll bar, the one window under it.
// clang-format off
inline constexpr WidgetName<FigureWidget> figure_widgets[] = {
    { figure_dialog_name,    FigureWidget::form },
    { "figurecanvas",        FigureWidget::form },
    { "figurepanel",         FigureWidget::form },
    { "figuremineral",       FigureWidget::panel },
    { "figureclass",         FigureWidget::panel },
    { "figureuniaxial",      FigureWidget::optic_class },
    { "figurebiaxial",       FigureWidget::optic_class },
    { "figuresign",          FigureWidget::panel },
    { "figurepositive",      FigureWidget::sign },
    { "figurenegative",      FigureWidget::sign },
    { "figurebirefringence", FigureWidget::panel },
    { "Scrollbar",           FigureWidget::birefringence },
    { "figure2v",            FigureWidget::panel },
    { "Scrollbar",           FigureWidget::optic_angle },
    { "figuretilt",          FigureWidget::panel },
    { "Scrollbar",           FigureWidget::tilt },
    { "figureazimuth",       FigureWidget::panel },
    { "Scrollbar",           FigureWidget::azimuth },
    { "figureplate",         FigureWidget::panel },
    { "figureread",          FigureWidget::panel },
    { "figuresaved",         FigureWidget::panel },
    { "figuredismiss",       FigureWidget::panel },
};
// clang-format on

// ---------------------------------------------------------------- by name and by place

template <typename Id, std::size_t N>
constexpr const WidgetName<Id> &entry(const WidgetName<Id> (&table)[N], Id widget) {
    return table[static_cast<std::size_t>(widget)];
}
constexpr const char *name_of(SetupWidget widget) { return entry(setup_widgets, widget).name; }
constexpr const char *name_of(ChartWidget widget) { return entry(chart_widgets, widget).name; }
constexpr const char *name_of(FigureWidget widget) { return entry(figure_widgets, widget).name; }

// The most widgets between a shell and any of its widgets.
constexpr int max_depth = 6;

// Where a widget's window stands under its shell's: the index among its
// siblings at each level, from the shell's one child, the form, down.
struct WidgetPath {
    int index[max_depth];
    int length;
};

template <typename Id, std::size_t N>
constexpr WidgetPath path_in(const WidgetName<Id> (&table)[N], Id widget) {
    const auto at = static_cast<std::size_t>(widget);
    if (at == 0) return {{0}, 1};
    WidgetPath path = path_in(table, table[at].parent);
    int index = 0;
    for (std::size_t i = 1; i < at; ++i) index += table[i].parent == table[at].parent;
    path.index[path.length++] = index;
    return path;
}
constexpr WidgetPath path_of(SetupWidget widget) { return path_in(setup_widgets, widget); }
constexpr WidgetPath path_of(ChartWidget widget) { return path_in(chart_widgets, widget); }
constexpr WidgetPath path_of(FigureWidget widget) { return path_in(figure_widgets, widget); }

// The tables hold every widget of their enumerations, in their order.
static_assert(std::size(setup_widgets) == static_cast<std::size_t>(SetupWidget::exit) + 1);
static_assert(std::size(chart_widgets) == static_cast<std::size_t>(ChartWidget::save_line) + 1);
static_assert(std::size(figure_widgets) == static_cast<std::size_t>(FigureWidget::dismiss) + 1);
static_assert(path_of(SetupWidget::ok).length == 2 && path_of(SetupWidget::ok).index[1] == 8);
static_assert(path_of(ChartWidget::canvas).length == 4 &&
              path_of(ChartWidget::canvas).index[3] == 0);
static_assert(path_of(ChartWidget::vertical_scroll_bar).index[2] == 1);

}  // namespace yarx::ui
