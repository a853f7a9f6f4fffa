// The chart window: what it draws, when, and what it reads under the
// pointer.

#include <signal.h>
#include <sys/wait.h>

#include <array>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "chart/reading.h"
#include "colour/illuminants.h"
#include "fixture.h"

namespace yarx::e2e {
namespace {

ServerOptions with_window_manager() {
    ServerOptions options;
    options.window_manager = true;
    return options;
}

// Whether the process is stopped (by SIGSTOP), without reaping it.
bool stopped(pid_t pid) {
    int status;
    return waitpid(pid, &status, WUNTRACED | WNOHANG) == pid && WIFSTOPPED(status);
}

// Maps and unmaps an override-redirect window over part of the screen,
// without waiting for the server.
void cover(Display *display, int x, int y, int width, int height) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = WhitePixel(display, 0);
    const Window window =
        XCreateWindow(display, DefaultRootWindow(display), x, y, width, height, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapWindow(display, window);
    XUnmapWindow(display, window);
    XDestroyWindow(display, window);
}

class ChartWindow : public YarxTest {
protected:
    // Shows the chart, closes it with close_chart, chooses another
    // illuminant and presses OK: the same window must come back with the new
    // chart, without a new window or graphics context.
    void expect_pop_down_and_back(const std::function<void(Window)> &close_chart,
                                  int toggle_index) {
        ASSERT_NE(press_ok(), None);
        ASSERT_TRUE(wait_for_chart(illuminant_d68));
        RequestCounter counter(*relay_);
        const Window shell = chart_shell_;

        close_chart(shell);
        ASSERT_TRUE(wait_until([&] { return !viewable(display(), shell); }));
        EXPECT_TRUE(app_->running()) << "closing the chart ended the program";

        ASSERT_NO_FATAL_FAILURE(show_chart(toggle_index));
        EXPECT_EQ(chart_shell_, shell);
        settled_count(counter, XCB_ALLOC_COLOR);
        EXPECT_EQ(counter.count(XCB_CREATE_GC), 0);
        EXPECT_EQ(counter.count(XCB_CREATE_WINDOW), 0);
    }

    // Freezes the program so that what the test does next reaches it as one
    // burst of events.
    void freeze() {
        ASSERT_EQ(kill(app_->pid(), SIGSTOP), 0);
        ASSERT_TRUE(wait_until([&] { return stopped(app_->pid()); }));
    }
    void thaw() {
        XSync(display(), False);
        // Through a relay, the events reach the program once it has passed
        // on all it has been sent.
        if (relay_) {
            EXPECT_TRUE(wait_until([&] { return relay_->idle(); }));
        }
        kill(app_->pid(), SIGCONT);
    }
};

TEST_F(ChartWindow, OkShowsTheDialogAndDrawsTheChartPixelForPixel) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(press_ok(), None);

    // Dismiss, Pick colour, Save and Figure..., the separator, the canvas's scrolled
    // window and the panel right of it, in a form; in the panel the reading
    // line, the plate's line, the pick line and the save line, in that order.
    ASSERT_EQ(children(display(), chart_shell_).size(), 1u);
    const Window form = child_at(display(), chart_shell_, {0});
    ASSERT_EQ(children(display(), form).size(), 7u);
    XWindowAttributes attributes;
    ASSERT_TRUE(XGetWindowAttributes(display(), canvas(), &attributes));
    EXPECT_EQ(attributes.width, canvas_width);
    EXPECT_EQ(attributes.height, canvas_height);
    const auto box_of = [&](ChartWidget widget) {
        return on_screen(display(), chart_widget(display(), chart_shell_, widget));
    };
    const ScreenBox dismiss = box_of(ChartWidget::dismiss), pick = box_of(ChartWidget::pick),
                    separator = box_of(ChartWidget::separator),
                    scroller_box = box_of(ChartWidget::scroller),
                    panel = box_of(ChartWidget::panel), reading = box_of(ChartWidget::reading),
                    plate = box_of(ChartWidget::plate), pick_line = box_of(ChartWidget::pick_line),
                    save = box_of(ChartWidget::save), save_line = box_of(ChartWidget::save_line);
    EXPECT_GE(pick.x, dismiss.x + dismiss.width);
    EXPECT_GE(save.x, pick.x + pick.width);
    EXPECT_LT(pick.y, separator.y);
    EXPECT_LT(dismiss.y, separator.y);
    EXPECT_EQ(scroller_box.y, separator.y + separator.height);
    EXPECT_EQ(panel.y, scroller_box.y);
    EXPECT_EQ(panel.x, scroller_box.x + scroller_box.width);
    EXPECT_LT(reading.y, plate.y);
    EXPECT_LT(plate.y, pick_line.y);
    EXPECT_LT(pick_line.y, save_line.y);
    for (const ScreenBox &line : {reading, plate, pick_line, save_line})
        EXPECT_TRUE(line.x >= panel.x && line.x + line.width <= panel.x + panel.width) << line.x;

