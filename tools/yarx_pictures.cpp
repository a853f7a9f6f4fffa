// yarx_pictures: runs yarx on a private X server under a window manager,
// picks every illuminant in turn, presses OK, and saves what it shows:
//
//   setup.png           the setup window as it comes up
//   chart-<name>.png    the chart (the 570 x 1100 canvas) under each illuminant
//   chart-<name>-srgb.png
//                       the same in true colours
//   chart-d65-srgb-fan.png
//                       the D65 chart in true colours with the birefringence fan
//   overview.png        the eleven charts side by side, at half size, labelled,
//                       the chart's own colours above the true colours
//   reading.png         the reading line and the plate's line, with their
//                       swatches, in the panel beside the chart, for the
//                       pointer on 270 nm of the D65 chart in true colours
//   icon-16.png ... icon-256.png
//                       the program's icon, cut from the D65 chart, at each
//                       size the package installs
//   window_icon_runs.inc
//                       the small ones as the program compiles them in
//   chart-landscape-minerals.png
//                       the printed chart with the minerals' lines, as
//                       yarx-chart writes it (no X server needed for it)
//   figure-zircon-plate.png, figure-muscovite.png
//                       interference figures, as yarx-chart --figure writes
//                       them
//
// Usage: yarx_pictures DIRECTORY [yarx options...]
// The last line of its output names the directory.

#include <X11/Xlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "chart/chart_geometry.h"
#include "chart/fan_geometry.h"
#include "chart/notice_image.h"
#include "chart/reading.h"
#include "colour/chart_colours.h"
#include "pictures.h"
#include "xdriver/driver.h"
#include "xdriver/yarx_windows.h"

namespace {

using namespace yarx::xdriver;
using namespace yarx::pictures;

// The illuminants in their order on screen: each one's toggle, label and
// file stem (chart-<short name>.png) come from the catalogue.
using yarx::colour::Illuminant;
using yarx::colour::illuminants;

namespace chart = yarx::chart;

using chart::probe_x;

// What the canvas must show, as this server allocates the colours: the bands
// are the colour module's, the grid black, the marks and the notice white.
struct ExpectedChart {
    std::array<unsigned long, yarx::colour::chart_rows> bands;
    unsigned long black, white;
};

ExpectedChart expected_chart(Display *display, int illuminant, yarx::colour::Rendering rendering) {
    namespace colour = yarx::colour;
    static colour::ChartColours chart;
    colour::compute_chart(illuminant, rendering, chart);
    ExpectedChart expected{};
    for (int row = 0; row < colour::chart_rows; ++row) {
        const colour::Rgb &rgb = chart.colours[row];
        expected.bands[row] =
            allocated_pixel(display, colour::colour_value(rgb.red), colour::colour_value(rgb.green),
                            colour::colour_value(rgb.blue));
    }
    const unsigned short full = colour::full_intensity;
    expected.black = allocated_pixel(display, 0, 0, 0);
    expected.white = allocated_pixel(display, full, full, full);
    return expected;
}

// Whether the image is the whole chart, drawn to the end.  The program draws
// the bands, the grid, the order marks, the frame and the notice, in that
// order, and redraws all of it on exposure; only a finished drawing has new
// bands, every grid line and the notice's last cell.  Under the fan's
// lines, which come after, anything goes.
bool shows_chart(const Image &image, const ExpectedChart &expected, bool fan) {
    if (!image.valid() || image.width() != chart::canvas_width ||
        image.height() != chart::canvas_height)
        return false;
    for (int row = 0; row <= chart::last_row; ++row) {
        const unsigned long want = chart::is_grid_row(row) ? expected.black : expected.bands[row];
        const int y = chart::band_top + row;
        if (!(fan && chart::near_fan_line(probe_x, y, chart::default_thickness_um)) &&
            image.pixel(probe_x, y) != want)
            return false;
    }
    for (int k = 1; k <= chart::order_marks; ++k)
        if (image.pixel((chart::order_mark_left + chart::order_mark_right) / 2,
                        chart::order_mark_y(k)) != expected.white)
            return false;
    if (image.pixel(probe_x, chart::frame_y) != expected.white) return false;
    for (int r = chart::notice_rows - 1; r >= 0; --r)
        for (int c = chart::notice_columns - 1; c >= 0; --c)
            if (chart::notice_image[r][c]) {
                const chart::Box cell = chart::notice_cell(r, c);
                return (fan &&
                        chart::near_fan_line(cell.left, cell.top, chart::default_thickness_um)) ||
                       image.pixel(cell.left, cell.top) == expected.white;
            }
    return true;
}

// Waits until the window's pixels have stayed the same for a while: the
// toolkit has drawn everything it is going to.
bool wait_until_steady(Display *display, Window window) {
    std::vector<unsigned char> last;
    int unchanged = 0;
    return wait_until([&] {
        const Image image(display, window);
        if (!image.valid()) return false;
        std::vector<unsigned char> now = rgb_bytes(image);
        if (now == last) return ++unchanged >= 10;
        unchanged = 0;
        last = std::move(now);
        return false;
    });
}

// Clicks a button or toggle, releasing only once it shows itself pressed:
// under the window manager a release sent straight after the press can go
// astray, and the widget then never sees the click.
bool click_and_see(Display *display, Window widget) {
    const std::vector<unsigned char> before = rgb_bytes(Image(display, widget));
    press(display, widget);
    const bool pressed = wait_until([&] { return rgb_bytes(Image(display, widget)) != before; });
    release(display);
    return pressed;
}

// A picture in memory, 8-bit RGB.
struct Picture {
    int width, height;
    std::vector<unsigned char> rgb;

