// What is wrong with a block against its section, by kind, and which kinds only tell.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "SectionProperties.h"
#include "SectionTestShapes.h"

namespace chokusho {
namespace {

using test::BlockBuilder;

const test::Ring kRect{{0, 0}, {4, 0}, {4, 3}, {0, 3}};

/** The 4 x 3 rectangle with Ｌ 2 and the figures entered as computed: V 24, centroid (2, 1.5). */
BlockBuilder Sound() { return test::Rings({kRect}).size(4, 3, 2, 24).centroid(2, 1.5); }

std::vector<std::string> Kinds(const SectionResult& result)
{
    std::vector<std::string> kinds;
    for (const SectionProblem& p : result.problems)
        kinds.push_back(ProblemKindName(p.kind));
    return kinds;
}

using Kinds_ = std::vector<std::string>;

TEST(SectionProblems, EachKindAndWhatItTakes)
{
    BlockData nan = Sound();
    nan.PointX[2] = std::numeric_limits<double>::quiet_NaN();
    BlockData noPoint = Sound();
    noPoint.LineEnd[4] = 0;
    const struct {
        const char* name;
        BlockData block;
        Kinds_ kinds;
    } cases[] = {
        {"sound", Sound(), {}},
        {"sound in layers", Sound().layer(1.5, 12).layer(3, 12), {}},
        {"a segment out in the open", Sound().point(5, 4).segment(3, 5), {"open-outline"}},
        {"an open outline", test::Section({{0, 0}, {4, 0}, {4, 3}, {0, 3}}, {{1, 2}, {2, 3}, {3, 4}}).size(0, 0, 2),
         {"open-outline", "open-outline", "open-outline", "open-outline"}},
        {"only dotted lines", test::Section({{0, 0}, {4, 0}, {4, 3}}, {{1, 2, kDottedLine}, {2, 3, kDottedLine}}),
         {"no-outline"}},
        {"no segment", test::Section({{0, 0}}), {"no-outline"}},
        // What is left is two sides of the rectangle: each bounds nothing, and there is no face.
        {"a point that is no number", nan, {"bad-point", "open-outline", "open-outline", "open-outline"}},
        {"a segment to no point", noPoint, {"bad-point", "open-outline", "open-outline", "open-outline", "open-outline"}},
        {"layers short of V", Sound().layer(1.5, 12).layer(3, 11.9), {"layer-sum"}},
        {"layers 0.0001 short of V", Sound().layer(1.5, 12).layer(3, 11.9999), {}},
        {"a row below the one before", Sound().layer(2, 16).layer(1, 8), {"layers-above", "volume-differs"}},
        {"a row below the bottom", Sound().layer(-1, 0).layer(3, 24), {"layers-above"}},
        {"a row above the section", Sound().layer(1.5, 12).layer(3.5, 12), {"layers-above"}},
        {"no length", test::Rings({kRect}).size(4, 3, 0, 24).centroid(2, 1.5), {"no-length"}},
        {"V differs", Sound().size(4, 3, 2, 23.7), {"volume-differs"}},
        {"V within 1 %", Sound().size(4, 3, 2, 23.8), {}},
        {"Gx differs", Sound().centroid(2.011, 1.5), {"centroid-differs"}},
        {"Gy within 1 cm", Sound().centroid(2, 1.509), {}},
        // In the common mode every row holds the block's Gx: only a row's own centroid is checked.
        {"a row's Gx, common", Sound().layer(1.5, 12, 9).layer(3, 12, 9), {}},
        {"a row's Gx, per layer", Sound().centroidPerLayer().layer(1.5, 12, 2).layer(3, 12, 2.2), {"centroid-differs"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SectionResult result = ComputeSection(c.block);
        EXPECT_EQ(Kinds(result), c.kinds);
        bool errors = false;
        for (const std::string& kind : c.kinds)
            errors = errors || (kind != "no-length" && kind != "volume-differs" && kind != "centroid-differs");
        EXPECT_EQ(result.hasErrors(), errors);
    }
}

TEST(SectionProblems, ADanglingSegmentIsNamedByItsPoints)
{
    const SectionResult result = ComputeSection(Sound().point(3, 7).segment(3, 5));
    ASSERT_EQ(result.problems.size(), 1u);
    const SectionProblem& p = result.problems[0];
    EXPECT_EQ(p.points, (std::vector<int>{3, 5}));
    EXPECT_EQ(p.segments, (std::vector<int>{5}));
    EXPECT_EQ(p.text, "線分 3–5 がどの面も囲んでいません (点 3, 5)。");
    EXPECT_DOUBLE_EQ(result.area, 12) << "it takes nothing away";
}

TEST(SectionProblems, WithoutLengthThereAreNoVolumes)
{
    const SectionResult result = ComputeSection(test::Rings({kRect}).layer(1, 0).layer(3, 0));
    EXPECT_FALSE(result.volume);
    EXPECT_DOUBLE_EQ(result.area, 12);
    ASSERT_EQ(result.layers.size(), 2u);
    EXPECT_DOUBLE_EQ(result.layers[0].area, 4);
    EXPECT_EQ(result.layers[0].volume, 0);
}

TEST(SectionProblems, RowsThatDifferAreFlaggedForTheDialog)
{
    const SectionResult result = ComputeSection(Sound().centroidPerLayer().layer(1, 8, 2).layer(3, 15, 2.5));
    ASSERT_EQ(result.layers.size(), 2u);
    EXPECT_FALSE(result.layers[0].volumeDiffers);
    EXPECT_FALSE(result.layers[0].centroidDiffers);
    EXPECT_TRUE(result.layers[1].volumeDiffers);
    EXPECT_TRUE(result.layers[1].centroidDiffers);
    EXPECT_FALSE(result.volumeDiffers);
    const auto layerSum = std::find_if(result.problems.begin(), result.problems.end(),
                                       [](const SectionProblem& p) { return p.kind == SectionProblemKind::VolumeDiffers; });
    ASSERT_NE(layerSum, result.problems.end());
    EXPECT_EQ(layerSum->layers, (std::vector<int>{1}));
}

}  // namespace
}  // namespace chokusho
