// What the reading lines say for a row of the chart, and which resource
// values they refuse.

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "chart/chart_geometry.h"
#include "chart/minerals.h"
#include "chart/reading.h"
#include "chart/text_writer.h"

namespace yarx::chart {
namespace {

std::string read(const char *text_template, int row, double thickness_um = 30,
                 double plate_nm = no_plate_nm) {
    char out[128];
    format_reading(text_template, row, thickness_um, out, sizeof out, plate_nm);
    return out;
}

constexpr int no_fan = -1;

TEST(Reading, ChecksAndOrderBoundaries) {
    const struct {
        int row;
        const char *expected;
        int fan_column = no_fan;  // with the fan shown, the pointer's column
    } rows[] = {
        {0, "0.0 nm I 0.0000"},
        {27, "67.5 nm I 0.0023"},  // 0.00225 exactly: half up
        {108, "270.0 nm I 0.0090"},
        {220, "550.0 nm I 0.0183"},  // just above the first order
                                     // mark
        {221, "552.5 nm II 0.0184"},
        {440, "1100.0 nm II 0.0367"},
        {441, "1102.5 nm III 0.0368"},
        {661, "1652.5 nm III 0.0551"},
        {662, "1655.0 nm IV 0.0552"},
        {881, "2202.5 nm IV 0.0734"},
        {882, "2205.0 nm V 0.0735"},
        {999, "2497.5 nm V 0.0833"},
        {108, "270.0 nm I 0.0090", 350},  // 30 µm, as without the fan
        {108, "270.0 nm I 0.0135", 250},  // 20 µm
        {108, "270.0 nm I 0.2700", 60},   // 1 µm
        {108, "270.0 nm I -", 59},        // 0.9 µm: too thin to mean anything
        {108, "270.0 nm I -", 50},
        {108, "270.0 nm I 0.0090", 49},  // the margins read at the thickness
        {108, "270.0 nm I 0.0090", 450},
    };
    for (const auto &r : rows) {
        const double thickness =
            r.fan_column == no_fan ? 30 : thickness_under(r.fan_column, true, 30);
        EXPECT_EQ(read("%r nm %o %b", r.row, thickness), r.expected)
            << r.row << " " << r.fan_column;
    }
    EXPECT_EQ(read("%b at %t", 999, thickness_under(55, true, 30)), "- at 0.5");
    EXPECT_EQ(read("%b at %t", 999, thickness_under(55, false, 30)), "0.0833 at 30");
    EXPECT_EQ(read("%b at %t", 999, 1), "2.4975 at 1");
    EXPECT_EQ(read("%b at %t", 400, 27.5), "0.0364 at 27.5");
}

// 0.1 b + 0.001 either side of a range, nearest middle first, ties by name.
TEST(Reading, TheCandidatesAreTheMineralsWhoseBirefringenceFits) {
    const struct {
        int row;
        double thickness_um;
        const char *expected;
        std::size_t size = 128;
    } rows[] = {
        {108, 30, "quartz, topaz, andalusite, clinozoisite, ..."},  // 0.0090
        {540, 30, "talc, anhydrite, olivine, muscovite, ..."},      // 0.0450
        {0, 30, "garnet, apatite, serpentine, chlorite"},           // four fit
        {720, 10, "dolomite, calcite, titanite"},                   // 0.1800
        {368, 10, "kaersutite, titanite"},                          // 0.0920, between their ranges
        {240, 30, "lawsonite, omphacite, sillimanite, tourmaline, ..."},  // all at 0.020
        {22, 30, "apatite, nepheline, serpentine, chlorite"},             // 0.00183, not 0.0018
        {999, 10, ""},                                                    // 0.2498, beyond titanite
        {108, 0, ""},                                                     // no birefringence
        {108, 30, "quartz, t", 10},
    };
    for (const auto &r : rows) {
        char out[128];
        format_reading("%m", r.row, r.thickness_um, out, r.size);
        EXPECT_STREQ(out, r.expected) << r.row << " at " << r.thickness_um;
    }
}

// The build compiles data/minerals.tsv into the table: every mineral, its
// values to the thousandth.
TEST(Reading, TheMineralsAreThoseOfTheDataFile) {
    std::ifstream file(YARX_MINERALS_FILE);
    ASSERT_TRUE(file) << YARX_MINERALS_FILE;
    std::size_t count = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name;
        double least, greatest;
        std::getline(fields, name, '\t');
        fields >> least >> greatest;
        ASSERT_LT(count, std::size(minerals)) << name;
        const Mineral &m = minerals[count++];
        EXPECT_EQ(m.name, name);
        EXPECT_EQ(m.least_thousandths, std::lround(least * 1000)) << name;
        EXPECT_EQ(m.greatest_thousandths, std::lround(greatest * 1000)) << name;
        EXPECT_LE(m.least_thousandths, m.greatest_thousandths) << name;
    }
    EXPECT_EQ(count, std::size(minerals));
}

TEST(Reading, TheTemplateIsNeverAFormat) {
    EXPECT_EQ(read("%d %x %n %% %%r %5r %", 108), "%d %x %n %% %%r %5r %");
    EXPECT_EQ(read("%r%o%b%t%", 108), "270.0I0.009030%");
    EXPECT_EQ(read("at %t \xb5m", 108), "at 30 \xb5m");
    EXPECT_EQ(read("", 108), "");
    // Cut short to the buffer, and still ended.
    char out[6];
    format_reading("%r nm", 999, 30, out, sizeof out);
    EXPECT_STREQ(out, "2497.");
}

// Across, at and beyond the chart's end, without a plate, and half-way
// between two rows, where the greater is taken and the words round up.
TEST(Reading, ThePlateAddsAndSubtracts) {
    const struct {
        int row;
        double plate_nm;
        const char *expected;
        PlateRows rows;
    } cases[] = {
        {108, 550, "820.0 nm II, 280.0 nm I", {328, 112}},
        {400, 550, "1550.0 nm III, 450.0 nm I", {620, 180}},
        {400, 147, "1147.0 nm III, 853.0 nm II", {459, 341}},
        {779, 550, "2497.5 nm V, 1397.5 nm III", {999, 559}},
        {780, 550, "beyond the chart, 1400.0 nm III", {no_row, 560}},
        {901, 550, "beyond the chart, 1702.5 nm IV", {no_row, 681}},
        {108, 0, "270.0 nm I, 270.0 nm I", {108, 108}},
        {0, 2497.5, "2497.5 nm V, 2497.5 nm V", {999, 999}},
        {108, 551.25, "821.3 nm II, 281.3 nm I", {329, 113}},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(read("%a, %s", c.row, 30, c.plate_nm), c.expected) << c.row << " " << c.plate_nm;
        const PlateRows rows = rows_with_plate(c.row, c.plate_nm);
        EXPECT_EQ(rows.added, c.rows.added) << c.row << " " << c.plate_nm;
        EXPECT_EQ(rows.subtracted, c.rows.subtracted) << c.row << " " << c.plate_nm;
    }
    EXPECT_EQ(read("the %p nm plate", 108, 30, 550), "the 550 nm plate");
    EXPECT_EQ(read("the %p nm plate", 108, 30, 530.5), "the 530.5 nm plate");
}

TEST(Reading, RowsAreTheBandsAcrossTheWholeCanvas) {
    EXPECT_EQ(row_under(0, band_top), 0);
    EXPECT_EQ(row_under(canvas_width - 1, band_bottom), 999);
    EXPECT_EQ(row_under(300, band_top + 108), 108);
    for (const auto &[x, y] :
         {std::pair{300, band_top - 1}, {300, band_bottom + 1}, {-1, 500}, {canvas_width, 500}})
        EXPECT_EQ(row_under(x, y), no_row) << x << "," << y;
}

// The thickness from 1 to 1000 µm, the plate from 0 to 2497.5 nm; what
// either refuses leaves its value as it was.
TEST(Reading, ThicknessAndPlateArePlainNumbersInTheirRanges) {
    constexpr std::optional<double> refused;
    const struct {
        const char *text;
        std::optional<double> thickness, plate;
    } values[] = {
        //  text       thickness  plate
        {"30", 30, 30},
        {"1", 1, 1},
        {"1000", 1000, 1000},
        {"27.5", 27.5, 27.5},
        {" 25 ", 25, 25},
        {"25.", 25, 25},
        {"0", refused, 0},
        {"0.5", refused, 0.5},
        {"1000.5", refused, 1000.5},
        {"2497.5", refused, 2497.5},
        {"\t550\t", 550, 550},
        {"2497.6", refused, refused},
        {"abc", refused, refused},
        {"-5", refused, refused},
        {"+5", refused, refused},
        {"1e9", refused, refused},
        {"1e2", refused, refused},
        {"nan", refused, refused},
        {"inf", refused, refused},
        {"", refused, refused},
        {" ", refused, refused},
        {".", refused, refused},
        {"0x10", refused, refused},
        {"30abc", refused, refused},
        {"30 µm", refused, refused},
        {"3 0", refused, refused},
        {nullptr, refused, refused},
    };
    for (const auto &v : values) {
        const char *shown = v.text ? v.text : "(null)";
        double thickness = 42, plate = 42;
        EXPECT_EQ(parse_thickness(v.text, thickness), v.thickness.has_value()) << shown;
        EXPECT_EQ(thickness, v.thickness.value_or(42)) << shown;
        EXPECT_EQ(parse_plate(v.text, plate), v.plate.has_value()) << shown;
        EXPECT_EQ(plate, v.plate.value_or(42)) << shown;
    }
}

// A line too long for its buffer loses whole characters, never half of
// one, which would show as a stray byte or as nothing at all.
TEST(TextWriter, CutsOnlyBetweenCharacters) {
    const struct {
        const char *text;
        std::size_t size;
        const char *kept;
    } cuts[] = {
        {"at 25 \xc2\xb5m", 7, "at 25 "},            // the µ's first byte does not fit
        {"at 25 \xc2\xb5m", 8, "at 25 "},            // its second does not, nor the m after
        {"at 25 \xc2\xb5m", 9, "at 25 \xc2\xb5"},    // the µ fits, the m does not
        {"at 25 \xc2\xb5m", 10, "at 25 \xc2\xb5m"},  // all of it
        {"1\xe2\x80\x93"
         "2",
         4, "1"},  // a dash of three bytes, two in
    };
    for (const auto &c : cuts) {
        char out[16];
        TextWriter writer(out, c.size);
        writer.put(c.text);
        EXPECT_STREQ(out, c.kept) << c.size;
    }
}

}  // namespace
}  // namespace yarx::chart