    Picture(int w, int h, unsigned char grey)
        : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, grey) {}

    unsigned char *at(int x, int y) { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }

    // Copies the image in at (left, top), averaging each 2 x 2 block into
    // one pixel when halving.
    void paste(const std::vector<unsigned char> &src, int src_width, int src_height, int left,
               int top, bool halve) {
        const int step = halve ? 2 : 1;
        for (int y = 0; y + step <= src_height; y += step)
            for (int x = 0; x + step <= src_width; x += step)
                for (int k = 0; k < 3; ++k) {
                    int sum = 0;
                    for (int dy = 0; dy < step; ++dy)
                        for (int dx = 0; dx < step; ++dx)
                            sum += src[(static_cast<size_t>(y + dy) * src_width + x + dx) * 3 + k];
                    at(left + x / step, top + y / step)[k] =
                        static_cast<unsigned char>(sum / (step * step));
                }
    }
};

// The icon is the top left corner of the D65 chart: the bands from 0 to 1000 nm
// (the first two orders) over three grid columns, clear of the frame and the
// notice image, squeezed into a square.
constexpr int icon_left = chart::band_left + 1, icon_top = chart::band_top;
constexpr int icon_width = 300, icon_height = 400;

// The corner scaled down to size x size, each pixel the mean of the area of
// the chart it covers.
std::vector<unsigned char> icon(const std::vector<unsigned char> &chart, int size) {
    const double scale_x = static_cast<double>(icon_width) / size;
    const double scale_y = static_cast<double>(icon_height) / size;
    // How much of source pixel s falls in [low, high).
    auto overlap = [](int s, double low, double high) {
        return std::max(0.0, std::min(s + 1.0, high) - std::max<double>(s, low));
    };
    std::vector<unsigned char> rgb(static_cast<size_t>(size) * size * 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double low_y = y * scale_y, high_y = low_y + scale_y;
            const double low_x = x * scale_x, high_x = low_x + scale_x;
            double sum[3] = {0, 0, 0};
            for (int sy = static_cast<int>(low_y); sy < std::ceil(high_y) && sy < icon_height; ++sy)
                for (int sx = static_cast<int>(low_x); sx < std::ceil(high_x) && sx < icon_width;
                     ++sx) {
                    const double weight = overlap(sy, low_y, high_y) * overlap(sx, low_x, high_x);
                    const size_t at = (static_cast<size_t>(icon_top + sy) * chart::canvas_width +
                                       icon_left + sx) *
                                      3;
                    for (int k = 0; k < 3; ++k) sum[k] += weight * chart[at + k];
                }
            for (int k = 0; k < 3; ++k)
                rgb[(static_cast<size_t>(y) * size + x) * 3 + k] =
                    static_cast<unsigned char>(std::lround(sum[k] / (scale_x * scale_y)));
        }
    return rgb;
}

