#pragma once

#include <QColor>
#include <QTableWidget>
#include <map>
#include <string>
#include <vector>

#include "Grid.h"

namespace chokusho {

/**
 * The dialogs' grid on a table widget. Row 0 of the Grid is the table's horizontal header,
 * so grid row r is table row r - 1; label columns ("No.") look like the header and take no
 * input. Editing works as in a spreadsheet: typing replaces a cell's text, Enter moves down,
 * Tab right (over read-only columns, on to the next row), Delete empties the selected cells,
 * F2 or a double click edits in place; Ctrl+C copies the selected cells (the whole table when
 * none is selected) and Ctrl+V pastes a spreadsheet's cells from the current one on.
 */
class QelGrid : public QTableWidget, public Grid {
    Q_OBJECT

public:
    QelGrid(const QString& objectName, QWidget* parent);

    /** Places the grid in its dialog; twips. */
    void place(int left, int top, int width, int height);
    /** Stores what is being typed into a cell, so that a reader finds it. */
    void commitPendingEdit();
    const std::string& gridName() const { return gridName_; }

    // Grid
    void SetDrawEnabled(bool enabled) override;
    void ClearGrid() override;
    int Rows() const override { return rowCount() + 1; }
    void SetRows(int rows) override;
    int Cols() const override { return columnCount(); }
    void SetCols(int cols) override;
    void SetFixedRowCount(int) override {}
    void SetFixedColCount(int cols) override;
    std::string CellText(int row, int col) const override;
    void SetCellText(int row, int col, const std::string& text) override;
    void SetRowText(int row, const std::string& line) override;
    int ColumnWidth(int col) const override;
    void SetColumnWidth(int col, int twips) override;
    void SetRowHeight(int twips) override;
    void SetGridStyle(GridStyle style) override { setShowGrid(style != GridStyle::NoLines); }
    void SetGridName(const std::string& name) override { gridName_ = name; }
    void ConfigureColumn(bool labels, int col) override;
    void SetColumnEditable(int col, bool editable) override;
    void SetRowBackColor(int row, std::uint32_t bgr) override;
    void SelectCell(int row, int col) override;
    int DataRows() const override;
    int RowPosition() const override;
    void SetRowPosition(int position) override;
    int Width() const override { return widthTwips_; }
    void SetWidth(int twips) override;
    int Left() const override { return leftTwips_; }
    void SetLeft(int twips) override;

    /** Moves the current cell as Enter (down), Tab (right) or Shift+Tab (left) do. */
    void moveAfterEntry(int key);

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool isLabelColumn(int col) const;
    bool isEditable(int col) const;
    /** Gives every cell an item with its column's flags and its row's colours. */
    void refreshCells();
    void clearSelectedCells();
    /** The value columns from `col` rightwards up to the first that takes no input. */
    std::vector<int> pasteColumns(int col) const;
    void copyCells() const;
    void pasteCells();

    std::vector<int> widthsTwips_;
    std::map<int, bool> labelColumns_;
    std::map<int, bool> editable_;
    std::map<int, QColor> rowColors_;
    int fixedCols_ = 0;
    int widthTwips_ = 0;
    int leftTwips_ = 0;
    std::string gridName_;
};

}  // namespace chokusho
