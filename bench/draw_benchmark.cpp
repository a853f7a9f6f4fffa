// How long OK's drawing of the chart takes, against the floor of the same X
// requests from a bare client, both on one private Xvfb in one run.
//
// The drawing is the program's own: the chart window is built in this
// process and each iteration redraws the chart as an exposure does, then XSync,
// so the time includes the server finishing.  The floor is a plain window
// of the canvas's size that receives the same requests sent the same way:
// the 1002 colour allocations through XCB without waiting, their replies
// taken in order, then 1042 XDrawLine and 2417 XDrawRectangle calls, then
// XSync.
//
// Each is timed alone, then the two alternate iteration by iteration so
// that the ratio ("x_floor", draw time over floor time) holds up while other
// work loads the machine.
//
// Last, OK's drawing with the birefringence fan against the same without
// it, alternating likewise ("x_plain", fan time over plain time).

#include <X11/Intrinsic.h>
#include <X11/Xlib-xcb.h>
#include <xcb/xproto.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "chart/chart_geometry.h"
#include "chart/notice_image.h"
#include "colour/chart_colours.h"
#include "program.h"
#include "ui/chart_window.h"
#include "xdriver/driver.h"
#include "xdriver/yarx_windows.h"

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<yarx::xdriver::XServer> server;
// The D65 chart the floor draws.
yarx::colour::ChartColours chart;

double seconds_since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// ---------------------------------------------------------------- floor

struct BareClient {
    Display *display = nullptr;
    Window window = None;
    GC gc = nullptr;
};

BareClient open_bare_client() {
    BareClient client;
    client.display = XOpenDisplay(server->name().c_str());
    if (!client.display) throw std::runtime_error("cannot open " + server->name());
    Display *d = client.display;
    client.window =
        XCreateSimpleWindow(d, DefaultRootWindow(d), 1600, 0, yarx::chart::canvas_width,
                            yarx::chart::canvas_height, 0, BlackPixel(d, 0), BlackPixel(d, 0));
    XSelectInput(d, client.window, ExposureMask);
    XMapWindow(d, client.window);
    XEvent event;
    XWindowEvent(d, client.window, ExposureMask, &event);  // mapped and viewable
    client.gc = XCreateGC(d, client.window, 0, nullptr);
    return client;
}

// Sends all the colour allocations first, then takes each reply as it is
// needed, as the program does.
xcb_alloc_color_cookie_t floor_cookies[yarx::chart::colours_per_draw];

void request_colour(const BareClient &client, int slot, unsigned short r, unsigned short g,
                    unsigned short b) {
    floor_cookies[slot] = xcb_alloc_color(XGetXCBConnection(client.display),
                                          DefaultColormap(client.display, 0), r, g, b);
}

void set_colour(const BareClient &client, int slot) {
    xcb_alloc_color_reply_t *reply =
        xcb_alloc_color_reply(XGetXCBConnection(client.display), floor_cookies[slot], nullptr);
    if (!reply) throw std::runtime_error("the floor's colour was refused");
    XSetForeground(client.display, client.gc, reply->pixel);
    std::free(reply);
}

void draw_floor(const BareClient &client) {
    using namespace yarx::chart;
    namespace colour = yarx::colour;
    Display *d = client.display;
    const Window w = client.window;
    const GC gc = client.gc;
    constexpr int black = colour::chart_rows, white = black + 1;
    for (int row = 0; row < colour::chart_rows; ++row) {
        const auto &c = chart.colours[row];
        request_colour(client, row, colour::colour_value(c.red), colour::colour_value(c.green),
                       colour::colour_value(c.blue));
    }
    request_colour(client, black, 0, 0, 0);
    const unsigned short full = colour::full_intensity;
    request_colour(client, white, full, full, full);
    for (int row = 0; row < colour::chart_rows; ++row) {
        set_colour(client, row);
        XDrawLine(d, w, gc, band_left, band_top + row, band_right, band_top + row);
    }
    set_colour(client, black);
    for (int k = 0; k < grid_lines; ++k) {
        const int y = grid_step * k + band_top;
        XDrawLine(d, w, gc, band_left, y, band_right, y);
    }
    for (int k = 0; k < grid_lines; k += heavy_every) {
        const int y = grid_step * k + band_top + 1;
        XDrawLine(d, w, gc, band_left, y, band_right, y);
    }
    for (int k = 0; k < vertical_lines; ++k) {
        const int x = vertical_step * k + band_left;
        XDrawLine(d, w, gc, x, band_top, x, vertical_bottom);
    }
    set_colour(client, white);
    for (int k = 1; k <= order_marks; ++k)
        XDrawLine(d, w, gc, order_mark_left, order_mark_y(k), order_mark_right, order_mark_y(k));
    XDrawRectangle(d, w, gc, frame_x, frame_y, frame_width, frame_height);
    for (int r = 0; r < notice_rows; ++r)
        for (int c = 0; c < notice_columns; ++c)
            if (notice_image[r][c])
                XDrawRectangle(d, w, gc, notice_cell(r, c).left, notice_cell(r, c).top, 2, 1);
    XSync(d, False);
}

