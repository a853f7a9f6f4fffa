// Picking a colour off the screen and finding it on the chart.

#include <X11/keysym.h>

#include <string>
#include <vector>

#include "colour/illuminants.h"
#include "fixture.h"

namespace yarx::e2e {
namespace {

// Where the canvas shows a pick's marks: the nearest of all a bar across
// the margin, centred on its row; every order's a line at the margin's
// outer part.
constexpr int best_mark_x = (chart::right_margin.left + chart::pick_mark_left) / 2;
constexpr int mark_x = chart::right_margin.right - 4;

struct Marks {
    int best_row = -1;
    std::vector<int> rows;  // where column mark_x is white, in order
};

class ColourPick : public YarxTest {
protected:
    Marks marks() {
        Marks m;
        const Image image(display(), canvas());
        if (!image.valid() || image.height() < canvas_height) return m;
        const unsigned short full = colour::full_intensity;
        const unsigned long white_pixel = allocated_pixel(display(), full, full, full);
        const auto white = [&](int x, int row) {
            return image.pixel(x, chart::band_top + row) == white_pixel;
        };
        std::vector<int> bar;
        for (int row = 0; row < colour::chart_rows; ++row) {
            // The chart's own order marks (y 240, 460, 681, 901) cross the
            // bar's column.
            const bool order_mark = row == 220 || row == 440 || row == 661 || row == 881;
            if (white(best_mark_x, row) &&
                (!order_mark || white(best_mark_x, row - 1) || white(best_mark_x, row + 1)))
                bar.push_back(row);
            if (white(mark_x, row)) m.rows.push_back(row);
        }
        if (bar.size() == 3 && bar[2] == bar[0] + 2) m.best_row = bar[1];
        return m;
    }

    // Waits until the program has the pointer grabbed: the grab has passed
    // the relay and the server has answered it.
    bool wait_for_requests(const RequestCounter &counter, int opcode, long count) {
        return wait_until([&] { return counter.count(opcode) == count && relay_->idle(); });
    }

    // Whether the test itself can have the pointer and the keyboard, once
    // the server has taken in the program's ungrabs, which reach it on
    // another connection: a pick that kept either would take every click or
    // key on the display.
    bool pointer_and_keyboard_free() {
        return wait_until(
            [&] {
                const int pointer =
                    XGrabPointer(display(), server_->root(), False, ButtonPressMask, GrabModeAsync,
                                 GrabModeAsync, None, None, CurrentTime);
                XUngrabPointer(display(), CurrentTime);
                const int keyboard = XGrabKeyboard(display(), server_->root(), False, GrabModeAsync,
                                                   GrabModeAsync, CurrentTime);
                XUngrabKeyboard(display(), CurrentTime);
                XSync(display(), False);
                return pointer == GrabSuccess && keyboard == GrabSuccess;
            },
            2s);
    }

