#pragma once

#include <vector>

#include "BlockData.h"
#include "TestBlocks.h"

namespace chokusho::test {

using Ring = std::vector<Point>;

/** A block whose solid segments close each ring in turn, its points numbered ring after ring. */
inline BlockBuilder Rings(const std::vector<Ring>& rings)
{
    BlockBuilder builder;
    int first = 1;
    for (const Ring& ring : rings) {
        builder.points(ring);
        const int n = static_cast<int>(ring.size());
        for (int i = 0; i < n; ++i)
            builder.segment(first + i, first + (i + 1) % n);
        first += n;
    }
    return builder;
}

/** Moved by (dx, dy) and scaled by `scale` about the origin. */
inline std::vector<Ring> Placed(std::vector<Ring> rings, double dx, double dy, double scale = 1)
{
    for (Ring& ring : rings) {
        for (Point& p : ring)
            p = {p.x * scale + dx, p.y * scale + dy};
    }
    return rings;
}

/** Area and first moments computed here, apart from the library: the shoelace sum over a ring. */
struct Figures {
    double area = 0;
    double mx = 0;
    double my = 0;
};

inline Figures Shoelace(const std::vector<Ring>& rings, Point origin = {})
{
    Figures f;
    for (const Ring& ring : rings) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Point a{ring[i].x - origin.x, ring[i].y - origin.y};
            const Point b{ring[(i + 1) % ring.size()].x - origin.x, ring[(i + 1) % ring.size()].y - origin.y};
            const double c = a.x * b.y - b.x * a.y;
            f.area += c / 2;
            f.mx += (a.x + b.x) * c / 6;
            f.my += (a.y + b.y) * c / 6;
        }
    }
    return f;
}

}  // namespace chokusho::test
