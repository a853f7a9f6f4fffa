// Colours as the eye compares them: an 8-bit sRGB value in CIELAB under the
// D65 white of an sRGB display, and the CIEDE2000 difference between two
// such colours.  Plain arithmetic, no tables to fill, nothing allocated.
#pragma once

#include "colour_types.h"

namespace yarx::colour {

struct Lab {
    double l, a, b;
};

// sRGB (IEC 61966-2-1) decoded to linear light, to XYZ, to CIELAB with the
// D65 white (CIE 015).
Lab lab_of_srgb(const Rgb8 &colour);

// The CIEDE2000 colour difference (CIE 142, Sharma, Wu and Dalal 2005),
// with kL = kC = kH = 1.
double ciede2000(const Lab &first, const Lab &second);

}  // namespace yarx::colour