    // With room for the whole chart nothing scrolls: the canvas fills the
    // scrolled window, as if it stood there alone, and the scroll bar is
    // kept outside it.
    XWindowAttributes bar, scroller;
    ASSERT_TRUE(XGetWindowAttributes(
        display(), chart_widget(display(), chart_shell_, ChartWidget::vertical_scroll_bar), &bar));
    ASSERT_TRUE(XGetWindowAttributes(
        display(), chart_widget(display(), chart_shell_, ChartWidget::scroller), &scroller));
    EXPECT_GE(bar.x, scroller.width);
    EXPECT_EQ(scroller.width, canvas_width);
    EXPECT_EQ(scroller.height, canvas_height);
    const ScreenBox on_canvas = on_screen(display(), canvas());
    EXPECT_EQ(on_canvas.x, scroller_box.x);
    EXPECT_EQ(on_canvas.y, scroller_box.y);

    EXPECT_EQ(wait_for_canvas(illuminant_d68), "");
}

TEST_F(ChartWindow, EachIlluminantGivesItsOwnBands) {
    ASSERT_NO_FATAL_FAILURE(start());
    for (const int toggle_index : {d65_toggle, a_toggle, eew_toggle, d32_toggle}) {
        SCOPED_TRACE("illuminant " + std::to_string(illuminant_at(toggle_index)));
        ASSERT_NO_FATAL_FAILURE(show_chart(toggle_index));
    }
}

TEST_F(ChartWindow, SecondOkRedrawsInPlaceWithTheSameWindowAndGc) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay());
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));
    const Window first_canvas = canvas();
    RequestCounter counter(*relay_);
    settled_count(counter, XCB_ALLOC_COLOR);  // let the first chart finish
    counter.reset();

    ASSERT_NO_FATAL_FAILURE(choose(d65_toggle));
    click(display(), setup_widget(display(), setup_shell_, SetupWidget::ok));
    EXPECT_TRUE(wait_for_chart(illuminant_d65));
    // One full draw.
    EXPECT_EQ(settled_count(counter, XCB_ALLOC_COLOR), chart::colours_per_draw);
    EXPECT_EQ(counter.count(XCB_CREATE_GC), 0);
    EXPECT_EQ(counter.count(XCB_CREATE_WINDOW), 0);
    EXPECT_EQ(find_shell(display(), chart_shell_name), chart_shell_);
    EXPECT_EQ(canvas(), first_canvas);
    EXPECT_EQ(wait_for_canvas(illuminant_d65), "");
}

TEST_F(ChartWindow, ChoosingAnIlluminantChangesNothingUntilOk) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));
    ASSERT_NO_FATAL_FAILURE(choose(a_toggle));
    // A redraw now, after the choice, must still show the chart of D68.
    expose_whole_screen(display());
    EXPECT_EQ(wait_for_canvas(illuminant_d68), "");

    ASSERT_NE(press_ok(), None);
    EXPECT_TRUE(wait_for_chart(illuminant_a));
}

TEST_F(ChartWindow, DismissPopsDownAndOkBringsBackTheChartInForce) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay());
    ASSERT_NO_FATAL_FAILURE(expect_pop_down_and_back(
        [&](Window shell) {
            click(display(), chart_widget(display(), shell, ChartWidget::dismiss));
        },
        d65_toggle));
}

TEST_F(ChartWindow, ClosingThroughTheWindowManagerPopsDownLikeDismiss) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay(with_window_manager()));
    ASSERT_NO_FATAL_FAILURE(expect_pop_down_and_back(
        [&](Window shell) { close_through_window_manager(display(), shell); }, a_toggle));
}

