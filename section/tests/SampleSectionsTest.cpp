// The sample blocks beside the program: their sections' figures as samples/MakeSamples.cpp
// writes them in its comments, and no problem in them beyond the notices that their walls'
// openings explain.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BlockFile.h"
#include "SectionProperties.h"

namespace chokusho {
namespace {

struct Sample {
    const char* name;
    double area;
    double cx;
    double cy;
    double volume;
    std::vector<double> layerVolumes;
    std::vector<double> layerCentroids;  // for the samples with a centroid X per layer
    std::vector<std::string> notices;
};

TEST(SampleSections, FiguresAsTheSamplesSayThem)
{
    const Sample samples[] = {
        {"A-40", 10.8, 2.1926, 1.4444, 21.6, {7.7333, 7.2, 6.6667}, {}, {}},
        {"S-45", 8.93, 2.3264, 1.6354, 22.325, {}, {}, {"volume-differs", "centroid-differs"}},
        {"C-50", 8.1, 2.5819, 1.5593, 16.2, {6, 3, 3.6, 3.6}, {2.5, 2.63, 2.63, 2.63},
         {"volume-differs", "centroid-differs", "volume-differs", "centroid-differs"}},
        {"T-60", 17.67, 2.6982, 2.1708, 44.175, {14.375, 8.375, 7.125, 5.875, 8.425},
         {2.8768, 3.1811, 2.8620, 2.5135, 1.9035}, {"volume-differs", "centroid-differs", "volume-differs", "centroid-differs"}},
    };
    for (const Sample& sample : samples) {
        SCOPED_TRACE(sample.name);
        BlockData block;
        ASSERT_TRUE(ReadBlockFile(block, CHOKUSHO_SAMPLES_DIR "/", sample.name));
        const SectionResult result = ComputeSection(block);
        EXPECT_NEAR(result.area, sample.area, 5e-5);
        EXPECT_NEAR(result.centroidX, sample.cx, 5e-5);
        EXPECT_NEAR(result.centroidY, sample.cy, 5e-5);
        ASSERT_TRUE(result.volume);
        EXPECT_NEAR(*result.volume, sample.volume, 5e-5);
        ASSERT_EQ(result.layers.size(), sample.layerVolumes.size());
        for (std::size_t k = 0; k < result.layers.size(); ++k) {
            EXPECT_NEAR(result.layers[k].volume, sample.layerVolumes[k], 5e-5);
            if (!sample.layerCentroids.empty()) {
                EXPECT_NEAR(result.layers[k].centroidX, sample.layerCentroids[k], 5e-5);
            }
        }
        std::vector<std::string> kinds;
        for (const SectionProblem& problem : result.problems)
            kinds.push_back(ProblemKindName(problem.kind));
        EXPECT_EQ(kinds, sample.notices);
    }
}

}  // namespace
}  // namespace chokusho
