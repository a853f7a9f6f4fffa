// What one interference figure shows: the crystal, how it lies, the
// objective, the accessory plate, the lamp and the rendering.  Plain values,
// with the ranges that the command line and the window both keep.
#pragma once

#include "colour/chart_colours.h"
#include "colour/illuminants.h"

namespace yarx::figure {

struct MineralOptics;

enum class OpticClass { isotropic, uniaxial, biaxial };
enum class OpticSign { positive, negative };

// The words for a figure's class and sign, as the command line takes them
// and the captions and file names show them.  A figure is never of an
// isotropic crystal: the writers refuse one.
constexpr const char *word_for(OpticClass optic_class) {
    return optic_class == OpticClass::biaxial ? "biaxial" : "uniaxial";
}
constexpr const char *word_for(OpticSign sign) {
    return sign == OpticSign::positive ? "positive" : "negative";
}

// The largest figure, in pixels a side: the image buffers are this size.
constexpr int greatest_size = 2048;
constexpr int least_size = 64;

struct Settings {
    OpticClass optic_class = OpticClass::uniaxial;
    OpticSign sign = OpticSign::positive;
    double birefringence = 0.009;  // n_gamma - n_alpha
    double mean_index = 1.6;       // n, the middle of n_alpha and n_gamma
    double optic_angle_deg = 40;   // 2V about the acute bisectrix; biaxial only
    double numerical_aperture = 0.85;
    double tilt_deg = 0;
    double azimuth_deg = 45;  // of the optic axial plane's trace, anticlockwise from east
    double plate_nm = 0;      // the accessory plate's retardation; 0 for none
    double thickness_um = 30;
    int size = 401;  // pixels a side
    int illuminant = colour::default_illuminant;
    colour::Rendering rendering = colour::Rendering::cie_rgb;
    // The mineral whose figure this is, for the caption; none for a
    // figure of given optics.
    const MineralOptics *mineral = nullptr;
};

// A value's range: from least to greatest, least itself left out when
// open below.
struct Range {
    double least, greatest;
    bool open_below;
    constexpr bool holds(double value) const {
        return (open_below ? value > least : value >= least) && value <= greatest;
    }
};

// clang-format off
constexpr Range birefringence_range      { 0,    0.3,  true  };
constexpr Range mean_index_range         { 1.3,  2.5,  false };
constexpr Range optic_angle_range        { 0,    90,   true  };
constexpr Range numerical_aperture_range { 0.1,  0.95, false };
constexpr Range tilt_range               { 0,    90,   false };
constexpr Range plate_range              { 0,    2000, false };
constexpr Range size_range               { least_size, greatest_size, false };
// clang-format on

}  // namespace yarx::figure
