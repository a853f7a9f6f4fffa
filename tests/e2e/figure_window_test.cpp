// The figure window: what F and Figure... open, that it is the file's
// figure pixel for pixel, what a control and an exposure send, the
// reading under the pointer with the chart's mark, and closing it.

#include <X11/keysym.h>

#include <algorithm>
#include <string>
#include <vector>

#include "figure/figure_image.h"
#include "figure/mineral_optics.h"
#include "fixture.h"

namespace yarx::e2e {
namespace {

constexpr int figure_size = 401;

// Row 108, 270 nm: 0.009 at the section's 30 µm, where the reading names
// quartz first, and 0.0108 at 25 µm, where it names cordierite first.
constexpr int reading_row = 108;

class FigureWindow : public YarxTest {
protected:
    Window figure_canvas() { return figure_widget(display(), figure_shell_, FigureWidget::canvas); }

    // The settings a mineral's figure starts with: the chart's D68 and
    // colours at 30 µm.
    static figure::Settings settings_of(const char *mineral) {
        figure::Settings s;
        figure::take_mineral(*figure::mineral_named(mineral), s);
        return s;
    }

    // Where the canvas differs from the figure: empty when it does not.
    std::string figure_differences(const figure::Settings &s) {
        static figure::Workspace workspace;
        static figure::Rgb8 expected[figure_size * figure_size];
        figure::prepare_tables(s, workspace);
        figure::compute_figure(s, workspace, expected);
        const Image image(display(), figure_canvas());
        if (image.width() != figure_size || image.height() != figure_size)
            return "canvas " + std::to_string(image.width()) + "x" + std::to_string(image.height());
        int differing = 0;
        std::string first;
        for (int y = 0; y < figure_size; ++y)
            for (int x = 0; x < figure_size; ++x) {
                const figure::Rgb8 &e = expected[y * figure_size + x];
                const Rgb8 got = image.rgb(x, y);
                if (got == Rgb8{e.red, e.green, e.blue}) continue;
                if (differing++ == 0)
                    first = " first at (" + std::to_string(x) + "," + std::to_string(y) + ")";
            }
        return differing ? std::to_string(differing) + " pixels differ" + first : "";
    }
    std::string wait_for_figure(const figure::Settings &s) {
        std::string differences;
        wait_until([&] { return (differences = figure_differences(s)).empty(); });
        return differences;
    }

    // Shows the D68 chart, reads row 108 and presses F there.
    void open_with_f() {
        ASSERT_NE(press_ok(), None);
        ASSERT_TRUE(wait_for_chart(illuminant_d68));
        move_pointer_to(display(), canvas(), chart::probe_x, chart::band_top + reading_row);
        type_key(display(), XK_f);
        figure_shell_ = wait_for_shell(display(), figure_shell_name);
        ASSERT_NE(figure_shell_, None);
    }

