// Sections drawn at random: any record is taken without a crash or a figure out of its place,
// and closed polylines in general position give the even-odd region that a scanline integration
// written here finds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "SectionProperties.h"
#include "SectionTestShapes.h"

namespace chokusho {
namespace {

using test::Point;
using test::Ring;

struct Edge {
    Point a;
    Point b;
    double XAt(double y) const { return a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y); }
};

/**
 * The even-odd area and first moments of closed rings, slab by slab between the heights where a
 * vertex or a crossing lies. Within a slab the edges keep their order; the widths of the odd
 * intervals are linear in y and their moments at most cubic, so Simpson's rule is exact.
 */
test::Figures EvenOddFigures(const std::vector<Ring>& rings)
{
    std::vector<Edge> edges;
    std::vector<double> heights;
    for (const Ring& ring : rings) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Edge e{ring[i], ring[(i + 1) % ring.size()]};
            heights.push_back(e.a.y);
            if (e.a.y != e.b.y)
                edges.push_back(e);
        }
    }
    for (std::size_t i = 0; i < edges.size(); ++i) {
        for (std::size_t j = i + 1; j < edges.size(); ++j) {
            const Edge& p = edges[i];
            const Edge& q = edges[j];
            const double d = (p.b.x - p.a.x) * (q.b.y - q.a.y) - (p.b.y - p.a.y) * (q.b.x - q.a.x);
            if (d == 0)
                continue;
            const double t = ((q.a.x - p.a.x) * (q.b.y - q.a.y) - (q.a.y - p.a.y) * (q.b.x - q.a.x)) / d;
            const double u = ((q.a.x - p.a.x) * (p.b.y - p.a.y) - (q.a.y - p.a.y) * (p.b.x - p.a.x)) / d;
            if (t > 0 && t < 1 && u > 0 && u < 1)
                heights.push_back(p.a.y + t * (p.b.y - p.a.y));
        }
    }
    std::sort(heights.begin(), heights.end());
    test::Figures f;
    for (std::size_t s = 0; s + 1 < heights.size(); ++s) {
        const double y0 = heights[s];
        const double y1 = heights[s + 1];
        if (y1 <= y0)
            continue;
        const double ym = (y0 + y1) / 2;
        std::vector<const Edge*> across;
        for (const Edge& e : edges) {
            if (std::min(e.a.y, e.b.y) < ym && std::max(e.a.y, e.b.y) > ym)
                across.push_back(&e);
        }
        std::sort(across.begin(), across.end(), [ym](const Edge* p, const Edge* q) { return p->XAt(ym) < q->XAt(ym); });
        const auto at = [&](double y, double& width, double& mx) {
            width = 0;
            mx = 0;
            for (std::size_t k = 0; k + 1 < across.size(); k += 2) {
                const double x0 = across[k]->XAt(y);
                const double x1 = across[k + 1]->XAt(y);
                width += x1 - x0;
                mx += (x1 * x1 - x0 * x0) / 2;
            }
        };
        double w[3], m[3];
        const double ys[3] = {y0, ym, y1};
        for (int k = 0; k < 3; ++k)
            at(ys[k], w[k], m[k]);
        const double h = (y1 - y0) / 6;
        f.area += h * (w[0] + 4 * w[1] + w[2]);
        f.mx += h * (m[0] + 4 * m[1] + m[2]);
        f.my += h * (y0 * w[0] + 4 * ym * w[1] + y1 * w[2]);
    }
    return f;
}

