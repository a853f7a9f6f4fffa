// What a chart costs over a network link: OK, and a redraw on exposure, by
// the program built in this process with its X connection run through a
// relay that delays each direction by half the round-trip time (0, 10 and
// 50 ms round trip; ssh to a nearby host is about 10, across a continent
// 50 or more).
//
// Each time is reported in milliseconds and in round trips: the time over
// that of the same work on the zero-delay link, divided by the round-trip
// time.  An exposure is timed from the moment its event is in the
// program's queue.  Both end with an XSync, itself one round trip, so that
// the time covers the server finishing the drawing.

#include <X11/Intrinsic.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <map>
#include <memory>
#include <stdexcept>

#include "program.h"
#include "relay.h"

namespace {

using Clock = std::chrono::steady_clock;
using yarx::bench::Program;

std::unique_ptr<yarx::e2e::XServer> server;
std::unique_ptr<yarx::e2e::Relay> relay;
std::map<bool, double> zero_delay_ms;  // by "is an exposure"

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void redraw_over_link(benchmark::State &state, bool exposure) {
    const int round_trip_ms = static_cast<int>(state.range(0));
    relay->set_delay(std::chrono::milliseconds(round_trip_ms / 2));
    Program &program = yarx::bench::open_program(relay->display_name());
    Display *display = program.display;
    const Window canvas = yarx::bench::canvas_window(program);
    yarx::bench::process_pending_events(program);

    double total_ms = 0;
    for (auto _ : state) {
        if (exposure) {
            XClearArea(display, canvas, 0, 0, 0, 0, True);
            XSync(display, False);  // the exposure is now queued
        }
        const auto start = Clock::now();
        if (exposure)
            while (XtAppPending(program.app)) XtAppProcessEvent(program.app, XtIMAll);
        else
            yarx::bench::press_ok(program);
        XSync(display, False);
        const double ms = ms_since(start);
        total_ms += ms;
        state.SetIterationTime(ms / 1000);
        yarx::bench::process_pending_events(program);
    }
    const double mean_ms = total_ms / static_cast<double>(state.iterations());
    state.counters["ms"] = mean_ms;
    if (round_trip_ms == 0)
        zero_delay_ms[exposure] = mean_ms;
    else if (zero_delay_ms.count(exposure))
        state.counters["round_trips"] = (mean_ms - zero_delay_ms[exposure]) / round_trip_ms;
}

void BM_OkOverLink(benchmark::State &state) { redraw_over_link(state, false); }
void BM_ExposureOverLink(benchmark::State &state) { redraw_over_link(state, true); }
BENCHMARK(BM_OkOverLink)
    ->ArgName("rtt_ms")
    ->Arg(0)
    ->Arg(10)
    ->Arg(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExposureOverLink)
    ->ArgName("rtt_ms")
    ->Arg(0)
    ->Arg(10)
    ->Arg(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Shows the chart window once, as the first OK does.
void show_chart() {
    Program &program = yarx::bench::open_program(relay->display_name());
    yarx::bench::press_ok(program);
    Display *d = server->display();
    const bool shown = yarx::e2e::wait_until([&] {
        yarx::bench::process_pending_events(program);
        const Window shell = yarx::e2e::find_shell(d, "yarx_popup");
        return shell && yarx::e2e::viewable(
                            d, yarx::e2e::chart_widget(d, shell, yarx::e2e::ChartWidget::canvas));
    });
    if (!shown) throw std::runtime_error("the chart window did not show");
}

}  // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    server = std::make_unique<yarx::e2e::XServer>();
    relay = std::make_unique<yarx::e2e::Relay>(*server, std::chrono::milliseconds(0));
    show_chart();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
