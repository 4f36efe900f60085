// Reads the DXF files that ezdxf wrote (make_dxf.py, which describes them) from the folder that
// CHOKUSHO_DXF_FOLDER names: the same drawing in every version from R12 to R2018.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "DxfImport.h"
#include "DxfReader.h"
#include "DxfTestSupport.h"

namespace chokusho {
namespace {

using test::Join;
using test::JoinOf;
using test::Place;

std::string FileBytes(const std::string& name)
{
    const char* folder = std::getenv("CHOKUSHO_DXF_FOLDER");
    if (folder == nullptr)
        return {};
    std::ifstream in(std::string(folder) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DxfDrawing Read(const std::string& name)
{
    const std::string bytes = FileBytes(name);
    if (bytes.empty()) {
        ADD_FAILURE() << name << " is missing: set CHOKUSHO_DXF_FOLDER to make_dxf.py's folder";
        return {};
    }
    const DxfReadResult result = ReadDxf(bytes);
    EXPECT_TRUE(result.ok()) << name << ": " << DxfReadFailureText(result);
    return result.drawing;
}

DxfImport Layers(const DxfDrawing& drawing, std::vector<std::string> layers)
{
    DxfImportOptions options;
    options.layers = std::move(layers);
    return AssembleBlock(drawing, options);
}

Join Solid(Place a, Place b) { return JoinOf(a, b, kSolidLine); }
Join Dotted(Place a, Place b) { return JoinOf(a, b, kDottedLine); }

/** Segments through the places given in order, each to the next, of one kind. */
std::set<Join> Chain(const std::vector<Place>& places, int kind, bool closed = false)
{
    std::set<Join> joins;
    for (std::size_t i = 0; i + 1 < places.size() + (closed ? 1 : 0); ++i)
        joins.insert(JoinOf(places[i], places[(i + 1) % places.size()], kind));
    return joins;
}

/**
 * Every point of the block near the circle: within the tolerance, the rounding of the file, and
 * the tolerance again by which the chords' extents, and so the block's origin, may miss the circle's.
 */
void ExpectOnCircle(const BlockData& block, double cx, double cy, double r)
{
    for (int i = 1; i <= block.PointCount; ++i)
        EXPECT_NEAR(std::hypot(block.PointX[i] * 1000 - cx, block.PointY[i] * 1000 - cy), r, 2.5) << i;
}

class GeneratedDxf : public testing::TestWithParam<const char*> {};

TEST_P(GeneratedDxf, ReadsEveryKindOfEntity)
{
    const DxfDrawing drawing = Read(std::string(GetParam()) + ".dxf");

    const DxfImport lines = Layers(drawing, {"LINE"});
    EXPECT_EQ(test::JoinsOf(lines.block), Chain({{0, 0}, {2000, 0}, {2000, 1000}}, kSolidLine));
    EXPECT_EQ(lines.counts.skipped.texts, 1);

    const std::vector<Place> rectangle = {{0, 0}, {3000, 0}, {3000, 2000}, {0, 2000}};
    EXPECT_EQ(test::JoinsOf(Layers(drawing, {"LWPOLY"}).block), Chain(rectangle, kSolidLine, true));
    EXPECT_EQ(test::JoinsOf(Layers(drawing, {"POLY2D"}).block), Chain({{0, 0}, {1000, 500}, {2000, 0}}, kSolidLine));

    const DxfImport arc = Layers(drawing, {"ARC"});
    EXPECT_EQ(arc.counts.chords, 18);
    EXPECT_EQ(arc.block.PointCount, 19);
    ExpectOnCircle(arc.block, 0, 0, 1000);
    const DxfImport circle = Layers(drawing, {"CIRCLE"});
    EXPECT_EQ(circle.counts.chords, 50);
    EXPECT_EQ(circle.block.PointCount, 50);
    EXPECT_EQ(circle.block.LineCount, 50);
    ExpectOnCircle(circle.block, 500, 500, 500);
    const DxfImport bulge = Layers(drawing, {"BULGE"});
    EXPECT_EQ(bulge.counts.chords, 36);
    ExpectOnCircle(bulge.block, 1000, 0, 1000);
    EXPECT_EQ(test::PlacesOf(bulge.block).count({1000, 1000}), 1u);  // clockwise: over the top
}

TEST_P(GeneratedDxf, PlacesNestedMirroredAndArrayedBlocksWithTheirLineTypes)
{
    const DxfDrawing drawing = Read(std::string(GetParam()) + ".dxf");
    // Turned a quarter and mirrored: (x, y) of the block NEST lands at (-y, -x) from the insertion.
    std::set<Join> turned = {
        Solid({2000, 4000}, {2000, 3000}), Solid({2000, 3000}, {1000, 3000}), Dotted({1000, 3000}, {1000, 4000}),
        Solid({1000, 4000}, {2000, 4000}), Solid({2000, 2000}, {2000, 0}),    Solid({2000, 0}, {0, 0}),
        Dotted({0, 0}, {0, 2000}),         Solid({0, 2000}, {2000, 2000}),
    };
    EXPECT_EQ(test::JoinsOf(Layers(drawing, {"A"}).block), turned);

    std::set<Join> hidden = Chain({{0, 0}, {1000, 0}, {1000, 1000}, {0, 1000}}, kDottedLine, true);
    hidden.merge(Chain({{2000, 0}, {4000, 0}, {4000, 2000}, {2000, 2000}}, kDottedLine, true));
    EXPECT_EQ(test::JoinsOf(Layers(drawing, {"HID"}).block), hidden);

    std::set<Join> ticks;
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column)
            ticks.insert(Solid({column * 1000, row * 500}, {column * 1000 + 100, row * 500}));
    }
    EXPECT_EQ(test::JoinsOf(Layers(drawing, {"M"}).block), ticks);
}

TEST_P(GeneratedDxf, NamesLayersAndLeavesOutHiddenOnesAndPaperSpace)
{
    const DxfDrawing drawing = Read(std::string(GetParam()) + ".dxf");
    std::set<std::string> names;
    for (const DxfLayer& layer : drawing.layers) {
        names.insert(layer.name);
        if (layer.name == "外形") {
            EXPECT_EQ(layer.entities, 1);
        }
        if (layer.name == "FROZEN" || layer.name == "OFF") {
            EXPECT_TRUE(layer.hidden());
            EXPECT_EQ(layer.entities, 0);
        }
    }
    EXPECT_TRUE(names.count("外形"));
    EXPECT_EQ(drawing.skipped.hiddenLayer, 2);
    EXPECT_GE(drawing.skipped.paperSpace, 1);
    EXPECT_EQ(test::JoinsOf(Layers(drawing, {"外形"}).block), Chain({{0, 0}, {500, 0}}, kSolidLine));
}

INSTANTIATE_TEST_SUITE_P(EveryVersion, GeneratedDxf,
                         testing::Values("R12", "R2000", "R2004", "R2007", "R2010", "R2013", "R2018"));

TEST(GeneratedDxfUnits, TakesTheFilesUnits)
{
    const struct {
        const char* file;
        long long millimetres;
    } cases[] = {{"UNITS-0.dxf", 100}, {"UNITS-1.dxf", 2540}, {"UNITS-5.dxf", 1000}, {"UNITS-6.dxf", 100000}};
    for (const auto& c : cases) {
        const DxfImport result = AssembleBlock(Read(c.file), {});
        EXPECT_EQ(test::PlacesOf(result.block), (std::set<Place>{{0, 0}, {c.millimetres, 0}})) << c.file;
    }
}

TEST(GeneratedDxfNames, DecodesCharactersTheCodePageCannotHold)
{
    const DxfDrawing drawing = Read("ESCAPED.dxf");
    EXPECT_TRUE(Layers(drawing, {"外形"}).ok());
}

}  // namespace
}  // namespace chokusho
