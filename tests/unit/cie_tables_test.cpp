#include "colour/cie_tables.h"
#include "colour/illuminants.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

using namespace yarx::colour;

constexpr int sample_at(int nm) { return (nm - first_wavelength_nm) / wavelength_step_nm; }

// True when v has no more than three significant decimal digits.
bool has_three_significant_figures(double v) {
    if (v == 0) return true;
    const double scaled = v * std::pow(10.0, 2 - std::floor(std::log10(v)));
    return std::fabs(scaled - std::round(scaled)) < 1e-6;
}

TEST(Observer, SamplesTheGridToThreeSignificantFigures) {
    for (int j = 0; j < wavelength_samples; ++j) {
        const ObserverSample &s = observer[j];
        SCOPED_TRACE(s.nm);
        EXPECT_EQ(s.nm, 380 + 5 * j);
        for (double v : {s.xbar, s.ybar, s.zbar}) {
            EXPECT_GE(v, 0);
            EXPECT_TRUE(has_three_significant_figures(v)) << v;
        }
    }
}

TEST(Observer, PeaksAndZeros) {
    const int peak = sample_at(555);
    EXPECT_EQ(observer[peak].ybar, 1.0);
    for (const ObserverSample &s : observer) EXPECT_LE(s.ybar, 1.0) << s.nm;

    EXPECT_EQ(observer[sample_at(780)].xbar, 0);
    EXPECT_EQ(observer[sample_at(780)].ybar, 0);
    EXPECT_EQ(observer[sample_at(780)].zbar, 0);

    EXPECT_GT(observer[sample_at(625)].zbar, 0);
    for (int j = sample_at(630); j < wavelength_samples; ++j)
        EXPECT_EQ(observer[j].zbar, 0) << observer[j].nm;

    // A few well-known values of the 1931 functions, rounded.
    EXPECT_EQ(observer[sample_at(445)].zbar, 1.78);
    EXPECT_EQ(observer[sample_at(500)].ybar, 0.323);
    EXPECT_EQ(observer[sample_at(600)].xbar, 1.06);
}

TEST(Illuminants, UnassignedIdentifiersHaveNoTable) {
    for (int id : {-1, 0, 4, 9, 14, 1000}) EXPECT_EQ(illuminant_spectrum(id), nullptr) << id;
    for (int id : {1, 2, 3, 5, 6, 7, 8, 10, 11, 12, 13})
        EXPECT_NE(illuminant_spectrum(id), nullptr) << id;
}

TEST(Illuminants, AllButEqualEnergyRead100At560nm) {
    for (int id : {1, 3, 5, 6, 7, 8, 10, 11, 12, 13})
        EXPECT_EQ((*illuminant_spectrum(id))[sample_at(560)], 100.0) << id;
    for (double v : *illuminant_spectrum(id_of("eew"))) EXPECT_EQ(v, 0.2643);
}

struct SpotValue {
    int illuminant, nm;
    double power;
};

TEST(Illuminants, SpotValues) {
    const SpotValue spots[] = {
        {id_of("d65"), 380, 49.9755},    {id_of("d65"), 400, 82.7549},
        {id_of("d65"), 450, 117.008},    {id_of("d65"), 780, 63.3828},
        {id_of("cie-a"), 380, 9.7951},   {id_of("cie-a"), 780, 241.675},
        {id_of("d50"), 380, 24.461},     {id_of("d50"), 385, 27.1507},
        {id_of("d50"), 450, 87.1997},    {id_of("d50"), 780, 78.3116},
        {id_of("d73"), 380, 63.415},     {id_of("d40"), 380, 13.9385},
        {id_of("d40"), 450, 63.3722},    {id_of("d40"), 780, 99.8756},
        {id_of("d95"), 380, 94.943},     {id_of("d68"), 380, 55.0615},
        {id_of("d68"), 385, 57.20485},   {id_of("d32"), 380, 19.895651},
        {id_of("d32"), 385, 17.435605},  {id_of("d32"), 390, 14.975559},
        {id_of("d32"), 670, 181.121485}, {id_of("d32"), 780, 132.935236},
        {id_of("d33"), 380, 17.973523},  {id_of("d55"), 380, 32.537093},
    };
    for (const SpotValue &s : spots) {
        const double v = (*illuminant_spectrum(s.illuminant))[sample_at(s.nm)];
        // Quoted to at most six decimals.
        EXPECT_NEAR(v, s.power, 5e-7) << "illuminant " << s.illuminant << " at " << s.nm;
    }
}

TEST(Illuminants, D32PeaksAt670nm) {
    const Spectrum &d32 = *illuminant_spectrum(id_of("d32"));
    for (int j = 0; j < wavelength_samples; ++j) {
        if (j != sample_at(670)) {
            EXPECT_LT(d32[j], d32[sample_at(670)]) << 380 + 5 * j;
        }
    }
}

// The daylight basis is published every 10 nm; the 5 nm samples between are
// linear interpolations, so the spectrum itself is too.
TEST(Illuminants, DaylightMidpointsInterpolateTheirNeighbours) {
    for (int id : {5, 6, 7, 8, 10, 11, 12, 13}) {
        const Spectrum &s = *illuminant_spectrum(id);
        for (int j = 1; j < wavelength_samples; j += 2)
            EXPECT_NEAR(s[j], (s[j - 1] + s[j + 1]) / 2, 1e-9) << id << " at " << 380 + 5 * j;
    }
}

// Checksums of the published D65 and A tables (CIE 015), 81 samples each:
// the plain sum catches a wrong digit, the sum weighted by position catches
// values swapped or shifted along the grid.
TEST(Illuminants, PublishedTablesMatchTheirChecksums) {
    struct Checksum {
        int illuminant;
        double sum, weighted_sum;
    };
    for (const Checksum &c : {Checksum{id_of("d65"), 7092.7234, 271267.4504},
                              Checksum{id_of("cie-a"), 9561.7213, 532066.2554}}) {
        const Spectrum &s = *illuminant_spectrum(c.illuminant);
        double sum = 0, weighted_sum = 0;
        for (int j = 0; j < wavelength_samples; ++j) {
            sum += s[j];
            weighted_sum += (j + 1) * s[j];
        }
        EXPECT_NEAR(sum, c.sum, 1e-8) << c.illuminant;
        EXPECT_NEAR(weighted_sum, c.weighted_sum, 1e-6) << c.illuminant;
    }
}

}  // namespace
