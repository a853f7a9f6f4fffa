// What an interference figure costs: one 401-pixel figure in each
// rendering, with and without the accessory plate, as a multiple of one
// computation of the chart measured in the same run ("x_chart"), from
// nothing (its tables made anew) and as the figure window redraws it while
// a tilt is dragged (the tables kept); and one run of yarx-chart --figure
// against one run of yarx-chart writing the chart ("x_chart_process").
//
// The chart's computation and its process run first; the others report
// against them.  The computations are timed in the processor time they
// take, which other work on a shared machine leaves as it is; the runs of
// yarx-chart in the time a user waits.

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <benchmark/benchmark.h>

#include "colour/chart_colours.h"
#include "figure/figure_image.h"

namespace {

using namespace yarx;
using Clock = std::chrono::steady_clock;

double chart_seconds = 0, chart_process_seconds = 0;
colour::ChartColours chart;
figure::Workspace workspace;
figure::Image image;

double seconds_per_iteration(Clock::time_point start, const benchmark::State &state) {
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    return state.iterations() ? elapsed.count() / state.iterations() : 0;
}

double processor_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double processor_seconds_per_iteration(double start, const benchmark::State &state) {
    return state.iterations() ? (processor_seconds() - start) / state.iterations() : 0;
}

void BM_ComputeChart(benchmark::State &state) {
    const double start = processor_seconds();
    for (auto _ : state) {
        colour::compute_chart(colour::id_of("d68"), colour::Rendering::cie_rgb, chart);
        benchmark::ClobberMemory();
    }
    chart_seconds = processor_seconds_per_iteration(start, state);
}
BENCHMARK(BM_ComputeChart)->Unit(benchmark::kMillisecond);

// Arguments: true colours (0 or 1), the plate (0 or 551 nm), tables kept
// (0 or 1).
void BM_Figure401(benchmark::State &state) {
    figure::Settings settings;
    settings.rendering =
        state.range(0) ? colour::Rendering::true_colours : colour::Rendering::cie_rgb;
    settings.plate_nm = static_cast<double>(state.range(1));
    const bool kept = state.range(2) != 0;
    figure::compute_figure(settings, workspace, image);
    int frame = 0;
    const double start = processor_seconds();
    for (auto _ : state) {
        if (kept)
            settings.tilt_deg = ++frame % 30;
        else
            workspace.illuminant = workspace.scale_illuminant = -1;
        figure::compute_figure(settings, workspace, image);
        benchmark::ClobberMemory();
    }
    if (chart_seconds > 0)
        state.counters["x_chart"] = processor_seconds_per_iteration(start, state) / chart_seconds;
}
BENCHMARK(BM_Figure401)
    ->ArgNames({"true_colours", "plate", "kept"})
    ->ArgsProduct({{0, 1}, {0, 551}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// yarx-chart from start to exit, with the arguments after its name.
void run_command(benchmark::State &state, std::initializer_list<const char *> arguments,
                 double &seconds) {
    char path[] = "/tmp/yarx-figure-bench.XXXXXX.png";
    const int fd = mkstemps(path, 4);
    if (fd < 0) return state.SkipWithError("no temporary file");
    close(fd);
    const char *argv[16] = {"yarx-chart"};
    int n = 1;
    for (const char *a : arguments) argv[n++] = a;
    argv[n++] = path;
    argv[n] = nullptr;
    const auto start = Clock::now();
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0) {
            execv(YARX_CHART_EXECUTABLE, const_cast<char *const *>(argv));
            _exit(127);
        }
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            state.SkipWithError("yarx-chart failed");
    }
    seconds = seconds_per_iteration(start, state);
    unlink(path);
}

void BM_CommandChartPng(benchmark::State &state) { run_command(state, {}, chart_process_seconds); }
BENCHMARK(BM_CommandChartPng)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CommandFigurePng(benchmark::State &state) {
    double seconds = 0;
    run_command(state, {"--figure", "--mineral", "quartz", "--plate", "551"}, seconds);
    if (chart_process_seconds > 0)
        state.counters["x_chart_process"] = seconds / chart_process_seconds;
}
BENCHMARK(BM_CommandFigurePng)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
