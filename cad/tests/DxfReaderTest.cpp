#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

#include "DxfImport.h"
#include "DxfReader.h"
#include "DxfTestSupport.h"

namespace chokusho {
namespace {

using test::DxfFrom;
using test::DxfWithEntities;

constexpr const char* kLine = "0 LINE\n8 A\n10 0\n20 0\n11 1000\n21 0";

TEST(DxfReader, RefusesWhatIsNoReadableDxf)
{
    const std::string whole = DxfWithEntities(kLine);
    const struct {
        const char* what;
        std::string bytes;
        DxfFailure failure;
        int line;
    } cases[] = {
        {"empty", "", DxfFailure::NotDxf, 0},
        {"text", "Hello,\nworld\n", DxfFailure::NotDxf, 0},
        {"a spreadsheet", "1,2\n3,4\n", DxfFailure::NotDxf, 0},
        {"binary", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22) + "\x01\x02", DxfFailure::Binary, 0},
        {"DWG", "AC1018\0\0\0\0\0\x01", DxfFailure::Dwg, 0},
        {"no EOF", whole.substr(0, whole.size() - 6), DxfFailure::Truncated, 0},
        {"cut inside the entities", whole.substr(0, 40), DxfFailure::Truncated, 0},
        {"cut after a code", DxfFrom("0 SECTION\n2 ENTITIES") + "0\n", DxfFailure::Truncated, 0},
        {"garbage inside", DxfFrom("0 SECTION\n2 ENTITIES\n0 LINE") + "zz\n1\n", DxfFailure::NotDxf, 7},
        {"a second SECTION missing", DxfFrom("0 SECTION\n2 HEADER\n0 ENDSEC\n0 LINE\n0 EOF"), DxfFailure::NotDxf, 7},
        {"nan", DxfWithEntities("0 LINE\n10 nan"), DxfFailure::BadNumber, 7},
        {"inf", DxfWithEntities("0 LINE\n10 0\n20 -inf"), DxfFailure::BadNumber, 9},
        {"overflow", DxfWithEntities("0 LINE\n10 1e999"), DxfFailure::BadNumber, 7},
        {"a comma", DxfWithEntities("0 ARC\n40 1,5"), DxfFailure::BadNumber, 7},
        {"empty number", DxfWithEntities("0 LWPOLYLINE\n10 "), DxfFailure::BadNumber, 7},
    };
    for (const auto& c : cases) {
        const DxfReadResult result = ReadDxf(c.bytes);
        EXPECT_EQ(result.failure, c.failure) << c.what;
        EXPECT_EQ(result.line, c.line) << c.what;
        EXPECT_FALSE(DxfReadFailureText(result).empty()) << c.what;
    }
    EXPECT_TRUE(ReadDxf(whole).ok());
}

TEST(DxfReader, SaysWhatToDoWithBinaryAndDwgAndWhereANumberIsWrong)
{
    const auto text = [](DxfFailure failure, int line = 0) {
        DxfReadResult result;
        result.failure = failure;
        result.line = line;
        return DxfReadFailureText(result);
    };
    EXPECT_NE(text(DxfFailure::Dwg).find("DXF"), std::string::npos);
    EXPECT_NE(text(DxfFailure::Binary).find("ASCII"), std::string::npos);
    EXPECT_NE(text(DxfFailure::BadNumber, 12).find("12 行目"), std::string::npos);
}

TEST(DxfReader, ReadsPairsWhateverTheLineEndsAndBlanks)
{
    const std::string pairs =
        "0 SECTION\n2 ENTITIES\n999 a comment\n0 LINE\n8 A\n10 +1.5\n20 2\n11 3e3\n21 -4.\n0 ENDSEC\n0 EOF";
    std::string padded;
    for (char c : DxfFrom(pairs, "\r\n"))
        padded += c == '\r' ? std::string(" \t\r") : std::string(1, c);
    for (const std::string& bytes : {DxfFrom(pairs), DxfFrom(pairs, "\r\n"), "  " + padded}) {
        const DxfReadResult result = ReadDxf(bytes);
        ASSERT_TRUE(result.ok()) << static_cast<int>(result.failure);
        ASSERT_EQ(result.drawing.lines.size(), 1u);
        const DxfLine& line = result.drawing.lines[0];
        EXPECT_EQ(line.x1, 1.5);
        EXPECT_EQ(line.y1, 2);
        EXPECT_EQ(line.x2, 3000);
        EXPECT_EQ(line.y2, -4);
        EXPECT_EQ(result.drawing.layers[static_cast<std::size_t>(line.layer)].name, "A");
    }
}

TEST(DxfReader, DecodesLayerNamesByVersionAndCodePage)
{
    const struct {
        const char* version;
        const char* codePage;
        std::string name;
        const char* utf8;
    } cases[] = {
        {"AC1015", "ANSI_932", "\x8A\x4F\x8C\x60", "外形"},
        {"AC1009", "ansi_932", "\x83\x5C", "ソ"},  // a second byte that is a backslash
        {"AC1015", "ANSI_1252", "\xC4\x80", "Ä€"},
        {"AC1018", "ANSI_1252", "\\U+5916\\U+5F62", "外形"},
        {"AC1021", "ANSI_932", "外形", "外形"},
        {"AC1032", "ANSI_1252", "A\\U+00e9", "Aé"},
        {"AC1015", "ANSI_1251", "外形", "外形"},
        {"AC1015", "ANSI_1251", "\\U+zzzz", "\\U+zzzz"},
        {"AC1009", "", "\x8A\x4F\x8C\x60", "外形"},  // no code page, as Jw_cad writes
    };
    for (const auto& c : cases) {
        const std::string header = std::string("0 SECTION\n2 HEADER\n9 $ACADVER\n1 ") + c.version +
                                   "\n9 $DWGCODEPAGE\n3 " + c.codePage + "\n0 ENDSEC";
        const DxfReadResult result = ReadDxf(
            DxfWithEntities("0 LINE\n8 " + c.name + "\n10 0\n20 0\n11 1\n21 0", header));
        ASSERT_TRUE(result.ok()) << c.utf8;
        const DxfLine& line = result.drawing.lines.at(0);
        EXPECT_EQ(result.drawing.layers[static_cast<std::size_t>(line.layer)].name, c.utf8) << c.version << c.codePage;
    }
}

/** A file with line types, layers and blocks before its entities. */
std::string WithTables(const std::string& entities, const std::string& blocks = "")
{
    const std::string tables =
        "0 SECTION\n2 TABLES\n"
        "0 TABLE\n2 LTYPE\n70 3\n"
        "0 LTYPE\n2 CONTINUOUS\n72 65\n73 0\n40 0\n"
        "0 LTYPE\n2 MYGAPS\n73 2\n40 7.5\n49 5\n49 -2.5\n"
        "0 LTYPE\n2 Solidish\n73 1\n40 5\n49 5\n"
        "0 ENDTAB\n"
        "0 TABLE\n2 LAYER\n70 5\n"
        "0 LAYER\n2 0\n70 0\n62 7\n6 CONTINUOUS\n"
        "0 LAYER\n2 SOLID\n70 0\n62 7\n6 CONTINUOUS\n"
        "0 LAYER\n2 GAPS\n70 0\n62 7\n6 mygaps\n"
        "0 LAYER\n2 FROZEN\n70 1\n62 7\n"
        "0 LAYER\n2 OFF\n70 0\n62 -7\n"
        "0 ENDTAB\n0 ENDSEC\n";
    return DxfWithEntities(entities, tables + "0 SECTION\n2 BLOCKS\n" + blocks + "\n0 ENDSEC");
}

std::string LineOn(const std::string& layer, const std::string& lineType = "")
{
    return "0 LINE\n8 " + layer + (lineType.empty() ? "" : "\n6 " + lineType) + "\n10 0\n20 0\n11 1\n21 0\n";
}

TEST(DxfReader, ResolvesLineTypesThroughLayersAndPatterns)
{
    const struct {
        std::string entity;
        bool dotted;
    } cases[] = {
        {LineOn("SOLID"), false},
        {LineOn("GAPS"), true},  // BYLAYER: the layer's type has a gap
        {LineOn("SOLID", "BYLAYER"), false},
        {LineOn("SOLID", "MYGAPS"), true},    // the table's pattern has a gap
        {LineOn("GAPS", "Solidish"), false},  // a pattern of dashes only
        {LineOn("SOLID", "HIDDEN2"), true},   // a name of the dashed family, not in the table
        {LineOn("SOLID", "dashdotx2"), true},
        {LineOn("SOLID", "DASHEDLINE"), false},  // a name like one, but not of the family
        {LineOn("SOLID", "ZIGZAG"), false},      // unknown, no pattern
        {LineOn("SOLID", "BYBLOCK"), false},     // outside any block: continuous
        {LineOn("UNLISTED"), false},             // a layer the table does not have
    };
    for (const auto& c : cases) {
        const DxfReadResult result = ReadDxf(WithTables(c.entity));
        ASSERT_TRUE(result.ok()) << c.entity;
        ASSERT_EQ(result.drawing.lines.size(), 1u) << c.entity;
        EXPECT_EQ(result.drawing.lines[0].dotted, c.dotted) << c.entity;
    }
}

TEST(DxfReader, CountsWhatItLeavesOut)
{
    const std::string entities =
        LineOn("SOLID") + LineOn("FROZEN") + LineOn("OFF") +
        "0 LINE\n8 SOLID\n67 1\n10 0\n20 0\n11 1\n21 0\n"
        "0 TEXT\n8 SOLID\n10 0\n20 0\n40 2.5\n1 hello\n"
        "0 MTEXT\n8 SOLID\n1 hello\n0 DIMENSION\n8 SOLID\n"
        "0 SPLINE\n8 SOLID\n0 POINT\n8 SOLID\n10 0\n20 0\n"
        "0 POLYLINE\n8 SOLID\n66 1\n70 8\n0 VERTEX\n10 0\n20 0\n0 VERTEX\n10 1\n20 1\n0 SEQEND\n"
        "0 INSERT\n8 FROZEN\n2 ANY\n10 0\n20 0\n";
    const DxfReadResult result = ReadDxf(
        WithTables(entities, "0 BLOCK\n2 ANY\n10 0\n20 0\n" + LineOn("0") + "0 ENDBLK\n"));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.drawing.lines.size(), 1u);
    const DxfSkipCounts& skipped = result.drawing.skipped;
    EXPECT_EQ(skipped.paperSpace, 1);
    EXPECT_EQ(skipped.hiddenLayer, 3);
    EXPECT_EQ(skipped.texts, 3);
    EXPECT_EQ(skipped.otherKinds, 3);  // the spline, the point, the 3D polyline
    for (const DxfLayer& layer : result.drawing.layers)
        EXPECT_EQ(layer.entities, layer.name == "SOLID" ? 1 : 0) << layer.name;
}

