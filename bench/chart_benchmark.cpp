// How long one chart takes, against the floor of its bare arithmetic (the
// same 81 000 cosines and sums with nothing around them), and a check that a
// computation allocates nothing.
//
// The floor runs first; the full computation then reports its time as a
// multiple of the floor ("x_floor") and its heap allocations per iteration
// ("allocs", which must read 0); the computation in true colours reports
// its time as a multiple of the chart's own colours too ("x_chart"); and
// finding a picked colour on the chart, which a click waits for, reports
// its time as a multiple of the chart's own colours and its allocations.

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <new>

#include <benchmark/benchmark.h>

#include "chart/colour_match.h"
#include "colour/chart_colours.h"

// Every global operator new is counted, then served by malloc.
namespace {
std::atomic<long> allocations{0};

void *counted_allocation(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void *counted_aligned_allocation(std::size_t size, std::align_val_t alignment) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t a = static_cast<std::size_t>(alignment);
    const std::size_t rounded =
        size ? (size + a - 1) / a * a : a;  // aligned_alloc wants a multiple
    if (void *p = std::aligned_alloc(a, rounded)) return p;
    throw std::bad_alloc();
}
}  // namespace

void *operator new(std::size_t n) { return counted_allocation(n); }
void *operator new[](std::size_t n) { return counted_allocation(n); }
void *operator new(std::size_t n, const std::nothrow_t &) noexcept {
    try {
        return counted_allocation(n);
    } catch (...) {
        return nullptr;
    }
}
void *operator new[](std::size_t n, const std::nothrow_t &) noexcept {
    try {
        return counted_allocation(n);
    } catch (...) {
        return nullptr;
    }
}
void *operator new(std::size_t n, std::align_val_t a) { return counted_aligned_allocation(n, a); }
void *operator new[](std::size_t n, std::align_val_t a) { return counted_aligned_allocation(n, a); }
void *operator new(std::size_t n, std::align_val_t a, const std::nothrow_t &) noexcept {
    try {
        return counted_aligned_allocation(n, a);
    } catch (...) {
        return nullptr;
    }
}
void *operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t &) noexcept {
    try {
        return counted_aligned_allocation(n, a);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete(void *p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void *p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void *p, std::align_val_t, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, std::align_val_t, const std::nothrow_t &) noexcept { std::free(p); }

namespace {

using namespace yarx::colour;
using Clock = std::chrono::steady_clock;

double floor_seconds_per_iteration = 0;  // set by the floor, if it ran

double seconds_per_iteration(Clock::time_point start, const benchmark::State &state) {
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    return state.iterations() ? elapsed.count() / state.iterations() : 0;
}

void BM_ArithmeticFloor(benchmark::State &state) {
    double wx[wavelength_samples], wy[wavelength_samples], wz[wavelength_samples];
    Weights weighted_observer;
    compute_weights(id_of("d65"), weighted_observer);
    for (int j = 0; j < wavelength_samples; ++j) {
        wx[j] = weighted_observer[j].x;
        wy[j] = weighted_observer[j].y;
        wz[j] = weighted_observer[j].z;
    }
    double x[chart_rows], y[chart_rows], z[chart_rows];

    const auto start = Clock::now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(wx);
        benchmark::DoNotOptimize(wy);
        benchmark::DoNotOptimize(wz);
        for (int i = 0; i < chart_rows; ++i) {
            const double r = 2.5 * i;
            double sx = 0, sy = 0, sz = 0;
            for (int j = 0; j < wavelength_samples; ++j) {
                const double c = std::cos((r / (5 * j + 380) + 0.5) * 0.5 * 2 * pi);
                const double t = c * c;
                sx += t * wx[j];
                sy += t * wy[j];
                sz += t * wz[j];
            }
            x[i] = sx;
            y[i] = sy;
            z[i] = sz;
        }
        benchmark::DoNotOptimize(x);
        benchmark::DoNotOptimize(y);
        benchmark::DoNotOptimize(z);
        benchmark::ClobberMemory();
    }
    floor_seconds_per_iteration = seconds_per_iteration(start, state);
}
BENCHMARK(BM_ArithmeticFloor)->Unit(benchmark::kMicrosecond);

double chart_seconds_per_iteration = 0;

ChartColours chart;  // set by the chart's own colours, if they ran

// One whole computation, as OK makes it, allocating nothing; its time as a
// multiple of the floor and, in true colours, of the chart's own colours.
void compute_d65(benchmark::State &state, Rendering rendering) {
    long allocated = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        const long before = allocations.load(std::memory_order_relaxed);
        compute_chart(id_of("d65"), rendering, chart);
        allocated += allocations.load(std::memory_order_relaxed) - before;
        benchmark::ClobberMemory();
    }
    const double seconds = seconds_per_iteration(start, state);
    state.counters["allocs"] = state.iterations() ? double(allocated) / state.iterations() : 0;
    if (floor_seconds_per_iteration > 0)
        state.counters["x_floor"] = seconds / floor_seconds_per_iteration;
    if (rendering == Rendering::cie_rgb)
        chart_seconds_per_iteration = seconds;
    else if (chart_seconds_per_iteration > 0)
        state.counters["x_chart"] = seconds / chart_seconds_per_iteration;
}

void BM_FullChartD65(benchmark::State &state) { compute_d65(state, Rendering::cie_rgb); }
BENCHMARK(BM_FullChartD65)->Unit(benchmark::kMicrosecond);

void BM_TrueColoursD65(benchmark::State &state) { compute_d65(state, Rendering::true_colours); }
BENCHMARK(BM_TrueColoursD65)->Unit(benchmark::kMicrosecond);

// A pick: the colour of row 221 against the 1000 bands of the true-colour
// chart in 8 bits, as a 24-bit display gives them.
void BM_MatchOnChart(benchmark::State &state) {
    compute_chart(id_of("d65"), Rendering::true_colours, chart);
    Rgb8 rows[chart_rows];
    for (int i = 0; i < chart_rows; ++i) rows[i] = eight_bit_colour(chart.colours[i]);
    long allocated = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        const long before = allocations.load(std::memory_order_relaxed);
        benchmark::DoNotOptimize(yarx::chart::match_on_chart(rows[221], rows));
        allocated += allocations.load(std::memory_order_relaxed) - before;
    }
    const double seconds = seconds_per_iteration(start, state);
    state.counters["allocs"] = state.iterations() ? double(allocated) / state.iterations() : 0;
    if (chart_seconds_per_iteration > 0)
        state.counters["x_chart"] = seconds / chart_seconds_per_iteration;
}
BENCHMARK(BM_MatchOnChart)->Unit(benchmark::kMicrosecond);

}  // namespace
