#include "PointTable.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "EditOperations.h"
#include "FakeGrid.h"
#include "Numbers.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using test::FakeGrid;
using Lines = std::vector<std::string>;

/** Three points whose coordinates the grid shows rounded, padded and negative; one segment. */
BlockData ThreePoints() { return test::Section({{0, 0}, {12.5, 1.0004}, {-3.25, 7}}, {{1, 3}}); }

/** A grid as FillPointGrid leaves it, then typed over: each line fills a row from column 0. */
FakeGrid Typed(const Lines& lines)
{
    FakeGrid grid;
    FillPointGrid(grid, BlockData{});
    for (std::size_t i = 0; i < lines.size(); ++i)
        grid.SetRowText(static_cast<int>(i) + 1, lines[i]);
    return grid;
}

Lines PointsOf(const BlockData& data)
{
    Lines out;
    for (int n = 1; n <= data.PointCount; ++n)
        out.push_back(FormatGrid(data.PointX[n]) + " " + FormatGrid(data.PointY[n]));
    return out;
}

TEST(PointTable, FillShowsEveryPointUnderItsHeadings)
{
    FakeGrid grid;
    grid.SetRowText(60, "junk\t1\t2");
    grid.writtenWhileDrawing = false;
    FillPointGrid(grid, ThreePoints());

    EXPECT_EQ(grid.Rows(), 101);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.fixedRows, 1);
    EXPECT_EQ(grid.fixedCols, 1);
    EXPECT_EQ(grid.CellText(0, 0) + "|" + grid.CellText(0, 1) + "|" + grid.CellText(0, 2), "No.|X (m)|Y (m)");
    EXPECT_EQ(grid.gridStyle, GridStyle::AllCells);
    EXPECT_EQ(grid.rowHeight, 250);
    EXPECT_EQ(grid.ColumnWidth(0), 500);
    EXPECT_EQ(grid.ColumnWidth(1), 1100);
    EXPECT_EQ(grid.ColumnWidth(2), 1100);
    EXPECT_EQ(grid.Width(), 3070);
    EXPECT_TRUE(grid.labelColumns.at(0));
    EXPECT_EQ(grid.gridName, "POINT");
    Lines rows = {"1\t0.000\t0.000", "2\t12.500\t1.000", "3\t-3.250\t7.000"};
    for (int row = 4; row <= kMaxPoints; ++row)
        rows.push_back(std::to_string(row) + "\t\t");  // row 60's leftovers are gone, its number stays
    EXPECT_EQ(grid.DataLines(), rows);
    EXPECT_TRUE(grid.drawing);
    EXPECT_FALSE(grid.writtenWhileDrawing);
}

TEST(PointTable, NumbersEveryRowItHoldsAndReadsOnlyThePoints)
{
    FakeGrid grid;
    FillPointGrid(grid, ThreePoints());
    for (int row = 1; row <= kMaxPoints; ++row)
        ASSERT_EQ(grid.CellText(row, 0), std::to_string(row)) << row;

    BlockData read;
    ReadPointGrid(grid, read);
    EXPECT_EQ(read.PointCount, 3) << "a numbered row without coordinates is no point";
    grid.SetCellText(4, 1, "8");
    grid.SetCellText(4, 2, "-12345.678");
    ReadPointGrid(grid, read);
    EXPECT_EQ(PointsOf(read), (Lines{"0.000 0.000", "12.500 1.000", "-3.250 7.000", "8.000 -12345.678"}));
}