TEST_F(ChartWindow, UnderAWindowManagerTheChartIsPaintedAndRepaintedInFull) {
    ASSERT_NO_FATAL_FAILURE(start(with_window_manager()));
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(wait_for_canvas(illuminant_d68), "")
        << "the first OK left part of the chart unpainted";

    // The server clears the canvas to black before expose_whole_screen
    // returns; only the program's redraw brings the chart back.
    expose_whole_screen(display());
    EXPECT_EQ(wait_for_canvas(illuminant_d68), "");
}

TEST_F(ChartWindow, BurstOfExposuresRedrawsOnce) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay(with_window_manager()));
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));
    RequestCounter counter(*relay_);
    settled_count(counter, XCB_ALLOC_COLOR);
    counter.reset();

    const auto [x, y, canvas_w, canvas_h] = on_screen(display(), canvas());
    ASSERT_NO_FATAL_FAILURE(freeze());
    const int width = DisplayWidth(display(), DefaultScreen(display())),
              height = DisplayHeight(display(), DefaultScreen(display()));
    cover(display(), 0, 0, width, height);
    for (int i = 0; i < 3; ++i) cover(display(), x + 60, y + 100 + 200 * i, 300, 150);
    cover(display(), 0, 0, width, height);
    cover(display(), x + 400, y + 200, 100, 600);  // over the notice image
    thaw();

    EXPECT_EQ(wait_for_canvas(illuminant_d68), "");
    EXPECT_EQ(settled_count(counter, XCB_ALLOC_COLOR), chart::colours_per_draw)
        << "not one redraw per burst";
}

TEST_F(ChartWindow, OtherPendingEventsDoNotHoldBackTheRedraw) {
    ASSERT_NO_FATAL_FAILURE(start(with_window_manager()));
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));

    const auto [x, y, canvas_w, canvas_h] = on_screen(display(), canvas());
    ASSERT_NO_FATAL_FAILURE(freeze());
    cover(display(), x + 20, y + 300, 500, 300);
    // Events for the program queued right behind the exposure.
    for (Window target : {canvas(), chart_shell_, setup_shell_}) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = target;
        event.xclient.message_type = XInternAtom(display(), "YARX_TEST_NOISE", False);
        event.xclient.format = 32;
        XSendEvent(display(), target, False, NoEventMask, &event);
    }
    thaw();

    EXPECT_EQ(wait_for_canvas(illuminant_d68), "");
}

// True colours: on from the start through the resource, off again with the
// toggle; each takes effect at OK, which draws the whole chart exactly.
TEST_F(ChartWindow, TrueColoursTakeEffectAtOkAndGoBackExactly) {
    ASSERT_NO_FATAL_FAILURE(start({}, {"-xrm", "*setupsrgb.set: True"}));
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(wait_for_canvas(illuminant_d68, Rendering::true_colours), "");
    for (const int toggle_index : {d65_toggle, a_toggle}) {
        SCOPED_TRACE("illuminant " + std::to_string(illuminant_at(toggle_index)));
        ASSERT_NO_FATAL_FAILURE(show_chart(toggle_index, Rendering::true_colours));
    }
    EXPECT_EQ(title_of(chart_shell_), "yarx: CIE A, sRGB");

    click(display(), true_colours_toggle());
    ASSERT_TRUE(wait_until([&] { return !shows_colour(true_colours_toggle(), yellow); }));
    expose_whole_screen(display());
    EXPECT_EQ(wait_for_canvas(illuminant_a, Rendering::true_colours), "") << "changed before OK";
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(wait_for_canvas(illuminant_a), "");
    EXPECT_EQ(title_of(chart_shell_), "yarx: CIE A");
}

// A point on the canvas.
struct Point {
    int x, y;
};

