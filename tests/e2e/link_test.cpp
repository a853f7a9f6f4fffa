// The chart over a network link: every draw asks the server for all its
// colours at once, in the order it uses them, before it waits for a single
// answer, so a draw costs one round trip however far away the display is;
// and over a slow link the chart is exact and the program answers.

#include <sstream>
#include <string>
#include <vector>

#include "fixture.h"

namespace yarx::e2e {
namespace {

// Where the colours asked for differ from those expected; empty when they
// do not.
std::string colour_differences(const std::vector<ColourRequest> &got,
                               const std::vector<ColourRequest> &want) {
    std::ostringstream out;
    if (got.size() != want.size())
        out << got.size() << " colours asked for, not " << want.size() << "; ";
    for (size_t i = 0; i < std::min(got.size(), want.size()); ++i) {
        if (got[i] == want[i]) continue;
        out << "colour " << i << " is (" << got[i].red << "," << got[i].green << "," << got[i].blue
            << ") in colormap " << got[i].colormap << ", not (" << want[i].red << ","
            << want[i].green << "," << want[i].blue << ") in " << want[i].colormap;
        break;
    }
    return out.str();
}

class OverTheLink : public YarxTest {
protected:
    // Shows the first chart and lets the program finish with it, the redraw
    // of the window's first exposure included.
    void show_first_chart() {
        ASSERT_NO_FATAL_FAILURE(show_chart(d68_toggle));
        settled_count(RequestCounter(*relay_), XCB_ALLOC_COLOR);
    }

    // Waits until the program has sent a whole draw's colour allocations
    // while the answer to the first of them is held back on the link.
    bool wait_for_draw_sent_unanswered(const RequestCounter &counter) {
        return wait_until([&] {
            return relay_->holding() && counter.count(XCB_ALLOC_COLOR) == chart::colours_per_draw;
        });
    }
};

TEST_F(OverTheLink, EveryDrawAsksForItsColoursInOrderForEveryIlluminant) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay());
    ASSERT_NO_FATAL_FAILURE(show_first_chart());
    RequestCounter counter(*relay_);
    for (int index = 0; index < toggle_count; ++index) {
        const int illuminant = illuminant_at(index);
        SCOPED_TRACE("illuminant " + std::to_string(illuminant));
        const std::vector<ColourRequest> expected = expected_colour_requests(display(), illuminant);
        ASSERT_NO_FATAL_FAILURE(choose(index));

        counter.reset();
        click(display(), setup_widget(display(), setup_shell_, SetupWidget::ok));
        EXPECT_EQ(wait_for_canvas(illuminant), "") << "after OK";
        EXPECT_EQ(settled_count(counter, XCB_ALLOC_COLOR), chart::colours_per_draw) << "after OK";
        EXPECT_EQ(colour_differences(counter.colours(), expected), "") << "after OK";

        counter.reset();
        expose_whole_screen(display());
        EXPECT_EQ(wait_for_canvas(illuminant), "") << "after an exposure";
        EXPECT_EQ(settled_count(counter, XCB_ALLOC_COLOR), chart::colours_per_draw)
            << "after an exposure";
        EXPECT_EQ(colour_differences(counter.colours(), expected), "") << "after an exposure";
    }
}

// The link holds back the server's answer to the first colour: a program
// that waited for each answer before it asked for the next colour would
// stop at one request.
TEST_F(OverTheLink, EveryDrawSendsAllItsColoursBeforeWaitingForAnAnswer) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay());
    ASSERT_NO_FATAL_FAILURE(show_first_chart());

    RequestCounter counter(*relay_);
    relay_->hold_colour_answers();
    expose_whole_screen(display());
    EXPECT_TRUE(wait_for_draw_sent_unanswered(counter))
        << counter.count(XCB_ALLOC_COLOR) << " colours asked for by the exposure's redraw";
    relay_->release();
    EXPECT_EQ(wait_for_canvas(illuminant_d68), "");
    EXPECT_EQ(settled_count(counter, XCB_ALLOC_COLOR), chart::colours_per_draw);

    ASSERT_NO_FATAL_FAILURE(choose(d65_toggle));
    counter.reset();
    relay_->hold_colour_answers();
    click(display(), setup_widget(display(), setup_shell_, SetupWidget::ok));
    EXPECT_TRUE(wait_for_draw_sent_unanswered(counter))
        << counter.count(XCB_ALLOC_COLOR) << " colours asked for by OK";
    relay_->release();
    EXPECT_EQ(wait_for_canvas(illuminant_d65), "");
    EXPECT_EQ(settled_count(counter, XCB_ALLOC_COLOR), chart::colours_per_draw);
}

// 5 ms each way, as a nearby host over ssh; no timing, only the result.
TEST_F(OverTheLink, OverASlowLinkTheChartIsExactAndExitWorks) {
    ServerOptions options;
    options.window_manager = true;
    ASSERT_NO_FATAL_FAILURE(start_through_relay(options, 5ms));
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(wait_for_canvas(illuminant_d68), "") << "after OK";

    // The server clears the canvas before expose_whole_screen returns.
    expose_whole_screen(display());
    EXPECT_EQ(wait_for_canvas(illuminant_d68), "") << "after an exposure";

    click(display(), setup_widget(display(), setup_shell_, SetupWidget::exit));
    expect_clean_exit("after Exit");
}

}  // namespace
}  // namespace yarx::e2e
