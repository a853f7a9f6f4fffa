// Labels along one edge of the chart, where their lines leave the bands:
// each wants to stand centred on its line's end, and none may overlap
// another or an obstacle (an order mark, say).  Crowded labels are shifted
// along the edge as little as they can be, keeping their order, so that
// short leaders from the lines' ends to the labels never cross; only when
// a stretch of the edge cannot hold its labels at all is the least
// important left out.  Plain numbers, no allocation.
#pragma once

namespace yarx::print {

// A label: where its line leaves, along the edge, and how much of the edge
// it takes; the more important, the later it is left out.  The
// placement fills in its centre and whether it is shown.
struct EdgeLabel {
    double anchor, extent;
    int importance;
    double centre;
    bool shown;
};

// A stretch of the edge no label may cover, bounds included.
struct Span {
    double low, high;
};

constexpr int max_edge_labels = 96;
constexpr int max_obstacles = 16;

// Places the labels (at most max_edge_labels) between low and high, gap
// apart and clear of the obstacles (at most max_obstacles) by gap too.  A
// label stays in the free stretch its anchor lies in, or the nearest one.
void place_along_edge(EdgeLabel *labels, int count, double low, double high, const Span *obstacles,
                      int obstacle_count, double gap);

}  // namespace yarx::print