// The fan, on from the start through the resource, draws over the chart
// only on its lines and in the margins, and is gone again, bit for bit, at
// the OK after the toggle is turned off: in the chart's own colours, then in
// true colours.  Over the bands the reading, and the plate's line with it,
// takes the fan's thickness: on the 30 µm line it reads as the plain chart
// reads anywhere, which is the hint each line is started with.
TEST_F(ChartWindow, TheFanDrawsOnlyOnItsLinesAndInTheMarginsAndGoesAgainExactly) {
    ASSERT_NO_FATAL_FAILURE(
        start({}, {"-xrm", "*setupfan.set: True", "-xrm", "*canvasread.readingTemplate: %b at %t",
                   "-xrm", "*canvasread.labelString: 0.0090 at 30", "-xrm",
                   "*canvasplateread.readingTemplate: %b at %t", "-xrm",
                   "*canvasplateread.labelString: 0.0090 at 30"}));
    const Window fan_toggle = setup_widget(display(), setup_shell_, SetupWidget::fan);
    const auto turn = [&](Window toggle, bool on) {
        click(display(), toggle);
        ASSERT_TRUE(wait_until([&] { return shows_colour(toggle, yellow) == on; }));
    };
    using Lines = std::array<std::vector<unsigned char>, 2>;
    Lines at_30_um;  // the hints' pixels
    const auto line_pixels = [&] {
        const auto of = [&](ChartWidget line) {
            return rgb_bytes(Image(display(), chart_widget(display(), chart_shell_, line)));
        };
        return Lines{of(ChartWidget::reading), of(ChartWidget::plate_reading)};
    };
    // Both lines read something else at the first point, then the reading
    // at 30 µm at the second.
    const auto reads_30_um_after = [&](Point elsewhere, Point there) {
        move_pointer_to(display(), canvas(), elsewhere.x, elsewhere.y);
        EXPECT_TRUE(wait_until([&] {
            const Lines now = line_pixels();
            return now[0] != at_30_um[0] && now[1] != at_30_um[1];
        }));
        move_pointer_to(display(), canvas(), there.x, there.y);
        return wait_until([&] { return line_pixels() == at_30_um; });
    };
    for (const Rendering rendering : {Rendering::cie_rgb, Rendering::true_colours}) {
        SCOPED_TRACE(rendering == Rendering::cie_rgb ? "own colours" : "true colours");
        if (rendering == Rendering::true_colours) {
            ASSERT_NO_FATAL_FAILURE(turn(true_colours_toggle(), true));
            ASSERT_NO_FATAL_FAILURE(turn(fan_toggle, true));
        }
        ASSERT_NE(press_ok(), None);
        EXPECT_EQ(wait_for_fan(illuminant_d68, rendering), "");
        if (at_30_um[0].empty()) at_30_um = line_pixels();
        // Row 108 at 20 µm, then at 30 µm.
        EXPECT_TRUE(reads_30_um_after({250, 128}, {350, 128}));

        ASSERT_NO_FATAL_FAILURE(turn(fan_toggle, false));
        ASSERT_NE(press_ok(), None);
        EXPECT_EQ(wait_for_canvas(illuminant_d68, rendering), "");
        // Row 208, then row 108 at the section's thickness.
        EXPECT_TRUE(reads_30_um_after({75, 228}, {75, 128}));
    }
}

