#include "GridClipboard.h"

#include <gtest/gtest.h>

#include "BlockData.h"
#include "FakeGrid.h"
#include "PointTable.h"

namespace chokusho {
namespace {

TEST(SplitCellText, ReadsTabsCommasOrBlanksAsSpreadsheetsAndEditorsWriteThem)
{
    const struct {
        const char* text;
        CellBlock cells;
    } cases[] = {
        // A spreadsheet's block: tabs, CR LF, a line break after the last row, an empty cell.
        {"1.5\t2\r\n\t-3\r\n", {{"1.5", "2"}, {"", "-3"}}},
        {"1,2\n3,4", {{"1", "2"}, {"3", "4"}}},
        // Full-width forms stay for the reader of numbers; a full-width comma is no separator.
        {"  １．５　 ２，５ \r３", {{"１．５", "２，５"}, {"３", ""}}},
        {"\"1,5\"\t\" 2 \"\n", {{"1,5", "2"}}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCellText(c.text), c.cells) << c.text;
}

class GridClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BlockData data;
        data.PointCount = 2;
        data.PointX[1] = 1;
        data.PointY[1] = 2;
        data.PointX[2] = 3;
        data.PointY[2] = 4;
        FillPointGrid(grid, data);
    }
    test::FakeGrid grid;
    const std::vector<int> xy{1, 2};
};

TEST_F(GridClipboardTest, PastesNumbersFromTheCurrentCellAndTheTableReadsThem)
{
    ASSERT_EQ(PasteCells(grid, 2, xy, "５．２５\t-1\r\n7\t8e-1\r\n"), std::nullopt);
    BlockData data;
    ReadPointGrid(grid, data);
    EXPECT_EQ(data.PointCount, 3);
    EXPECT_EQ(data.PointX[1], 1);
    EXPECT_EQ(data.PointX[2], 5.25);
    EXPECT_EQ(data.PointY[2], -1);
    EXPECT_EQ(data.PointX[3], 7);
    EXPECT_EQ(data.PointY[3], 0.8);
}

TEST_F(GridClipboardTest, RefusesWholeWhatDoesNotFitOrIsNoNumber)
{
    const std::vector<std::string> before = grid.DataLines(1);
    const auto problem = PasteCells(grid, 1, xy, "9\t9\n9\tabc\n");
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("No.2 の Y (m)"), std::string::npos) << *problem;
    EXPECT_NE(problem->find("「abc」"), std::string::npos) << *problem;
    EXPECT_EQ(grid.DataLines(1), before);

    std::string hundredRows;
    for (int i = 0; i < kMaxPoints; ++i)
        hundredRows += "1\t1\n";
    ASSERT_EQ(PasteCells(grid, 1, xy, hundredRows), std::nullopt);
    const std::vector<std::string> full = grid.DataLines(1);
    const auto rows = PasteCells(grid, 2, xy, hundredRows);
    ASSERT_TRUE(rows);
    EXPECT_NE(rows->find("99 行まで"), std::string::npos) << *rows;
    const auto columns = PasteCells(grid, 1, {2}, "1\t2\n");
    ASSERT_TRUE(columns);
    EXPECT_NE(columns->find("1 列まで"), std::string::npos) << *columns;
    EXPECT_EQ(grid.DataLines(1), full);
}

TEST_F(GridClipboardTest, CopiedCellsPasteBackAsTheyWere)
{
    const std::string text = CopyTable(grid, xy);
    EXPECT_EQ(text, "1.000\t2.000\n3.000\t4.000\n");
    ASSERT_EQ(PasteCells(grid, 3, xy, text), std::nullopt);
    EXPECT_EQ(CopyCells(grid, 3, 4, xy), text);
}

}  // namespace
}  // namespace chokusho
