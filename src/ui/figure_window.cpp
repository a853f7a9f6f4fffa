#include "figure_window.h"

#include <X11/Xlib-xcb.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "figure/figure_image.h"
#include "figure/figure_panel.h"
#include "ui/save_dialog.h"
#include "ui/widget_chores.h"
#include "ui/window_names.h"

namespace yarx::ui {

namespace {

using figure::FigureScale;
using figure::OpticClass;
using figure::OpticSign;

constexpr int canvas_size = 401;
constexpr int mineral_count = static_cast<int>(std::size(figure::mineral_optics));

// What the window shows and what it is computed with, all in static
// storage: the settings, the colour tables, the optics the reading reads,
// the pixels and the same pixels in the server's format.
figure::Settings settings;
figure::Workspace workspace;
figure::Optics optics;
figure::Rgb8 pixels[canvas_size * canvas_size];
char image_data[canvas_size * canvas_size * 4];  // up to 32 bits a pixel
double accessory_plate_nm = 0;                   // what the plate toggle puts in

FigureResources texts;
MarkRetardation mark_chart = nullptr;

Widget figure_form, canvas, mineral_menu, custom_button, plate_toggle, reading_line;
Widget class_toggles[2];  // uniaxial, biaxial
Widget sign_toggles[2];   // positive, negative
Widget scales[figure::scale_count];
Widget mineral_buttons[mineral_count];  // by the optics table's rows; none for the isotropic

// The canvas's window, its one graphics context, the pixmap every
// exposure is copied from and the image put into it; made when the window
// first shows.  A channel of a true-colour visual: where its bits stand.
struct Channel {
    int shift, bits;
};
struct FigureCanvas {
    Display *display;
    Window window;
    GC gc;
    Pixmap pixmap;
    XImage *image;
    bool true_colour;
    Channel red, green, blue;
    bool made, drawn;
};
FigureCanvas screen{};

// Where the pointer read last, to read again there when the figure changes.
int pointer_x = -1, pointer_y = -1;
char reading_shown[256];

Channel channel_of(unsigned long mask) {
    Channel c{0, 0};
    if (!mask) return c;
    while (!(mask & 1)) {
        mask >>= 1;
        ++c.shift;
    }
    while (mask & 1) {
        mask >>= 1;
        ++c.bits;
    }
    return c;
}

unsigned long put_in(const Channel &c, unsigned char value) {
    const unsigned long v = c.bits >= 8 ? static_cast<unsigned long>(value) << (c.bits - 8)
                                        : static_cast<unsigned long>(value) >> (8 - c.bits);
    return v << c.shift;
}

// The figure needs a visual whose pixels are their colours: on any other,
// the reading line says so and nothing is drawn.
void make_canvas() {
    Display *display = XtDisplay(canvas);
    Screen *on = XtScreen(canvas);
    Visual *visual = DefaultVisualOfScreen(on);
    const int depth = DefaultDepthOfScreen(on);
    screen.display = display;
    screen.window = XtWindow(canvas);
    XGCValues values{};
    values.graphics_exposures = False;  // copies from the pixmap need no NoExpose
    screen.gc = XCreateGC(display, screen.window, GCGraphicsExposures, &values);
    screen.true_colour = visual->c_class == TrueColor || visual->c_class == DirectColor;
    if (screen.true_colour) {
        screen.red = channel_of(visual->red_mask);
        screen.green = channel_of(visual->green_mask);
        screen.blue = channel_of(visual->blue_mask);
        screen.pixmap = XCreatePixmap(display, screen.window, canvas_size, canvas_size,
                                      static_cast<unsigned int>(depth));
        screen.image = XCreateImage(display, visual, static_cast<unsigned int>(depth), ZPixmap, 0,
                                    image_data, canvas_size, canvas_size, 32, 0);
        screen.true_colour = screen.image != nullptr;
    }
    screen.made = true;
}

// The reading at canvas point (x, y), and the chart's mark at its
// retardation; shown only when it says something new.
void read_at(int x, int y) {
    pointer_x = x;
    pointer_y = y;
    if (!screen.drawn) return;
    const bool on_canvas = x >= 0 && x < canvas_size && y >= 0 && y < canvas_size;
    figure::Ray ray{};
    if (on_canvas) ray = figure::pixel_ray(optics, canvas_size, x, y);
    char text[sizeof reading_shown];
    figure::format_figure_reading(texts.reading_template, ray, text, sizeof text);
    if (std::strcmp(text, reading_shown) != 0) {
        std::memcpy(reading_shown, text, sizeof text);
        set_label_text(reading_line, text);
    }
    mark_chart(ray.inside ? ray.retardation_nm : -1);
}

// Computes the figure and sends it, one image into the pixmap, then copies
// the pixmap onto the canvas: nothing that waits for an answer.
void draw() {
    if (!screen.made) return;
    if (!screen.true_colour) {
        set_label_text(reading_line, texts.no_true_colour_text);
        return;
    }
    figure::prepare_tables(settings, workspace);
    figure::compute_figure(settings, workspace, pixels);
    optics = figure::optics_of(settings);
    for (int row = 0; row < canvas_size; ++row)
        for (int col = 0; col < canvas_size; ++col) {
            const figure::Rgb8 &p = pixels[row * canvas_size + col];
            XPutPixel(screen.image, col, row,
                      put_in(screen.red, p.red) | put_in(screen.green, p.green) |
                          put_in(screen.blue, p.blue));
        }
    // One request through XCB, where Xlib cuts an image into strips.
    const XImage &image = *screen.image;
    xcb_put_image(XGetXCBConnection(screen.display), XCB_IMAGE_FORMAT_Z_PIXMAP, screen.pixmap,
                  XGContextFromGC(screen.gc), canvas_size, canvas_size, 0, 0, 0,
                  static_cast<std::uint8_t>(image.depth),
                  static_cast<std::uint32_t>(image.bytes_per_line * canvas_size),
                  reinterpret_cast<const std::uint8_t *>(image.data));
    XCopyArea(screen.display, screen.pixmap, screen.window, screen.gc, 0, 0, canvas_size,
              canvas_size, 0, 0);
    screen.drawn = true;
    reading_shown[0] = '\0';
    if (pointer_x >= 0) read_at(pointer_x, pointer_y);
    XFlush(screen.display);
}

void name_the_figure() {
    char title[256];  // the shell keeps its own copy
    figure::write_figure_title(texts.title, settings, title, sizeof title);
    XtVaSetValues(XtParent(figure_form), XmNtitle, title, nullptr);
}

void set_pair(Widget (&pair)[2], bool first) {
    XmToggleButtonSetState(pair[0], first ? True : False, False);
    XmToggleButtonSetState(pair[1], first ? False : True, False);
}

// 2V means something for a biaxial crystal only.
void offer_optic_angle() {
    XtSetSensitive(scales[static_cast<int>(FigureScale::optic_angle)],
                   settings.optic_class == OpticClass::biaxial ? True : False);
}

// The controls as the settings stand, none calling back.
void show_settings() {
    const int row =
        settings.mineral ? static_cast<int>(settings.mineral - figure::mineral_optics) : -1;
    XtVaSetValues(mineral_menu, XmNmenuHistory, row >= 0 ? mineral_buttons[row] : custom_button,
                  nullptr);
    set_pair(class_toggles, settings.optic_class == OpticClass::uniaxial);
    set_pair(sign_toggles, settings.sign == OpticSign::positive);
    for (const figure::ScaleRange &range : figure::scale_ranges)
        XmScaleSetValue(scales[static_cast<int>(range.scale)],
                        figure::scale_position(range.scale, settings));
    offer_optic_angle();
}

void changed() {
    name_the_figure();
    draw();
    offer_name_for(settings);
}

// A control of the optics moved: the figure is no longer the mineral's.
void become_custom() {
    settings.mineral = nullptr;
    XtVaSetValues(mineral_menu, XmNmenuHistory, custom_button, nullptr);
}

int index_of(XtPointer client_data) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(client_data));
}
XtPointer as_client_data(int index) {
    return reinterpret_cast<XtPointer>(static_cast<std::intptr_t>(index));
}

