#include "PointTable.h"

#include <array>
#include <string>

#include "EditOperations.h"
#include "Numbers.h"

namespace chokusho {

namespace {

/** What an empty cell reads as; a row of two of them ends the list. */
constexpr double kBlank = -999;

double ReadCell(const Grid& grid, int row, int col)
{
    const std::string text = grid.CellText(row, col);
    return text.empty() ? kBlank : ReadReal(text).value_or(0);
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
    grid.SetGridStyle(4);
    grid.SetRowHeight(250);
    constexpr std::array<int, 3> kWidths = {500, 1100, 1100};
    int width = kPointGridMargin;
    for (int col = 0; col < 3; ++col) {
        grid.SetColumnWidth(col, kWidths[static_cast<std::size_t>(col)]);
        width += kWidths[static_cast<std::size_t>(col)];
    }
    grid.ConfigureColumn(true, 0);
    grid.SetGridName("POINT");
    grid.SetWidth(width);
    for (int i = 1; i <= data.PointCount && i <= kMaxPoints; ++i)
        grid.SetRowText(i, FormatInteger(i) + "\t" + FormatGrid(data.PointX[i]) + "\t" + FormatGrid(data.PointY[i]));
    grid.SetDrawEnabled(true);
}

void ReadPointGrid(Grid& grid, BlockData& data)
{
    grid.SetDrawEnabled(false);
    int n = 1;
    const int rows = grid.DataRows();
    for (int row = 1; row <= rows && n <= kMaxPoints; ++row) {
        const double x = ReadCell(grid, row, 1);
        const double y = ReadCell(grid, row, 2);
        if (x == kBlank && y == kBlank)
            break;
        data.PointX[n] = x;
        data.PointY[n] = y;
        ++n;
    }
    data.PointCount = static_cast<std::int16_t>(n - 1);
    grid.SetDrawEnabled(true);
}

void ConfirmPointTable(DocumentState& state, Grid& grid)
{
    PushUndo(state, undo_label::kEditPoints);
    ReadPointGrid(grid, state.CurData);
}

}  // namespace chokusho
