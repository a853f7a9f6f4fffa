// What a file of the chart costs: the time to write one, in each format,
// as a multiple of one computation of the chart measured in the same run
// ("x_compute"), and its size ("bytes"); and one run of yarx-chart writing
// a portrait PDF with the fan and the minerals, as a user starts it.
//
// The computation runs first; the others report against it.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <benchmark/benchmark.h>

#include "colour/chart_colours.h"
#include "print/chart_file.h"

namespace {

using namespace yarx;
using Clock = std::chrono::steady_clock;

double compute_seconds = 0;  // one computation, once it has run
colour::ChartColours chart;

double seconds_per_iteration(Clock::time_point start, const benchmark::State &state) {
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    return state.iterations() ? elapsed.count() / state.iterations() : 0;
}

// A directory of the run's own for the files, removed at the end.
struct Directory {
    char path[32] = "/tmp/yarx-print-bench.XXXXXX";
    Directory() {
        if (!mkdtemp(path)) std::abort();
    }
    ~Directory() {
        const std::string command = std::string("rm -rf '") + path + "'";
        if (std::system(command.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", path);
    }
    std::string file(const char *name) const { return std::string(path) + "/" + name; }
};
Directory directory;

void report(benchmark::State &state, Clock::time_point start, const std::string &path) {
    const double seconds = seconds_per_iteration(start, state);
    if (compute_seconds > 0) state.counters["x_compute"] = seconds / compute_seconds;
    struct stat st {};
    state.counters["bytes"] = stat(path.c_str(), &st) == 0 ? double(st.st_size) : -1;
}

void BM_ComputeChart(benchmark::State &state) {
    const auto start = Clock::now();
    for (auto _ : state) {
        colour::compute_chart(colour::id_of("d65"), colour::Rendering::cie_rgb, chart);
        benchmark::ClobberMemory();
    }
    compute_seconds = seconds_per_iteration(start, state);
}
BENCHMARK(BM_ComputeChart)->Unit(benchmark::kMillisecond);

// The portrait chart with the fan and the minerals, or the landscape one
// on A4, in the file's format.
void write_file(benchmark::State &state, const char *name, bool landscape) {
    print::FigureSettings settings;
    settings.illuminant = colour::id_of("d65");
    settings.fan = settings.minerals = true;
    settings.landscape = landscape;
    if (landscape) settings.paper = &print::papers[0];
    const std::string path = directory.file(name);
    char reason[256];
    const auto start = Clock::now();
    for (auto _ : state)
        if (print::write_chart(settings, path.c_str(), reason, sizeof reason) !=
            print::WriteOutcome::written)
            state.SkipWithError(reason);
    report(state, start, path);
}

void BM_PortraitPng(benchmark::State &state) { write_file(state, "portrait.png", false); }
void BM_PortraitPdf(benchmark::State &state) { write_file(state, "portrait.pdf", false); }
void BM_PortraitSvg(benchmark::State &state) { write_file(state, "portrait.svg", false); }
void BM_LandscapeA4Png(benchmark::State &state) { write_file(state, "a4.png", true); }
void BM_LandscapeA4Pdf(benchmark::State &state) { write_file(state, "a4.pdf", true); }
void BM_LandscapeA4Svg(benchmark::State &state) { write_file(state, "a4.svg", true); }
BENCHMARK(BM_PortraitPng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PortraitPdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PortraitSvg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LandscapeA4Png)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LandscapeA4Pdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LandscapeA4Svg)->Unit(benchmark::kMillisecond);

// yarx-chart from start to exit: the loader, fontconfig, the computation
// and the file.
void BM_CommandPortraitPdf(benchmark::State &state) {
    const std::string path = directory.file("command.pdf");
    const auto start = Clock::now();
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0) {
            execl(YARX_CHART_EXECUTABLE, "yarx-chart", "--fan", "--minerals", path.c_str(),
                  static_cast<char *>(nullptr));
            _exit(127);
        }
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            state.SkipWithError("yarx-chart failed");
    }
    report(state, start, path);
}
BENCHMARK(BM_CommandPortraitPdf)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
