#pragma once

#include <vector>

namespace chokusho {

/** A point of the section in model metres, Y upwards. */
struct SectionPoint {
    double x = 0;
    double y = 0;
};

/** A closed ring of points; its last point joins its first. */
using SectionRing = std::vector<SectionPoint>;

/**
 * One face of the material region: its boundary anticlockwise, and the holes in it clockwise
 * (a chamber, or the outline of whatever lies inside the face). A boundary may run out and back
 * along a line the walk met (a line drawn into the face from its edge); such a spur encloses
 * nothing, and an even-odd fill draws nothing of it.
 */
struct SectionPolygon {
    SectionRing outer;
    std::vector<SectionRing> holes;
};

/** Area and first moments of a region: area × centroid X and area × centroid Y. */
struct SectionMoments {
    double area = 0;
    double mx = 0;
    double my = 0;

    SectionMoments& operator+=(const SectionMoments& other)
    {
        area += other.area;
        mx += other.mx;
        my += other.my;
        return *this;
    }
};

/**
 * The signed moments of `ring` measured from `origin`: positive for an anticlockwise ring,
 * negative for a clockwise one, so that a polygon's figures are the sum over its rings.
 */
SectionMoments RingMoments(const SectionRing& ring, SectionPoint origin);

/**
 * The signed moments of the part of `ring` between the heights `bottom` and `top` (model Y),
 * from `origin`. The ring is clipped by the two half-planes without rebuilding its topology:
 * where a clipped ring runs along a cut and back, the two passes cancel in the sums, so the
 * figures are those of the exact slice.
 */
SectionMoments BandMoments(const SectionRing& ring, double bottom, double top, SectionPoint origin);

/** The moments of `polygon` (outer ring less holes), whole or between two heights. */
SectionMoments PolygonMoments(const SectionPolygon& polygon, SectionPoint origin);
SectionMoments PolygonBandMoments(const SectionPolygon& polygon, double bottom, double top, SectionPoint origin);

}  // namespace chokusho
