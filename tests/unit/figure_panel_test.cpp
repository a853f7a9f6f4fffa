// The figure window's panel without X: what the reading says at a point,
// what choosing a mineral sets, what the scales reach, the title, and the
// mineral a chart reading offers.

#include <gtest/gtest.h>

#include <string>

#include "figure/figure_panel.h"
#include "figure/mineral_optics.h"

namespace yarx::figure {
namespace {

constexpr const char *reading_template = "%r nm %o, slow %s, %a in air %x";

struct ReadingCase {
    Ray ray;
    const char *text;
};

class FigureReading : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(FigureReading, SaysWhatThePointIs) {
    char text[128];
    format_figure_reading(reading_template, GetParam().ray, text, sizeof text);
    EXPECT_STREQ(text, GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Points, FigureReading, ::testing::Values(
    ReadingCase{{false, 0,      0, 0, 0,     0},    "-"},
    ReadingCase{{true,  0,      0, 1, 0,     0},    "0.0 nm I, slow 0, 0 in air %x"},
    ReadingCase{{true,  270.04, 0, 0, 45.4,  12.6}, "270.0 nm I, slow 45, 13 in air %x"},
    ReadingCase{{true,  551,    0, 0, 135,   30},   "551.0 nm II, slow 135, 30 in air %x"},
    ReadingCase{{true,  5160,   0, 0, 90,    58.2}, "5160.0 nm X, slow 90, 58 in air %x"},
    ReadingCase{{true,  2149,   0, 0, 180,   1},    "2149.0 nm IV, slow 180, 1 in air %x"}));
// clang-format on

struct MenuCase {
    const char *mineral;
    OpticClass optic_class;
    OpticSign sign;
    int birefringence_position, optic_angle_position;
};

class MineralMenu : public ::testing::TestWithParam<MenuCase> {};

// Each is in the menu, and sets the controls from its optics.
TEST_P(MineralMenu, SetsTheControlsFromTheTable) {
    const MenuCase &c = GetParam();
    bool in_menu = false;
    for (int n = 0; const MineralOptics *m = anisotropic_mineral(n); ++n)
        in_menu = in_menu || std::string(m->name) == c.mineral;
    EXPECT_TRUE(in_menu);
    Settings s;
    s.optic_angle_deg = 1;
    ASSERT_TRUE(take_mineral(*mineral_named(c.mineral), s));
    EXPECT_EQ(s.optic_class, c.optic_class);
    EXPECT_EQ(s.sign, c.sign);
    EXPECT_EQ(scale_position(FigureScale::birefringence, s), c.birefringence_position);
    EXPECT_EQ(scale_position(FigureScale::optic_angle, s), c.optic_angle_position);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Minerals, MineralMenu, ::testing::Values(
    MenuCase{"quartz",    OpticClass::uniaxial, OpticSign::positive, 9,   1},
    MenuCase{"calcite",   OpticClass::uniaxial, OpticSign::negative, 172, 1},
    MenuCase{"zircon",    OpticClass::uniaxial, OpticSign::positive, 55,  1},
    MenuCase{"gypsum",    OpticClass::biaxial,  OpticSign::positive, 10,  58},
    MenuCase{"muscovite", OpticClass::biaxial,  OpticSign::negative, 49,  36}));
// clang-format on

TEST(MineralMenu, LeavesOutTheIsotropic) {
    for (int n = 0; const MineralOptics *m = anisotropic_mineral(n); ++n)
        EXPECT_NE(std::string(m->name), "garnet");
}

struct ScaleCase {
    FigureScale scale;
    double least, greatest;
    Range within;
};

class ScaleReach : public ::testing::TestWithParam<ScaleCase> {};

// From end to end, within what a figure takes, and a value beyond the end
// shown at the end.
TEST_P(ScaleReach, RunsFromEndToEndWithinTheFiguresRange) {
    const ScaleCase &c = GetParam();
    const ScaleRange &r = range_of(c.scale);
    Settings s;
    take_scale_position(c.scale, r.least, s);
    EXPECT_DOUBLE_EQ(s.*r.setting, c.least);
    EXPECT_TRUE(c.within.holds(s.*r.setting));
    take_scale_position(c.scale, r.greatest, s);
    EXPECT_DOUBLE_EQ(s.*r.setting, c.greatest);
    EXPECT_TRUE(c.within.holds(s.*r.setting));
    s.*r.setting = 2 * c.greatest;
    EXPECT_EQ(scale_position(c.scale, s), r.greatest);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Scales, ScaleReach, ::testing::Values(
    ScaleCase{FigureScale::birefringence, 0.001, 0.200, birefringence_range},
    ScaleCase{FigureScale::optic_angle,   1,     90,    optic_angle_range},
    ScaleCase{FigureScale::tilt,          0,     60,    tilt_range},
    ScaleCase{FigureScale::azimuth,       0,     180,   Range{0, 180, false}}));
// clang-format on

TEST(FigureTitle, NamesTheMineralOrTheCrystal) {
    Settings s;
    char title[64];
    take_mineral(*mineral_named("calcite"), s);
    write_figure_title("yarx", s, title, sizeof title);
    EXPECT_STREQ(title, "yarx: figure of calcite");
    s.mineral = nullptr;
    s.optic_class = OpticClass::biaxial;
    write_figure_title("yarx", s, title, sizeof title);
    EXPECT_STREQ(title, "yarx: figure of a biaxial negative crystal");
}

// An isotropic candidate has no figure: the next one is shown.
TEST(FirstWithFigure, PassesOverTheIsotropic) {
    const auto named = [](const char *name) {
        for (const chart::Mineral &m : chart::minerals)
            if (std::string(m.name) == name) return &m;
        return static_cast<const chart::Mineral *>(nullptr);
    };
    chart::Candidates found{{named("garnet"), named("quartz")}, 2, false};
    EXPECT_STREQ(first_with_figure(found)->name, "quartz");
    found.count = 1;
    EXPECT_EQ(first_with_figure(found), nullptr);
}

}  // namespace
}  // namespace yarx::figure