void mineral_callback(Widget, XtPointer client_data, XtPointer) {
    if (!figure::take_mineral(figure::mineral_optics[index_of(client_data)], settings)) return;
    show_settings();
    changed();
}

void custom_callback(Widget, XtPointer, XtPointer) {
    settings.mineral = nullptr;
    changed();
}

// Only a toggle turned on changes the optics: its partner's turning off
// says nothing new.
bool turned_on(XtPointer call_data) {
    const auto *cbs = static_cast<XmToggleButtonCallbackStruct *>(call_data);
    return cbs && cbs->set == 1;
}

void class_callback(Widget, XtPointer client_data, XtPointer call_data) {
    if (!turned_on(call_data)) return;
    settings.optic_class = index_of(client_data) == 0 ? OpticClass::uniaxial : OpticClass::biaxial;
    offer_optic_angle();
    become_custom();
    changed();
}

void sign_callback(Widget, XtPointer client_data, XtPointer call_data) {
    if (!turned_on(call_data)) return;
    settings.sign = index_of(client_data) == 0 ? OpticSign::positive : OpticSign::negative;
    become_custom();
    changed();
}

// While the scale is dragged, and when it is let go.
void scale_callback(Widget, XtPointer client_data, XtPointer call_data) {
    const auto *cbs = static_cast<XmScaleCallbackStruct *>(call_data);
    if (!cbs) return;
    const auto scale = static_cast<FigureScale>(index_of(client_data));
    const double before = settings.*figure::range_of(scale).setting;
    figure::take_scale_position(scale, cbs->value, settings);
    if (settings.*figure::range_of(scale).setting == before) return;
    become_custom();
    changed();
}