// A bad thickness and a bad plate are named and set aside; two rows read
// differently; with the fan, whose reading changes from column to column
// too, a sweep of 200 motions, the plate's line and swatches following, asks
// the server nothing that waits for an answer; the window keeps its size,
// though the hint has one line and a reading two; and the canvas stays as it
// was.
TEST_F(ChartWindow, TheReadingLineFollowsThePointerWithoutARoundTrip) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay(
        {}, Duration(0),
        {"-xrm", "*thickness: abc", "-xrm", "*compensator: 3000", "-xrm", "*setupfan.set: True"}));
    EXPECT_EQ(app_->standard_error(),
              "yarx: thickness 'abc' is not a number from 1 to 1000; using 30\n"
              "yarx: compensator '3000' is not a number from 0 to 2497.5; using 550\n");
    ASSERT_NE(press_ok(), None);
    ASSERT_EQ(wait_for_fan(illuminant_d68), "");
    const std::vector<unsigned char> chart = rgb_bytes(Image(display(), canvas()));
    const Window line = chart_widget(display(), chart_shell_, ChartWidget::reading);
    const auto line_pixels = [&] { return rgb_bytes(Image(display(), line)); };
    const auto size_of = [&](Window window) {
        XWindowAttributes a{};
        XGetWindowAttributes(display(), window, &a);
        return std::pair{a.width, a.height};
    };
    const auto shell_size = size_of(chart_shell_), line_size = size_of(line);
    // Moves to the row and waits until the line shows other words, the same
    // in two pictures running: not the bare background, nor the first of its
    // lines alone, that it shows for a moment while it is rewritten.
    const auto read_row = [&](int row, int x, const std::vector<unsigned char> &before) {
        move_pointer_to(display(), canvas(), x, chart::band_top + row);
        std::vector<unsigned char> now, last;
        const auto has_words = [&] {
            for (std::size_t i = 3; i < now.size(); ++i)
                if (now[i] != now[i % 3]) return true;
            return false;
        };
        EXPECT_TRUE(wait_until([&] {
            last = std::exchange(now, line_pixels());
            return now != before && has_words() && now == last;
        })) << row;
        return now;
    };
    const auto hint = line_pixels();
    const auto row_108 = read_row(108, chart::probe_x, hint);
    read_row(440, 520, row_108);

    RequestCounter counter(*relay_);
    for (int k = 0; k < 199; ++k)
        move_pointer_to(display(), canvas(), 7 * k % canvas_width, 220 + 3 * k);
    move_pointer_to(display(), canvas(), 75, chart::band_top + 108);
    EXPECT_TRUE(wait_until([&] { return line_pixels() == row_108; }));
    ASSERT_TRUE(wait_until([&] { return relay_->idle(); }));
    std::string sent;
    for (int opcode = 0; opcode < 256; ++opcode)
        if (counter.count(opcode))
            sent += " " + std::to_string(opcode) + ":" + std::to_string(counter.count(opcode));
    std::printf("requests of the motion sweep by opcode:%s\n", sent.c_str());
    for (const int opcode : reply_bearing_opcodes) EXPECT_EQ(counter.count(opcode), 0) << opcode;
    EXPECT_EQ(size_of(chart_shell_), shell_size);
    EXPECT_EQ(size_of(line), line_size);
    EXPECT_TRUE(rgb_bytes(Image(display(), canvas())) == chart);
}

// Where the pointer's row puts the plate's added and subtracted
// retardations: the rows whose band pixels the swatches show.
struct PlateSwatches {
    int row, added, subtracted;
};
struct Plate {
    const char *resource;                 // "*compensator: ...", or none
    std::vector<PlateSwatches> swatches;  // none: no plate, no line
};
void PrintTo(const Plate &plate, std::ostream *out) {
    *out << (plate.resource ? plate.resource : "the default plate");
}

class PlateLine : public ChartWindow, public ::testing::WithParamInterface<Plate> {
protected:
    // Whether the swatch shows the row's band pixel and nothing else, or
    // for no_row, shows not at all.
    bool swatch_shows(ChartWidget swatch, int row,
                      const std::array<unsigned long, colour::chart_rows> &bands) {
        const Window window = chart_widget(display(), chart_shell_, swatch);
        if (row == chart::no_row) return !viewable(display(), window);
        const Image image(display(), window);
        if (!image.valid() || image.width() < 12 || image.height() < 12) return false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != bands[row]) return false;
        return true;
    }
    void expect_swatches(const PlateSwatches &at, Rendering rendering) {
        const auto bands = expected_band_pixels(display(), illuminant_d68, rendering);
        move_pointer_to(display(), canvas(), 300, chart::band_top + at.row);
        EXPECT_TRUE(wait_until([&] {
            return swatch_shows(ChartWidget::added_swatch, at.added, bands) &&
                   swatch_shows(ChartWidget::subtracted_swatch, at.subtracted, bands);
        })) << "row "
            << at.row;
    }
};

