// The values the chart's colours are computed in: tristimulus and RGB
// triples, the illuminant's weights on the wavelength grid, and a table of
// one triple per chart row.
#pragma once

#include <array>

#include "cie_tables.h"

namespace yarx::colour {

constexpr int chart_rows = 1000;  // row i stands for retardation 2.5 i nm
constexpr double retardation_step_nm = 2.5;

struct Xyz {
    double x, y, z;
};

struct Rgb {
    double red, green, blue;
};

// The observer weighted by an illuminant: xbar S, ybar S, zbar S at each
// sample.
using Weights = std::array<Xyz, wavelength_samples>;

// A colour as a display is sent it: 8 bits a channel, sRGB-encoded.
struct Rgb8 {
    unsigned char red, green, blue;
    constexpr bool operator==(const Rgb8 &other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
    constexpr bool operator!=(const Rgb8 &other) const { return !(*this == other); }
};

// The 8 bits an X server's 16-bit colour value stands for: its high byte,
// which is also what the visual's masks give for a 24-bit pixel.
constexpr unsigned char eight_bits(unsigned short value) {
    return static_cast<unsigned char>(value >> 8);
}

// One value for each row of the chart.
using RowsXyz = std::array<Xyz, chart_rows>;
using RowsRgb = std::array<Rgb, chart_rows>;

}  // namespace yarx::colour
