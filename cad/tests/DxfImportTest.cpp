#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>
#include <string>
#include <vector>

#include "BlockFile.h"
#include "Drawing.h"
#include "DxfImport.h"
#include "DxfReader.h"
#include "DxfTestSupport.h"
#include "DxfWriter.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using test::Join;
using test::JoinOf;
using test::Place;

/** A drawing of lines in millimetres, all on one layer "A" unless given a layer of their own. */
struct Lines {
    DxfDrawing drawing;

    Lines() { drawing.layers.push_back(DxfLayer{"A"}); }
    Lines& line(double x1, double y1, double x2, double y2, bool dotted = false, int layer = 0)
    {
        drawing.lines.push_back(DxfLine{x1, y1, x2, y2, layer, dotted});
        return *this;
    }
    Lines& arc(double cx, double cy, double r, double startDegrees, double sweepDegrees)
    {
        const double degree = std::numbers::pi / 180;
        drawing.arcs.push_back(DxfArc{cx, cy, r, startDegrees * degree, sweepDegrees * degree, {}, 0, false});
        return *this;
    }
};

DxfImport Assemble(const DxfDrawing& drawing, double toleranceMm = 1)
{
    DxfImportOptions options;
    options.toleranceMm = toleranceMm;
    return AssembleBlock(drawing, options);
}

Join Solid(Place a, Place b) { return JoinOf(a, b, kSolidLine); }
Join Dotted(Place a, Place b) { return JoinOf(a, b, kDottedLine); }

TEST(DxfImport, MergesEndsAndSegmentsAndMovesTheCornerToTheOrigin)
{
    Lines lines;
    lines.line(1000, 2000, 3000, 2000)
        .line(3000.8, 2000.4, 3000, 4000)      // its start within 1 mm of the last end
        .line(3000, 4000, 3000.5, 2000, true)  // the same segment reversed, dotted: solid stays
        .line(1000, 2000, 3000, 4000, true)
        .line(3000, 4000, 1000, 2000, true)  // a dotted one twice: one dotted
        .line(1000.2, 2000.2, 1000, 2000)    // no length once merged
        .line(5000, 5000, 5000.4, 5000);     // nothing but one point
    const DxfImport result = Assemble(lines.drawing);
    ASSERT_TRUE(result.ok()) << DxfImportFailureText(result);
    EXPECT_TRUE(test::Sound(result.block));
    EXPECT_EQ(test::PlacesOf(result.block), (std::set<Place>{{0, 0}, {2000, 0}, {2000, 2000}}));
    EXPECT_EQ(test::JoinsOf(result.block),
              (std::set<Join>{Solid({0, 0}, {2000, 0}), Solid({2000, 0}, {2000, 2000}), Dotted({0, 0}, {2000, 2000})}));
    EXPECT_EQ(result.counts.points, 3);
    EXPECT_EQ(result.counts.solidSegments, 2);
    EXPECT_EQ(result.counts.dottedSegments, 1);
}

TEST(DxfImport, KeepsWhatABlockFileKeeps)
{
    Lines lines;
    lines.line(-1234.5678, 10.0004, 98765.4321, 10.0004).line(98765.4321, 10.0004, 0.3333, 777.7777, true);
    const DxfImport result = Assemble(lines.drawing, 0.01);
    ASSERT_TRUE(result.ok());
    BlockData saved = result.block;
    saved.Name = "import";
    BlockData read;
    ASSERT_TRUE(ParseBlockFile(read, FormatBlockFile(saved)).ok());
    EXPECT_EQ(read, saved);
    EXPECT_EQ(test::PlacesOf(result.block), (std::set<Place>{{0, 0}, {100000, 0}, {1235, 768}}));
}

TEST(DxfImport, NumbersPointsAlongTheOutlineFromTheLowerLeft)
{
    // A 2 x 1 m rectangle with a dotted diagonal and a tail, given in no order and directions.
    Lines lines;
    lines.line(2000, 1000, 0, 1000)
        .line(0, 0, 2000, 1000, true)
        .line(2000, 0, 2000, 1000)
        .line(3000, 0, 2000, 0)
        .line(0, 1000, 0, 0)
        .line(2000, 0, 0, 0)
        .line(9000, 9000, 8000, 9000);  // a piece apart, after the outline
    const DxfImport result = Assemble(lines.drawing);
    ASSERT_TRUE(result.ok());
    // Counter-clockwise from (0, 0): along the bottom, up, back along the top, down; then the
    // tail at (2, 0) and the diagonal from the corner, then the piece apart from its left end.
    const std::vector<test::Point> points = {{0, 0}, {2, 0}, {3, 0}, {2, 1}, {0, 1}, {8, 9}, {9, 9}};
    EXPECT_EQ(test::PointsOf(result.block), points);
    const std::vector<test::Segment> segments = {{1, 2, 0}, {2, 3, 0}, {2, 4, 0}, {4, 5, 0},
                                                 {5, 1, 0}, {1, 4, 1}, {6, 7, 0}};
    EXPECT_EQ(test::SegmentsOf(result.block), segments);
}

