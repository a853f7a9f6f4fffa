#include "fixture.h"

#include <sys/stat.h>

#include "colour/chart_colours.h"

namespace yarx::e2e {

void YarxTest::start_server(ServerOptions options) { server_ = std::make_unique<XServer>(options); }

void YarxTest::launch(std::vector<std::string> args) {
    // The chart window would open centred over the setup window; keep the
    // two apart so the setup window's buttons stay clickable.
    args.insert(args.begin(),
                {"-geometry", "+700+0", "-xrm", "*yarx_popup.yarx.defaultPosition: False"});
    app_ = std::make_unique<App>(*server_, std::move(args));
    setup_shell_ = wait_for_shell(display(), "yarx");
    ASSERT_NE(setup_shell_, None) << "no setup window; stderr: " << app_->standard_error();
    // The toolkit maps the shell first; wait until the whole tree is up.
    ASSERT_TRUE(wait_until([&] {
        return viewable(display(), setup_widget(display(), setup_shell_, SetupWidget::exit));
    }));
}

void YarxTest::start(ServerOptions options, std::vector<std::string> args) {
    start_server(options);
    launch(std::move(args));
}

void YarxTest::start_through_relay(ServerOptions options, Duration delay_each_way,
                                   std::vector<std::string> args) {
    start_server(options);
    relay_ = std::make_unique<Relay>(*server_, delay_each_way);
    args.insert(args.begin(), {"-display", relay_->display_name()});
    launch(std::move(args));
}

void YarxTest::TearDown() {
    if (HasFailure() && server_ && server_->display()) {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        mkdir("e2e-screenshots", 0755);
        const std::string path =
            std::string("e2e-screenshots/") + info->test_suite_name() + "." + info->name() + ".png";
        if (save_screenshot(display(), path)) std::printf("screenshot: %s\n", path.c_str());
    }
    // In the sanitizer build, a report from the program fails the test
    // whatever the test itself looked at.
    if (app_) {
        const std::string error = app_->standard_error();
        for (const char *report : {"Sanitizer", "runtime error:"})
            EXPECT_EQ(error.find(report), std::string::npos) << error;
    }
    app_.reset();
    relay_.reset();
    server_.reset();
}

bool YarxTest::toggle_shows(int index, Rgb8 colour) {
    const Image image(display(), toggle(display(), setup_shell_, index));
    if (!image.valid()) return false;
    int matching = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.rgb(x, y) == colour) ++matching;
    return matching >= 10;
}

int YarxTest::toggles_on() {
    int on = 0;
    for (int i = 0; i < toggle_count; ++i) on += toggle_shows(i, yellow);
    return on;
}

Window YarxTest::press_ok() {
    click(display(), setup_widget(display(), setup_shell_, SetupWidget::ok));
    chart_shell_ = wait_for_shell(display(), "yarx_popup");
    return chart_shell_;
}

std::vector<int> YarxTest::rows_differing(int illuminant) {
    const auto expected = expected_band_pixels(display(), illuminant);
    const Image image(display(), canvas());
    std::vector<int> rows;
    if (!image.valid()) {
        rows.push_back(-1);
        return rows;
    }
    const unsigned long black_pixel = allocated_pixel(display(), 0, 0, 0);
    for (int row = 0; row < 1000; ++row) {
        // Grid lines every 100 nm (and the second line of every 500 nm) are black.
        const bool grid = row % 40 == 0 || row % 200 == 1;
        const unsigned long want = grid ? black_pixel : expected[row];
        if (image.pixel(75, 20 + row) != want) rows.push_back(row);
    }
    return rows;
}

bool YarxTest::wait_for_chart(int illuminant, Duration timeout) {
    return wait_until([&] { return chart_shell_ && rows_differing(illuminant).empty(); }, timeout);
}

std::vector<ColourRequest> expected_colour_requests(Display *display, int illuminant) {
    colour::compute_weights(illuminant);
    colour::compute_chart_xyz();
    colour::compute_chart_colours();
    const Colormap colormap = DefaultColormap(display, 0);
    std::vector<ColourRequest> requests;
    for (const colour::Rgb &c : colour::chart_colours)
        requests.push_back({colormap, static_cast<unsigned short>(c.red * 65535.0),
                            static_cast<unsigned short>(c.green * 65535.0),
                            static_cast<unsigned short>(c.blue * 65535.0)});
    requests.push_back({colormap, 0, 0, 0});
    requests.push_back({colormap, 65535, 65535, 65535});
    return requests;
}

std::array<unsigned long, 1000> expected_band_pixels(Display *display, int illuminant) {
    const std::vector<ColourRequest> requests = expected_colour_requests(display, illuminant);
    std::array<unsigned long, 1000> pixels{};
    for (int row = 0; row < 1000; ++row) {
        const ColourRequest &c = requests[row];
        pixels[row] = allocated_pixel(display, c.red, c.green, c.blue);
    }
    return pixels;
}

}  // namespace yarx::e2e
