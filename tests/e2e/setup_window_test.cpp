// The setup window: start-up state, the radio box, leaving the program, and
// the toolkit's command line.

#include <sys/wait.h>

#include "fixture.h"

namespace yarx::e2e {
namespace {

using SetupWindow = YarxTest;

TEST_F(SetupWindow, StartsWithD68OnAndNoChart) {
    ASSERT_NO_FATAL_FAILURE(start());
    EXPECT_TRUE(wait_until([&] { return toggle_shows(d68_toggle, yellow); }));
    EXPECT_EQ(toggles_on(), 1);
    EXPECT_EQ(find_shell(display(), chart_shell_name), None) << "the chart waits for OK";
}

TEST_F(SetupWindow, RadioBoxKeepsExactlyOneOn) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(wait_until([&] { return toggle_shows(d68_toggle, yellow); }));
    click(display(), toggle(display(), setup_shell_, a_toggle));
    ASSERT_TRUE(wait_until(
        [&] { return toggle_shows(a_toggle, yellow) && !toggle_shows(d68_toggle, yellow); }));
    EXPECT_EQ(toggles_on(), 1);

    // Clicking the toggle that is on leaves it on: pressed, it shows what a
    // release would do (off); released, it must come back on.
    press(display(), toggle(display(), setup_shell_, a_toggle));
    ASSERT_TRUE(wait_until([&] { return !toggle_shows(a_toggle, yellow); }));
    release(display());
    EXPECT_TRUE(wait_until([&] { return toggle_shows(a_toggle, yellow); }));
    EXPECT_EQ(toggles_on(), 1);
}

TEST_F(SetupWindow, ExitEndsWithStatusZeroAndSaysNothing) {
    ASSERT_NO_FATAL_FAILURE(start());
    click(display(), setup_widget(display(), setup_shell_, SetupWidget::exit));
    expect_clean_exit("after Exit");
    EXPECT_EQ(app_->standard_error(), "");
}

TEST_F(SetupWindow, ExitWithTheChartShownEndsWithStatusZero) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(press_ok(), None);
    click(display(), setup_widget(display(), setup_shell_, SetupWidget::exit));
    expect_clean_exit("after Exit");
}

TEST_F(SetupWindow, ClosingThroughTheWindowManagerEndsWithStatusZero) {
    ServerOptions options;
    options.window_manager = true;
    ASSERT_NO_FATAL_FAILURE(start(options));
    close_through_window_manager(display(), setup_shell_);
    expect_clean_exit("after the window manager's close");
}

TEST_F(SetupWindow, UserResourcesOverrideTheFallbacks) {
    ASSERT_NO_FATAL_FAILURE(start({}, {"-xrm", "*c*selectColor: red"}));
    EXPECT_TRUE(wait_until([&] { return toggle_shows(d68_toggle, Rgb8{255, 0, 0}); }));
    EXPECT_FALSE(toggle_shows(d68_toggle, yellow));
    // The others keep the fallback colour.
    click(display(), toggle(display(), setup_shell_, d65_toggle));
    EXPECT_TRUE(wait_until([&] { return toggle_shows(d65_toggle, yellow); }));
}

// The application defaults file the package installs, which the toolkit
// reads instead of the built-in list, shows the same labels and chart: the
// program on one server with its built-in list, on another with the file.
TEST_F(SetupWindow, TheApplicationDefaultsFileShowsWhatTheBuiltInListShows) {
    XServer built_in_server;
    Display *built_in_display = built_in_server.display();
    App built_in(built_in_server);
    ASSERT_NO_FATAL_FAILURE(start_server());
    ASSERT_NO_FATAL_FAILURE(launch({}, {"XFILESEARCHPATH=" YARX_APP_DEFAULTS_FILE}));
    const auto looks_the_same = [&](Window built_in_window, Window window) {
        return wait_until([&] {
            return rgb_bytes(Image(built_in_display, built_in_window)) ==
                   rgb_bytes(Image(display(), window));
        });
    };
    const Window built_in_setup = wait_for_shell(built_in_display, setup_shell_name);
    EXPECT_TRUE(looks_the_same(built_in_setup, setup_shell_)) << "the setup windows differ";

    click(built_in_display, setup_widget(built_in_display, built_in_setup, SetupWidget::ok));
    ASSERT_NO_FATAL_FAILURE(show_chart(d68_toggle));
    EXPECT_TRUE(looks_the_same(wait_for_shell(built_in_display, chart_shell_name), chart_shell_))
        << "the chart windows differ";
}

TEST_F(SetupWindow, BadDisplayEndsPromptlyWithTheToolkitsMessage) {
    ASSERT_NO_FATAL_FAILURE(start_server());
    App app(*server_, {"-display", ":4093"});
    const auto status = app.wait_exit(10s);
    ASSERT_TRUE(status.has_value()) << "hung on a display that does not exist";
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_NE(WEXITSTATUS(*status), 0);
    EXPECT_NE(app.standard_error().find("Can't open display"), std::string::npos)
        << app.standard_error();
}

// Whatever the toolkit leaves of the command line ends the program before it
// creates a window: a line naming the first such argument, a usage line and
// status 2.
TEST_F(SetupWindow, LeftoverArgumentsEndWithUsageAndStatusTwoBeforeAnyWindow) {
    struct Leftover {
        std::vector<std::string> args;
        std::string named;
    };
    const Leftover leftovers[] = {
        {{"-dispaly", "otherhost:0"}, "-dispaly"},
        {{"-help"}, "-help"},
        {{"--help"}, "--help"},
        {{"-geometry", "+0+0", "chart"}, "chart"},  // the toolkit's own option is taken
        {{"-xrm"}, "-xrm"},                         // a toolkit option without its value
        {{""}, ""},
    };
    const std::string usage =
        "usage: yarx [-display host:n] [-geometry geometry] [-name name]"
        " [-xrm 'resource: value'] ...\n";

    ASSERT_NO_FATAL_FAILURE(start_server());
    // Any top-level window shown, however briefly, is reported here.  (Motif
    // makes two unmapped 1x1 windows of its own while the toolkit starts.)
    XSelectInput(display(), server_->root(), SubstructureNotifyMask);
    XSync(display(), False);
    for (const Leftover &leftover : leftovers) {
        SCOPED_TRACE("leftover '" + leftover.named + "'");
        app_ = std::make_unique<App>(*server_, leftover.args);
        const auto status = app_->wait_exit();
        ASSERT_TRUE(status.has_value()) << "still running";
        ASSERT_TRUE(WIFEXITED(*status));
        EXPECT_EQ(WEXITSTATUS(*status), 2);
        EXPECT_EQ(app_->standard_error(),
                  "yarx: unexpected argument '" + leftover.named + "'\n" + usage);
        EXPECT_EQ(app_->standard_output(), "");
        XSync(display(), False);
        XEvent event;
        EXPECT_FALSE(XCheckTypedEvent(display(), MapNotify, &event)) << "it showed a window";
    }
}

}  // namespace
}  // namespace yarx::e2e