TEST(RandomSections, ClosedPolylinesGiveTheEvenOddRegion)
{
    std::mt19937 random(22);
    std::uniform_real_distribution<double> coordinate(0, 10);
    std::uniform_int_distribution<int> corners(3, 9);
    std::uniform_int_distribution<int> ringCount(1, 3);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        std::vector<Ring> rings(static_cast<std::size_t>(ringCount(random)));
        for (Ring& ring : rings) {
            ring.resize(static_cast<std::size_t>(corners(random)));
            for (Point& p : ring)
                p = {coordinate(random), coordinate(random)};
        }
        const SectionResult result = ComputeSection(test::Rings(rings));
        const test::Figures expected = EvenOddFigures(rings);
        const Point corner{result.extents.minX, result.extents.minY};
        ASSERT_NEAR(result.area, expected.area, 1e-6);
        if (expected.area > 1e-3) {
            EXPECT_NEAR(result.centroidX, expected.mx / expected.area - corner.x, 1e-6);
            EXPECT_NEAR(result.centroidY, expected.my / expected.area - corner.y, 1e-6);
        }
    }
}

/** A record such as no editor makes: points on a coarse grid, on each other, out of reach. */
BlockData RandomRecord(std::mt19937& random)
{
    std::uniform_int_distribution<int> count(0, kMaxPoints);
    std::uniform_int_distribution<int> grid(0, 8);
    std::uniform_int_distribution<int> percent(0, 99);
    BlockData data;
    data.PointCount = static_cast<std::int16_t>(count(random));
    for (int p = 1; p <= data.PointCount; ++p) {
        const int odd = percent(random);
        data.PointX[p] = grid(random) * 0.5 + (odd < 10 ? 3e-5 * grid(random) : 0);
        data.PointY[p] = grid(random) * 0.5;
        if (odd == 0)
            data.PointX[p] = std::numeric_limits<double>::quiet_NaN();
        else if (odd == 1)
            data.PointY[p] = std::numeric_limits<double>::infinity();
        else if (odd == 2)
            data.PointY[p] = 1e300;
    }
    data.LineCount = static_cast<std::int16_t>(std::uniform_int_distribution<int>(0, 60)(random));
    std::uniform_int_distribution<int> end(-1, data.PointCount + 1);
    for (int k = 1; k <= data.LineCount; ++k) {
        data.LineStart[k] = static_cast<std::int16_t>(end(random));
        data.LineEnd[k] = static_cast<std::int16_t>(end(random));
        data.LineKind[k] = static_cast<std::int16_t>(percent(random) < 85 ? kSolidLine : kDottedLine);
    }
    data.L = percent(random) < 80 ? 2.0 : 0.0;
    data.LayerCount = static_cast<std::int16_t>(std::uniform_int_distribution<int>(0, 5)(random));
    for (int k = 0; k < data.LayerCount; ++k)
        data.LayerH[k] = grid(random) * 0.5;
    return data;
}

TEST(RandomSections, AnyRecordGivesFiguresInTheirPlace)
{
    std::mt19937 random(2022);
    for (int round = 0; round < 2000; ++round) {
        SCOPED_TRACE(round);
        const BlockData data = RandomRecord(random);
        const SectionResult result = ComputeSection(data);
        const SectionExtents& x = result.extents;
        ASSERT_GE(result.area, 0);
        ASSERT_TRUE(std::isfinite(result.area));
        if (result.area > 0) {
            EXPECT_GE(result.centroidX, -1e-9);
            EXPECT_LE(result.centroidX, x.maxX - x.minX + 1e-9);
            EXPECT_GE(result.centroidY, -1e-9);
            EXPECT_LE(result.centroidY, x.maxY - x.minY + 1e-9);
        }
        double region = 0;
        for (const SectionPolygon& polygon : result.region)
            region += PolygonMoments(polygon, {x.minX, x.minY}).area;
        EXPECT_NEAR(region, result.area, 1e-9);
        // Rows proposed for the section cover it all.
        const SectionResult layered = ComputeSection(data, ProposeLayerTops(data));
        double sliced = 0;
        for (const SectionLayer& layer : layered.layers) {
            EXPECT_GE(layer.area, 0);
            sliced += layer.area;
        }
        EXPECT_NEAR(sliced, result.area, 1e-9);
    }
}

}  // namespace
}  // namespace chokusho