TEST(DxfReader, PlacesBlocksWithTheirLayerAndLineTypeInside)
{
    // ROW holds CELL twice: once as is, once turned a quarter; CELL is one line on layer 0 in
    // BYBLOCK and one on layer SOLID.
    const std::string blocks =
        "0 BLOCK\n2 CELL\n10 100\n20 0\n"
        "0 LINE\n8 0\n6 BYBLOCK\n10 100\n20 0\n11 200\n21 0\n"
        "0 LINE\n8 SOLID\n10 100\n20 0\n11 100\n21 50\n0 ENDBLK\n"
        "0 BLOCK\n2 ROW\n10 0\n20 0\n"
        "0 INSERT\n2 CELL\n10 0\n20 0\n6 BYBLOCK\n"
        "0 INSERT\n2 CELL\n10 1000\n20 0\n50 90\n6 BYBLOCK\n0 ENDBLK\n";
    const std::string entities = "0 INSERT\n8 GAPS\n2 ROW\n10 0\n20 5000\n41 -2\n42 2\n";
    const DxfReadResult result = ReadDxf(WithTables(entities, blocks));
    ASSERT_TRUE(result.ok());
    struct Seen {
        double x1, y1, x2, y2;
        std::string layer;
        bool dotted;
    };
    std::vector<Seen> seen;
    for (const DxfLine& l : result.drawing.lines)
        seen.push_back(
            {l.x1, l.y1, l.x2, l.y2, result.drawing.layers[static_cast<std::size_t>(l.layer)].name, l.dotted});
    ASSERT_EQ(seen.size(), 4u);
    // Mirrored and doubled by the outer insertion: x' = -2 x, y' = 2 y + 5000.
    const Seen expected[] = {
        {0, 5000, -200, 5000, "GAPS", true},       // layer 0 and BYBLOCK: the insertion's
        {0, 5000, 0, 5100, "SOLID", false},        // its own layer and line type
        {-2000, 5000, -2000, 5200, "GAPS", true},  // turned a quarter about (1000, 0)
        {-2000, 5000, -1900, 5000, "SOLID", false},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(seen[i].x1, expected[i].x1, 1e-9) << i;
        EXPECT_NEAR(seen[i].y1, expected[i].y1, 1e-9) << i;
        EXPECT_NEAR(seen[i].x2, expected[i].x2, 1e-9) << i;
        EXPECT_NEAR(seen[i].y2, expected[i].y2, 1e-9) << i;
        EXPECT_EQ(seen[i].layer, expected[i].layer) << i;
        EXPECT_EQ(seen[i].dotted, expected[i].dotted) << i;
    }
}