    Window pick_line() { return chart_widget(display(), chart_shell_, ChartWidget::pick_line); }
};

// An override-redirect window of one pixel value, mapped and painted.
Window paint_window(Display *display, unsigned long pixel) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = pixel;
    const Window window =
        XCreateWindow(display, DefaultRootWindow(display), 1700, 1150, 60, 60, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapWindow(display, window);
    wait_until([&] {
        const Image image(display, window);
        return image.valid() && image.pixel(30, 30) == pixel;
    });
    return window;
}

struct PickCase {
    const char *name;
    Rendering rendering;
    const char *illuminant;
    int row;
    bool from_canvas;  // else from a window of the band's pixel
    int rows_off;      // how far the mark may stand from the row
};

class PickFromTheScreen : public ColourPick, public testing::WithParamInterface<PickCase> {};

TEST_P(PickFromTheScreen, MarksTheRowAndCostsOnlyTheGrabAndTheImage) {
    const PickCase &p = GetParam();
    const bool true_colours = p.rendering == Rendering::true_colours;
    ASSERT_NO_FATAL_FAILURE(
        start_through_relay({}, Duration(0),
                            true_colours ? std::vector<std::string>{"-xrm", "*setupsrgb.set: True"}
                                         : std::vector<std::string>{}));
    const int toggle = toggle_index(p.illuminant);
    ASSERT_NO_FATAL_FAILURE(show_chart(toggle, p.rendering));
    const int illuminant = illuminant_at(toggle);
    const unsigned long band_pixel =
        expected_band_pixels(display(), illuminant, p.rendering)[p.row];
    const Window target = p.from_canvas ? canvas() : paint_window(display(), band_pixel);
    const int x = p.from_canvas ? chart::probe_x : 30,
              y = p.from_canvas ? chart::band_top + p.row : 30;
    // By the key, since a click on a button costs the toolkit's focus
    // handling besides; the first key the program ever sees loads the
    // toolkit's keyboard map.
    move_pointer_to(display(), canvas(), 300, 500);
    type_key(display(), XK_x);
    RequestCounter counter(*relay_);
    settled_count(counter, XCB_ALLOC_COLOR);
    counter.reset();
    type_key(display(), XK_p);
    ASSERT_TRUE(wait_for_requests(counter, XCB_GRAB_POINTER, 1));
    press_at(display(), target, x, y);
    release(display());
    ASSERT_TRUE(wait_for_requests(counter, XCB_UNGRAB_POINTER, 1));
    EXPECT_TRUE(pointer_and_keyboard_free());

    Marks m;
    ASSERT_TRUE(wait_until([&] { return (m = marks()).best_row >= 0; }));
    EXPECT_NEAR(m.best_row, p.row, p.rows_off);
    EXPECT_GE(m.rows.size(), 5u);  // one an order, some maybe side by side
    const Image swatch(display(), chart_widget(display(), chart_shell_, ChartWidget::swatch));
    ASSERT_TRUE(swatch.valid());
    EXPECT_EQ(swatch.pixel(swatch.width() / 2, swatch.height() / 2), band_pixel);
    for (const int opcode : reply_bearing_opcodes) {
        const bool asked =
            opcode == XCB_GRAB_POINTER || opcode == XCB_GRAB_KEYBOARD || opcode == XCB_GET_IMAGE;
        EXPECT_EQ(counter.count(opcode), asked ? 1 : 0) << "opcode " << opcode;
    }

    // An exposure draws the marks again; OK takes them away.
    expose_whole_screen(display());
    EXPECT_TRUE(wait_until([&] { return marks().best_row == m.best_row; }));
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(wait_for_canvas(illuminant, p.rendering), "");
}

// The band at row 221 (552.5 nm), picked off the canvas; the true-colour
// chart's 275 nm (row 110) and a band of the chart's own colours, picked
// off a window of their colour.
INSTANTIATE_TEST_SUITE_P(
    Cases, PickFromTheScreen,
    testing::Values(PickCase{"TrueColoursBand221", Rendering::true_colours, "d65", 221, true, 0},
                    PickCase{"TrueColours275nm", Rendering::true_colours, "d65", 110, false, 3},
                    PickCase{"ChartColours1250nm", Rendering::cie_rgb, "d68", 500, false, 3}),
    [](const testing::TestParamInfo<PickCase> &info) { return info.param.name; });

// P, Pick colour and Shift+P start a pick; Escape and button 3 let the
// pointer go with the chart as it was; a pointer held elsewhere is said so
// on the pick line, and nothing else changes.
TEST_F(ColourPick, EscapeAndButton3CancelAndAHeldPointerIsSaidSo) {
    ASSERT_NO_FATAL_FAILURE(start_through_relay());
    ASSERT_NE(press_ok(), None);
    const int d68 = illuminant_d68;
    ASSERT_EQ(wait_for_canvas(d68), "");
    RequestCounter counter(*relay_);
    settled_count(counter, XCB_ALLOC_COLOR);
    counter.reset();
    move_pointer_to(display(), canvas(), 300, 500);

    type_key(display(), XK_p);
    ASSERT_TRUE(wait_for_requests(counter, XCB_GRAB_POINTER, 1));
    type_key(display(), XK_Escape);
    ASSERT_TRUE(wait_for_requests(counter, XCB_UNGRAB_POINTER, 1));
    EXPECT_TRUE(pointer_and_keyboard_free());
    EXPECT_TRUE(viewable(display(), chart_shell_)) << "Escape dismissed the chart";

    click(display(), chart_widget(display(), chart_shell_, ChartWidget::pick));
    ASSERT_TRUE(wait_for_requests(counter, XCB_GRAB_POINTER, 2));
    press_at(display(), canvas(), chart::probe_x, 300, 3);
    release(display(), 3);
    ASSERT_TRUE(wait_for_requests(counter, XCB_UNGRAB_POINTER, 2));
    EXPECT_TRUE(pointer_and_keyboard_free());
    EXPECT_EQ(counter.count(XCB_GET_IMAGE), 0);
    EXPECT_EQ(canvas_differences(d68), "");

    const auto line_before = rgb_bytes(Image(display(), pick_line()));
    ASSERT_EQ(XGrabPointer(display(), server_->root(), False, ButtonPressMask, GrabModeAsync,
                           GrabModeAsync, None, None, CurrentTime),
              GrabSuccess);
    XSync(display(), False);
    move_pointer_to(display(), canvas(), 300, 500);
    type_key(display(), XK_p, XK_Shift_L);
    EXPECT_TRUE(wait_until([&] { return rgb_bytes(Image(display(), pick_line())) != line_before; }))
        << "the pick line did not say that the pointer is held";
    XUngrabPointer(display(), CurrentTime);
    XSync(display(), False);
    EXPECT_EQ(counter.count(XCB_UNGRAB_POINTER), 2);
    EXPECT_EQ(canvas_differences(d68), "");
    EXPECT_TRUE(viewable(display(), chart_shell_));
}

}  // namespace
}  // namespace yarx::e2e