    Window figure_shell_ = None;
};

// At the section's thickness and with the plate the resources put in, the
// figure of the reading's first candidate; a new OK redraws it in the new
// lamp's colours.
TEST_F(FigureWindow, FOpensTheFigureOfTheReadingsFirstCandidateAndANewOkRedrawsIt) {
    ASSERT_NO_FATAL_FAILURE(
        start({}, {"-xrm", "*figureplate.set: True", "-xrm", "*thickness: 25"}));
    ASSERT_NO_FATAL_FAILURE(open_with_f());
    figure::Settings s = settings_of("cordierite");
    s.thickness_um = 25;
    s.plate_nm = chart::default_plate_nm;
    EXPECT_EQ(wait_for_figure(s), "");
    EXPECT_EQ(title_of(figure_shell_), "yarx: figure of cordierite");

    ASSERT_NO_FATAL_FAILURE(choose(a_toggle));
    ASSERT_NE(press_ok(), None);
    s.illuminant = illuminant_a;
    EXPECT_EQ(wait_for_figure(s), "") << "after a new OK";
}

// Through Figure...: a control redraws with one image and at most two
// round trips; an exposure copies the figure from the server's pixmap and
// sends no image.
TEST_F(FigureWindow, AControlRedrawsWithOneImageAndAnExposureSendsNone) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay(
        {}, Duration(0),
        {"-xrm", "yarx.figureMineral: calcite", "-xrm", "yarx.numericalAperture: 0.5"}));
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));
    click(display(), chart_widget(display(), chart_shell_, ChartWidget::figure));
    figure_shell_ = wait_for_shell(display(), figure_shell_name);
    ASSERT_NE(figure_shell_, None);
    figure::Settings s = settings_of("calcite");
    s.numerical_aperture = 0.5;
    ASSERT_EQ(wait_for_figure(s), "");
    EXPECT_EQ(title_of(figure_shell_), "yarx: figure of calcite");

    // A click costs the toolkit's moving the keyboard focus besides: the
    // change measured is made from the keyboard, once a click on "Biaxial"
    // has made calcite a crystal of its own and the focus has moved on to
    // "Positive".
    click(display(), figure_widget(display(), figure_shell_, FigureWidget::biaxial));
    s.optic_class = figure::OpticClass::biaxial;
    s.mineral = nullptr;
    ASSERT_EQ(wait_for_figure(s), "");
    click(display(), figure_widget(display(), figure_shell_, FigureWidget::negative));
    type_key(display(), XK_Left);
    RequestCounter counter(*relay_);
    settled_count(counter, XCB_QUERY_TREE);
    counter.reset();
    type_key(display(), XK_space);
    s.sign = figure::OpticSign::positive;
    EXPECT_EQ(wait_for_figure(s), "");
    EXPECT_EQ(settled_count(counter, XCB_PUT_IMAGE), 1);
    long round_trips = 0;
    for (const int opcode : reply_bearing_opcodes) round_trips += counter.count(opcode);
    EXPECT_LE(round_trips, 2);
    EXPECT_EQ(title_of(figure_shell_), "yarx: figure of a biaxial positive crystal");

    counter.reset();
    expose_whole_screen(display());
    EXPECT_EQ(wait_for_figure(s), "") << "after an exposure";
    EXPECT_EQ(settled_count(counter, XCB_PUT_IMAGE), 0);
}

// The reading is "-" outside the field and other words inside it; the
// chart marks the retardation read on its right margin until the pointer
// leaves; 200 motions wait for no answer.
TEST_F(FigureWindow, TheReadingFollowsThePointerAndTheChartMarksItsRetardation) {
    ASSERT_NO_FATAL_FAILURE(
        start_through_relay({}, Duration(0), {"-xrm", "*figureread.labelString: -"}));
    ASSERT_NO_FATAL_FAILURE(open_with_f());
    const figure::Settings s = settings_of("quartz");
    ASSERT_EQ(wait_for_figure(s), "");
    const Window line = figure_widget(display(), figure_shell_, FigureWidget::reading);
    const auto line_pixels = [&] { return rgb_bytes(Image(display(), line)); };
    const auto outside = line_pixels();

    // Half way out along the diagonal, where the retardation is on the chart.
    const int x = 300, y = 300;
    const figure::Ray ray = figure::pixel_ray(figure::optics_of(s), figure_size, x, y);
    ASSERT_TRUE(ray.inside);
    const int mark_y = chart::band_top + static_cast<int>(ray.retardation_nm / 2.5 + 0.5);
    const auto margin_at = [&](int at_y) {
        return Image(display(), canvas()).rgb(chart::right_margin.left + 5, at_y);
    };
    ASSERT_EQ(margin_at(mark_y), black);

    RequestCounter counter(*relay_);
    for (int k = 0; k < 199; ++k) move_pointer_to(display(), figure_canvas(), 2 * k, k);
    move_pointer_to(display(), figure_canvas(), x, y);
    EXPECT_TRUE(wait_until([&] { return line_pixels() != outside; }));
    EXPECT_TRUE(wait_until([&] { return margin_at(mark_y) == white; }));
    ASSERT_TRUE(wait_until([&] { return relay_->idle(); }));
    for (const int opcode : reply_bearing_opcodes) EXPECT_EQ(counter.count(opcode), 0) << opcode;

    move_pointer_to(display(), figure_canvas(), 2, 2);  // outside the field
    EXPECT_TRUE(wait_until([&] { return line_pixels() == outside; }));
    move_pointer_away(display());
    EXPECT_TRUE(wait_until([&] { return margin_at(mark_y) == black; }));
}

