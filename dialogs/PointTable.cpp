#include "PointTable.h"

#include <array>
#include <string>

#include "Numbers.h"

namespace chokusho {

namespace {

/** What an empty cell reads as; a row of two of them ends the list. */
constexpr double kBlank = -999;

constexpr const char* kColumnNames[3] = {"No.", "X (m)", "Y (m)"};

/** What a cell reads as: kBlank when empty, nullopt when its number is too large for a real. */
std::optional<double> ReadCell(const Grid& grid, int row, int col)
{
    const std::string text = TypedNumber(grid.CellText(row, col));
    return text.empty() ? std::optional<double>(kBlank) : ReadReal(text);
}

/**
 * Visits the rows that make up the point list, in order: `visit(row, x, y)` for each, up to the
 * first row whose two cells read as blank, and at most kMaxPoints rows; stops early when
 * `visit` returns false.
 */
template <class Visit>
void ForEachPointRow(const Grid& grid, Visit visit)
{
    const int rows = grid.DataRows();
    for (int row = 1, n = 1; row <= rows && n <= kMaxPoints; ++row, ++n) {
        const std::optional<double> x = ReadCell(grid, row, 1);
        const std::optional<double> y = ReadCell(grid, row, 2);
        if (x == kBlank && y == kBlank)
            return;
        if (!visit(row, x, y))
            return;
    }
}

}  // namespace

void FillPointGrid(Grid& grid, const BlockData& data)
{
    grid.SetDrawEnabled(false);
    grid.ClearGrid();
    grid.SetRows(kMaxPoints + 1);
    grid.SetCols(3);
    grid.SetFixedRowCount(1);
    grid.SetFixedColCount(1);
    grid.SetCellText(0, 0, "No.");
    grid.SetCellText(0, 1, "X (m)");
    grid.SetCellText(0, 2, "Y (m)");
    grid.SetGridStyle(GridStyle::AllCells);
    grid.SetRowHeight(250);
    constexpr std::array<int, 3> kWidths = {500, 1100, 1100};
    int width = kPointGridMargin;
    for (int col = 0; col < 3; ++col) {
        grid.SetColumnWidth(col, kWidths[col]);
        width += kWidths[col];
    }
    grid.ConfigureColumn(true, 0);
    grid.SetGridName("POINT");
    grid.SetWidth(width);
    // Every row the table holds shows its number, also the empty ones a new point is typed into.
    for (int i = 1; i <= kMaxPoints; ++i) {
        std::string row = FormatInteger(i);
        if (i <= data.PointCount) {
            // Appended piece by piece: GCC 12 at -O2 sees a false overlap in "\t" + string.
            row += '\t';
            row += FormatGrid(data.PointX[i]);
            row += '\t';
            row += FormatGrid(data.PointY[i]);
        }
        grid.SetRowText(i, row);
    }
    grid.SetDrawEnabled(true);
}

void ReadPointGrid(Grid& grid, BlockData& data)
{
    grid.SetDrawEnabled(false);
    int n = 1;
    ForEachPointRow(grid, [&](int, std::optional<double> x, std::optional<double> y) {
        // A number too large for a real is refused before reading; should one come here, it is 0.
        data.PointX[n] = x.value_or(0);
        data.PointY[n] = y.value_or(0);
        ++n;
        return true;
    });
    data.PointCount = static_cast<std::int16_t>(n - 1);
    // A shorter table leaves the slots of its former last points empty.
    for (; n <= kMaxPoints; ++n) {
        data.PointX[n] = 0;
        data.PointY[n] = 0;
    }
    grid.SetDrawEnabled(true);
}

std::optional<CellProblem> CheckPointGrid(const Grid& grid)
{
    std::optional<CellProblem> problem;
    ForEachPointRow(grid, [&](int row, std::optional<double> x, std::optional<double> y) {
        if (x && y)
            return true;
        const int col = x ? 2 : 1;
        problem = CellProblem{row, col,
                              "No." + FormatInteger(row) + " の " + kColumnNames[col] +
                                  " の数値が大きすぎて扱えません。"};
        return false;
    });
    return problem;
}

BlockData ConfirmedPoints(Grid& grid, const BlockData& current)
{
    BlockData data = current;
    ReadPointGrid(grid, data);
    return data;
}

}  // namespace chokusho