void plate_callback(Widget, XtPointer, XtPointer call_data) {
    const auto *cbs = static_cast<XmToggleButtonCallbackStruct *>(call_data);
    settings.plate_nm = cbs && cbs->set ? accessory_plate_nm : 0;
    changed();
}

void close_window() { XtUnmanageChild(figure_form); }

void dismiss_callback(Widget, XtPointer, XtPointer) { close_window(); }

// The chart's mark goes with the pointer, and with the window.
void unmap_callback(Widget, XtPointer, XtPointer) {
    pointer_x = pointer_y = -1;
    mark_chart(-1);
}

// From the pixmap: no image sent again, nothing awaited.
void expose_callback(Widget, XtPointer, XtPointer call_data) {
    const auto *cbs = static_cast<XmDrawingAreaCallbackStruct *>(call_data);
    if (!cbs || !cbs->event || !screen.drawn) return;
    const XExposeEvent &e = cbs->event->xexpose;
    XCopyArea(screen.display, screen.pixmap, screen.window, screen.gc, e.x, e.y,
              static_cast<unsigned int>(e.width), static_cast<unsigned int>(e.height), e.x, e.y);
}

// Motion alone, without hints, as over the chart: no QueryPointer.
void pointer_callback(Widget, XtPointer, XEvent *event, Boolean *) {
    int x = 0, y = 0;
    if (pointer_now(*event, x, y)) {
        read_at(x, y);
    } else if (event->type == LeaveNotify) {
        pointer_x = pointer_y = -1;
        mark_chart(-1);
    }
}

// The first time, in the screen's bottom right corner, over the chart
// panel's empty foot and clear of the setup window and the chart's bands;
// later wherever the user left it; where the resources place it, if they
// do.  Moved as soon as it is laid out, which
// it is once managed; room is kept for a window manager's frame.
void move_to_the_corner() {
    constexpr int frame_room = 40;
    Widget shell = XtParent(figure_form);
    Screen *on = XtScreen(shell);
    Dimension width = 0, height = 0;
    XtVaGetValues(shell, XmNwidth, &width, XmNheight, &height, nullptr);
    const int x = std::max(0, WidthOfScreen(on) - width - frame_room);
    const int y = std::max(0, HeightOfScreen(on) - height - frame_room);
    XtVaSetValues(shell, XmNx, x, XmNy, y, nullptr);
}

void close_action(Widget, XEvent *, String *, Cardinal *) { close_window(); }

// The save dialog's OK and its question's Replace: the file takes the
// figure shown now.
void save_chosen_callback(Widget, XtPointer, XtPointer) { save_chosen(settings); }
void save_action(Widget, XEvent *, String *, Cardinal *) {
    ask_where_to_save(figure_form, settings, save_chosen_callback);
}

// The window's keys, wherever its keyboard focus is: Escape closes it,
// whichever control has the keyboard, as Dismiss does.
// clang-format off
constexpr KeyBinding figure_keys[] = {
    //  event                     action         what it does
    { "~Ctrl ~Mod1 <Key>Escape",  "figureClose", close_action },
    { "Ctrl ~Mod1 <Key>s",        "figureSave",  save_action },
};
// clang-format on

