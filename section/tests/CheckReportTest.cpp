// The forms in which "chokusho --check" reports a block: its CSV row and the fields of a file name.

#include <gtest/gtest.h>

#include "CheckReport.h"
#include "SectionTestShapes.h"

namespace chokusho {
namespace {

TEST(CheckReport, CsvFieldsQuoteWhatWouldSplitThem)
{
    const struct {
        const char* text;
        const char* field;
    } cases[] = {
        {"blocks/A-40.csv", "blocks/A-40.csv"},
        {"a,b.csv", "\"a,b.csv\""},
        {"say \"x\".csv", "\"say \"\"x\"\".csv\""},
        {"two\nlines.csv", "\"two\nlines.csv\""},
        {"消波,A.csv", "\"消波,A.csv\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CsvField(c.text), c.field);
}

TEST(CheckReport, ARowHoldsTheFiguresAndTheKinds)
{
    // A 4 x 3 rectangle, Ｌ 2, entered V 20 (computed 24) and layers adding up to 19.
    const BlockData block =
        test::Rings({{{10, 5}, {14, 5}, {14, 8}, {10, 8}}}).size(4, 3, 2, 20).centroid(2, 1.5).layer(1, 9).layer(3, 10);
    EXPECT_EQ(CheckCsvRow("a.csv", block, ComputeSection(block)),
              "a.csv,12.0000,2.0000,1.5000,24.0000,20.0000,2.0000,1.5000,19.0000,layer-sum;volume-differs");
    // Without Ｌ and without layers those fields stay empty.
    const BlockData bare = test::Rings({{{0, 0}, {4, 0}, {4, 3}, {0, 3}}}).centroid(2, 1.5);
    EXPECT_EQ(CheckCsvRow("b.csv", bare, ComputeSection(bare)), "b.csv,12.0000,2.0000,1.5000,,0.0000,2.0000,1.5000,,no-length");
    EXPECT_EQ(UnreadableCsvRow("c,d.csv"), "\"c,d.csv\",,,,,,,,,unreadable");
}

}  // namespace
}  // namespace chokusho
