// What yarx costs over a network link: start-up, OK, and a redraw on
// exposure, with the program's X connection run through a relay that delays
// each direction by half the round-trip time (0, 10 and 50 ms round trip;
// ssh to a nearby host is about 10, across a continent 50 or more), and at
// 50 ms also limits each direction to 10 Mbit/s, as a slow line does.
//
// Each time is reported in milliseconds ("ms") and, without a bandwidth
// limit, in round trips: the time over that of the same work on the
// zero-delay link, divided by the round-trip time.  The bytes each way are
// counted by the relay, in KiB: "kib_up" from the client, "kib_down" from
// the server.
//
// - Start-up is the real program, launched as a client of the relay, until
//   its setup window is on the screen; the bytes are those sent until then.
//   A bare Motif client with the same kinds of widget (bare_motif_client)
//   starts first on the same link, as the floor: "x_bare" is yarx's time
//   over the bare client's, "kib_up_over_bare" what yarx sends beyond it.
//   Both run before the program is built in this process.
// - OK (without and with the birefringence fan) and the exposure are the
//   program built in this process, the way main builds it, running its own
//   callbacks.  An exposure is timed from the
//   moment its event is in the program's queue.  Both end with an XSync,
//   itself one round trip, so that the time covers the server finishing the
//   drawing.  "first_ok_kib_up" is what the very first OK sends, which
//   also pops up the chart window.
// - A pick is P over the canvas and a click of button 1 on a band, each
//   timed from the moment its events are in the program's queue until the
//   program has handled them and an XSync has come back: a pick that waits
//   only for the grab and for the one image reads 4 round trips.
//
// The last lines say whether the start-up budget holds: until its setup
// window shows, yarx sends at most the bare client's bytes plus 24 KiB; its
// first OK sends at most 160 KiB; and over 50 ms and 10 Mbit/s it starts in
// at most 1.5 times the bare client's time.

#include <X11/Intrinsic.h>
#include <X11/keysym.h>
#include <signal.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

#include "chart/chart_geometry.h"
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

enum class Work { bare_start_up, start_up, ok, ok_with_fan, exposure, pick };
// The link: round trip in ms and Mbit/s each way, 0 for no limit.
using Link = std::pair<int, int>;
constexpr Link slow_line{50, 10};

// Mean time in ms and bytes up, by work and link.
struct Figures {
    double ms = 0;
    double kib_up = 0;
};
std::map<std::pair<Work, Link>, Figures> measured;
double first_ok_kib_up = 0;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double kib(long long bytes) { return static_cast<double>(bytes) / 1024; }

// Sets the link for the benchmark's arguments; reports the mean time in ms,
// in round trips, and the mean bytes each way.
class LinkTimer {
public:
    LinkTimer(benchmark::State &state, Work work)
        : state_(state),
          work_(work),
          link_(static_cast<int>(state.range(0)), static_cast<int>(state.range(1))) {
        relay->set_delay(std::chrono::milliseconds(link_.first / 2));
        relay->set_bandwidth(link_.second * 1000000LL);
    }
    LinkTimer(const LinkTimer &) = delete;
    LinkTimer &operator=(const LinkTimer &) = delete;

    void start() {
        start_ = Clock::now();
        bytes_at_start_ = relay->bytes_sent();
        paused_ms_ = 0;
    }
    // A break within an iteration, for what the program does not do itself.
    void pause() { paused_ms_ += ms_since(start_); }
    void resume() { start_ = Clock::now(); }
    void stop() {
        const double ms = paused_ms_ + ms_since(start_);
        const xd::Relay::Bytes now = relay->bytes_sent();
        total_ms_ += ms;
        up_ += now.up - bytes_at_start_.up;
        down_ += now.down - bytes_at_start_.down;
        state_.SetIterationTime(ms / 1000);
    }

