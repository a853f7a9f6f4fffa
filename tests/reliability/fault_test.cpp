// The program under faults: the X server dying under it, fonts missing,
// colour allocation refused, and odd toolkit input.  Whatever happens, it
// ends with a status of its own (never a crash signal) or keeps working.

#include <sys/wait.h>

#include <cstdlib>

#include "fixture.h"

namespace yarx::e2e {
namespace {

// ---------------------------------------------------------------- the X server dies

class ServerGoesAway : public YarxTest {
protected:
    // Kills the X server: the program must end promptly, by exiting with an
    // error rather than by a signal.
    void kill_server_and_expect_error_exit() {
        server_->kill_server();
        const auto status = app_->wait_exit(10s);
        ASSERT_TRUE(status.has_value()) << "still running 10 s after its X server died";
        std::printf("yarx: %s; stderr: %s", describe(*status).c_str(),
                    app_->standard_error().c_str());
        ASSERT_TRUE(WIFEXITED(*status)) << describe(*status);
        EXPECT_NE(WEXITSTATUS(*status), 0);
    }
};

TEST_F(ServerGoesAway, WithTheChartShownTheProgramExitsWithAnError) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));
    kill_server_and_expect_error_exit();
    EXPECT_EQ(app_->standard_output(), "");
}

// The first chart's colours have all been asked for and their answers are
// held back on the link when the server dies: the connection breaks while
// the program waits.  That is no refused colour, so nothing is said on
// standard output.
TEST_F(ServerGoesAway, WhileWaitingForTheChartsColoursTheProgramExitsWithAnError) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay());
    const RequestCounter counter(*relay_);
    relay_->hold_colour_answers();
    click(display(), setup_widget(display(), setup_shell_, SetupWidget::ok));
    ASSERT_TRUE(wait_until([&] {
        return relay_->holding() && counter.count(XCB_ALLOC_COLOR) == chart::colours_per_draw;
    }));
    kill_server_and_expect_error_exit();
    EXPECT_EQ(app_->standard_output(), "");
}

// ---------------------------------------------------------------- fonts

using MissingFonts = YarxTest;

// The fallback resources name helvetica and lucida fonts; a server with only
// the misc fonts has neither, and the toolkit falls back to "fixed", as the
// birefringence fan's labels do.
TEST_F(MissingFonts, TheProgramStillShowsAndDrawsTheChart) {
    ServerOptions options;
    options.extra_args = {"-fp", "/usr/share/fonts/X11/misc"};
    ASSERT_NO_FATAL_FAILURE(start(options));
    ASSERT_NE(press_ok(), None);
    EXPECT_TRUE(wait_for_chart(illuminant_d68))
        << rows_differing(illuminant_d68).size() << " rows differ";
    // The toolkit says so, which shows the fonts really were missing.
    EXPECT_NE(app_->standard_error().find("helvetica"), std::string::npos)
        << app_->standard_error();
    click(display(), setup_widget(display(), setup_shell_, SetupWidget::fan));
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(wait_for_fan(illuminant_d68), "");
    EXPECT_NE(app_->standard_error().find("yarx: fanFont '-*-lucida-medium-r-"), std::string::npos)
        << app_->standard_error();
    click(display(), setup_widget(display(), setup_shell_, SetupWidget::exit));
    expect_clean_exit("after Exit");
}

// ---------------------------------------------------------------- toolkit input

struct OddInput {
    const char *name;
    std::vector<std::string> args;
    // What the toolkit leaves over ends the program at once: status 2 and
    // the usage, naming what was left; the toolkit takes the rest, at most
    // with a warning, and the program runs.
    const char *left_over;
};
void PrintTo(const OddInput &input, std::ostream *out) { *out << input.name; }

const OddInput odd_inputs[] = {
    {"xrm line without a colon", {"-xrm", "garbage without colon"}, nullptr},
    {"xrm colour that is no colour", {"-xrm", "*canvas.background: notacolour"}, nullptr},
    {"xrm without its argument", {"-xrm"}, "-xrm"},
    {"unknown long option", {"--frobnicate"}, "--frobnicate"},
    {"unknown short option", {"-zzz"}, "-zzz"},
    {"nonsense geometry", {"-geometry", "abc"}, nullptr},
    {"empty display name", {"-display", ""}, nullptr},
    {"empty xrm", {"-xrm", ""}, nullptr},
    {"xrm of colons", {"-xrm", ":::"}, nullptr},
    {"resource for a font that does not exist", {"-xrm", "*fontList: -nonesuch-*"}, nullptr},
};

class OddToolkitInputs : public YarxTest, public ::testing::WithParamInterface<OddInput> {};

TEST_P(OddToolkitInputs, EndWithTheUsageOrRunNormally) {
    const OddInput &input = GetParam();
    ASSERT_NO_FATAL_FAILURE(start_server());
    app_ = std::make_unique<App>(*server_, input.args);

    // Wait until it has either ended or shown the whole setup window.
    ASSERT_TRUE(wait_until([&] {
        if (!app_->running()) return true;
        setup_shell_ = find_shell(display(), setup_shell_name);
        return setup_shell_ &&
               viewable(display(), setup_widget(display(), setup_shell_, SetupWidget::exit));
    })) << "neither ended nor showed its window";

    if (input.left_over) {
        const auto status = app_->wait_exit();
        ASSERT_TRUE(status.has_value()) << "runs, taking " << input.left_over;
        ASSERT_TRUE(WIFEXITED(*status)) << describe(*status);
        EXPECT_EQ(WEXITSTATUS(*status), 2);
        EXPECT_NE(app_->standard_error().find(std::string("unexpected argument '") +
                                              input.left_over + "'"),
                  std::string::npos)
            << app_->standard_error();
        EXPECT_EQ(app_->standard_output(), "");
    } else {
        ASSERT_TRUE(app_->running()) << app_->standard_error();
        ASSERT_NE(press_ok(), None);
        EXPECT_TRUE(wait_for_chart(illuminant_d68));
        click(display(), setup_widget(display(), setup_shell_, SetupWidget::exit));
        expect_clean_exit("after Exit");
    }
}

