// yarx on ordinary desktops, under a window manager and on screens of the
// sizes people have.

#include <unistd.h>

#include <string>

// The test framework (fixture.h) before any X header, whose None would
// take the name of one of its own.
#include "fixture.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include "chart/window_icon.h"

namespace yarx::e2e {
namespace {

ServerOptions desktop(int width = 1920, int height = 1200) {
    ServerOptions options;
    options.width = width;
    options.height = height;
    options.window_manager = true;
    return options;
}

class Desktop : public YarxTest {
protected:
    ScreenBox on_screen(Window window) { return xdriver::on_screen(display(), window); }

    // The window manager's frame around a client window: its ancestor
    // just below the root.
    ScreenBox frame_of(Window client) {
        Window window = client, root, parent, *list = nullptr;
        unsigned int count;
        while (XQueryTree(display(), window, &root, &parent, &list, &count) && parent != root) {
            if (list) XFree(list);
            list = nullptr;
            window = parent;
        }
        if (list) XFree(list);
        return on_screen(window);
    }

    Window chart_part(ChartWidget widget) { return chart_widget(display(), chart_shell_, widget); }

    // A panel along the bottom of the screen, as desktops have: the window
    // manager leaves the strip to it and publishes the rest as its work
    // area.  Waits until it does.
    void add_panel(int height) {
        Display *d = display();
        const int width = DisplayWidth(d, DefaultScreen(d));
        const int screen_height = DisplayHeight(d, DefaultScreen(d));
        XSetWindowAttributes attributes{};
        const Window panel =
            XCreateWindow(d, server_->root(), 0, screen_height - height, width, height, 0,
                          CopyFromParent, InputOutput, CopyFromParent, 0, &attributes);
        Atom dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
        XChangeProperty(d, panel, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                        PropModeReplace, reinterpret_cast<unsigned char *>(&dock), 1);
        long strut[12] = {0, 0, 0, height, 0, 0, 0, 0, 0, 0, 0, width - 1};
        XChangeProperty(d, panel, XInternAtom(d, "_NET_WM_STRUT_PARTIAL", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<unsigned char *>(strut), 12);
        XChangeProperty(d, panel, XInternAtom(d, "_NET_WM_STRUT", False), XA_CARDINAL, 32,
                        PropModeReplace, reinterpret_cast<unsigned char *>(strut), 4);
        XSizeHints hints{};
        hints.flags = USPosition | USSize;
        hints.x = 0;
        hints.y = screen_height - height;
        hints.width = width;
        hints.height = height;
        XSetWMNormalHints(d, panel, &hints);  // at the bottom, not where it fits
        XMapWindow(d, panel);
        XSync(d, False);
        ASSERT_TRUE(wait_until([&] { return work_area_height() == screen_height - height; }))
            << "the window manager's work area stays " << work_area_height() << " high";
    }

    long work_area_height() {
        const std::vector<unsigned long> area = cardinals(server_->root(), "_NET_WORKAREA");
        return area.size() >= 4 ? static_cast<long>(area[3]) : -1;
    }

    // A property of 32-bit values, empty when the window has none.
    std::vector<unsigned long> cardinals(Window window, const char *property) {
        Atom type;
        int format;
        unsigned long count, left;
        unsigned char *data = nullptr;
        std::vector<unsigned long> values;
        if (XGetWindowProperty(display(), window, XInternAtom(display(), property, False), 0,
                               1 << 20, False, XA_CARDINAL, &type, &format, &count, &left,
                               &data) == Success &&
            data && format == 32) {
            // Xlib hands 32-bit values over in longs, sign-extended.
            const auto *longs = reinterpret_cast<unsigned long *>(data);
            for (unsigned long i = 0; i < count; ++i) values.push_back(longs[i] & 0xffffffffUL);
        }
        if (data) XFree(data);
        return values;
    }

    // Pages down in the scroll bar's trough, just above its lower arrow,
    // until the canvas's last row shows; whether it does.
    bool scroll_to_the_end() {
        const Window bar = chart_part(ChartWidget::vertical_scroll_bar);
        const ScreenBox trough = on_screen(bar);
        const auto at_the_end = [&] {
            const Image::Rows rows = visible_canvas_rows();
            return rows.count > 0 && rows.top + rows.count == canvas_height;
        };
        for (int page = 0; page < 10 && !at_the_end(); ++page) {
            const Image::Rows before = visible_canvas_rows();
            press_at(display(), bar, trough.width / 2, trough.height - trough.width - 4);
            release(display());
            wait_until([&] { return visible_canvas_rows().top != before.top; }, 2s);
        }
        return at_the_end();
    }

    // Whether the scroll bar shows: it is kept outside the scrolled window
    // while the canvas fits.
    bool scroll_bar_shows() {
        return on_screen(chart_part(ChartWidget::vertical_scroll_bar)).x <
               on_screen(chart_part(ChartWidget::scroller)).x +
                   on_screen(chart_part(ChartWidget::scroller)).width;
    }
};

// The chart's colours belong to the colormap of the screen it is drawn on:
// the program on the second screen, whose depth differs from the first's.
struct Depths {
    int first, second;
};
void PrintTo(const Depths &depth, std::ostream *out) {
    *out << "screen 0 at " << depth.first << " bits, screen 1 at " << depth.second;
}

class SecondScreen : public YarxTest, public ::testing::WithParamInterface<Depths> {};

TEST_P(SecondScreen, TheChartIsExact) {
    ServerOptions options;
    options.depth = GetParam().first;
    options.second_screen_depth = GetParam().second;
    options.screen = 1;
    ASSERT_NO_FATAL_FAILURE(start(options));
    ASSERT_NO_FATAL_FAILURE(show_chart(d68_toggle));
    EXPECT_TRUE(app_->running()) << app_->standard_output();
}

INSTANTIATE_TEST_SUITE_P(OfOtherDepth, SecondScreen,
                         ::testing::Values(Depths{24, 16}, Depths{8, 24}));

// At 1366 x 768 the chart window fits the screen beside the setup window,
// and the canvas scrolls to its last row, by the wheel too, while the
// panel's lines stay in view; on a tall screen it is whole, without a
// scroll bar.
TEST_F(Desktop, OnAShortScreenTheChartFitsAndScrollsToItsLastRow) {
    ASSERT_NO_FATAL_FAILURE(start(desktop(1366, 768)));
    ASSERT_NO_FATAL_FAILURE(show_chart(d68_toggle));
    const ScreenBox frame = frame_of(chart_shell_), setup = frame_of(setup_shell_);
    EXPECT_GE(frame.y, 0);
    EXPECT_LE(frame.y + frame.height, 768) << "the chart window hangs below the screen";
    EXPECT_TRUE(frame.x >= 0 && frame.x + frame.width <= 1366)
        << "the chart window hangs off the screen: " << frame.x << " + " << frame.width;
    EXPECT_FALSE(frame.overlaps(setup))
        << "the chart window, " << frame.x << " + " << frame.width << ", covers the setup window, "
        << setup.x << " + " << setup.width;
    ASSERT_TRUE(scroll_bar_shows());
    EXPECT_EQ(visible_canvas_rows().top, 0);

    // A notch of the wheel down over the canvas, and one back up.
    for (const unsigned int button : {5u, 4u}) {
        const int top = visible_canvas_rows().top;
        press_at(display(), canvas(), chart::probe_x, top + 100, button);
        release(display(), button);
        EXPECT_TRUE(wait_until([&] { return visible_canvas_rows().top != top; }, 5s))
            << "button " << button << " left the canvas at row " << top;
    }
    EXPECT_EQ(visible_canvas_rows().top, 0);

    ASSERT_TRUE(scroll_to_the_end()) << "rows from " << visible_canvas_rows().top << " show";
    // Rows 693 to 999 (1732.5 to 2497.5 nm) and the fourth order mark, at
    // y = 901, drawn exactly.
    EXPECT_LE(visible_canvas_rows().top, chart::band_top + 693);
    EXPECT_EQ(wait_for_canvas(illuminant_d68), "") << "after scrolling to the end";
    // The panel's lines stay on the screen, outside what scrolls.
    for (const ChartWidget part :
         {ChartWidget::reading, ChartWidget::plate, ChartWidget::pick_line}) {
        const ScreenBox line = on_screen(chart_part(part));
        EXPECT_TRUE(line.y >= 0 && line.y + line.height <= 768 && line.height > 0 &&
                    line.x + line.width <= 1366)
            << line.x << "," << line.y;
    }
}

// 1920 x 1080 with a 40-pixel panel: the chart keeps clear of the panel and
// scrolls, where it would have lost its last 35 rows behind it.
TEST_F(Desktop, TheChartKeepsToTheWorkAreaTheWindowManagerPublishes) {
    ASSERT_NO_FATAL_FAILURE(start_server(desktop(1920, 1080)));
    ASSERT_NO_FATAL_FAILURE(add_panel(40));
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(show_chart(d68_toggle));
    const ScreenBox frame = frame_of(chart_shell_);
    EXPECT_LE(frame.y + frame.height, 1040) << "the chart window reaches under the panel";
    ASSERT_TRUE(scroll_bar_shows());
    ASSERT_TRUE(scroll_to_the_end());
    EXPECT_EQ(wait_for_canvas(illuminant_d68), "") << "after scrolling to the end";
}

// The same without a window manager to cut the window down: a work area
// published on the root window alone is kept to.
TEST_F(Desktop, TheChartFitsAPublishedWorkAreaWhereNothingCutsItDown) {
    ServerOptions options;
    options.width = 1920;
    options.height = 1080;
    ASSERT_NO_FATAL_FAILURE(start_server(options));
    long work_area[4] = {0, 0, 1920, 1040};
    XChangeProperty(display(), server_->root(), XInternAtom(display(), "_NET_WORKAREA", False),
                    XA_CARDINAL, 32, PropModeReplace, reinterpret_cast<unsigned char *>(work_area),
                    4);
    ASSERT_NO_FATAL_FAILURE(launch());
    ASSERT_NO_FATAL_FAILURE(show_chart(d68_toggle));
    const ScreenBox window = on_screen(chart_shell_);
    EXPECT_LE(window.y + window.height, 1040);
    EXPECT_TRUE(scroll_bar_shows());
}

// 1920 x 1200: the chart window, frame and all, fits the screen, and the
// scroll bar it does not need is not there, even under the panel.
TEST_F(Desktop, OnATallScreenTheChartIsWholeWithoutAScrollBar) {
    ASSERT_NO_FATAL_FAILURE(start(desktop()));
    ASSERT_NO_FATAL_FAILURE(show_chart(d68_toggle));
    const ScreenBox frame = frame_of(chart_shell_);
    EXPECT_TRUE(frame.y >= 0 && frame.y + frame.height <= 1200 && frame.x + frame.width <= 1920)
        << frame.x << "," << frame.y << " " << frame.width << "x" << frame.height;
    EXPECT_FALSE(scroll_bar_shows());
    EXPECT_FALSE(viewable(display(), chart_part(ChartWidget::vertical_scroll_bar)))
        << "a scroll bar not needed is mapped";
    const Image::Rows rows = visible_canvas_rows();
    EXPECT_EQ(rows.top, 0);
    EXPECT_EQ(rows.count, canvas_height);
}

TEST_F(Desktop, TheChartOpensBesideTheSetupWindowAndStaysWhereTheUserMovesIt) {
    ASSERT_NO_FATAL_FAILURE(start(desktop()));
    ASSERT_NE(press_ok(), None);
    const ScreenBox setup = frame_of(setup_shell_);
    ScreenBox chart = frame_of(chart_shell_);
    EXPECT_FALSE(chart.overlaps(setup))
        << "the chart at " << chart.x << "," << chart.y << " covers the setup window at " << setup.x
        << "," << setup.y;
    EXPECT_LE(chart.x + chart.width, 1920);
    // The setup window's buttons answer with the chart open.
    ASSERT_NO_FATAL_FAILURE(choose(d65_toggle));

    // Where the whole window fits on the screen, which the dialog keeps to
    // when it is shown again.
    move_through_window_manager(display(), chart_shell_, 700, 20);
    ASSERT_TRUE(wait_until([&] {
        chart = frame_of(chart_shell_);
        return chart.x == 700 && chart.y == 20;
    })) << "the window manager did not move the chart";
    click(display(), chart_part(ChartWidget::dismiss));
    ASSERT_TRUE(wait_until([&] { return !viewable(display(), chart_shell_); }));
    ASSERT_EQ(press_ok(), chart_shell_);
    EXPECT_TRUE(wait_until([&] {
        chart = frame_of(chart_shell_);
        return chart.x == 700 && chart.y == 20;
    })) << "shown again at "
        << chart.x << "," << chart.y;
    EXPECT_EQ(wait_for_canvas(illuminant_d65), "");
}

TEST_F(Desktop, TheUsersOwnPlaceForTheChartWins) {
    // High enough for the whole window to fit below, or the window manager
    // would move it up.
    ASSERT_NO_FATAL_FAILURE(
        start(desktop(), {"-xrm", "*yarx_popup.x: 40", "-xrm", "*yarx_popup.y: 30"}));
    ASSERT_NE(press_ok(), None);
    ScreenBox chart{};
    EXPECT_TRUE(wait_until([&] {
        chart = frame_of(chart_shell_);
        return chart.x == 40 && chart.y == 30;
    })) << "the chart's frame is at "
        << chart.x << "," << chart.y;
}

TEST_F(Desktop, TheChartsTitleNamesItsIlluminant) {
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(title_of(chart_shell_), "yarx: D68");
    ASSERT_NO_FATAL_FAILURE(choose(a_toggle));
    EXPECT_EQ(title_of(chart_shell_), "yarx: D68") << "the title changed before OK";
    ASSERT_NE(press_ok(), None);
    EXPECT_TRUE(wait_until([&] { return title_of(chart_shell_) == "yarx: CIE A"; }))
        << title_of(chart_shell_);
    EXPECT_EQ(wait_for_canvas(illuminant_a), "");
}

TEST_F(Desktop, TheTitlesWordsComeFromResources) {
    ASSERT_NO_FATAL_FAILURE(start(
        {}, {"-xrm", "*yarx_popup.title: Chart", "-xrm", "*d65.labelString: Daylight 6500 K"}));
    ASSERT_NO_FATAL_FAILURE(choose(d65_toggle));
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(title_of(chart_shell_), "Chart: Daylight 6500 K");
}

TEST_F(Desktop, TheTitleSaysTrueColoursInTheResourcesWords) {
    ASSERT_NO_FATAL_FAILURE(start({}, {"-xrm", "*setupsrgb.set: True", "-xrm",
                                       "*yarx_popup.trueColoursTitle: for the screen"}));
    ASSERT_NE(press_ok(), None);
    EXPECT_EQ(title_of(chart_shell_), "yarx: D68, for the screen");
}

// Both windows say whose they are, for task bars and window switchers: the
// program's process and machine, and the icon as the package installs it
// at its small sizes.  The icon is on the setup window alone; the chart
// window is transient for it, and window managers show its icon for both.
TEST_F(Desktop, BothWindowsSayWhoseTheyAre) {
    ASSERT_NO_FATAL_FAILURE(start(desktop()));
    ASSERT_NE(press_ok(), None);
    static std::uint32_t icon[chart::window_icon_property_length];
    chart::window_icon_property(icon);
    EXPECT_TRUE(cardinals(setup_shell_, "_NET_WM_ICON") ==
                std::vector<unsigned long>(std::begin(icon), std::end(icon)));
    EXPECT_TRUE(cardinals(chart_shell_, "_NET_WM_ICON").empty());
    Window owner = None;
    EXPECT_TRUE(XGetTransientForHint(display(), chart_shell_, &owner));
    EXPECT_EQ(owner, setup_shell_);

    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    for (const Window shell : {setup_shell_, chart_shell_}) {
        EXPECT_EQ(cardinals(shell, "_NET_WM_PID"),
                  std::vector<unsigned long>{static_cast<unsigned long>(app_->pid())});
        XTextProperty machine{};
        ASSERT_TRUE(XGetWMClientMachine(display(), shell, &machine));
        EXPECT_EQ(std::string(reinterpret_cast<char *>(machine.value), machine.nitems), host);
        XFree(machine.value);
    }
}

// A whole run without the mouse: D65, OK, the chart, Dismiss, Exit.
TEST_F(Desktop, AWholeRunByKeyboardAlone) {
    ASSERT_NO_FATAL_FAILURE(start(desktop()));
    ASSERT_TRUE(wait_until([&] { return has_focus(display(), setup_shell_); }));
    move_pointer_away(display());

    // The keyboard starts in the radio box, on the toggle that is on (D68);
    // D65 is the one above it.
    type_key(display(), XK_Up);
    type_key(display(), XK_space);
    ASSERT_TRUE(wait_until([&] { return toggle_shows(d65_toggle, yellow); }));
    EXPECT_EQ(toggles_on(), 1);

    // Tab goes on to the true-colours toggle, which space turns on.
    type_key(display(), XK_Tab);
    type_key(display(), XK_space);
    ASSERT_TRUE(wait_until([&] { return shows_colour(true_colours_toggle(), yellow); }))
        << "Tab did not reach the true-colours toggle";

    type_key(display(), XK_Return);  // OK
    chart_shell_ = wait_for_shell(display(), chart_shell_name);
    ASSERT_NE(chart_shell_, None) << "Return did not press OK";
    EXPECT_EQ(wait_for_canvas(illuminant_d65, Rendering::true_colours), "");

    ASSERT_TRUE(wait_until([&] { return has_focus(display(), chart_shell_); }));
    type_key(display(), XK_Escape);  // Dismiss
    ASSERT_TRUE(wait_until([&] { return !viewable(display(), chart_shell_); }))
        << "Escape did not dismiss the chart";
    ASSERT_TRUE(wait_until([&] { return has_focus(display(), setup_shell_); }));
    type_key(display(), XK_space);  // back on the true-colours toggle: off
    ASSERT_TRUE(wait_until([&] { return !shows_colour(true_colours_toggle(), yellow); }));

    // Tab goes round the fan toggle, OK and Exit, and comes back into the
    // radio box on the toggle that is on: the one below D65 is D68.
    for (int i = 0; i < 4; ++i) type_key(display(), XK_Tab);
    type_key(display(), XK_Down);
    type_key(display(), XK_space);
    ASSERT_TRUE(wait_until([&] { return !toggle_shows(d65_toggle, yellow); }));
    EXPECT_TRUE(toggle_shows(d68_toggle, yellow)) << "Tab entered the radio box elsewhere";

    for (int i = 0; i < 2; ++i) type_key(display(), XK_Tab);  // true colours, the fan
    type_key(display(), XK_space);
    const Window fan = setup_widget(display(), setup_shell_, SetupWidget::fan);
    ASSERT_TRUE(wait_until([&] { return shows_colour(fan, yellow); }))
        << "Tab did not reach the fan toggle";
    for (int i = 0; i < 2; ++i) type_key(display(), XK_Tab);  // OK, Exit
    type_key(display(), XK_Return);
    expect_clean_exit("after Return on Exit");
}

// Return and Escape each dismiss the chart.
TEST_F(Desktop, ReturnAndEscapeDismissTheChart) {
    ASSERT_NO_FATAL_FAILURE(start(desktop()));
    for (const KeySym key : {XK_Return, XK_Escape}) {
        SCOPED_TRACE(XKeysymToString(key));
        ASSERT_NE(press_ok(), None);
        ASSERT_TRUE(wait_until([&] { return has_focus(display(), chart_shell_); }));
        type_key(display(), key);
        EXPECT_TRUE(wait_until([&] { return !viewable(display(), chart_shell_); }));
        EXPECT_TRUE(app_->running());
    }
}

}  // namespace
}  // namespace yarx::e2e