// The icons as the program compiles them in for its windows: runs of one
// colour, row after row (src/chart/window_icon_runs.inc), and a table of
// them by size.
std::string icon_runs_source(const std::vector<std::vector<unsigned char>> &icons) {
    std::string source =
        "// The program's icon at each size it compiles in, as runs of one colour\n"
        "// row after row: written by yarx_pictures with data/yarx-<size>.png.\n"
        "// clang-format off\n";
    std::string table = "constexpr WindowIcon window_icons[] = {\n";
    for (size_t i = 0; i < icons.size(); ++i) {
        const std::string name = "icon_" + std::to_string(chart::window_icon_sizes[i]);
        source += "constexpr IconRun " + name + "[] = {\n   ";
        table += "    {" + std::to_string(chart::window_icon_sizes[i]) + ", " + name +
                 ", static_cast<int>(std::size(" + name + "))},\n";
        const std::vector<unsigned char> &rgb = icons[i];
        const auto pixel = [&rgb](size_t p) {
            return static_cast<unsigned>(rgb[3 * p] << 16 | rgb[3 * p + 1] << 8 | rgb[3 * p + 2]);
        };
        int on_line = 0;
        for (size_t p = 0, pixels = rgb.size() / 3; p < pixels;) {
            size_t end = p + 1;
            while (end < pixels && pixel(end) == pixel(p)) ++end;
            char run[32];
            std::snprintf(run, sizeof run, " {%zu, 0x%06x},", end - p, pixel(p));
            if (on_line++ == 5) {
                source += "\n   ";
                on_line = 1;
            }
            source += run;
            p = end;
        }
        source += "\n};\n";
    }
    return source + table + "};\n// clang-format on\n";
}

// Draws the labels, each centred over its column of the overview, with a
// core font on the server, and reads the result back.
std::vector<unsigned char> render_labels(Display *display, unsigned char grey) {
    using namespace overview;
    const int height = label_height;
    const int screen = DefaultScreen(display);
    const Pixmap pixmap = XCreatePixmap(display, RootWindow(display, screen), width, height,
                                        DefaultDepth(display, screen));
    const GC gc = XCreateGC(display, pixmap, 0, nullptr);
    XFontStruct *font = nullptr;
    for (const char *name : {"-*-helvetica-bold-r-normal--14-*-*-*-*-*-iso8859-1",
                             "-*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1", "fixed"})
        if ((font = XLoadQueryFont(display, name))) break;
    if (font) XSetFont(display, gc, font->fid);

    XSetForeground(display, gc, allocated_pixel(display, grey * 257, grey * 257, grey * 257));
    XFillRectangle(display, pixmap, gc, 0, 0, width, height);
    XSetForeground(display, gc, WhitePixel(display, screen));
    const int ascent = font ? font->ascent : 10;
    const int descent = font ? font->descent : 3;
    for (size_t i = 0; i < std::size(illuminants); ++i) {
        const std::string text = illuminants[i].label;
        const int text_width =
            font ? XTextWidth(font, text.c_str(), static_cast<int>(text.size())) : 0;
        const int x = chart_left(static_cast<int>(i)) + (column - text_width) / 2;
        const int y = (height + ascent - descent) / 2;
        XDrawString(display, pixmap, gc, x, y, text.c_str(), static_cast<int>(text.size()));
    }
    const Image image(display, pixmap, width, height);
    std::vector<unsigned char> rgb =
        image.valid() ? rgb_bytes(image) : std::vector<unsigned char>{};
    if (font) XFreeFont(display, font);
    XFreeGC(display, gc);
    XFreePixmap(display, pixmap);
    return rgb;
}

[[noreturn]] void give_up(const std::string &what, App &app) {
    std::string message = "yarx_pictures: " + what;
    const std::string out = app.standard_output(), err = app.standard_error();
    if (!out.empty()) message += "\nyarx said: " + out;
    if (!err.empty()) message += "\nyarx reported: " + err;
    throw std::runtime_error(message);
}

void save(Display *display, Window window, const std::string &path, App &app) {
    if (!save_window_png(display, window, path)) give_up("could not write " + path, app);
    std::printf("%s\n", path.c_str());
}

void save_rgb(const std::string &path, int width, int height, const std::vector<unsigned char> &rgb,
              App &app) {
    if (!write_png(path, width, height, rgb)) give_up("could not write " + path, app);
    std::printf("%s\n", path.c_str());
}