    ~LinkTimer() {
        if (state_.iterations() == 0 || total_ms_ == 0) return;
        const auto iterations = static_cast<double>(state_.iterations());
        const Figures figures{total_ms_ / iterations, kib(up_) / iterations};
        measured[{work_, link_}] = figures;
        state_.counters["ms"] = figures.ms;
        state_.counters["kib_up"] = figures.kib_up;
        state_.counters["kib_down"] = kib(down_) / iterations;
        const auto zero_delay = measured.find({work_, Link{0, 0}});
        if (link_.first > 0 && link_.second == 0 && zero_delay != measured.end())
            state_.counters["round_trips"] = (figures.ms - zero_delay->second.ms) / link_.first;
        const auto bare = measured.find({Work::bare_start_up, link_});
        if (work_ == Work::start_up && bare != measured.end()) {
            state_.counters["x_bare"] = figures.ms / bare->second.ms;
            state_.counters["kib_up_over_bare"] = figures.kib_up - bare->second.kib_up;
        }
    }

private:
    benchmark::State &state_;
    Work work_;
    Link link_;
    Clock::time_point start_;
    xd::Relay::Bytes bytes_at_start_;
    double total_ms_ = 0, paused_ms_ = 0;
    long long up_ = 0, down_ = 0;
};

// Times a client from its launch until its main window shows, then ends it.
void time_start_up(benchmark::State &state, Work work,
                   const std::function<std::shared_ptr<xd::Process>()> &launch,
                   const std::function<Window()> &main_window) {
    if (program) {
        state.SkipWithError("start-up must be timed before the program is built in this process");
        return;
    }
    LinkTimer timer(state, work);
    Display *d = server->display();
    for (auto _ : state) {
        timer.start();
        const std::shared_ptr<xd::Process> client = launch();
        const bool shown = xd::wait_until(
            [&] {
                const Window window = main_window();
                return window && xd::viewable(d, window);
            },
            std::chrono::seconds(60));
        timer.stop();
        if (!shown) {
            state.SkipWithError("the main window did not show");
            return;
        }
        kill(client->pid(), SIGKILL);
        client->wait_exit();
        xd::wait_until([&] { return !main_window() && relay->idle(); });
    }
}

void BM_BareStartUpOverLink(benchmark::State &state) {
    const xd::TemporaryDirectory home;
    time_start_up(
        state, Work::bare_start_up,
        [&] {
            xd::Process::Options options;
            options.environment = {"HOME=" + home.path(), "XENVIRONMENT", "XAPPLRESDIR"};
            return std::make_shared<xd::Process>(
                std::vector<std::string>{BARE_MOTIF_CLIENT, "-display", relay->display_name()},
                options);
        },
        [] { return xd::find_client(server->display(), "Bare", "bare_motif_client"); });
}

void BM_StartUpOverLink(benchmark::State &state) {
    Display *d = server->display();
    time_start_up(
        state, Work::start_up,
        [] {
            return std::make_shared<xd::App>(
                *server, std::vector<std::string>{"-display", relay->display_name()});
        },
        [d] {
            const Window shell = xd::find_shell(d, xd::setup_shell_name);
            return shell ? xd::setup_widget(d, shell, xd::SetupWidget::exit) : Window{None};
        });
}

// The program built in this process, its chart window shown as the first OK
// shows it.
Program &shown_program() {
    if (program) return *program;
    program = &yarx::bench::open_program(relay->display_name());
    const xd::Relay::Bytes before = relay->bytes_sent();
    yarx::bench::press_ok(*program);
    Display *d = server->display();
    const bool shown = xd::wait_until([&] {
        yarx::bench::process_pending_events(*program);
        const Window shell = xd::find_shell(d, xd::chart_shell_name);
        return shell && xd::viewable(d, xd::chart_widget(d, shell, xd::ChartWidget::canvas));
    });
    if (!shown) throw std::runtime_error("the chart window did not show");
    first_ok_kib_up = kib(relay->bytes_sent().up - before.up);
    return *program;
}

void redraw_over_link(benchmark::State &state, Work work) {
    LinkTimer timer(state, work);
    Program &program = shown_program();
    Display *display = program.display;
    const Window canvas = yarx::bench::canvas_window(program);
    yarx::bench::process_pending_events(program);

    // An exposure redraws what the last OK drew: the plain chart here.
    yarx::bench::set_fan(program, work == Work::ok_with_fan);
    if (work == Work::exposure) {
        yarx::bench::press_ok(program);
        yarx::bench::process_pending_events(program);
    }
    for (auto _ : state) {
        if (work == Work::exposure) {
            XClearArea(display, canvas, 0, 0, 0, 0, True);
            XSync(display, False);  // the exposure is now queued
        }
        timer.start();
        if (work == Work::exposure)
            while (XtAppPending(program.app)) XtAppProcessEvent(program.app, XtIMAll);
        else
            yarx::bench::press_ok(program);
        XSync(display, False);
        timer.stop();
        yarx::bench::process_pending_events(program);
    }
    if (work == Work::ok) state.counters["first_ok_kib_up"] = first_ok_kib_up;
}