TEST(DxfImport, CountsPointsInsideOtherSegmentsWithoutSplittingThem)
{
    Lines lines;
    lines.line(0, 0, 4000, 0).line(2000, 0.5, 2000, 3000).line(4000, 3000, 4000, 10).line(0, 1, 0, 3000);
    const DxfImport result = Assemble(lines.drawing);
    ASSERT_TRUE(result.ok());
    // (2, 0) lies on the bottom within the tolerance; (4, 0.01) is off it by more; (0, 0.001) is
    // the bottom's own end.
    EXPECT_EQ(result.counts.tJunctions, 1);
    EXPECT_EQ(result.block.LineCount, 4);
}

TEST(DxfImport, CutsArcsIntoChordsWithinTheTolerance)
{
    const struct {
        double radius, sweep, tolerance;
        int chords;
    } cases[] = {
        {1000, 90, 1, 18},  // 4 asin(sqrt(1 / 2000)) = 5.125 degrees a chord
        {1000, 90, 10, 6},     {1000, 360, 1, 71},
        {0.4, 360, 1, 1},  // smaller than the tolerance: one chord, which comes to nothing
        {50000, 2, 0.001, 88},
    };
    for (const auto& c : cases) {
        Lines lines;
        lines.arc(0, 0, c.radius, 30, c.sweep).line(-20000, -20000, -19000, -20000);
        const DxfImport result = Assemble(lines.drawing, c.tolerance);
        ASSERT_TRUE(result.ok()) << c.radius;
        EXPECT_EQ(result.counts.chords, c.chords) << c.radius << " " << c.sweep << " " << c.tolerance;
        // Every chord's middle lies within the tolerance (and the block file's rounding) of the arc.
        const BlockData& b = result.block;
        for (int k = 1; k <= b.LineCount; ++k) {
            const double mx = (b.PointX[b.LineStart[k]] + b.PointX[b.LineEnd[k]]) / 2 - 20;
            const double my = (b.PointY[b.LineStart[k]] + b.PointY[b.LineEnd[k]]) / 2 - 20;
            if (mx > -10) {
                EXPECT_LE(c.radius / 1000 - std::hypot(mx, my), (c.tolerance + 1) / 1000) << k;
            }
        }
    }
}

TEST(DxfImport, TakesTheUnitFromTheOptionsElseTheFileElseMillimetres)
{
    const struct {
        int insUnits;
        std::optional<DxfUnit> unit;
        long long millimetres;  // of a line 100 units long
    } cases[] = {
        {0, std::nullopt, 100},      {4, std::nullopt, 100},        {1, std::nullopt, 2540},
        {2, std::nullopt, 30480},    {5, std::nullopt, 1000},       {6, std::nullopt, 100000},
        {99, std::nullopt, 100},     {1, DxfUnit::Millimetre, 100}, {6, DxfUnit::Centimetre, 1000},
        {4, DxfUnit::Metre, 100000},
    };
    for (const auto& c : cases) {
        Lines lines;
        lines.line(0, 0, 100, 0);
        lines.drawing.insUnits = c.insUnits;
        DxfImportOptions options;
        options.unit = c.unit;
        const DxfImport result = AssembleBlock(lines.drawing, options);
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(test::PlacesOf(result.block), (std::set<Place>{{0, 0}, {c.millimetres, 0}})) << c.insUnits;
    }
}

