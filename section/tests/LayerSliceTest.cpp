// Layer slices: each row's band of the section between the row before's top and its own, against
// the slices listed by hand.

#include <gtest/gtest.h>

#include <vector>

#include "SectionProperties.h"
#include "SectionTestShapes.h"

namespace chokusho {
namespace {

using test::Ring;

struct Slicing {
    const char* name;
    std::vector<Ring> section;
    std::vector<double> tops;
    /** Each slice's material by hand, in the section's own coordinates. */
    std::vector<std::vector<Ring>> slices;
};

/** The trapezoid of the figures' tests: its left side leans from (0, 0) to (0.8, 3). */
Ring TrapezoidSlice(double a, double b) { return {{0.8 * a / 3, a}, {4, a}, {4, b}, {0.8 * b / 3, b}}; }

Ring Band(double x1, double x2, double a, double b) { return {{x1, a}, {x2, a}, {x2, b}, {x1, b}}; }

std::vector<Slicing> Slicings()
{
    const Ring trapezoid{{0, 0}, {4, 0}, {4, 3}, {0.8, 3}};
    const Ring ell{{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}};
    const Ring rect{{0, 0}, {4, 0}, {4, 3}, {0, 3}};
    const Ring hole{{1, 1}, {1, 2}, {2, 2}, {2, 1}};
    const Ring holeHalf1{{1, 1}, {1, 1.5}, {2, 1.5}, {2, 1}};
    const Ring holeHalf2{{1, 1.5}, {1, 2}, {2, 2}, {2, 1.5}};
    return {
        {"a trapezoid by metres", {trapezoid}, {1, 2, 3},
         {{TrapezoidSlice(0, 1)}, {TrapezoidSlice(1, 2)}, {TrapezoidSlice(2, 3)}}},
        {"uneven rows", {trapezoid}, {0.25, 2.75, 3}, {{TrapezoidSlice(0, 0.25)}, {TrapezoidSlice(0.25, 2.75)}, {TrapezoidSlice(2.75, 3)}}},
        // The L's inner corner lies exactly on the first row's top.
        {"a corner on a row's top", {ell}, {1, 3}, {{Band(0, 4, 0, 1)}, {Band(0, 1, 1, 3)}}},
        // Rows that start and end at the hole's edges, and one through it.
        {"rows through a hole", {rect, hole}, {1, 1.5, 2, 3},
         {{Band(0, 4, 0, 1)},
          {Band(0, 4, 1, 1.5), {holeHalf1[0], holeHalf1[1], holeHalf1[2], holeHalf1[3]}},
          {Band(0, 4, 1.5, 2), holeHalf2},
          {Band(0, 4, 2, 3)}}},
        {"a section away from the origin", test::Placed({trapezoid}, 12.5, -7), {1, 2, 3},
         {{TrapezoidSlice(0, 1)}, {TrapezoidSlice(1, 2)}, {TrapezoidSlice(2, 3)}}},
        {"a row of no height", {rect}, {1, 1, 3}, {{Band(0, 4, 0, 1)}, {}, {Band(0, 4, 1, 3)}}},
    };
}

TEST(LayerSlices, EachRowIsItsBandOfTheSection)
{
    constexpr double kLength = 2.5;
    for (const Slicing& s : Slicings()) {
        SCOPED_TRACE(s.name);
        test::BlockBuilder block = test::Rings(s.section);
        block.size(0, 0, kLength);
        for (const double top : s.tops)
            block.layer(top, 0);
        const SectionResult result = ComputeSection(block);
        ASSERT_EQ(result.layers.size(), s.tops.size());
        double total = 0;
        for (std::size_t k = 0; k < s.tops.size(); ++k) {
            SCOPED_TRACE(k);
            const SectionLayer& layer = result.layers[k];
            const test::Figures hand = test::Shoelace(s.slices[k]);
            EXPECT_NEAR(layer.area, hand.area, 1e-12);
            EXPECT_NEAR(layer.volume, hand.area * kLength, 1e-12);
            EXPECT_NEAR(layer.centroidX, hand.area > 0 ? hand.mx / hand.area : 0, 1e-12);
            EXPECT_EQ(layer.top, s.tops[k]);
            EXPECT_EQ(layer.bottom, k == 0 ? 0 : s.tops[k - 1]);
            total += layer.area;
        }
        EXPECT_NEAR(total, result.area, 1e-12) << "the rows reach the top";
    }
}

TEST(LayerSlices, GivenTopsStandForTheRecords)
{
    const BlockData block = test::Rings({{{0, 0}, {4, 0}, {4, 3}, {0, 3}}}).size(0, 0, 2).layer(3, 24);
    const SectionResult result = ComputeSection(block, {0.5, 3});
    ASSERT_EQ(result.layers.size(), 2u);
    EXPECT_DOUBLE_EQ(result.layers[0].volume, 4.0);
    EXPECT_DOUBLE_EQ(result.layers[1].volume, 20.0);
}

TEST(LayerSlices, EnteredFiguresAddUpToV)
{
    // Three rows of a 1 x 1 triangle, each ⊿Ｖ rounding up or down: their sum, not the rounded
    // total, is Ｖ, or 登録 would refuse the table.
    const BlockData triangle = test::Rings({{{0, 0}, {1, 0}, {0, 1}}}).size(0, 0, 1);
    const SectionResult result = ComputeSection(triangle, {1.0 / 3, 2.0 / 3, 1});
    const SectionEntry entry = EntryFigures(result);
    ASSERT_EQ(entry.layerDV, (std::vector<double>{0.278, 0.167, 0.056}));
    ASSERT_TRUE(entry.V);
    EXPECT_NEAR(*entry.V, 0.501, 1e-12);
    EXPECT_EQ(entry.Gx, 0.333);
    EXPECT_EQ(entry.layerGx.size(), 3u);
    EXPECT_FALSE(EntryFigures(ComputeSection(test::Rings({{{0, 0}, {1, 0}, {0, 1}}}))).V) << "no Ｌ, no volumes";
}

TEST(LayerSlices, ProposedRowsAreWholeMetresUpToTheTop)
{
    const struct {
        double height;
        std::vector<double> tops;
    } cases[] = {
        {3.5, {1, 2, 3, 3.5}},
        {3, {1, 2, 3}},
        {3.00004, {1, 2, 3.00004}},  // a top within 0.1 mm of a whole metre takes its row
        {0.6, {0.6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.height);
        const std::vector<double> tops = ProposeLayerTops(test::Rings({{{0, 5}, {2, 5}, {2, 5 + c.height}}}));
        ASSERT_EQ(tops.size(), c.tops.size());
        for (std::size_t k = 0; k < tops.size(); ++k)
            EXPECT_NEAR(tops[k], c.tops[k], 1e-12);
    }
    // The table holds 51 rows: a section 120 m high takes a row every 3 m.
    const std::vector<double> tall = ProposeLayerTops(test::Rings({{{0, 0}, {2, 0}, {2, 120}}}));
    EXPECT_LE(tall.size(), static_cast<std::size_t>(kMaxLayers));
    EXPECT_EQ(tall.front(), 3);
    EXPECT_EQ(tall.back(), 120);
    EXPECT_TRUE(ProposeLayerTops(test::Section({{0, 0}, {1, 1}}, {{1, 2, kDottedLine}})).empty());
}

}  // namespace
}  // namespace chokusho
