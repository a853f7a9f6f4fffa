// The base of every end-to-end test: a private X server, the program on it,
// a screenshot when the test fails, and nothing left running afterwards.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "chart/chart_geometry.h"
#include "chart/reading.h"
#include "colour/chart_colours.h"
#include "colour/illuminants.h"
#include "xdriver/driver.h"
#include "xdriver/relay.h"
#include "xdriver/yarx_windows.h"

namespace yarx::e2e {

// The tests drive yarx with the X driver.
using namespace xdriver;
// A chart in the chart's own colours, or in true colours.
using colour::Rendering;

// The toggles the tests press, by their places on the screen, where the
// illuminant catalogue puts them ...
inline constexpr int eew_toggle = toggle_index("eew"), d32_toggle = toggle_index("d32"),
                     d65_toggle = toggle_index("d65"), d68_toggle = toggle_index("d68"),
                     a_toggle = toggle_index("cie-a");
// ... and the illuminants whose charts the tests check, by their identifiers.
inline constexpr int illuminant_d65 = colour::id_of("d65"), illuminant_d68 = colour::id_of("d68"),
                     illuminant_a = colour::id_of("cie-a");

class YarxTest : public ::testing::Test {
protected:
    // Starts the server and the program and waits for the setup window.
    void start(ServerOptions options = {}, std::vector<std::string> args = {});
    // Starts the server, a relay in front of it with the given delay each
    // way, and the program as a client of the relay; waits for the setup
    // window.  relay_ then counts the program's requests.
    void start_through_relay(ServerOptions options = {}, Duration delay_each_way = Duration(0),
                             std::vector<std::string> args = {});
    // Starts the server alone; the test launches the program itself.
    void start_server(ServerOptions options = {});
    void launch(std::vector<std::string> args = {}, std::vector<std::string> environment = {});

    void TearDown() override;

    Display *display() const { return server_->display(); }

    // Whether the toggle shows its "on" indicator in the select colour.
    bool toggle_shows(int index, Rgb8 colour);
    bool shows_colour(Window widget, Rgb8 colour);
    int toggles_on();

    // Turns the toggle on and waits until it shows so.
    void choose(int toggle_index);

    // Presses OK and waits until the chart window is viewable.
    Window press_ok();
    // Chooses the toggle, presses OK and waits until the canvas shows the
    // chart of its illuminant exactly.
    void show_chart(int toggle_index, Rendering rendering = Rendering::cie_rgb);
    // Waits for the program to end, "after" something, and expects a clean
    // exit: status 0 and nothing on standard output.
    void expect_clean_exit(const char *after);
    // Waits until the canvas shows the chart of the illuminant row for row.
    bool wait_for_chart(int illuminant, Duration timeout = default_timeout);
    // The rows of the canvas (at probe_x, clear of the grid and the notice
    // image) that differ from the chart of the illuminant.
    std::vector<int> rows_differing(int illuminant);

    // The rows of the canvas that can be seen: all of them unless its
    // scrolled window or the screen is too short.
    Image::Rows visible_canvas_rows();
    // The differences between the canvas, as far as it can be seen, and the
    // chart of the illuminant: how many pixels, and the first few; empty
    // when none.
    std::string canvas_differences(int illuminant, Rendering rendering = Rendering::cie_rgb);
    // Waits until the whole canvas shows the chart of the illuminant; an
    // empty string when it does, the differences otherwise.
    std::string wait_for_canvas(int illuminant, Rendering rendering = Rendering::cie_rgb);
    // Waits until the canvas shows the chart of the illuminant with the
    // birefringence fan over it: lines and labels there, and nothing else
    // than the chart off the fan's lines and outside the margins.  An empty
    // string when it does; what is wrong otherwise.  The section's
    // thickness dashed at the thickness given.
    std::string wait_for_fan(int illuminant, Rendering rendering = Rendering::cie_rgb,
                             double thickness_um = chart::default_thickness_um);

    // Waits for the save dialog with the keyboard in it, types the text
    // over the name it offers, and Return.
    void save_as(const char *text);

    Window canvas() { return chart_widget(display(), chart_shell_, ChartWidget::canvas); }
    Window true_colours_toggle() {
        return setup_widget(display(), setup_shell_, SetupWidget::true_colours);
    }
    std::string title_of(Window shell);

    // The count once it has stayed the same for half a second: the program
    // has finished what it was doing.
    static long settled_count(const RequestCounter &counter, int opcode);

    std::unique_ptr<XServer> server_;
    std::unique_ptr<Relay> relay_;
    std::unique_ptr<App> app_;
    Window setup_shell_ = None;
    Window chart_shell_ = None;
};

// A wait status in words: "exit status 1", "killed by signal 11".
std::string describe(int status);

// The pixel every chart row should show under the illuminant: the colour
// module's result, allocated in the server as the program allocates it.
std::array<unsigned long, colour::chart_rows> expected_band_pixels(
    Display *display, int illuminant, Rendering rendering = Rendering::cie_rgb);

using chart::canvas_height;
using chart::canvas_width;

// The canvas as the chart of the illuminant must look, row by row, in the
// pixels of the server's default colormap.
std::vector<unsigned long> expected_canvas(Display *display, int illuminant,
                                           Rendering rendering = Rendering::cie_rgb);

// The colours a draw of the illuminant's chart asks for, in the order it
// asks (chart::colours_per_draw of them: the bands in row order, then black,
// then white), all in the default colormap of the display's default screen.
std::vector<ColourRequest> expected_colour_requests(Display *display, int illuminant,
                                                    Rendering rendering = Rendering::cie_rgb);

constexpr Rgb8 yellow{255, 255, 0};
constexpr Rgb8 black{0, 0, 0};
constexpr Rgb8 white{255, 255, 255};

}  // namespace yarx::e2e