// Widget resources read best one name-value pair a line.
// clang-format off

Widget attach_row(Widget widget, Widget above) {
    XtVaSetValues(widget,
        XmNtopAttachment, above ? XmATTACH_WIDGET : XmATTACH_FORM,
        XmNtopWidget, above,
        XmNleftAttachment, XmATTACH_FORM,
        XmNrightAttachment, XmATTACH_FORM,
        nullptr);
    XtManageChild(widget);
    return widget;
}

// The table's anisotropic minerals and "Custom", in a pulldown menu of the
// option menu.
Widget build_mineral_menu(Widget panel) {
    Widget pulldown = XmCreatePulldownMenu(panel, const_cast<String>("figuremenu"), nullptr, 0);
    XtVaSetValues(pulldown, XmNpacking, XmPACK_COLUMN, XmNnumColumns, 3, nullptr);
    for (int row = 0; row < mineral_count; ++row) {
        const figure::MineralOptics &m = figure::mineral_optics[row];
        if (m.optic_class == OpticClass::isotropic) continue;
        mineral_buttons[row] =
            XtVaCreateManagedWidget(m.name, xmPushButtonWidgetClass, pulldown, nullptr);
        XtAddCallback(mineral_buttons[row], XmNactivateCallback, mineral_callback,
                      as_client_data(row));
    }
    custom_button = XtVaCreateManagedWidget("figurecustom", xmPushButtonWidgetClass, pulldown,
                                            nullptr);
    XtAddCallback(custom_button, XmNactivateCallback, custom_callback, nullptr);
    Arg args[1];
    XtSetArg(args[0], XmNsubMenuId, pulldown);
    mineral_menu = XmCreateOptionMenu(panel, const_cast<String>(name_of(FigureWidget::mineral)),
                                      args, 1);
    return attach_row(mineral_menu, nullptr);
}

Widget build_radio_pair(Widget panel, Widget above, FigureWidget box, FigureWidget first,
                        FigureWidget second, Widget (&pair)[2], XtCallbackProc callback) {
    Arg args[1];
    XtSetArg(args[0], XmNorientation, XmHORIZONTAL);
    Widget radio_box = XmCreateRadioBox(panel, const_cast<String>(name_of(box)), args, 1);
    int n = 0;
    for (FigureWidget toggle : {first, second}) {
        pair[n] = XtVaCreateManagedWidget(name_of(toggle), xmToggleButtonWidgetClass, radio_box,
                                          nullptr);
        XtAddCallback(pair[n], XmNvalueChangedCallback, callback, as_client_data(n));
        ++n;
    }
    return attach_row(radio_box, above);
}

Widget build_scales(Widget panel, Widget above) {
    constexpr FigureWidget names[] = {FigureWidget::birefringence, FigureWidget::optic_angle,
                                      FigureWidget::tilt, FigureWidget::azimuth};
    static_assert(std::size(names) == figure::scale_count);
    for (const figure::ScaleRange &range : figure::scale_ranges) {
        const int n = static_cast<int>(range.scale);
        scales[n] = create_row(name_of(names[n]), xmScaleWidgetClass, panel, above,
            XmNorientation, XmHORIZONTAL,
            XmNminimum, range.least,
            XmNmaximum, range.greatest,
            XmNdecimalPoints, range.decimals,
            XmNshowValue, True);
        XtAddCallback(scales[n], XmNdragCallback, scale_callback, as_client_data(n));
        XtAddCallback(scales[n], XmNvalueChangedCallback, scale_callback, as_client_data(n));
        above = scales[n];
    }
    return above;
}