// Each row's swatches, then the last again once OK has drawn the chart in
// true colours.
TEST_P(PlateLine, TheSwatchesShowTheBandsThePlateAddsAndSubtracts) {
    const Plate &plate = GetParam();
    std::vector<std::string> args;
    if (plate.resource) args = {"-xrm", plate.resource};
    ASSERT_NO_FATAL_FAILURE(start({}, args));
    ASSERT_NE(press_ok(), None);
    ASSERT_EQ(wait_for_canvas(illuminant_d68), "");
    const Window line = chart_widget(display(), chart_shell_, ChartWidget::plate);
    if (plate.swatches.empty()) {
        const Window reading = chart_widget(display(), chart_shell_, ChartWidget::reading);
        const auto hint = rgb_bytes(Image(display(), reading));
        move_pointer_to(display(), canvas(), 300, chart::band_top + 400);
        EXPECT_TRUE(wait_until([&] { return rgb_bytes(Image(display(), reading)) != hint; }));
        EXPECT_FALSE(viewable(display(), line));
        return;
    }
    EXPECT_TRUE(viewable(display(), line));
    for (const PlateSwatches &at : plate.swatches) expect_swatches(at, Rendering::cie_rgb);

    click(display(), true_colours_toggle());
    ASSERT_TRUE(wait_until([&] { return shows_colour(true_colours_toggle(), yellow); }));
    ASSERT_NE(press_ok(), None);
    ASSERT_EQ(wait_for_canvas(illuminant_d68, Rendering::true_colours), "");
    expect_swatches(plate.swatches.back(), Rendering::true_colours);
}

INSTANTIATE_TEST_SUITE_P(
    , PlateLine,
    ::testing::Values(Plate{nullptr, {{108, 328, 112}, {400, 620, 180}, {901, chart::no_row, 681}}},
                      Plate{"*compensator: 147", {{400, 459, 341}}}, Plate{"*compensator: 0", {}}));

// The minerals a reading names, as the line shows them.  The line is
// started with the expected words as its hint; having shown another
// reading, it must show the hint's very pixels again at the row.
struct NamedAt {
    const char *thickness;
    int row;
    const char *expected;
    const char *text_template = "%m";
};

void PrintTo(const NamedAt &c, std::ostream *out) { *out << '"' << c.expected << '"'; }

class TheReadingNamesTheCandidates : public ChartWindow,
                                     public ::testing::WithParamInterface<NamedAt> {};

TEST_P(TheReadingNamesTheCandidates, UnderThePointer) {
    const NamedAt &c = GetParam();
    std::vector<std::string> args = {"-xrm", std::string("*thickness: ") + c.thickness, "-xrm",
                                     std::string("*canvasread.labelString: ") + c.expected};
    if (c.text_template) {
        args.insert(args.end(),
                    {"-xrm", std::string("*canvasread.readingTemplate: ") + c.text_template});
    }
    ASSERT_NO_FATAL_FAILURE(start({}, args));
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));
    const Window line = chart_widget(display(), chart_shell_, ChartWidget::reading);
    const auto line_pixels = [&] { return rgb_bytes(Image(display(), line)); };
    const auto expected = line_pixels();
    move_pointer_to(display(), canvas(), chart::probe_x, chart::band_bottom);
    ASSERT_TRUE(wait_until([&] { return line_pixels() != expected; }));
    move_pointer_to(display(), canvas(), chart::probe_x, chart::band_top + c.row);
    EXPECT_TRUE(wait_until([&] { return line_pixels() == expected; }));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TheReadingNamesTheCandidates,
    ::testing::Values(NamedAt{"30", 108, "quartz, topaz, andalusite, clinozoisite, ..."},
                      NamedAt{"30", 540, "talc, anhydrite, olivine, muscovite, ..."},
                      NamedAt{"30", 0, "garnet, apatite, serpentine, chlorite"},
                      NamedAt{"10", 720, "dolomite, calcite, titanite"},
                      // The default template, on its second line.
                      NamedAt{"30", 108,
                              "270.0 nm   order I   birefringence 0.0090 at 30 \\265m\\n"
                              "candidates: quartz, topaz, andalusite, clinozoisite, ...",
                              nullptr}),
    [](const ::testing::TestParamInfo<NamedAt> &info) {
        return "Row" + std::to_string(info.param.row) + "At" + info.param.thickness +
               (info.param.text_template ? "" : "ByDefault");
    });

TEST_F(ChartWindow, TooFewColoursEndTheProgramWithQwib) {
    ServerOptions options;
    options.depth = 8;
    ASSERT_NO_FATAL_FAILURE(start(options));
    ASSERT_EQ(DefaultVisual(display(), 0)->c_class, PseudoColor);

    click(display(), setup_widget(display(), setup_shell_, SetupWidget::ok));
    const auto status = app_->wait_exit();
    ASSERT_TRUE(status.has_value()) << "still running after OK on 256 colours";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 1);
    EXPECT_EQ(app_->standard_output(), "QWIB!!!\n");
}

}  // namespace
}  // namespace yarx::e2e
