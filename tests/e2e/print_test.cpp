// yarx-chart, the program run as a user runs it: its portrait PNG is the
// canvas the window shows; its PDF and SVG, as poppler and librsvg draw
// them, show the chart's colours without seams and text that a search
// finds; it refuses bad input with one line and no file, and a write that
// fails leaves the file that was there as it was.

#include <X11/keysym.h>
#include <png.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "chart/fan_geometry.h"
#include "expected_canvas.h"
#include "figure/figure_image.h"
#include "figure/mineral_optics.h"
#include "fixture.h"

namespace yarx::e2e {
namespace {

// A PNG read back as 8-bit RGB; empty when it could not be read.
struct Png {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    Rgb8 at(int x, int y) const {
        const unsigned char *p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

Png read_png(const std::string &path) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Png png;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return png;
    image.format = PNG_FORMAT_RGB;
    png.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, png.rgb.data(), 0, nullptr)) {
        png.width = static_cast<int>(image.width);
        png.height = static_cast<int>(image.height);
    }
    return png;
}

struct Outcome {
    int status;  // the wait status, or -1 when it did not end in time
    std::string out, err;
};

Outcome run(const std::vector<std::string> &argv) {
    Process process(argv, {});
    const auto status = process.wait_exit(30s);
    return {status.value_or(-1), process.standard_output(), process.standard_error()};
}

Outcome run_chart(std::vector<std::string> args) {
    args.insert(args.begin(), YARX_CHART_EXECUTABLE);
    return run(args);
}

int exit_status(const Outcome &r) { return WIFEXITED(r.status) ? WEXITSTATUS(r.status) : -1; }

std::vector<std::string> files_in(const std::string &directory) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    return names;
}

// ---------------------------------------------------------------- the canvas

// A chart the window shows and yarx-chart writes: the illuminant, the
// rendering, and with the fan the section's thickness ("" without).
struct Shown {
    const char *illuminant;
    Rendering rendering;
    const char *fan_thickness;
};

class PrintedCanvas : public YarxTest, public ::testing::WithParamInterface<Shown> {};

