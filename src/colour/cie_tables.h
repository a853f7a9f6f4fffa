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

extern const std::array<ObserverSample, wavelength_samples> observer;

// The illuminants' relative spectral power; illuminants.h says which
// identifier and toggle each belongs to.
namespace spectra {
extern const Spectrum equal_energy, d32, d33, d40, d50, d55, d65, d68, d73, d95, cie_a;
}  // namespace spectra

}  // namespace yarx::colour