TEST(DxfReader, RefusesBlocksThatUnfoldBeyondReason)
{
    const std::string self = "0 BLOCK\n2 SELF\n" + LineOn("0") + "0 INSERT\n2 SELF\n10 1\n20 0\n0 ENDBLK\n";
    EXPECT_EQ(ReadDxf(WithTables("0 INSERT\n2 SELF\n", self)).failure, DxfFailure::TooComplex);

    // Each level holds the next ten times over: 10^7 lines from a few hundred bytes.
    std::string nested = "0 BLOCK\n2 B0\n" + LineOn("0") + "0 ENDBLK\n";
    for (int level = 1; level <= 7; ++level) {
        nested += "0 BLOCK\n2 B" + std::to_string(level) + "\n";
        nested += "0 INSERT\n2 B" + std::to_string(level - 1) + "\n70 10\n44 1\n";
        nested += "0 ENDBLK\n";
    }
    EXPECT_EQ(ReadDxf(WithTables("0 INSERT\n2 B7\n", nested)).failure, DxfFailure::TooComplex);
    EXPECT_EQ(ReadDxf(WithTables("0 INSERT\n2 B0\n70 32767\n71 32767\n", nested)).failure, DxfFailure::TooComplex);

    const DxfReadResult array = ReadDxf(WithTables("0 INSERT\n2 B0\n70 3\n71 2\n44 10\n45 20\n", nested));
    ASSERT_TRUE(array.ok());
    EXPECT_EQ(array.drawing.lines.size(), 6u);
    EXPECT_EQ(array.drawing.lines.back().x1, 20);
    EXPECT_EQ(array.drawing.lines.back().y1, 20);
}

