// The constant spectral data behind every chart colour: the CIE 1931 2-degree
// observer and the relative spectral power of the eleven illuminants, all on
// one 5 nm grid from 380 to 780 nm.
#pragma once

#include <array>

namespace yarx::colour {

constexpr int wavelength_samples = 81;  // 380, 385, ..., 780 nm
constexpr int first_wavelength_nm = 380;
constexpr int wavelength_step_nm = 5;

struct ObserverSample {
    int nm;
    double xbar, ybar, zbar;
};

using Spectrum = std::array<double, wavelength_samples>;

// Illuminant identifiers, shared with the setup window's toggles.
// 4 and 9 are unassigned.
enum Illuminant : int {
    illuminant_d65 = 1,
    illuminant_equal_energy = 2,
    illuminant_a = 3,
    illuminant_d50 = 5,
    illuminant_d73 = 6,
    illuminant_d40 = 7,
    illuminant_d95 = 8,
    illuminant_d68 = 10,
    illuminant_d32 = 11,
    illuminant_d33 = 12,
    illuminant_d55 = 13,
};

extern const std::array<ObserverSample, wavelength_samples> observer;

// The relative spectral power of an illuminant, or nullptr for an
// identifier that names none (4, 9, anything outside 1..13).
const Spectrum *illuminant_spectrum(int illuminant);

}  // namespace yarx::colour
