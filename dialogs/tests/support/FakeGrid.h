#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Grid.h"

namespace chokusho::test {

/** A grid held in memory; it records what the dialogs set so that the tests can look. */
class FakeGrid : public Grid {
public:
    void SetDrawEnabled(bool enabled) override;
    void ClearGrid() override;
    int Rows() const override { return rows_; }
    void SetRows(int rows) override { rows_ = rows; }
    int Cols() const override { return cols_; }
    void SetCols(int cols) override { cols_ = cols; }
    void SetFixedRowCount(int rows) override { fixedRows = rows; }
    void SetFixedColCount(int cols) override { fixedCols = cols; }
    std::string CellText(int row, int col) const override;
    void SetCellText(int row, int col, const std::string& text) override;
    void SetRowText(int row, const std::string& line) override;
    int ColumnWidth(int col) const override;
    void SetColumnWidth(int col, int twips) override { widths_[col] = twips; }
    void SetRowHeight(int twips) override { rowHeight = twips; }
    void SetGridStyle(GridStyle style) override { gridStyle = style; }
    void SetGridName(const std::string& name) override { gridName = name; }
    void ConfigureColumn(bool labels, int col) override { labelColumns[col] = labels; }
    void SetColumnEditable(int col, bool on) override { editableColumns[col] = on; }
    void SetRowBackColor(int row, std::uint32_t bgr) override { rowColors[row] = bgr; }
    void SelectCell(int row, int col) override { selectedCell = {row, col}; }
    int DataRows() const override;
    int RowPosition() const override { return rowPosition_; }
    void SetRowPosition(int position) override;
    int Width() const override { return width_; }
    void SetWidth(int twips) override { width_ = twips; }
    int Left() const override { return left_; }
    void SetLeft(int twips) override { left_ = twips; }

    /** The cells of rows 1..DataRows(), columns from `firstCol`, each row tab-joined. */
    std::vector<std::string> DataLines(int firstCol = 0) const;

    int fixedRows = -1, fixedCols = -1;
    int rowHeight = 0;
    GridStyle gridStyle = GridStyle::NoLines;
    std::string gridName;
    std::map<int, bool> labelColumns, editableColumns;
    std::map<int, std::uint32_t> rowColors;
    /** The cell last selected for the user to correct; (-1, -1) while none was. */
    std::pair<int, int> selectedCell{-1, -1};
    /** The farthest the rows can scroll; a real grid stops short of a position past its end. */
    int maxRowPosition = 1000;
    /** Whether drawing is on now, and whether anything was written while it was on. */
    bool drawing = true;
    bool writtenWhileDrawing = false;

private:
    void noteWrite();

    int rows_ = 2, cols_ = 2;
    std::map<std::pair<int, int>, std::string> cells_;
    std::map<int, int> widths_;
    int rowPosition_ = 0;
    int width_ = 0, left_ = 0;
};

}  // namespace chokusho::test
