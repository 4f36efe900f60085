// The figures of sections whose area and centroid are known in closed form, each also against
// the shoelace sum over its boundary listed by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "SectionProperties.h"
#include "SectionTestShapes.h"

namespace chokusho {
namespace {

using test::Point;
using test::Ring;

struct Shape {
    const char* name;
    BlockData block;
    double area;  // closed form
    double cx;    // from the lower-left corner of the extents
    double cy;
    /** The material's boundary by hand: anticlockwise rings, clockwise holes. */
    std::vector<Ring> boundary;
};

const Ring kRect{{0, 0}, {4, 0}, {4, 3}, {0, 3}};
const Ring kHole1{{1, 1}, {1, 2}, {2, 2}, {2, 1}};
const Ring kHole2{{2.5, 0.5}, {2.5, 1.5}, {3.5, 1.5}, {3.5, 0.5}};

std::vector<Shape> Shapes()
{
    std::vector<Shape> shapes;
    shapes.push_back({"rectangle", test::Rings({kRect}), 12, 2, 1.5, {kRect}});
    // Bottom 4 m, top 3.2 m from 0.8 to 4: a rectangle 3.2 x 3 and a triangle 0.8 x 3.
    const Ring trapezoid{{0, 0}, {4, 0}, {4, 3}, {0.8, 3}};
    shapes.push_back({"trapezoid", test::Rings({trapezoid}), 10.8, (9.6 * 2.4 + 1.2 * (1.6 / 3)) / 10.8,
                      3 * (4 + 2 * 3.2) / (3 * (4 + 3.2)), {trapezoid}});
    const Ring triangle{{0, 0}, {3, 0}, {0, 6}};
    shapes.push_back({"triangle", test::Rings({triangle}), 9, 1, 2, {triangle}});
    // 4 x 1 foot and a 1 x 2 stem on its left.
    const Ring ell{{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}};
    shapes.push_back({"an L", test::Rings({ell}), 6, (4 * 2 + 2 * 0.5) / 6, (4 * 0.5 + 2 * 2) / 6, {ell}});
    shapes.push_back({"a hole", test::Rings({kRect, kHole1}), 11, (24 - 1.5) / 11, (18 - 1.5) / 11, {kRect, kHole1}});
    shapes.push_back(
        {"two holes", test::Rings({kRect, kHole1, kHole2}), 10, (24 - 1.5 - 3) / 10, (18 - 1.5 - 1) / 10, {kRect, kHole1, kHole2}});
    // An island of material in a chamber: enclosed three times.
    const Ring chamber{{0.5, 0.5}, {0.5, 2.5}, {3.5, 2.5}, {3.5, 0.5}};
    const Ring island{{1, 1}, {2, 1}, {2, 2}, {1, 2}};
    shapes.push_back({"an island in a hole", test::Rings({kRect, chamber, island}), 7, (24 - 12 + 1.5) / 7,
                      (18 - 9 + 1.5) / 7, {kRect, chamber, island}});
    // Two blocks side by side, sharing their edge x = 2: a gap of no width between material.
    shapes.push_back({"a gap of no width", test::Rings({{{0, 0}, {2, 0}, {2, 3}, {0, 3}}, {{2, 0}, {4, 0}, {4, 3}, {2, 3}}}),
                      12, 2, 1.5, {kRect}});
    // A diamond of area 0.5 standing on the outline's bottom edge at (2, 0): the point splits the edge.
    const Ring diamond{{2, 0}, {2.5, 0.5}, {2, 1}, {1.5, 0.5}};
    shapes.push_back({"a hole touching the outline", test::Rings({kRect, diamond}), 11.5, (24 - 1) / 11.5,
                      (18 - 0.25) / 11.5, {{{0, 0}, {2, 0}, {1.5, 0.5}, {2, 1}, {2.5, 0.5}, {2, 0}, {4, 0}, {4, 3}, {0, 3}}}});
    // A bow-tie: two segments cross at (1, 1), leaving two triangles of area 1.
    shapes.push_back({"crossing segments", test::Rings({{{0, 0}, {2, 2}, {2, 0}, {0, 2}}}), 2, 1, 1,
                      {{{0, 0}, {1, 1}, {0, 2}}, {{2, 0}, {2, 2}, {1, 1}}}});
    // Two rectangles overlapping in 1 x 1: the overlap is enclosed twice, so it is no material.
    const Ring left{{0, 0}, {3, 0}, {3, 2}, {0, 2}};
    const Ring right{{2, 1}, {5, 1}, {5, 3}, {2, 3}};
    const Ring overlap{{2, 1}, {2, 2}, {3, 2}, {3, 1}};
    shapes.push_back({"overlapping outlines", test::Rings({left, right}), 10, (6 * 1.5 + 6 * 3.5 - 2 * 2.5) / 10,
                      (6 * 1 + 6 * 2 - 2 * 1.5) / 10, {left, right, overlap, overlap}});
    // The diagonals drawn across a rectangle divide it; every part is still material.
    shapes.push_back({"lines across the material", test::Rings({kRect}).segment(1, 3).segment(2, 4), 12, 2, 1.5, {kRect}});
    // The bottom drawn twice, in two overlapping pieces, and the right side once more in full.
    shapes.push_back({"collinear overlapping segments",
                      test::Section({{0, 0}, {3, 0}, {1, 0}, {4, 0}, {4, 3}, {0, 3}},
                                    {{1, 2}, {3, 4}, {4, 5}, {5, 6}, {6, 1}, {5, 4}}),
                      12, 2, 1.5, {kRect}});
    // A cut of no width from the top edge down to (2, 1) takes nothing away.
    shapes.push_back({"a slit", test::Rings({kRect}).point(2, 3).point(2, 1).segment(5, 6), 12, 2, 1.5, {kRect}});
    // A dotted line is a hidden edge and bounds nothing.
    shapes.push_back({"a dotted chamber", test::Rings({kRect}).points(kHole1).segment(5, 6, kDottedLine).segment(6, 7, kDottedLine).segment(7, 8, kDottedLine).segment(8, 5, kDottedLine),
                      12, 2, 1.5, {kRect}});
    shapes.push_back({"huge coordinates", test::Rings(test::Placed({kRect, kHole1}, 3.5e7, -8.25e6)), 11, (24 - 1.5) / 11,
                      (18 - 1.5) / 11, test::Placed({kRect, kHole1}, 3.5e7, -8.25e6)});
    shapes.push_back({"a huge block", test::Rings(test::Placed({kRect, kHole1}, 0, 0, 1e5)), 11e10, 1e5 * (24 - 1.5) / 11,
                      1e5 * (18 - 1.5) / 11, test::Placed({kRect, kHole1}, 0, 0, 1e5)});
    shapes.push_back({"tiny coordinates", test::Rings(test::Placed({kRect, kHole1}, 0, 0, 1e-3)), 11e-6,
                      1e-3 * (24 - 1.5) / 11, 1e-3 * (18 - 1.5) / 11, test::Placed({kRect, kHole1}, 0, 0, 1e-3)});
    return shapes;
}

TEST(SectionFigures, AreaAndCentroidOfKnownShapes)
{
    for (const Shape& shape : Shapes()) {
        SCOPED_TRACE(shape.name);
        const SectionResult result = ComputeSection(shape.block);
        const double scale = std::max(1.0, std::fabs(shape.area));
        EXPECT_NEAR(result.area, shape.area, 1e-9 * scale);
        const double length = std::sqrt(std::fabs(shape.area));
        EXPECT_NEAR(result.centroidX, shape.cx, 1e-9 * std::max(1.0, length));
        EXPECT_NEAR(result.centroidY, shape.cy, 1e-9 * std::max(1.0, length));

        const Point corner{result.extents.minX, result.extents.minY};
        const test::Figures hand = test::Shoelace(shape.boundary, corner);
        EXPECT_NEAR(hand.area, shape.area, 1e-9 * scale) << "the boundary listed by hand";
        EXPECT_NEAR(result.centroidX, hand.mx / hand.area, 1e-9 * std::max(1.0, length));
        EXPECT_NEAR(result.centroidY, hand.my / hand.area, 1e-9 * std::max(1.0, length));

        // The region handed out for shading has the same figures.
        double regionArea = 0;
        for (const SectionPolygon& polygon : result.region)
            regionArea += PolygonMoments(polygon, {}).area;
        EXPECT_NEAR(regionArea, shape.area, 1e-9 * scale);
    }
}

}  // namespace
}  // namespace chokusho