// Above the caption; with the fan, the frame and what it holds, the
// section's dashes among it, but not the slanting lines, which the server
// and cairo each step in their own way, nor the labels, which the window
// sets in its own font.
TEST_P(PrintedCanvas, PngIsTheWindowsCanvasAboveTheCaption) {
    const Shown &c = GetParam();
    const bool true_colours = c.rendering == Rendering::true_colours, fan = *c.fan_thickness;
    std::vector<std::string> options, args = {"--illuminant", c.illuminant};
    if (true_colours) {
        options.insert(options.end(), {"-xrm", "*setupsrgb.set: True"});
        args.emplace_back("--true-colours");
    }
    if (fan) {
        options.insert(options.end(), {"-xrm", "*setupfan.set: True", "-xrm",
                                       std::string("yarx.thickness: ") + c.fan_thickness});
        args.insert(args.end(), {"--fan", "--thickness", c.fan_thickness});
    }
    ASSERT_NO_FATAL_FAILURE(start({}, options));
    if (fan) {
        ASSERT_NO_FATAL_FAILURE(choose(toggle_index(c.illuminant)));
        ASSERT_NE(press_ok(), None);
        ASSERT_EQ(
            wait_for_fan(colour::id_of(c.illuminant), c.rendering, std::atof(c.fan_thickness)), "");
    } else {
        ASSERT_NO_FATAL_FAILURE(show_chart(toggle_index(c.illuminant), c.rendering));
    }
    const Image shown(display(), canvas());
    ASSERT_TRUE(shown.valid());

    const TemporaryDirectory directory;
    const std::string path = directory.path() + "/chart.png";
    args.push_back(path);
    const Outcome r = run_chart(args);
    ASSERT_EQ(exit_status(r), 0) << r.err;
    // True colours are sRGB, and the file says so right after its header;
    // the chart's own colours say nothing.
    const std::string bytes = read_file(path);
    EXPECT_EQ(bytes.find("sRGB") != std::string::npos, true_colours);
    EXPECT_EQ(bytes.compare(33, 13, "\0\0\0\1sRGB\0\xae\xce\x1c\xe9", 13) == 0, true_colours);
    const Png png = read_png(path);
    ASSERT_EQ(png.width, canvas_width);
    ASSERT_EQ(png.height, canvas_height);
    const chart::Box compared =
        fan ? chart::Box{chart::frame_x, chart::frame_y, chart::frame_x + chart::frame_width,
                         chart::frame_y + chart::frame_height}
            : chart::Box{0, 0, canvas_width - 1, chart::bottom_margin.top - 1};
    // Near a slanting line: near a line of the fan with the section beyond
    // the bands.
    const auto slanting = [&](int x, int y) {
        return fan && chart::near_fan_line(x, y, chart::greatest_thickness_um);
    };
    long differing = 0;
    for (int y = compared.top; y <= compared.bottom; ++y)
        for (int x = compared.left; x <= compared.right; ++x)
            if (!slanting(x, y) && !(png.at(x, y) == shown.rgb(x, y)) && differing++ < 5)
                ADD_FAILURE() << "(" << x << "," << y << ") differs";
    EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(OneInEachRendering, PrintedCanvas,
                         ::testing::Values(Shown{"d65", Rendering::cie_rgb, ""},
                                           Shown{"cie-a", Rendering::true_colours, ""},
                                           Shown{"d65", Rendering::cie_rgb, "25"}));

// ---------------------------------------------------------------- vectors

// How a viewer draws a file at 72 dpi, one pixel a unit, and where its
// text can be searched.
struct Viewer {
    const char *extension;
    std::vector<std::string> (*draw)(const std::string &file, const std::string &png);
    // The text a search finds: pdftotext's, or the SVG file itself.
    std::vector<std::string> (*text)(const std::string &file, const std::string &txt);
};

const Viewer viewers[] = {
    {"pdf",
     [](const std::string &file, const std::string &png) {
         return std::vector<std::string>{
             "pdftoppm", "-png", "-r", "72", "-singlefile", file, png.substr(0, png.size() - 4)};
     },
     [](const std::string &file, const std::string &txt) {
         return std::vector<std::string>{"pdftotext", file, txt};
     }},
    {"svg",
     [](const std::string &file, const std::string &png) {
         return std::vector<std::string>{"rsvg-convert", file, "-o", png};
     },
     [](const std::string &file, const std::string &txt) {
         return std::vector<std::string>{"cp", file, txt};
     }},
};

class ChartViewed : public ::testing::TestWithParam<Viewer> {};

TEST_P(ChartViewed, ShowsTheBandsWithoutSeamsAndTextASearchFinds) {
    const Viewer &viewer = GetParam();
    const TemporaryDirectory directory;
    const std::string plain = directory.path() + "/plain." + viewer.extension;
    const std::string lines = directory.path() + "/lines." + viewer.extension;
    const std::string png = directory.path() + "/drawn.png", txt = directory.path() + "/text";
    ASSERT_EQ(exit_status(run_chart({"--illuminant", "D65", plain})), 0);
    ASSERT_EQ(exit_status(run_chart({"--illuminant", "D65", "--fan", "--minerals", lines})), 0);
    ASSERT_EQ(exit_status(run(viewer.draw(plain, png))), 0);
    ASSERT_EQ(exit_status(run(viewer.text(lines, txt))), 0);

    // Every pixel of a band whose neighbours are bands too is that band's
    // colour, give or take the viewer's colour management: a seam between
    // two bands, or a band smoothed into the next, is not.
    static colour::ChartColours chart;
    colour::compute_chart(colour::id_of("d65"), Rendering::cie_rgb, chart);
    std::array<int, colour::chart_rows> rows;
    for (int row = 0; row < colour::chart_rows; ++row) rows[row] = row;
    const std::vector<int> canvas = paint_canvas(rows, -1, -2);
    const Png drawn = read_png(png);
    ASSERT_EQ(drawn.width, canvas_width);
    ASSERT_EQ(drawn.height, canvas_height);
    long checked = 0, differing = 0;
    for (int y = 1; y + 1 < canvas_height; ++y)
        for (int x = 1; x + 1 < canvas_width; ++x) {
            bool among_bands = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    among_bands = among_bands && canvas[(y + dy) * canvas_width + x + dx] >= 0;
            if (!among_bands) continue;
            ++checked;
            const Rgb8 got = drawn.at(x, y);
            const colour::Rgb8 want =
                colour::eight_bit_colour(chart.colours[canvas[y * canvas_width + x]]);
            if ((std::abs(got.red - want.red) > 2 || std::abs(got.green - want.green) > 2 ||
                 std::abs(got.blue - want.blue) > 2) &&
                differing++ < 5)
                ADD_FAILURE() << "(" << x << "," << y << ") is not its band's colour";
        }
    EXPECT_GT(checked, 300000);
    EXPECT_EQ(differing, 0);

    const std::string text = read_file(txt);
    for (const char *word : {"D65", ".010", ".150", "quartz", "tremolite-actinolite", "calcite"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

INSTANTIATE_TEST_SUITE_P(PopplerAndLibrsvg, ChartViewed, ::testing::ValuesIn(viewers),
                         [](const auto &info) { return std::string(info.param.extension); });

// ---------------------------------------------------------------- pages

// A file as a viewer shows it: a PNG as it is, a PDF at 72 dpi, an SVG at
// librsvg's 96 dpi, whose points are then 4/3 of a pixel.
Png drawn_as_viewed(const std::string &file, const std::string &extension,
                    const std::string &directory) {
    for (const Viewer &viewer : viewers)
        if (extension == viewer.extension) {
            const std::string png = directory + "/drawn.png";
            if (exit_status(run(viewer.draw(file, png))) != 0) return {};
            return read_png(png);
        }
    return read_png(file);
}

struct Page {
    std::vector<std::string> options;
    const char *extension;
    int width, height;  // as viewed
    bool portrait;
};

class OnPaper : public ::testing::TestWithParam<Page> {};

// A page is its paper's size, upright or turned, at its dpi, and white in
// its corner; in portrait the chart's margins are white too, where the
// window's are black: across the middle of the page only the grid's and
// the frame's lines are black.
TEST_P(OnPaper, IsThePapersSizeAndWhiteAroundTheBands) {
    const Page &page = GetParam();
    const TemporaryDirectory directory;
    const std::string file = directory.path() + "/page." + page.extension;
    std::vector<std::string> args = page.options;
    args.push_back(file);
    ASSERT_EQ(exit_status(run_chart(args)), 0);
    const Png drawn = drawn_as_viewed(file, page.extension, directory.path());
    ASSERT_EQ(drawn.width, page.width);
    ASSERT_EQ(drawn.height, page.height);
    EXPECT_EQ(drawn.at(1, 1), white);
    EXPECT_EQ(drawn.at(drawn.width - 2, drawn.height - 2), white);
    if (!page.portrait) return;
    int black_pixels = 0;
    for (int x = 0; x < drawn.width; ++x) {
        const Rgb8 c = drawn.at(x, drawn.height / 2);
        black_pixels += c.red < 64 && c.green < 64 && c.blue < 64;
    }
    EXPECT_LT(black_pixels, 20);
}

INSTANTIATE_TEST_SUITE_P(
    PaperAndDpi, OnPaper,
    ::testing::Values(Page{{"--paper", "a4"}, "png", 2480, 3508, true},
                      Page{{"--paper", "letter", "--dpi", "100"}, "png", 850, 1100, true},
                      Page{{"--landscape", "--paper", "a4", "--dpi", "72"}, "png", 842, 595, false},
                      Page{{"--paper", "a4", "--fan"}, "svg", 794, 1123, true},
                      Page{{"--landscape", "--paper", "a3"}, "pdf", 1191, 842, false}));

// The labels under the portrait chart read upwards: as librsvg draws the
// SVG they reach as far down the bottom margin as cairo draws them, where
// level ones would stay in its first rows.
TEST(ChartCommand, SvgDrawsTheTurnedLabels) {
    const TemporaryDirectory directory;
    const std::string svg = directory.path() + "/chart.svg", png = directory.path() + "/chart.png";
    for (const std::string &file : {svg, png})
        ASSERT_EQ(exit_status(run_chart({"--fan", "--minerals", file})), 0);
    const Png drawn_svg = drawn_as_viewed(svg, "svg", directory.path()), drawn_png = read_png(png);
    ASSERT_EQ(drawn_svg.height, canvas_height);
    const auto ink_below_the_labels_start = [](const Png &drawn) {
        int ink = 0;
        for (int y = chart::bottom_margin.top + 20; y < chart::bottom_margin.top + 55; ++y)
            for (int x = 0; x < canvas_width; ++x) ink += drawn.at(x, y).green > 128;
        return ink;
    };
    const int cairos = ink_below_the_labels_start(drawn_png);
    EXPECT_GT(cairos, 200);
    EXPECT_GT(ink_below_the_labels_start(drawn_svg), cairos / 2);
}

// ---------------------------------------------------------------- refusals

struct Refusal {
    std::vector<std::string> options;
    const char *file;   // in a directory of the test's own; nullptr for none
    const char *named;  // what the one line on standard error names
};

class Refused : public ::testing::TestWithParam<Refusal> {};

TEST_P(Refused, WithOneLineStatusTwoAndNoFile) {
    const Refusal &refusal = GetParam();
    const TemporaryDirectory directory;
    std::vector<std::string> args = refusal.options;
    if (refusal.file) args.push_back(directory.path() + "/" + refusal.file);
    const Outcome r = run_chart(args);
    EXPECT_EQ(exit_status(r), 2) << describe(r.status);
    EXPECT_EQ(r.err.find("yarx-chart: "), 0u) << r.err;
    EXPECT_NE(r.err.find(refusal.named), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    EXPECT_EQ(files_in(directory.path()), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, Refused,
    ::testing::Values(Refusal{{"--illuminant", "d99"}, "chart.png", "illuminant 'd99'"},
                      Refusal{{"--frobnicate"}, "chart.png", "option '--frobnicate'"},
                      Refusal{{}, "chart.jpg", "chart.jpg"},
                      Refusal{{"--thickness", "0"}, "chart.pdf", "thickness '0'"},
                      Refusal{{"--thickness", "1e9"}, "chart.svg", "thickness '1e9'"},
                      Refusal{{"--scale", "17"}, "chart.png", "scale '17'"},
                      Refusal{{"--scale", "2.5"}, "chart.png", "scale '2.5'"},
                      Refusal{{"--dpi", "0", "--paper", "a4"}, "chart.png", "dpi '0'"},
                      Refusal{{"--paper", "a5"}, "chart.pdf", "paper 'a5'"},
                      Refusal{{"--paper", "a3", "--dpi", "2400"}, "chart.png", "megapixels"},
                      Refusal{{"--landscape", "--fan", "--scale", "16"}, "chart.png", "megapixels"},
                      Refusal{{"--scale", "16"}, "chart.pdf", "page 9120 x 17600"},
                      Refusal{{"--fan"}, nullptr, "FILE"},
                      // A figure's options, and the chart's where they mean nothing.
                      Refusal{{"--figure", "--birefringence", "0"}, "f.png", "--birefringence '0'"},
                      Refusal{{"--figure", "--index", "x"}, "f.png", "--index 'x'"},
                      Refusal{{"--figure", "biaxial", "--2v", "91"}, "f.png", "--2v '91'"},
                      Refusal{{"--figure", "--na", "0.99"}, "f.png", "--na '0.99'"},
                      Refusal{{"--figure", "--tilt", "-1"}, "f.png", "--tilt '-1'"},
                      Refusal{{"--figure", "--plate", "2001"}, "f.png", "--plate '2001'"},
                      Refusal{{"--figure", "--size", "63"}, "f.png", "--size '63'"},
                      Refusal{{"--figure", "--sign", "both"}, "f.png", "sign 'both'"},
                      Refusal{{"--figure", "uniaxial", "--2v", "30"}, "f.png", "--2v"},
                      Refusal{{"--mineral", "quartz", "--2v", "30", "--figure"}, "f.png", "--2v"},
                      Refusal{{"--plate", "551"}, "f.png", "'--plate' is a figure's"},
                      Refusal{{"--figure", "--fan"}, "f.png", "'--fan' means nothing"},
                      Refusal{{"--figure", "--paper", "a4"}, "f.pdf", "'--paper' means nothing"},
                      Refusal{{"--figure", "--mineral", "unobtainium"}, "f.png", "'unobtainium'"},
                      Refusal{
                          {"--figure", "--mineral", "garnet"}, "f.svg", "garnet is isotropic"}));

// ---------------------------------------------------------------- figures

// A figure's PNG is, in its top square, the figure the library computes;
// its PDF and SVG, as poppler and librsvg draw them, lie over the PNG, and
// their captions are text.
TEST_P(ChartViewed, AFiguresPagesLieOverItsPngAndTheCaptionIsText) {
    const Viewer &viewer = GetParam();
    const TemporaryDirectory directory;
    const std::vector<std::string> args = {"--figure", "--mineral", "calcite", "--plate",
                                           "551",      "--size",    "161"};
    const std::string png = directory.path() + "/figure.png";
    const std::string file = directory.path() + "/figure." + viewer.extension;
    const std::string drawn = directory.path() + "/drawn.png", txt = directory.path() + "/text";
    for (const std::string &path : {png, file}) {
        std::vector<std::string> with_path = args;
        with_path.push_back(path);
        ASSERT_EQ(exit_status(run_chart(with_path)), 0);
    }
    // Poppler's own rasteriser smooths an image drawn at one unit a pixel;
    // its cairo one, as most viewers, does not.
    const std::vector<std::string> draw =
        viewer.extension == std::string("pdf")
            ? std::vector<std::string>{"pdftocairo",
                                       "-png",
                                       "-r",
                                       "72",
                                       "-singlefile",
                                       file,
                                       drawn.substr(0, drawn.size() - 4)}
            : viewer.draw(file, drawn);
    ASSERT_EQ(exit_status(run(draw)), 0);
    ASSERT_EQ(exit_status(run(viewer.text(file, txt))), 0);

    figure::Settings settings;
    ASSERT_TRUE(figure::take_mineral(*figure::mineral_named("calcite"), settings));
    settings.plate_nm = 551;
    settings.size = 161;
    static figure::Workspace workspace;
    static figure::Image image;
    figure::compute_figure(settings, workspace, image);
    const Png written = read_png(png), viewed = read_png(drawn);
    ASSERT_EQ(written.width, 161);
    ASSERT_GT(written.height, 161);
    ASSERT_EQ(viewed.width, written.width);
    ASSERT_EQ(viewed.height, written.height);
    long differing = 0, unlike = 0;
    for (int y = 0; y < 161; ++y)
        for (int x = 0; x < 161; ++x) {
            const colour::Rgb8 want = image.pixels[y * 161 + x];
            if (!(written.at(x, y) == want)) ++differing;
            const Rgb8 a = written.at(x, y), b = viewed.at(x, y);
            if (std::abs(a.red - b.red) > 2 || std::abs(a.green - b.green) > 2 ||
                std::abs(a.blue - b.blue) > 2)
                ++unlike;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(unlike, 0);
    const std::string text = read_file(txt);
    for (const char *word : {"calcite", "uniaxial negative", "plate 551 nm", "D68"})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST(ChartCommand, AnswersHelpAndVersion) {
    const Outcome help = run_chart({"--help"}), version = run_chart({"--version"});
    EXPECT_EQ(exit_status(help), 0);
    EXPECT_EQ(help.out.find("usage: yarx-chart [OPTION]... FILE\n"), 0u) << help.out;
    EXPECT_EQ(exit_status(version), 0);
    EXPECT_EQ(version.out, "yarx-chart " YARX_VERSION "\n");
    // The figure's usage, alone and after the chart's, with its ranges and
    // defaults; its version as the chart's.
    const Outcome figure_help = run_chart({"--figure", "--help"});
    EXPECT_EQ(figure_help.out.find("usage: yarx-chart --figure [uniaxial|biaxial]"), 0u);
    for (const char *row : {"  --birefringence DN   above 0 to 0.3 (0.009)\n",
                            "  --azimuth DEG        of the optic axial plane, from east, -360 to "
                            "360 (45)\n",
                            "  --size PX            pixels a side, 64 to 2048 (401)\n"})
        EXPECT_NE(figure_help.out.find(row), std::string::npos) << row;
    EXPECT_NE(help.out.find("the program's version\n\n" + figure_help.out), std::string::npos);
    EXPECT_EQ(run_chart({"--figure", "--version"}).out, version.out);
}

// ---------------------------------------------------------------- writing over a file

// What is at the name before yarx-chart writes there, and how the write
// goes.
struct WriteCase {
    const char *what;
    std::string name;     // given to yarx-chart, in the test's directory
    const char *link_to;  // the name is a symbolic link to this, or nullptr
    mode_t old_mode;      // of the file there before (the link's target), or 0 for none
    std::vector<std::string> options;
    const char *limits;  // the shell's, before it runs yarx-chart
    int signal;        // that ends it, or 0; sent once the temporary appears, unless by the limits
    int status;        // the exit status, when no signal ends it
    const char *said;  // on standard error
};
void PrintTo(const WriteCase &c, std::ostream *out) { *out << c.what; }

// 16 blocks of 512 bytes, where every file takes more: the write that
// passes the limit raises SIGXFSZ, or with it ignored fails with EFBIG.
constexpr const char *size_limit = "ulimit -c 0 && ulimit -f 16 && ";
constexpr const char *full_disk = "ulimit -f 16 && trap '' XFSZ && ";
// NAME_MAX bytes, with a character across the place where the
// temporary's name, 8 bytes longer, is cut.
const std::string long_name = std::string(246, 'x') + "\xc3\xa9" + "xxx.png";
// Some 250 MB of pixels to draw: seconds.
const std::vector<std::string> long_write = {"--paper", "a4", "--dpi", "800"};

// clang-format off
const WriteCase write_cases[] = {
//   what                   name         link to       old   options     limits      signal   status said
    {"a link",              "chart.png", "target.png", 0640, {},         "",         0,       0,     ""},
    {"a dangling link",     "chart.png", "new.png",    0,    {},         "",         0,       0,     ""},
    {"a private file",      "chart.png", nullptr,      0600, {},         "",         0,       0,     ""},
    {"a name of 255 bytes", long_name,   nullptr,      0644, {},         "",         0,       0,     ""},
    {"a signal",            "chart.png", nullptr,      0644, long_write, "",         SIGTERM, 0,     ""},
    {"a size limit",        "chart.png", nullptr,      0644, {},         size_limit, SIGXFSZ, 0,     ""},
    {"a full disk, PNG",    "chart.png", nullptr,      0644, {"--fan"},  full_disk,  0,       1,     std::strerror(EFBIG)},
    {"a full disk, PDF",    "chart.pdf", nullptr,      0644, {},         full_disk,  0,       1,     std::strerror(EFBIG)},
    {"a full disk, SVG",    "chart.svg", nullptr,      0644, {},         full_disk,  0,       1,     std::strerror(EFBIG)},
};
// clang-format on

class WrittenOver : public ::testing::TestWithParam<WriteCase> {};

// A write keeps a link a link, and the file's mode; a name that the
// system takes is taken; and a write that a signal ends, or that fails,
// leaves the file that was there as it was and no temporary.
TEST_P(WrittenOver, KeepsWhatTheUserHadAndLeavesNothingElse) {
    const WriteCase &c = GetParam();
    const TemporaryDirectory directory;
    const std::string path = directory.path() + "/" + c.name;
    const std::string file = c.link_to ? directory.path() + "/" + c.link_to : path;
    const std::string old = "the chart printed last week\n";
    if (c.old_mode) {
        std::FILE *f = std::fopen(file.c_str(), "w");
        ASSERT_TRUE(f && std::fputs(old.c_str(), f) >= 0 && std::fclose(f) == 0);
        ASSERT_EQ(chmod(file.c_str(), c.old_mode), 0);
    }
    if (c.link_to) {
        ASSERT_EQ(symlink(c.link_to, path.c_str()), 0);
    }
    std::vector<std::string> argv = {"sh", "-c", std::string(c.limits) + "exec \"$@\"", "sh",
                                     YARX_CHART_EXECUTABLE};
    argv.insert(argv.end(), c.options.begin(), c.options.end());
    argv.push_back(path);
    Process process(argv, {});
    if (c.signal && !*c.limits) {
        ASSERT_TRUE(wait_until([&] {
            for (const std::string &name : files_in(directory.path()))
                if (name.rfind("." + c.name + ".", 0) == 0) return true;
            return false;
        })) << "no temporary";
        kill(process.pid(), c.signal);
    }
    const int status = process.wait_exit(30s).value_or(-1);
    if (c.signal)
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << describe(status);
    else
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.status) << describe(status);
    EXPECT_NE(process.standard_error().find(c.said), std::string::npos) << process.standard_error();

    struct stat written {};
    ASSERT_EQ(stat(file.c_str(), &written), 0);
    if (!c.signal && c.status == 0) {
        EXPECT_GT(read_png(file).width, 0);
    } else {
        EXPECT_EQ(read_file(file), old);
    }
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(written.st_mode & 07777, c.old_mode ? c.old_mode : 0666 & ~mask);
    std::vector<std::string> expected = {c.name};
    if (c.link_to) {
        struct stat link {};
        EXPECT_TRUE(lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode));
        expected.emplace_back(c.link_to);
    }
    std::vector<std::string> found = files_in(directory.path());
    std::sort(found.begin(), found.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(found, expected);
}

INSTANTIATE_TEST_SUITE_P(Each, WrittenOver, ::testing::ValuesIn(write_cases));

// ---------------------------------------------------------------- saving from the window

// Save, and Ctrl+S, open the file dialog with the keyboard in its file
// name; Return writes the file yarx-chart writes for what the window shows.
// A place that cannot be written is said so on the panel, the dialog stays
// up for another name, and the program runs on.
TEST_F(YarxTest, TheWindowSavesWhatYarxChartWrites) {
    ServerOptions under_a_window_manager;
    under_a_window_manager.window_manager = true;  // which gives the dialog the keyboard
    ASSERT_NO_FATAL_FAILURE(start(under_a_window_manager,
                                  {"-xrm", "*setupsrgb.set: True", "-xrm", "*setupfan.set: True"}));
    ASSERT_NO_FATAL_FAILURE(choose(d65_toggle));
    ASSERT_NE(press_ok(), None);
    ASSERT_EQ(wait_for_fan(illuminant_d65, Rendering::true_colours), "");
    const TemporaryDirectory directory;
    const std::string reference = directory.path() + "/reference.png";
    ASSERT_EQ(exit_status(run_chart({"--illuminant", "D65", "--true-colours", "--fan", reference})),
              0);
    click(display(), chart_widget(display(), chart_shell_, ChartWidget::save));
    ASSERT_NO_FATAL_FAILURE(save_as("saved.png"));
    const std::string saved = app_->home() + "/saved.png";
    EXPECT_TRUE(wait_until([&] { return read_file(saved) == read_file(reference); }))
        << read_file(saved).size() << " bytes, not " << read_file(reference).size();

    const Window line = chart_widget(display(), chart_shell_, ChartWidget::save_line);
    const auto said = rgb_bytes(Image(display(), line));
    ASSERT_TRUE(wait_until([&] { return has_focus(display(), chart_shell_); }));
    type_key(display(), XK_s, XK_Control_L);
    ASSERT_NO_FATAL_FAILURE(save_as("nowhere/saved.pdf"));
    EXPECT_TRUE(wait_until([&] { return rgb_bytes(Image(display(), line)) != said; }))
        << "the save line did not say the save failed";
    EXPECT_NE(wait_for_shell(display(), ui::save_error_shell_name), None) << "no message";
    EXPECT_TRUE(viewable(display(), find_shell(display(), ui::save_shell_name)));
    EXPECT_TRUE(app_->running());
    EXPECT_EQ(files_in(app_->home()), std::vector<std::string>{"saved.png"});
}

// Ctrl+S in the figure window writes the figure shown, its plate put in
// by the resources, as yarx-chart --figure writes it; a bare name is a PNG.
TEST_F(YarxTest, TheFigureWindowSavesWhatYarxChartWrites) {
    ServerOptions under_a_window_manager;
    under_a_window_manager.window_manager = true;
    ASSERT_NO_FATAL_FAILURE(start(under_a_window_manager, {"-xrm", "*figureplate.set: True"}));
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_for_chart(illuminant_d68));
    const TemporaryDirectory directory;
    const std::string reference = directory.path() + "/reference.png";
    ASSERT_EQ(exit_status(run_chart({"--figure", "--mineral", "quartz", "--plate", "550", "--size",
                                     "401", reference})),
              0);
    click(display(), chart_widget(display(), chart_shell_, ChartWidget::figure));
    const Window figure_shell = wait_for_shell(display(), ui::figure_shell_name);
    ASSERT_NE(figure_shell, None);
    click(display(), figure_widget(display(), figure_shell, FigureWidget::reading));
    ASSERT_TRUE(wait_until([&] { return has_focus(display(), figure_shell); }));
    type_key(display(), XK_s, XK_Control_L);
    ASSERT_NO_FATAL_FAILURE(save_as("quartz"));
    const std::string saved = app_->home() + "/quartz.png";
    EXPECT_TRUE(wait_until([&] { return read_file(saved) == read_file(reference); }))
        << read_file(saved).size() << " bytes, not " << read_file(reference).size();
}

// A PDF without the moment cairo wrote it.
std::string pdf_without_date(std::string pdf) {
    const std::size_t date = pdf.find("/CreationDate (");
    if (date != std::string::npos) pdf.erase(date, pdf.find(')', date) + 1 - date);
    return pdf;
}

// The name offered follows the chart shown while the user leaves it, and
// carries a thickness other than 30 µm; the file holds what the window
// shows when it is written: a new OK under CIE A with the dialog up.
TEST_F(YarxTest, SaveOffersTheNameOfTheChartShownNow) {
    ServerOptions under_a_window_manager;
    under_a_window_manager.window_manager = true;
    ASSERT_NO_FATAL_FAILURE(start(under_a_window_manager,
                                  {"-xrm", "*setupfan.set: True", "-xrm", "yarx.thickness: 25"}));
    ASSERT_NO_FATAL_FAILURE(choose(d65_toggle));
    ASSERT_NE(press_ok(), None);
    ASSERT_EQ(wait_for_fan(illuminant_d65, Rendering::cie_rgb, 25), "");
    click(display(), chart_widget(display(), chart_shell_, ChartWidget::save));
    ASSERT_NE(wait_for_shell(display(), ui::save_shell_name), None) << "no dialog";
    ASSERT_NO_FATAL_FAILURE(choose(a_toggle));
    ASSERT_NE(press_ok(), None);
    ASSERT_TRUE(wait_until([&] { return title_of(chart_shell_) == "yarx: CIE A"; }));
    click(display(), find_shell(display(), ui::save_shell_name));  // for the keyboard
    ASSERT_NO_FATAL_FAILURE(save_as(""));

    const TemporaryDirectory directory;
    const std::string reference = directory.path() + "/reference.pdf";
    ASSERT_EQ(
        exit_status(run_chart({"--illuminant", "cie-a", "--fan", "--thickness", "25", reference})),
        0);
    const std::string saved = app_->home() + "/chart-cie-a-fan-25um.pdf";
    EXPECT_TRUE(wait_until([&] {
        return pdf_without_date(read_file(saved)) == pdf_without_date(read_file(reference));
    })) << "saved: "
        << ::testing::PrintToString(files_in(app_->home()));
    EXPECT_EQ(files_in(app_->home()), std::vector<std::string>{"chart-cie-a-fan-25um.pdf"});
}

// Saving onto a file there already asks first: Escape and Cancel keep it
// byte for byte, with the dialog up for another name; Replace writes the
// chart.  A name without an extension is a PDF's.
TEST_F(YarxTest, SaveAsksBeforeReplacingAFile) {
    ServerOptions under_a_window_manager;
    under_a_window_manager.window_manager = true;
    ASSERT_NO_FATAL_FAILURE(start(under_a_window_manager));
    ASSERT_NE(press_ok(), None);
    ASSERT_EQ(wait_for_canvas(illuminant_d68), "");
    const std::string notes = app_->home() + "/notes.pdf", old = "the notes of last week\n";
    std::FILE *file = std::fopen(notes.c_str(), "w");
    ASSERT_TRUE(file && std::fputs(old.c_str(), file) >= 0 && std::fclose(file) == 0);

    const auto asked = [&] {
        const Window question = wait_for_shell(display(), ui::save_question_shell_name);
        return question != None && wait_until([&] { return has_focus(display(), question); });
    };
    const auto answered = [&] {
        return wait_until(
            [&] { return find_shell(display(), ui::save_question_shell_name) == None; });
    };
    click(display(), chart_widget(display(), chart_shell_, ChartWidget::save));
    ASSERT_NO_FATAL_FAILURE(save_as("notes"));
    ASSERT_TRUE(asked()) << "no question";
    type_key(display(), XK_Escape);
    ASSERT_TRUE(answered());
    EXPECT_EQ(read_file(notes), old);

    // Return presses Cancel, the question's default; the arrow takes the
    // keyboard to Replace, which space presses.
    ASSERT_NO_FATAL_FAILURE(save_as(""));
    ASSERT_TRUE(asked()) << "no question the second time";
    type_key(display(), XK_Return);
    ASSERT_TRUE(answered());
    EXPECT_EQ(read_file(notes), old);
    EXPECT_TRUE(viewable(display(), find_shell(display(), ui::save_shell_name)));

    ASSERT_NO_FATAL_FAILURE(save_as(""));
    ASSERT_TRUE(asked());
    type_key(display(), XK_Left);
    type_key(display(), XK_space);
    const TemporaryDirectory directory;
    const std::string reference = directory.path() + "/reference.pdf";
    ASSERT_EQ(exit_status(run_chart({reference})), 0);
    EXPECT_TRUE(wait_until([&] {
        return pdf_without_date(read_file(notes)) == pdf_without_date(read_file(reference));
    }));
    EXPECT_TRUE(wait_until([&] { return find_shell(display(), ui::save_shell_name) == None; }));
    EXPECT_EQ(files_in(app_->home()), std::vector<std::string>{"notes.pdf"});
}

}  // namespace
}  // namespace yarx::e2e