// The canvas, and right of it the panel: the mineral, the class and sign,
// the scales, the plate, the reading and Dismiss, one under another.
void build_widgets() {
    canvas = XtVaCreateManagedWidget(
        name_of(FigureWidget::canvas), xmDrawingAreaWidgetClass, figure_form,
        XmNwidth, canvas_size,
        XmNheight, canvas_size,
        XmNmarginWidth, 0,
        XmNmarginHeight, 0,
        XmNresizePolicy, XmRESIZE_NONE,
        XmNtopAttachment, XmATTACH_FORM,
        XmNleftAttachment, XmATTACH_FORM,
        nullptr);
    XtAddCallback(canvas, XmNexposeCallback, expose_callback, nullptr);
    XtAddEventHandler(canvas, PointerMotionMask | EnterWindowMask | LeaveWindowMask, False,
                      pointer_callback, nullptr);

    Widget panel = XtVaCreateManagedWidget(
        name_of(FigureWidget::panel), xmFormWidgetClass, figure_form,
        XmNtopAttachment, XmATTACH_FORM,
        XmNleftAttachment, XmATTACH_WIDGET,
        XmNleftWidget, canvas,
        XmNrightAttachment, XmATTACH_FORM,
        XmNbottomAttachment, XmATTACH_FORM,
        nullptr);
    Widget menu = build_mineral_menu(panel);
    Widget classes = build_radio_pair(panel, menu, FigureWidget::optic_class,
                                      FigureWidget::uniaxial, FigureWidget::biaxial,
                                      class_toggles, class_callback);
    Widget signs = build_radio_pair(panel, classes, FigureWidget::sign, FigureWidget::positive,
                                    FigureWidget::negative, sign_toggles, sign_callback);
    Widget last_scale = build_scales(panel, signs);
    plate_toggle = create_row(name_of(FigureWidget::plate), xmToggleButtonWidgetClass, panel,
        last_scale,
        XmNalignment, XmALIGNMENT_BEGINNING);
    XtAddCallback(plate_toggle, XmNvalueChangedCallback, plate_callback, nullptr);
    reading_line = create_row(name_of(FigureWidget::reading), xmLabelWidgetClass, panel,
        plate_toggle,
        XmNalignment, XmALIGNMENT_BEGINNING);
    fix_label_lines(reading_line, std::max(lines_in(texts.reading_template),
                                           lines_in(texts.no_true_colour_text)));
    Widget saved = create_row(name_of(FigureWidget::saved), xmLabelWidgetClass, panel,
        reading_line,
        XmNalignment, XmALIGNMENT_BEGINNING);
    fix_label_lines(saved, 2);
    saves_figure_on(saved, texts.replace_text);
    Widget dismiss = create_row(name_of(FigureWidget::dismiss), xmPushButtonWidgetClass, panel,
        saved);
    XtAddCallback(dismiss, XmNactivateCallback, dismiss_callback, nullptr);
    XtVaSetValues(figure_form,
        XmNdefaultButton, dismiss,
        XmNcancelButton, dismiss,
        nullptr);
}
// clang-format on

}  // namespace

void build_figure_window(Widget toplevel, MarkRetardation mark) {
    mark_chart = mark;
    figure_form = XmCreateFormDialog(toplevel, const_cast<String>(figure_dialog_name), nullptr, 0);
    texts = read_figure_resources(toplevel, figure_form);
    settings.size = canvas_size;
    settings.numerical_aperture = texts.numerical_aperture;
    figure::take_mineral(*figure::mineral_named(texts.first_mineral), settings);
    build_widgets();
    show_settings();
    bind_keys(figure_form, figure_keys, static_cast<int>(std::size(figure_keys)));
    XtAddCallback(figure_form, XmNunmapCallback, unmap_callback, nullptr);
}

void show_figure(const FigureRequest &request) {
    settings.illuminant = request.illuminant;
    settings.rendering = request.rendering;
    settings.thickness_um = request.thickness_um;
    accessory_plate_nm = request.plate_nm;
    settings.plate_nm = XmToggleButtonGetState(plate_toggle) ? accessory_plate_nm : 0;
    if (request.mineral) figure::take_mineral(*request.mineral, settings);
    show_settings();
    name_the_figure();
    if (XtIsManaged(figure_form))
        XRaiseWindow(XtDisplay(figure_form), XtWindow(XtParent(figure_form)));
    else if (screen.made)
        XtManageChild(figure_form);
    if (!screen.made) {
        XtVaSetValues(figure_form, XmNdefaultPosition, False, nullptr);
        XtManageChild(figure_form);
        if (!texts.position_given) move_to_the_corner();
        make_canvas();
    }
    draw();
}

void figure_follows_chart(int illuminant, colour::Rendering rendering) {
    settings.illuminant = illuminant;
    settings.rendering = rendering;
    if (XtIsManaged(figure_form)) draw();
}

}  // namespace yarx::ui