void BM_OkOverLink(benchmark::State &state) { redraw_over_link(state, Work::ok); }
void BM_OkWithFanOverLink(benchmark::State &state) { redraw_over_link(state, Work::ok_with_fan); }
void BM_ExposureOverLink(benchmark::State &state) { redraw_over_link(state, Work::exposure); }

// Waits until the input the test's connection has just sent has reached the
// program.
void wait_for_input(Program &program) {
    xd::wait_until([&] { return XEventsQueued(program.display, QueuedAfterReading) > 0; });
}

// Handles it, to an XSync.
void handle_input(Program &program) {
    while (XtAppPending(program.app)) XtAppProcessEvent(program.app, XtIMAll);
    XSync(program.display, False);
    while (XtAppPending(program.app)) XtAppProcessEvent(program.app, XtIMAll);
}

void BM_PickOverLink(benchmark::State &state) {
    LinkTimer timer(state, Work::pick);
    Program &program = shown_program();
    Display *d = server->display();
    const Window canvas = yarx::bench::canvas_window(program);
    xd::move_pointer_to(d, canvas, 300, 500);
    xd::type_key(d, XK_x);  // the first key loads the toolkit's keyboard map
    wait_for_input(program);
    handle_input(program);

    for (auto _ : state) {
        xd::type_key(d, XK_p);
        wait_for_input(program);
        timer.start();
        handle_input(program);
        timer.pause();
        xd::press_at(d, canvas, yarx::chart::probe_x, yarx::chart::band_top + 221);
        xd::release(d);
        wait_for_input(program);
        timer.resume();
        handle_input(program);
        timer.stop();
        xd::move_pointer_to(d, canvas, 300, 500);
        yarx::bench::process_pending_events(program);
    }
}

// Prints whether each part of the start-up budget holds, with its figures.
void report_budget() {
    const auto bare = measured.find({Work::bare_start_up, slow_line});
    const auto yarx = measured.find({Work::start_up, slow_line});
    if (bare == measured.end() || yarx == measured.end()) return;
    const auto verdict = [](bool holds) { return holds ? "holds" : "EXCEEDED"; };
    std::printf(
        "budget, until the setup window shows: yarx sends %.1f KiB, the bare client "
        "%.1f KiB + 24 KiB: %s\n",
        yarx->second.kib_up, bare->second.kib_up,
        verdict(yarx->second.kib_up <= bare->second.kib_up + 24));
    if (first_ok_kib_up > 0)
        std::printf("budget, the first OK: yarx sends %.1f KiB, at most 160 KiB: %s\n",
                    first_ok_kib_up, verdict(first_ok_kib_up <= 160));
    std::printf(
        "budget, start-up over %d ms and %d Mbit/s: yarx %.0f ms, the bare client %.0f ms "
        "x 1.5: %s\n",
        slow_line.first, slow_line.second, yarx->second.ms, bare->second.ms,
        verdict(yarx->second.ms <= 1.5 * bare->second.ms));
}

}  // namespace

#define OVER_THE_LINK(benchmark_function)           \
    BENCHMARK(benchmark_function)                   \
        ->ArgNames({"rtt_ms", "mbit"})              \
        ->Args({0, 0})                              \
        ->Args({10, 0})                             \
        ->Args({50, 0})                             \
        ->Args({slow_line.first, slow_line.second}) \
        ->UseManualTime()                           \
        ->Unit(benchmark::kMillisecond)
OVER_THE_LINK(BM_BareStartUpOverLink);
OVER_THE_LINK(BM_StartUpOverLink);
OVER_THE_LINK(BM_OkOverLink);
OVER_THE_LINK(BM_OkWithFanOverLink);
OVER_THE_LINK(BM_ExposureOverLink);
OVER_THE_LINK(BM_PickOverLink);

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    server = std::make_unique<xd::XServer>();
    relay = std::make_unique<xd::Relay>(*server);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    report_budget();
    return 0;
}
