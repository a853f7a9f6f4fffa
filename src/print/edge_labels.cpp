#include "edge_labels.h"

#include <algorithm>

namespace yarx::print {

namespace {

// A run of labels that touch, placed as one: its top and size, and the
// sum over its labels of where each would put the run's top to stand on
// its own anchor.  Its top is the mean of those, within the stretch.
struct Cluster {
    int first, last;  // in the stretch's order
    double top, size, wanted_sum;
};

struct Stretch {
    double low, high;
    int members[max_edge_labels];
    int count;
};

double needed(const EdgeLabel *labels, const Stretch &s, double gap) {
    double total = 0;
    for (int i = 0; i < s.count; ++i) total += labels[s.members[i]].extent;
    return total + gap * (s.count > 1 ? s.count - 1 : 0);
}

// Leaves out one label of the stretch: of the least important, the one
// whose anchor stands nearest another's, where the crowd is thickest.
void leave_one_out(EdgeLabel *labels, Stretch &s) {
    int worst = -1;
    double worst_room = 0;
    for (int i = 0; i < s.count; ++i) {
        const EdgeLabel &l = labels[s.members[i]];
        double room = 1e300;
        if (i > 0) room = l.anchor - labels[s.members[i - 1]].anchor;
        if (i + 1 < s.count) room = std::min(room, labels[s.members[i + 1]].anchor - l.anchor);
        if (worst < 0 || l.importance < labels[s.members[worst]].importance ||
            (l.importance == labels[s.members[worst]].importance && room <= worst_room)) {
            worst = i;
            worst_room = room;
        }
    }
    labels[s.members[worst]].shown = false;
    std::copy(s.members + worst + 1, s.members + s.count, s.members + worst);
    --s.count;
}

void place_stretch(EdgeLabel *labels, Stretch &s, double gap) {
    while (s.count > 0 && needed(labels, s, gap) > s.high - s.low) leave_one_out(labels, s);
    Cluster clusters[max_edge_labels];
    int depth = 0;
    const auto clamp = [&](Cluster &c) {
        c.top = std::max(s.low, std::min(c.wanted_sum / (c.last - c.first + 1), s.high - c.size));
    };
    for (int i = 0; i < s.count; ++i) {
        const EdgeLabel &l = labels[s.members[i]];
        Cluster c{i, i, 0, l.extent, l.anchor - l.extent / 2};
        clamp(c);
        // Runs that now overlap become one, until none does.
        while (depth > 0 && clusters[depth - 1].top + clusters[depth - 1].size + gap > c.top) {
            const Cluster &before = clusters[--depth];
            const double shift = before.size + gap;
            const int moved = c.last - c.first + 1;
            c = {before.first, c.last, 0, shift + c.size,
                 before.wanted_sum + c.wanted_sum - shift * moved};
            clamp(c);
        }
        clusters[depth++] = c;
    }
    for (int k = 0; k < depth; ++k) {
        double top = clusters[k].top;
        for (int i = clusters[k].first; i <= clusters[k].last; ++i) {
            EdgeLabel &l = labels[s.members[i]];
            l.centre = top + l.extent / 2;
            top += l.extent + gap;
        }
    }
}

}  // namespace

void place_along_edge(EdgeLabel *labels, int count, double low, double high, const Span *obstacles,
                      int obstacle_count, double gap) {
    count = std::min(count, max_edge_labels);
    obstacle_count = std::min(obstacle_count, max_obstacles);
    // The free stretches between the obstacles, in order along the edge.
    Span sorted[max_obstacles];
    std::copy(obstacles, obstacles + obstacle_count, sorted);
    std::sort(sorted, sorted + obstacle_count,
              [](const Span &a, const Span &b) { return a.low < b.low; });
    Stretch stretches[max_obstacles + 1];
    int stretch_count = 0;
    double from = low;
    for (int k = 0; k <= obstacle_count; ++k) {
        const double to = k < obstacle_count ? sorted[k].low - gap : high;
        if (to > from) stretches[stretch_count++] = {from, to, {}, 0};
        if (k < obstacle_count) from = std::max(from, sorted[k].high + gap);
    }

    // Each label in its anchor's stretch, or the nearest; in the order of
    // the anchors, the earlier first where they tie.
    int order[max_edge_labels];
    for (int i = 0; i < count; ++i) {
        // An insertion, which keeps ties in their order and, unlike
        // std::stable_sort, asks for no buffer.
        int j = i;
        for (; j > 0 && labels[order[j - 1]].anchor > labels[i].anchor; --j)
            order[j] = order[j - 1];
        order[j] = i;
    }
    for (int i = 0; i < count; ++i) {
        EdgeLabel &l = labels[order[i]];
        l.shown = stretch_count > 0;
        l.centre = l.anchor;
        int nearest = 0;
        double distance = 1e300;
        for (int k = 0; k < stretch_count; ++k) {
            const double d =
                std::max({0.0, stretches[k].low - l.anchor, l.anchor - stretches[k].high});
            if (d < distance) {
                distance = d;
                nearest = k;
            }
        }
        if (l.shown) {
            Stretch &s = stretches[nearest];
            s.members[s.count++] = order[i];
        }
    }
    for (int k = 0; k < stretch_count; ++k) place_stretch(labels, stretches[k], gap);
}

}  // namespace yarx::print
