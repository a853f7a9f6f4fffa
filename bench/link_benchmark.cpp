// What yarx costs over a network link: start-up, OK, and a redraw on
// exposure, with the program's X connection run through a relay that delays
// each direction by half the round-trip time (0, 10 and 50 ms round trip;
// ssh to a nearby host is about 10, across a continent 50 or more).
//
// Each time is reported in milliseconds and in round trips: the time over
// that of the same work on the zero-delay link, divided by the round-trip
// time.
//
// - Start-up is the real program, launched as a client of the relay, until
//   its setup window is on the screen.  It runs first, before the program is
//   built in this process.
// - OK and the exposure are the program built in this process, the way main
//   builds it, running its own callbacks.  An exposure is timed from the
//   moment its event is in the program's queue.  Both end with an XSync,
//   itself one round trip, so that the time covers the server finishing the
//   drawing.
// - A pick is P over the canvas and a click of button 1 on a band, each
//   timed from the moment its events are in the program's queue until the
//   program has handled them and an XSync has come back: a pick that waits
//   only for the grab and for the one image reads 4 round trips.

#include <X11/Intrinsic.h>
#include <X11/keysym.h>
#include <signal.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>

#include "program.h"
#include "xdriver/relay.h"
#include "xdriver/yarx_windows.h"

namespace {

using Clock = std::chrono::steady_clock;
using yarx::bench::Program;
namespace xd = yarx::xdriver;

std::unique_ptr<xd::XServer> server;
std::unique_ptr<xd::Relay> relay;
Program *program = nullptr;  // once built in this process

enum class Work { start_up, ok, exposure, pick };
std::map<Work, double> zero_delay_ms;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Sets the link's delay for the benchmark's round trip; reports the mean
// time in ms and in round trips.
class LinkTimer {
public:
    LinkTimer(benchmark::State &state, Work work)
        : state_(state), work_(work), round_trip_ms_(static_cast<int>(state.range(0))) {
        relay->set_delay(std::chrono::milliseconds(round_trip_ms_ / 2));
    }
    LinkTimer(const LinkTimer &) = delete;
    LinkTimer &operator=(const LinkTimer &) = delete;

    void add(double ms) {
        total_ms_ += ms;
        state_.SetIterationTime(ms / 1000);
    }

    ~LinkTimer() {
        if (state_.iterations() == 0 || total_ms_ == 0) return;
        const double mean_ms = total_ms_ / static_cast<double>(state_.iterations());
        state_.counters["ms"] = mean_ms;
        if (round_trip_ms_ == 0)
            zero_delay_ms[work_] = mean_ms;
        else if (zero_delay_ms.count(work_))
            state_.counters["round_trips"] = (mean_ms - zero_delay_ms[work_]) / round_trip_ms_;
    }

private:
    benchmark::State &state_;
    Work work_;
    int round_trip_ms_;
    double total_ms_ = 0;
};

void BM_StartUpOverLink(benchmark::State &state) {
    if (program) {
        state.SkipWithError("start-up must be timed before the program is built in this process");
        return;
    }
    LinkTimer timer(state, Work::start_up);
    Display *d = server->display();
    for (auto _ : state) {
        const auto start = Clock::now();
        xd::App app(*server, {"-display", relay->display_name()});
        const bool shown = xd::wait_until(
            [&] {
                const Window shell = xd::find_shell(d, xd::setup_shell_name);
                return shell && xd::viewable(d, xd::setup_widget(d, shell, xd::SetupWidget::exit));
            },
            std::chrono::seconds(60));
        timer.add(ms_since(start));
        if (!shown) {
            state.SkipWithError("the setup window did not show");
            return;
        }
        kill(app.pid(), SIGKILL);
        app.wait_exit();
        xd::wait_until([&] { return !xd::find_shell(d, xd::setup_shell_name); });
    }
}

// The program built in this process, its chart window shown as the first OK
// shows it.
Program &shown_program() {
    if (program) return *program;
    program = &yarx::bench::open_program(relay->display_name());
    yarx::bench::press_ok(*program);
    Display *d = server->display();
    const bool shown = xd::wait_until([&] {
        yarx::bench::process_pending_events(*program);
        const Window shell = xd::find_shell(d, xd::chart_shell_name);
        return shell && xd::viewable(d, xd::chart_widget(d, shell, xd::ChartWidget::canvas));
    });
    if (!shown) throw std::runtime_error("the chart window did not show");
    return *program;
}

void redraw_over_link(benchmark::State &state, Work work) {
    LinkTimer timer(state, work);
    Program &program = shown_program();
    Display *display = program.display;
    const Window canvas = yarx::bench::canvas_window(program);
    yarx::bench::process_pending_events(program);

    for (auto _ : state) {
        if (work == Work::exposure) {
            XClearArea(display, canvas, 0, 0, 0, 0, True);
            XSync(display, False);  // the exposure is now queued
        }
        const auto start = Clock::now();
        if (work == Work::exposure)
            while (XtAppPending(program.app)) XtAppProcessEvent(program.app, XtIMAll);
        else
            yarx::bench::press_ok(program);
        XSync(display, False);
        timer.add(ms_since(start));
        yarx::bench::process_pending_events(program);
    }
}

void BM_OkOverLink(benchmark::State &state) { redraw_over_link(state, Work::ok); }
void BM_ExposureOverLink(benchmark::State &state) { redraw_over_link(state, Work::exposure); }

// Handles the input the test's connection has just sent, once it has
// reached the program, and returns how long that took, to the XSync.
double handle_input(Program &program) {
    Display *display = program.display;
    xd::wait_until([&] { return XEventsQueued(display, QueuedAfterReading) > 0; });
    const auto start = Clock::now();
    while (XtAppPending(program.app)) XtAppProcessEvent(program.app, XtIMAll);
    XSync(display, False);
    while (XtAppPending(program.app)) XtAppProcessEvent(program.app, XtIMAll);
    return ms_since(start);
}

void BM_PickOverLink(benchmark::State &state) {
    LinkTimer timer(state, Work::pick);
    Program &program = shown_program();
    Display *d = server->display();
    const Window canvas = yarx::bench::canvas_window(program);
    xd::move_pointer_to(d, canvas, 300, 500);
    xd::type_key(d, XK_x);  // the first key loads the toolkit's keyboard map
    handle_input(program);

    for (auto _ : state) {
        xd::type_key(d, XK_p);
        double ms = handle_input(program);
        xd::press_at(d, canvas, 75, 20 + 221);
        xd::release(d);
        ms += handle_input(program);
        timer.add(ms);
        xd::move_pointer_to(d, canvas, 300, 500);
        yarx::bench::process_pending_events(program);
    }
}

}  // namespace

#define OVER_THE_LINK(benchmark_function) \
    BENCHMARK(benchmark_function)         \
        ->ArgName("rtt_ms")               \
        ->Arg(0)                          \
        ->Arg(10)                         \
        ->Arg(50)                         \
        ->UseManualTime()                 \
        ->Unit(benchmark::kMillisecond)
OVER_THE_LINK(BM_StartUpOverLink);
OVER_THE_LINK(BM_OkOverLink);
OVER_THE_LINK(BM_ExposureOverLink);
OVER_THE_LINK(BM_PickOverLink);

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    server = std::make_unique<xd::XServer>();
    relay = std::make_unique<xd::Relay>(*server);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