// yarx running, its setup window up, and where the pictures go.
struct Session {
    Display *display;
    App &app;
    Window setup;
    Window chart;  // None until the first OK
    const std::filesystem::path &directory;
};

// Picks the illuminant, presses OK, and saves the chart once the canvas
// shows all of it (and the fan over it, once nothing changes any more);
// returns its pixels.
std::vector<unsigned char> picture_chart(Session &session, int toggle_index, const Way &way,
                                         bool fan = false) {
    Display *display = session.display;
    App &app = session.app;
    const Illuminant &illuminant = illuminants[toggle_index];
    const ExpectedChart expected = expected_chart(display, illuminant.id, way.rendering);
    if (!click_and_see(display, toggle(display, session.setup, toggle_index)) ||
        !click_and_see(display, setup_widget(display, session.setup, SetupWidget::ok)))
        give_up(std::string("no response to a click on ") + illuminant.label + " or OK", app);
    if (!session.chart && !(session.chart = wait_for_shell(display, chart_shell_name)))
        give_up("no chart window after OK", app);
    const Window canvas = chart_widget(display, session.chart, ChartWidget::canvas);
    // Keep the very picture that passed: a redraw may start just after.
    std::optional<Image> shown;
    if (!wait_until([&] {
            Image image(display, canvas);
            if (!shows_chart(image, expected, fan)) return false;
            shown.emplace(std::move(image));
            return true;
        })) {
        save_screenshot(display, (session.directory / failure_picture).string());
        give_up(std::string("the chart does not show ") + illuminant.label + " (the screen is in " +
                    failure_picture + ")",
                app);
    }
    if (fan) {
        if (!wait_until_steady(display, canvas)) give_up("the fan did not settle", app);
        shown.emplace(display, canvas);
    }
    std::vector<unsigned char> rgb = rgb_bytes(*shown);
    const std::string name = fan ? fan_picture(illuminant, way) : chart_picture(illuminant, way);
    save_rgb((session.directory / name).string(), shown->width(), shown->height(), rgb, app);
    return rgb;
}

// The row the README's reading is taken at: 270 nm, a first-order grey
// that the plate tells from the greys of the orders above.
constexpr int reading_row = 108;

// Points at the row and saves the lines of the panel once the plate's
// swatches show and the lines have settled: the strip of the panel from
// the reading line's top to the plate's line's bottom.
void picture_reading(Session &session) {
    Display *display = session.display;
    const auto part = [&](ChartWidget widget) {
        return chart_widget(display, session.chart, widget);
    };
    move_pointer_to(display, part(ChartWidget::canvas), chart::band_left + 250,
                    chart::band_top + reading_row);
    const Window panel = part(ChartWidget::panel);
    if (!wait_until([&] {
            return viewable(display, part(ChartWidget::added_swatch)) &&
                   viewable(display, part(ChartWidget::subtracted_swatch));
        }) ||
        !wait_until_steady(display, panel))
        give_up("the plate's swatches did not show", session.app);
    const ScreenBox in = on_screen(display, panel),
                    reading = on_screen(display, part(ChartWidget::reading)),
                    plate = on_screen(display, part(ChartWidget::plate));
    const Image image(display, panel);
    const int top = reading.y - in.y, bottom = plate.y + plate.height - in.y;
    if (!image.valid() || top < 0 || bottom > image.height())
        give_up("no reading lines to picture", session.app);
    const std::vector<unsigned char> rgb = rgb_bytes(image);
    const size_t row_bytes = static_cast<size_t>(image.width()) * 3;
    const std::vector<unsigned char> strip(rgb.begin() + top * row_bytes,
                                           rgb.begin() + bottom * row_bytes);
    save_rgb((session.directory / reading_picture).string(), image.width(), bottom - top, strip,
             session.app);
}

// The icon at each size, and the runs that the program compiles in.
void save_icons(const std::vector<unsigned char> &d65_chart, const std::filesystem::path &directory,
                App &app) {
    std::vector<std::vector<unsigned char>> compiled_in;
    for (const int size : chart::installed_icon_sizes) {
        std::vector<unsigned char> rgb = icon(d65_chart, size);
        save_rgb((directory / icon_picture(size)).string(), size, size, rgb, app);
        if (std::find(std::begin(chart::window_icon_sizes), std::end(chart::window_icon_sizes),
                      size) != std::end(chart::window_icon_sizes))
            compiled_in.push_back(std::move(rgb));
    }
    const std::string path = (directory / icon_runs).string();
    std::FILE *file = std::fopen(path.c_str(), "w");
    const std::string source = icon_runs_source(compiled_in);
    if (!file || std::fputs(source.c_str(), file) < 0 || std::fclose(file) != 0)
        give_up("could not write " + path, app);
    std::printf("%s\n", path.c_str());
}

