// Many charts in a row: OK pressed 500 times, the illuminant changing every
// time, the whole screen exposed and the pointer swept down the chart after
// every press.  The chart stays exact, the program stays up, and its
// resident memory stays flat, however many readings it has shown.

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "fixture.h"

#include <X11/extensions/XTest.h>

namespace yarx::e2e {
namespace {

constexpr int presses = 500;
constexpr int warm_up = 2 * toggle_count;
constexpr long max_growth_kib = 1024;

// VmRSS from /proc/PID/status, in KiB; -1 when it cannot be read.
long resident_kib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

using Soak = YarxTest;

TEST_F(Soak, FiveHundredChartsUnderExposureKeepTheChartExactAndMemoryFlat) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay());
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));
    const Window ok = setup_widget(display(), setup_shell_, SetupWidget::ok);
    RequestCounter counter(*relay_);
    counter.reset();

    // Every press and every exposure draws one whole chart, and the program
    // handles its events in order, so counting colour allocations tells when
    // each has been done.
    long drawn = 0;
    auto wait_for_charts = [&](long charts) {
        drawn += charts;
        return wait_until(
            [&] { return counter.count(XCB_ALLOC_COLOR) >= drawn * chart::colours_per_draw; });
    };

    // Down every third row, without waiting: the reading line changes a
    // few hundred times.
    const ScreenBox on_canvas = on_screen(display(), canvas());
    auto sweep_the_chart = [&] {
        for (int row = 0; row < colour::chart_rows; row += 3)
            XTestFakeMotionEvent(display(), DefaultScreen(display()), on_canvas.x + chart::probe_x,
                                 on_canvas.y + chart::band_top + row, CurrentTime);
    };

    const auto started = std::chrono::steady_clock::now();
    long warm_kib = -1;
    int illuminant = illuminant_at(d68_toggle);
    for (int i = 0; i < presses; ++i) {
        const int index = i % toggle_count;
        illuminant = illuminant_at(index);
        click(display(), toggle(display(), setup_shell_, index));
        click(display(), ok);
        expose_whole_screen(display());
        sweep_the_chart();
        ASSERT_TRUE(wait_for_charts(2))
            << "press " << i << ": " << counter.count(XCB_ALLOC_COLOR)
            << " colour allocations; the program " << (app_->running() ? "runs" : "has ended");
        if (i + 1 == warm_up) warm_kib = resident_kib(app_->pid());
    }
    ASSERT_TRUE(wait_for_chart(illuminant)) << rows_differing(illuminant).size() << " rows differ";
    const long end_kib = resident_kib(app_->pid());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "soak: %d presses, %ld charts drawn in %.1f s; VmRSS %ld KiB after %d presses, "
        "%ld KiB at the end (%+ld KiB)\n",
        presses, drawn, seconds, warm_kib, warm_up, end_kib, end_kib - warm_kib);

    EXPECT_EQ(counter.count(XCB_ALLOC_COLOR), drawn * chart::colours_per_draw)
        << "charts drawn more often than pressed and exposed";
    ASSERT_TRUE(app_->running()) << app_->standard_error();
    ASSERT_GT(warm_kib, 0);
    EXPECT_LT(end_kib - warm_kib, max_growth_kib);
}

}  // namespace
}  // namespace yarx::e2e
