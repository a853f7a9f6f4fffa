// Looks at what yarx_pictures made, and at the pictures the sources keep,
// which must still be what the programs draw.
//
// Usage: check_pictures DIRECTORY SOURCE_DIRECTORY

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "chart/chart_geometry.h"
#include "colour/chart_colours.h"
#include "pictures.h"

namespace {

namespace chart = yarx::chart;
namespace colour = yarx::colour;
using namespace yarx::pictures;

int failures = 0;

void expect(bool condition, const std::string &what) {
    if (!condition) {
        std::printf("FAILED: %s\n", what.c_str());
        ++failures;
    }
}

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    bool valid() const { return width > 0; }
    const unsigned char *at(int x, int y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
};

Picture read_png(const std::string &path) {
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        expect(false, path + ": " + image.message);
        return picture;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        expect(false, path + ": " + image.message);
        png_image_free(&image);
        return picture;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb = std::move(rgb);
    return picture;
}

// A 0..1 component as the 8-bit value a 24-bit TrueColor screen shows for
// the 16-bit colour the program allocates.
int eight_bit(double component) { return colour::colour_value(component) >> 8; }

bool close_to(const unsigned char *pixel, const colour::Rgb &c) {
    return std::abs(pixel[0] - eight_bit(c.red)) <= 1 &&
           std::abs(pixel[1] - eight_bit(c.green)) <= 1 &&
           std::abs(pixel[2] - eight_bit(c.blue)) <= 1;
}

void check_chart(const std::string &directory, const colour::Illuminant &illuminant,
                 const Way &way) {
    const std::string path = directory + "/" + chart_picture(illuminant, way);
    const Picture picture = read_png(path);
    if (!picture.valid()) return;
    const bool canvas_sized =
        picture.width == chart::canvas_width && picture.height == chart::canvas_height;
    expect(canvas_sized, path + " is " + std::to_string(picture.width) + "x" +
                             std::to_string(picture.height) + ", not the canvas's " +
                             std::to_string(chart::canvas_width) + "x" +
                             std::to_string(chart::canvas_height));
    if (!canvas_sized) return;

    static colour::ChartColours computed;
    colour::compute_chart(illuminant.id, way.rendering, computed);
    // Rows spread over the chart, clear of the grid.
    for (int row : {3, 150, 333, 599, 998})
        expect(close_to(picture.at(chart::probe_x, chart::band_top + row), computed.colours[row]),
               path + ": row " + std::to_string(row) + " is not the chart colour");
    const unsigned char *grid = picture.at(chart::probe_x, chart::band_top + 400);
    expect(grid[0] == 0 && grid[1] == 0 && grid[2] == 0, path + ": no grid line at 1000 nm");
    // The first order mark, 551 nm, in the middle of its line
    const unsigned char *mark =
        picture.at((chart::order_mark_left + chart::order_mark_right) / 2, chart::band_top + 220);
    expect(mark[0] == 255 && mark[1] == 255 && mark[2] == 255, path + ": no order mark at 551 nm");
}

void check_overview(const std::string &directory) {
    const std::string path = directory + "/" + overview_picture;
    const Picture picture = read_png(path);
    if (!picture.valid()) return;
    const int count = colour::illuminant_count;
    expect(picture.width == overview::width && picture.height == overview::height,
           path + " is " + std::to_string(picture.width) + "x" + std::to_string(picture.height));
    if (picture.width != overview::width || picture.height != overview::height) return;

    // Every column has a label: white text in the strip above its chart.
    const int column = picture.width / count;
    for (int i = 0; i < count; ++i) {
        int white = 0;
        for (int y = 0; y < 24; ++y)
            for (int x = i * column; x < (i + 1) * column; ++x) {
                const unsigned char *p = picture.at(x, y);
                white += p[0] == 255 && p[1] == 255 && p[2] == 255;
            }
        expect(white >= 10, path + ": no label over chart " + std::to_string(i + 1));
    }

    // The chart's own colours above, true colours below: at half size the
    // sensitive tint of the first chart (rows 220 and 221, at x = 74 and 75)
    // is the mean of the two rows' colours, which differ wholly between the
    // two ways.
    for (int way = 0; way < way_count; ++way) {
        static colour::ChartColours computed;
        colour::compute_chart(colour::illuminants[0].id, ways[way].rendering, computed);
        const colour::Rgb &a = computed.colours[220], &b = computed.colours[221];
        const unsigned char *p = picture.at(overview::chart_left(0) + 74 / 2,
                                            overview::chart_top(way) + (chart::band_top + 220) / 2);
        const int mean[] = {(eight_bit(a.red) + eight_bit(b.red)) / 2,
                            (eight_bit(a.green) + eight_bit(b.green)) / 2,
                            (eight_bit(a.blue) + eight_bit(b.blue)) / 2};
        expect(std::abs(p[0] - mean[0]) <= 1 && std::abs(p[1] - mean[1]) <= 1 &&
                   std::abs(p[2] - mean[2]) <= 1,
               path + ": the charts in row " + std::to_string(way + 1) + " are not " +
                   (way ? "in true colours" : "in the chart's own colours"));
    }
}

// A picture kept in the sources and the one yarx_pictures makes of it now;
// the icons' runs that the program compiles in, too.
struct Kept {
    std::string made;
    std::string kept;
};

std::vector<Kept> kept_pictures() {
    const colour::Illuminant &d65 = colour::illuminant_named("d65");
    std::vector<Kept> kept = {{chart_picture(d65, ways[0]), "doc/" + chart_picture(d65, ways[0])},
                              {chart_picture(d65, ways[1]), "doc/" + chart_picture(d65, ways[1])},
                              {fan_picture(d65, ways[1]), "doc/" + fan_picture(d65, ways[1])},
                              {reading_picture, kept_reading},
                              {printed_picture, kept_printed},
                              {uniaxial_figure_picture, kept_uniaxial_figure},
                              {biaxial_figure_picture, kept_biaxial_figure},
                              {icon_runs, kept_icon_runs}};
    for (const int size : yarx::chart::installed_icon_sizes)
        kept.push_back({icon_picture(size), kept_icon(size)});
    return kept;
}

std::string contents(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return in ? out.str() : "(cannot read " + path + ")";
}

// Compares a picture's pixels, not its file: the PNG encoding may change,
// the picture not.  Other files are compared whole.
void check_kept(const std::string &directory, const std::string &sources, const Kept &picture) {
    const std::string made_path = directory + "/" + picture.made;
    const std::string kept_path = sources + "/" + picture.kept;
    bool same;
    if (std::string_view(picture.made).substr(picture.made.size() - 4) == ".png") {
        const Picture made = read_png(made_path), kept = read_png(kept_path);
        if (!made.valid() || !kept.valid()) return;
        same = made.width == kept.width && made.height == kept.height && made.rgb == kept.rgb;
    } else {
        same = contents(made_path) == contents(kept_path);
    }
    expect(same, picture.kept + " is not what yarx draws now; copy " + made_path + " over it");
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DIRECTORY SOURCE_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1], sources = argv[2];

    const Picture setup = read_png(directory + "/" + setup_picture);
    expect(setup.width >= 150 && setup.width <= 1400 && setup.height >= 200 && setup.height <= 1300,
           std::string(setup_picture) + " is " + std::to_string(setup.width) + "x" +
               std::to_string(setup.height));
    for (const Way &way : ways)
        for (const colour::Illuminant &illuminant : colour::illuminants)
            check_chart(directory, illuminant, way);
    check_overview(directory);
    for (const Kept &picture : kept_pictures()) check_kept(directory, sources, picture);

    if (failures == 0) std::printf("all pictures as expected\n");
    return failures == 0 ? 0 : 1;
}