// A picture from yarx-chart as a user runs it: the printed chart, and the
// figures.
template <std::size_t n>
void picture_by_yarx_chart(const std::filesystem::path &directory, const char *name,
                           const char *const (&options)[n]) {
    const std::string path = (directory / name).string();
    std::vector<std::string> argv = {YARX_CHART_EXECUTABLE};
    argv.insert(argv.end(), std::begin(options), std::end(options));
    argv.push_back(path);
    Process command(argv, {});
    const std::optional<int> status = command.wait_exit();
    if (!status || *status != 0)
        throw std::runtime_error("yarx_pictures: yarx-chart could not write " + path + ": " +
                                 command.standard_error());
    std::printf("%s\n", path.c_str());
}

int run(const std::filesystem::path &directory, const std::vector<std::string> &yarx_options) {
    ServerOptions options;
    options.window_manager = true;
    XServer server(options);
    Display *display = server.display();

    App app(server, yarx_options);

    const Window setup = wait_for_shell(display, setup_shell_name);
    if (!setup) give_up("no setup window", app);
    const Window exit_button = setup_widget(display, setup, SetupWidget::exit);
    if (!wait_until([&] { return viewable(display, exit_button); }) ||
        !wait_until_steady(display, setup))
        give_up("the setup window did not settle", app);
    save(display, setup, (directory / setup_picture).string(), app);

    // Charts side by side at half size, under a strip of labels, a row for
    // each way of showing them.
    constexpr unsigned char background = 40;
    Picture sheet(overview::width, overview::height, background);

    Session session{display, app, setup, None, directory};
    for (int way = 0; way < way_count; ++way) {
        // The chart's own colours first, then the toggle turns on true colours.
        if (way > 0 &&
            !click_and_see(display, setup_widget(display, setup, SetupWidget::true_colours)))
            give_up("no response to a click on the true-colours toggle", app);
        for (int i = 0; i < yarx::colour::illuminant_count; ++i) {
            const std::vector<unsigned char> rgb = picture_chart(session, i, ways[way]);
            sheet.paste(rgb, chart::canvas_width, chart::canvas_height, overview::chart_left(i),
                        overview::chart_top(way), true);
            if (illuminants[i].id != yarx::colour::id_of("d65")) continue;
            if (way == 0) save_icons(rgb, directory, app);
            if (ways[way].rendering == yarx::colour::Rendering::true_colours)
                picture_reading(session);
        }
    }

    // The fan over the D65 chart, in the true colours still on.
    if (!click_and_see(display, setup_widget(display, setup, SetupWidget::fan)))
        give_up("no response to a click on the fan toggle", app);
    picture_chart(session, yarx::xdriver::toggle_index("d65"), ways[way_count - 1], true);

    const std::vector<unsigned char> labels = render_labels(display, background);
    if (labels.empty()) give_up("could not draw the labels", app);
    sheet.paste(labels, sheet.width, overview::label_height, 0, 0, false);
    save_rgb((directory / overview_picture).string(), sheet.width, sheet.height, sheet.rgb, app);

    click(display, setup_widget(display, setup, SetupWidget::exit));
    if (!app.wait_exit()) give_up("yarx did not end after Exit", app);
    picture_by_yarx_chart(directory, printed_picture, printed_picture_options);
    picture_by_yarx_chart(directory, uniaxial_figure_picture, uniaxial_figure_options);
    picture_by_yarx_chart(directory, biaxial_figure_picture, biaxial_figure_options);
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s DIRECTORY [yarx options...]\n", argv[0]);
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        const std::filesystem::path directory = std::filesystem::canonical(argv[1]);
        const int status = run(directory, std::vector<std::string>(argv + 2, argv + argc));
        std::printf("pictures: %s\n", directory.c_str());
        return status;
    } catch (const std::exception &e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