INSTANTIATE_TEST_SUITE_P(Each, OddToolkitInputs, ::testing::ValuesIn(odd_inputs));

using OddToolkitInput = YarxTest;

// The application's name, which -name sets, goes into the resource names the
// chart window looks up before it first shows: a name far longer than any
// buffer must neither overrun one nor stop the chart.
TEST_F(OddToolkitInput, AVeryLongApplicationNameIsHarmless) {
    const std::string name(4000, 'y');
    ASSERT_NO_FATAL_FAILURE(start_server());
    app_ = std::make_unique<App>(*server_, std::vector<std::string>{"-name", name});
    setup_shell_ = wait_for_shell(display(), name.c_str());
    ASSERT_NE(setup_shell_, None) << app_->standard_error();
    ASSERT_TRUE(wait_until([&] {
        return viewable(display(), setup_widget(display(), setup_shell_, SetupWidget::exit));
    }));
    ASSERT_NE(press_ok(), None);
    EXPECT_TRUE(wait_for_chart(illuminant_d68))
        << rows_differing(illuminant_d68).size() << " rows differ";
    EXPECT_TRUE(app_->running());
}

// ---------------------------------------------------------------- colour refused

struct Refusal {
    const char *what;
    int call;  // which of the program's colour allocations is refused
    const char *refused;
    const char *message;
};
void PrintTo(const Refusal &refusal, std::ostream *out) { *out << refusal.what; }

const Refusal refusals[] = {
    {"the first band (black)", 1, "(0,0,0)", "QWIB!!!\n"},
    {"a band in the middle", 500, "", "QWIB!!!\n"},
    {"the last band", colour::chart_rows, "", "QWIB!!!\n"},
    {"black for the grid", colour::chart_rows + 1, "(0,0,0)", "Can't allocate color map.\n"},
    {"white for the order marks", chart::colours_per_draw, "(65535,65535,65535)",
     "Can't allocate color map.\n"},
};

std::vector<std::string> refusing(int call) {
    // The sanitizers' runtime must come first among the libraries unless
    // told not to mind the interposer ahead of it.
    const char *asan = std::getenv("ASAN_OPTIONS");
    return {"LD_PRELOAD=" YARX_ALLOC_FAIL_PRELOAD,
            "YARX_REFUSE_ALLOC_COLOR=" + std::to_string(call),
            std::string("ASAN_OPTIONS=") + (asan ? asan : "") + ":verify_asan_link_order=0"};
}

class ColourRefused : public YarxTest, public ::testing::WithParamInterface<Refusal> {
protected:
    // Starts the program with the colour allocation refused, its standard
    // output to a file or a pipe, and presses OK: it must exit with 1 and
    // say so on standard output.
    void press_ok_and_expect_the_message(App::Output output) {
        const Refusal &refusal = GetParam();
        ASSERT_NO_FATAL_FAILURE(start_server());
        app_ = std::make_unique<App>(*server_, std::vector<std::string>{}, refusing(refusal.call),
                                     output);
        setup_shell_ = wait_for_shell(display(), setup_shell_name);
        ASSERT_NE(setup_shell_, None) << app_->standard_error();
        const Window ok = setup_widget(display(), setup_shell_, SetupWidget::ok);
        ASSERT_TRUE(wait_until([&] { return viewable(display(), ok); }));
        click(display(), ok);

        const auto status = app_->wait_exit();
        ASSERT_TRUE(status.has_value()) << "still running after the refusal";
        ASSERT_TRUE(WIFEXITED(*status)) << describe(*status);
        EXPECT_EQ(WEXITSTATUS(*status), 1);
        EXPECT_EQ(app_->standard_output(), refusal.message);
    }
};

// Standard output goes to a file here, so it is fully buffered: the message
// must still be all of it when the program exits with 1.
TEST_P(ColourRefused, SaysWhichColoursFailedOnStandardOutputAndExitsWithOne) {
    ASSERT_NO_FATAL_FAILURE(press_ok_and_expect_the_message(App::Output::file));
    const std::string error = app_->standard_error();
    EXPECT_NE(error.find("refused call " + std::to_string(GetParam().call) + " for " +
                         GetParam().refused),
              std::string::npos)
        << error;
}

INSTANTIATE_TEST_SUITE_P(Each, ColourRefused, ::testing::ValuesIn(refusals));

// Standard output on a pipe, the way "yarx | less" runs it.
using ColourRefusedOnAPipe = ColourRefused;

TEST_P(ColourRefusedOnAPipe, TheMessageReachesThePipe) {
    ASSERT_NO_FATAL_FAILURE(press_ok_and_expect_the_message(App::Output::pipe));
}

INSTANTIATE_TEST_SUITE_P(ABandAndTheOverlay, ColourRefusedOnAPipe,
                         ::testing::Values(refusals[1], refusals[4]));

}  // namespace
}  // namespace yarx::e2e