TEST(PointTable, ReadsRowsUpToTheFirstWithoutCoordinates)
{
    struct Case {
        const char* what;
        Lines rows;
        Lines points;
    };
    // clang-format off
    const Case cases[] = {
        {"all rows", {"1\t1\t2", "2\t3\t4"}, {"1.000 2.000", "3.000 4.000"}},
        {"a blank row ends the list", {"1\t1\t2", "", "3\t5\t6"}, {"1.000 2.000"}},
        {"a numbered row without coordinates ends it", {"1\t1\t2", "2\t\t", "3\t5\t6"}, {"1.000 2.000"}},
        {"only X: Y reads -999", {"1\t1.5\t"}, {"1.500 -999.000"}},
        {"only Y: X reads -999", {"1\t\t2.5"}, {"-999.000 2.500"}},
        {"-999 typed in both cells ends it", {"1\t1\t2", "2\t-999\t-999", "3\t5\t6"}, {"1.000 2.000"}},
        {"text without a number reads 0, a leading number is used", {"1\tabc\t7m"}, {"0.000 7.000"}},
        {"column 0 is never read", {"x\t1\t2", "\t3\t4"}, {"1.000 2.000", "3.000 4.000"}},
        {"an input method's full-width forms", {"1\t５．５\t－１，２"}, {"5.500 -1.200"}},
        {"full-width blanks are an empty cell", {"1\t1\t2", "2\t　\t "}, {"1.000 2.000"}},
        {"an empty table", {}, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        FakeGrid grid = Typed(c.rows);
        BlockData data = ThreePoints();
        ReadPointGrid(grid, data);
        EXPECT_EQ(PointsOf(data), c.points) << c.what;
        for (int n = data.PointCount + 1; n <= 3; ++n)
            EXPECT_TRUE(data.PointX[n] == 0 && data.PointY[n] == 0) << c.what << ": slot " << n << " is empty";
        EXPECT_EQ(data.LineCount, 1) << c.what;
        EXPECT_TRUE(grid.drawing) << c.what;
    }
}

TEST(PointTable, HoldsAHundredPointsAndIgnoresRowsPastThem)
{
    test::BlockBuilder full;
    for (int n = 1; n <= kMaxPoints; ++n)
        full.point(n, -n);
    FakeGrid grid;
    FillPointGrid(grid, full);
    grid.SetRowText(101, "101\t5\t5");
    EXPECT_EQ(grid.DataRows(), 101);

    BlockData read;
    ReadPointGrid(grid, read);
    EXPECT_EQ(read.PointCount, kMaxPoints);
    EXPECT_EQ(read.PointX[100], 100);
    EXPECT_EQ(read.PointY[100], -100);
    EXPECT_EQ(read.PointX[0], 0) << "slot 0 stays empty";
}

TEST(PointTable, ConfirmingReadsThePointsIntoACopy)
{
    const BlockData current = ThreePoints();
    FakeGrid grid = Typed({"1\t1\t1"});
    const BlockData confirmed = ConfirmedPoints(grid, current);
    EXPECT_EQ(PointsOf(confirmed), Lines{"1.000 1.000"});
    BlockData rest = confirmed;
    rest.PointCount = current.PointCount;
    rest.PointX = current.PointX;
    rest.PointY = current.PointY;
    EXPECT_EQ(rest, current) << "only the points come from the table";
}

TEST(PointTable, ANumberTooLargeForARealIsNamedByItsCell)
{
    struct Case {
        const char* what;
        Lines rows;
        std::optional<std::pair<int, int>> cell;
        const char* message;
    };
    // clang-format off
    const Case cases[] = {
        {"every cell readable", {"1\t1\t2", "2\tabc\t", "3\t-1e300\t1e-400"}, std::nullopt, ""},
        {"X of the second row", {"1\t1\t2", "2\t1e400\t0"}, std::pair{2, 1}, "No.2 の X (m) の数値が大きすぎて扱えません。"},
        {"Y, led by a number", {"1\t1\t-2e308m"}, std::pair{1, 2}, "No.1 の Y (m) の数値が大きすぎて扱えません。"},
        {"X before Y", {"1\t1e999\t1e999"}, std::pair{1, 1}, "No.1 の X (m) の数値が大きすぎて扱えません。"},
        {"below the blank row nothing is read", {"1\t1\t2", "2\t\t", "3\t1e400\t0"}, std::nullopt, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        FakeGrid grid = Typed(c.rows);
        const std::optional<CellProblem> problem = CheckPointGrid(grid);
        ASSERT_EQ(problem.has_value(), c.cell.has_value()) << c.what;
        if (!problem)
            continue;
        EXPECT_EQ(std::pair(problem->row, problem->col), *c.cell) << c.what;
        EXPECT_EQ(problem->message, c.message) << c.what;
    }
}

}  // namespace
}  // namespace chokusho