void BM_BareClientFloor(benchmark::State &state) {
    const BareClient client = open_bare_client();
    for (auto _ : state) {
        const auto start = Clock::now();
        draw_floor(client);
        state.SetIterationTime(seconds_since(start));
    }
    XCloseDisplay(client.display);
}
BENCHMARK(BM_BareClientFloor)->UseManualTime()->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- program

yarx::bench::Program *program = nullptr;

// OK's drawing, as the OK button does it once the chart is computed, until
// the server has done it all.
void draw_chart() {
    yarx::ui::redraw_chart();
    XSync(program->display, False);
}

// Builds the program's windows in this process, as main does, and shows the
// chart window the way the first OK does.
bool open_program_on_screen(benchmark::State &state) {
    if (!program) {
        program = &yarx::bench::open_program(server->name());
        yarx::bench::press_ok(*program);
    }
    Display *d = server->display();
    const bool shown = yarx::xdriver::wait_until([&] {
        yarx::bench::process_pending_events(*program);
        const Window shell = yarx::xdriver::find_shell(d, yarx::xdriver::chart_shell_name);
        return shell &&
               yarx::xdriver::viewable(
                   d, yarx::xdriver::chart_widget(d, shell, yarx::xdriver::ChartWidget::canvas));
    });
    if (!shown) state.SkipWithError("the chart's canvas is not on the screen");
    return shown;
}

void BM_OkDraw(benchmark::State &state) {
    if (!open_program_on_screen(state)) return;
    for (auto _ : state) {
        const auto start = Clock::now();
        draw_chart();
        state.SetIterationTime(seconds_since(start));
        yarx::bench::process_pending_events(*program);
    }
}
BENCHMARK(BM_OkDraw)->UseManualTime()->Unit(benchmark::kMillisecond);

// One iteration is one floor and one draw; the time shown is the draw's.
void BM_OkDrawOverFloor(benchmark::State &state) {
    if (!open_program_on_screen(state)) return;
    const BareClient client = open_bare_client();
    double floor_total = 0, draw_total = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        draw_floor(client);
        floor_total += seconds_since(start);
        start = Clock::now();
        draw_chart();
        const double seconds = seconds_since(start);
        draw_total += seconds;
        state.SetIterationTime(seconds);
        yarx::bench::process_pending_events(*program);
    }
    XCloseDisplay(client.display);
    const double n = static_cast<double>(state.iterations());
    if (n > 0 && floor_total > 0) {
        state.counters["floor_ms"] = 1000 * floor_total / n;
        state.counters["draw_ms"] = 1000 * draw_total / n;
        state.counters["x_floor"] = draw_total / floor_total;
    }
}
BENCHMARK(BM_OkDrawOverFloor)->UseManualTime()->Unit(benchmark::kMillisecond);

// OK as the OK button runs it, computing the chart and drawing it, with
// the fan or without, until the server has done it all.
double seconds_to_show(bool fan) {
    const auto start = Clock::now();
    yarx::ui::show_chart(
        {yarx::colour::id_of("d65"), "D65", yarx::colour::Rendering::cie_rgb, fan});
    XSync(program->display, False);
    const double seconds = seconds_since(start);
    yarx::bench::process_pending_events(*program);
    return seconds;
}

// One iteration is a plain OK and an OK with the fan; the time shown is the
// fan's.  The plain one follows another plain one, so that it does not
// include clearing the fan's margins, which only the first OK without the
// fan does.
void BM_OkDrawWithFanOverPlain(benchmark::State &state) {
    if (!open_program_on_screen(state)) return;
    double plain_total = 0, fan_total = 0;
    for (auto _ : state) {
        seconds_to_show(false);
        plain_total += seconds_to_show(false);
        const double seconds = seconds_to_show(true);
        fan_total += seconds;
        state.SetIterationTime(seconds);
    }
    const double n = static_cast<double>(state.iterations());
    if (n > 0 && plain_total > 0) {
        state.counters["plain_ms"] = 1000 * plain_total / n;
        state.counters["fan_ms"] = 1000 * fan_total / n;
        state.counters["x_plain"] = fan_total / plain_total;
    }
}
BENCHMARK(BM_OkDrawWithFanOverPlain)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    yarx::xdriver::ServerOptions options;
    options.width = 2200;  // the chart, the setup window and the floor's window side by side
    server = std::make_unique<yarx::xdriver::XServer>(options);
    yarx::colour::compute_chart(yarx::colour::id_of("d65"), yarx::colour::Rendering::cie_rgb,
                                chart);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    server.reset();
    return 0;
}