TEST(DxfImport, TakesTheLayersChosenAndCountsTheOthersAsSkipped)
{
    Lines lines;
    lines.drawing.layers = {DxfLayer{"Outline", false, false, 2}, DxfLayer{"外形", false, false, 1},
                            DxfLayer{"Text", false, false, 3}};
    lines.drawing.skipped.paperSpace = 4;
    lines.line(0, 0, 1000, 0, false, 0).line(1000, 0, 1000, 1000, false, 0).line(0, 0, 0, 500, true, 1);
    DxfImportOptions options;
    options.layers = std::vector<std::string>{"OUTLINE", "外形"};
    const DxfImport result = AssembleBlock(lines.drawing, options);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.block.LineCount, 3);
    EXPECT_EQ(result.counts.skipped.untickedLayer, 3);
    EXPECT_EQ(result.counts.skipped.total(), 7);

    options.layers = std::vector<std::string>{"Text"};
    EXPECT_EQ(AssembleBlock(lines.drawing, options).failure, DxfFailure::EmptySelection);
    options.layers = std::vector<std::string>{};
    EXPECT_EQ(AssembleBlock(lines.drawing, options).failure, DxfFailure::EmptySelection);
}

TEST(DxfImport, RefusesMoreThanABlockHoldsSayingHowMany)
{
    Lines points;
    for (int i = 0; i < 101; i += 2)
        points.line(i * 10, 0, i * 10 + 10, 0);  // 51 apart segments, 102 points
    const DxfImport tooManyPoints = Assemble(points.drawing);
    EXPECT_EQ(tooManyPoints.failure, DxfFailure::TooLarge);
    EXPECT_EQ(tooManyPoints.counts.points, 102);
    EXPECT_NE(DxfImportFailureText(tooManyPoints).find("102"), std::string::npos);

    Lines segments;
    for (int i = 0; i < 15; ++i) {
        for (int j = i + 1; j < 15; ++j)  // 105 segments between 15 points, both kinds twice over
            segments.line(i * 100, i * i * 10, j * 100, j * j * 10, (i + j) % 2 == 0);
    }
    EXPECT_TRUE(Assemble(segments.drawing).ok());
    segments.arc(0, 0, 100000, 0, 45);  // 120 chords more
    const DxfImport tooManySegments = Assemble(segments.drawing);
    EXPECT_EQ(tooManySegments.failure, DxfFailure::TooLarge);
    EXPECT_EQ(tooManySegments.counts.segments(), 105 + tooManySegments.counts.chords);
    EXPECT_NE(DxfImportFailureText(tooManySegments).find(std::to_string(tooManySegments.counts.segments())),
              std::string::npos);
}

TEST(DxfImport, RefusesWhatCannotBeCountedOrWritten)
{
    Lines huge;
    huge.arc(0, 0, 1e12, 0, 360);
    EXPECT_EQ(Assemble(huge.drawing, kMinDxfToleranceMm).failure, DxfFailure::TooComplex);
    Lines far;
    far.line(-1e307, 0, 1e307, 0);
    far.drawing.insUnits = 7;  // kilometres: past the largest real
    EXPECT_EQ(Assemble(far.drawing).failure, DxfFailure::BadNumber);
}

TEST(DxfImport, GivesBackTheProgramsOwnDrawing)
{
    const BlockData block = test::Section({{3, 2}, {7.5, 2}, {7.5, 4.25}, {5, 6.125}, {3, 4}, {5, 2}},
                                          {{1, 6, kSolidLine},
                                           {6, 2, kSolidLine},
                                           {2, 3, kSolidLine},
                                           {3, 4, kSolidLine},
                                           {4, 5, kSolidLine},
                                           {5, 1, kSolidLine},
                                           {6, 4, kDottedLine},
                                           {1, 3, kDottedLine}})
                                .named("往復");
    const Drawing drawing = BuildDrawing(block, DrawingOptions{}, "往復.csv", "2026/01/01");
    const DxfReadResult read = ReadDxf(FormatDxf(drawing));
    ASSERT_TRUE(read.ok());
    DxfImportOptions options;
    options.layers = std::vector<std::string>{"OUTLINE", "DOTTED"};
    const DxfImport result = AssembleBlock(read.drawing, options);
    ASSERT_TRUE(result.ok()) << DxfImportFailureText(result);

    BlockData shifted = block;
    for (int i = 1; i <= shifted.PointCount; ++i) {
        shifted.PointX[i] -= 3;
        shifted.PointY[i] -= 2;
    }
    EXPECT_EQ(test::PlacesOf(result.block), test::PlacesOf(shifted));
    EXPECT_EQ(test::JoinsOf(result.block), test::JoinsOf(shifted));
    EXPECT_EQ(result.counts.chords, 0);
    EXPECT_GT(result.counts.skipped.untickedLayer, 0);  // the crosses, the frame, the texts
}

}  // namespace
}  // namespace chokusho
