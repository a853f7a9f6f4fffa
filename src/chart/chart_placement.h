// Where the chart window goes when it is first shown, and how tall it may
// be: plain geometry in root-window pixels, no X.
//
// The chart goes beside the setup window, to its right where the work area
// has room, else to its left; else narrowed, as far as it may be, to fit
// beside it on the roomier side; failing all, flush with the work area's
// right or left edge, whichever covers less of what the user must still
// reach in the setup window (its toggles and buttons).  It is as tall as it
// wants to be, or as the work area allows; a shortened chart scrolls, and
// then needs the scroll bar's width besides.
#pragma once

namespace yarx::chart {

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    int right() const { return x + width; }
    int bottom() const { return y + height; }
};

// What the window manager's frame adds around a client window.
struct FrameExtents {
    int left = 0, right = 0, top = 0, bottom = 0;
};

struct ChartPlacement {
    int x, y;           // the client window's top-left corner
    int width, height;  // the client window's size
    bool scrolls;       // shorter than it wants to be
};

// work_area: what the window manager leaves to windows (or the screen);
// setup: the setup window's client area; frame: the extents of a frame
// (the setup window's, as the chart's will be alike); wanted_width and
// wanted_height: the chart window's natural size; scroll_bar_width: what a
// vertical scroll bar adds; keep_clear: the setup window's toggles and
// buttons; narrowable: how much narrower than it wants to be the chart
// window may be made (its panel's lines then wrap).
ChartPlacement place_chart(const Rect &work_area, const Rect &setup, const FrameExtents &frame,
                           int wanted_width, int wanted_height, int scroll_bar_width,
                           const Rect *keep_clear, int keep_clear_count, int narrowable = 0);

}  // namespace yarx::chart