TEST(DxfReader, ReadsArcsCirclesAndBulgesTurnedOverByTheirExtrusion)
{
    const std::string entities =
        "0 ARC\n8 A\n10 10\n20 0\n40 5\n50 0\n51 90\n230 -1\n"
        "0 CIRCLE\n8 A\n10 0\n20 0\n40 2\n"
        "0 LWPOLYLINE\n8 A\n90 2\n70 1\n10 0\n20 0\n42 1\n10 4\n20 0\n42 1\n"
        "0 POLYLINE\n8 A\n66 1\n10 0\n20 0\n70 0\n"
        "0 VERTEX\n10 0\n20 0\n42 -1\n0 VERTEX\n10 2\n20 0\n0 SEQEND\n";
    const DxfReadResult result = ReadDxf(DxfWithEntities(entities));
    ASSERT_TRUE(result.ok());
    const auto& arcs = result.drawing.arcs;
    ASSERT_EQ(arcs.size(), 5u);
    // Seen from below, the arc's centre lies at x = -10 and it runs clockwise.
    EXPECT_EQ(arcs[0].placement.x(arcs[0].cx, arcs[0].cy), -10);
    EXPECT_NEAR(arcs[0].sweep, std::numbers::pi / 2, 1e-12);
    EXPECT_NEAR(arcs[1].sweep, 2 * std::numbers::pi, 1e-12);
    // Two half circles of the closed polyline: centres (2, 0) and back, radius 2.
    for (int i : {2, 3}) {
        EXPECT_NEAR(arcs[i].cx, 2, 1e-12);
        EXPECT_NEAR(arcs[i].cy, 0, 1e-12);
        EXPECT_NEAR(arcs[i].r, 2, 1e-12);
        EXPECT_NEAR(arcs[i].sweep, std::numbers::pi, 1e-12);
    }
    // A negative bulge runs clockwise: from (0, 0) over (1, 1) to (2, 0).
    EXPECT_NEAR(arcs[4].cx, 1, 1e-12);
    EXPECT_NEAR(arcs[4].sweep, -std::numbers::pi, 1e-12);
    EXPECT_NEAR(arcs[4].start, std::numbers::pi, 1e-12);
    EXPECT_TRUE(result.drawing.lines.empty());
}

}  // namespace
}  // namespace chokusho
