#include "SectionShapes.h"

#include <algorithm>
#include <cstddef>

namespace chokusho {

namespace {

/** Sutherland–Hodgman against one horizontal line: the part at or above `limit`, or at or below. */
SectionRing ClipAtHeight(const SectionRing& ring, double limit, bool keepAbove)
{
    const auto inside = [limit, keepAbove](const SectionPoint& p) { return keepAbove ? p.y >= limit : p.y <= limit; };
    SectionRing out;
    out.reserve(ring.size() + 4);
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const SectionPoint& a = ring[i];
        const SectionPoint& b = ring[(i + 1) % ring.size()];
        const bool aInside = inside(a);
        if (aInside)
            out.push_back(a);
        if (aInside != inside(b)) {
            // The two ends lie on either side, so b.y != a.y.
            const double t = (limit - a.y) / (b.y - a.y);
            out.push_back({a.x + t * (b.x - a.x), limit});
        }
    }
    return out;
}

}  // namespace

SectionMoments RingMoments(const SectionRing& ring, SectionPoint origin)
{
    SectionMoments m;
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double ax = ring[i].x - origin.x;
        const double ay = ring[i].y - origin.y;
        const double bx = ring[(i + 1) % n].x - origin.x;
        const double by = ring[(i + 1) % n].y - origin.y;
        const double cross = ax * by - bx * ay;
        m.area += cross;
        m.mx += (ax + bx) * cross;
        m.my += (ay + by) * cross;
    }
    m.area /= 2;
    m.mx /= 6;
    m.my /= 6;
    return m;
}

SectionMoments BandMoments(const SectionRing& ring, double bottom, double top, SectionPoint origin)
{
    if (!(bottom < top) || ring.empty())
        return {};
    // Most rings of a section lie within one band or outside it: only those across a cut are clipped.
    double minY = ring[0].y;
    double maxY = minY;
    for (const SectionPoint& p : ring) {
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    if (maxY <= bottom || minY >= top)
        return {};
    if (minY >= bottom && maxY <= top)
        return RingMoments(ring, origin);
    if (minY >= bottom)
        return RingMoments(ClipAtHeight(ring, top, false), origin);
    if (maxY <= top)
        return RingMoments(ClipAtHeight(ring, bottom, true), origin);
    return RingMoments(ClipAtHeight(ClipAtHeight(ring, bottom, true), top, false), origin);
}

SectionMoments PolygonMoments(const SectionPolygon& polygon, SectionPoint origin)
{
    SectionMoments m = RingMoments(polygon.outer, origin);
    for (const SectionRing& hole : polygon.holes)
        m += RingMoments(hole, origin);
    return m;
}

SectionMoments PolygonBandMoments(const SectionPolygon& polygon, double bottom, double top, SectionPoint origin)
{
    SectionMoments m = BandMoments(polygon.outer, bottom, top, origin);
    for (const SectionRing& hole : polygon.holes)
        m += BandMoments(hole, bottom, top, origin);
    return m;
}

}  // namespace chokusho