// The window stands where its resources place it; Escape in it, and
// Dismiss, close it; the program runs on, and F brings it back.
TEST_F(FigureWindow, EscapeAndDismissCloseItAndTheProgramRunsOn) {
    ASSERT_NO_FATAL_FAILURE(
        start({}, {"-xrm", "yarx.figureMineral: garnet", "-xrm", "yarx.numericalAperture: 0.99",
                   "-xrm", "*figure_popup.geometry: +10+20"}));
    EXPECT_EQ(app_->standard_error(),
              "yarx: figureMineral 'garnet' is not a mineral with a figure; using quartz\n"
              "yarx: numericalAperture '0.99' is not a number from 0.1 to 0.95; using 0.85\n");
    ASSERT_NO_FATAL_FAILURE(open_with_f());
    const ScreenBox placed = on_screen(display(), figure_shell_);
    EXPECT_EQ(placed.x, 10);
    EXPECT_EQ(placed.y, 20);
    const Window dismiss = figure_widget(display(), figure_shell_, FigureWidget::dismiss);
    for (const bool by_escape : {true, false}) {
        SCOPED_TRACE(by_escape ? "Escape" : "Dismiss");
        ASSERT_TRUE(wait_until([&] { return viewable(display(), figure_shell_); }));
        if (by_escape) {
            move_pointer_to(display(), figure_canvas(), 200, 200);
            type_key(display(), XK_Escape);
        } else {
            click(display(), dismiss);
        }
        EXPECT_TRUE(wait_until([&] { return !viewable(display(), figure_shell_); }));
        EXPECT_TRUE(app_->running());
        EXPECT_TRUE(viewable(display(), chart_shell_));
        move_pointer_to(display(), canvas(), chart::probe_x, chart::band_top + reading_row);
        type_key(display(), XK_f);
    }
    EXPECT_EQ(wait_for_figure(settings_of("quartz")), "");
}

// On a display whose pixels are not their colours the reading line says
// so, and keeps saying so under the pointer and after a control; nothing
// is drawn, and the program runs on.
TEST_F(FigureWindow, WithoutTrueColourTheReadingSaysSo) {
    ServerOptions static_colour;
    static_colour.depth = 8;
    static_colour.extra_args = {"-cc", "2"};
    ASSERT_NO_FATAL_FAILURE(start(static_colour));
    ASSERT_NE(press_ok(), None);
    click(display(), chart_widget(display(), chart_shell_, ChartWidget::figure));
    figure_shell_ = wait_for_shell(display(), figure_shell_name);
    ASSERT_NE(figure_shell_, None);
    const Window line = figure_widget(display(), figure_shell_, FigureWidget::reading);
    const auto line_pixels = [&] { return rgb_bytes(Image(display(), line)); };
    const auto has_words = [](const std::vector<unsigned char> &pixels) {
        return std::any_of(pixels.begin(), pixels.end(),
                           [&](unsigned char c) { return c != pixels[0]; });
    };
    ASSERT_TRUE(wait_until([&] { return has_words(line_pixels()); }));
    const auto says = line_pixels();
    move_pointer_to(display(), figure_canvas(), 200, 200);
    click(display(), figure_widget(display(), figure_shell_, FigureWidget::biaxial));
    const Window biaxial = figure_widget(display(), figure_shell_, FigureWidget::biaxial);
    ASSERT_TRUE(wait_until([&] { return shows_colour(biaxial, yellow); }));
    EXPECT_TRUE(wait_until([&] { return line_pixels() == says; }));
    EXPECT_FALSE(has_words(rgb_bytes(Image(display(), figure_canvas()))));
    EXPECT_TRUE(app_->running());
}

}  // namespace
}  // namespace yarx::e2e
