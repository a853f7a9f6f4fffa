#include "fallback_resources.h"

namespace yarx::ui {

namespace {
// Xt wants String (char *) but never writes through it.
constexpr String resource(const char *line) { return const_cast<String>(line); }
}  // namespace

String fallback_resources[] = {
    // Setup window
    resource("*labelC1.labelString: Yarx"),
    resource("*labelC1*fontList: -*-helvetica-bold-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*labelC2.labelString: Interference colours between crossed polarisers"),
    resource("*labelC2*fontList: -*-helvetica-bold-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*labelC3.labelString: Copyright (C) 2026 the yarx developers"),
    resource("*labelC3*fontList: -*-helvetica-bold-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*srctitle.labelString: Select illuminant"),
    resource("*srctitle*fontList: -*-lucida-bold-r-*-*-12-*-*-*-*-*-iso8859-1"),
    resource("*labelend.labelString: Press OK button to show chart"),
    resource("*labelend*fontList: -*-lucida-medium-r-*-*-12-*-*-*-*-*-iso8859-1"),
    resource("*setupok.labelString: OK"),
    resource("*setupok*fontList: -*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*setupexit.labelString: Exit"),
    resource("*setupexit*fontList: -*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1"),

    // Illuminant toggles, in their order on screen
    resource("*eew.labelString: Equal Energy Alignment White"),
    resource("*eew*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*eew*selectColor: yellow"),
    resource("*d32.labelString: D32"),
    resource("*d32*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*d32*selectColor: yellow"),
    resource("*d33.labelString: D33"),
    resource("*d33*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*d33*selectColor: yellow"),
    resource("*d40.labelString: D40"),
    resource("*d40*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*d40*selectColor: yellow"),
    resource("*d50.labelString: D50"),
    resource("*d50*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*d50*selectColor: yellow"),
    resource("*d55.labelString: D55"),
    resource("*d55*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*d55*selectColor: yellow"),
    resource("*d65.labelString: D65"),
    resource("*d65*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*d65*selectColor: yellow"),
    resource("*c.labelString: D68"),
    resource("*c*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*c*selectColor: yellow"),
    resource("*d73.labelString: D73"),
    resource("*d73*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*d73*selectColor: yellow"),
    resource("*d95.labelString: D95"),
    resource("*d95*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*d95*selectColor: yellow"),
    resource("*a.labelString: CIE A"),
    resource("*a*fontList: -*-lucida-medium-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*a*selectColor: yellow"),

    // Chart window; its title is followed by the illuminant's label
    resource("*yarx_popup.title: yarx"),
    resource("*canvasdismis.labelString: Dismiss"),
    resource("*canvasdismis*fontList: -*-lucida-bold-r-*-*-14-*-*-*-*-*-iso8859-1"),
    resource("*canvas.background: black"),
    nullptr,
};

}  // namespace yarx::ui
