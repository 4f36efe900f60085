#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace chokusho {

/** The lines of a grid, by the numbers of the maker's grid control. */
enum class GridStyle { NoLines = 0, AllCells = 4 };

/**
 * A grid of text cells as the dialogs fill and read it: the point table's QelGP and the
 * block parameters' QelGV and QelGV1. The widget layer implements it on a table widget, the
 * tests in memory.
 *
 * Rows and columns count from 0. Row 0 is the heading row; the data rows are 1..Rows()-1.
 * Column 0 of a grid with one fixed column holds the row labels ("No."). Sizes and places are
 * in twips (1/1440 inch).
 *
 * No row written is lost: writing a cell or a row at or past Rows() adds rows up to it, so a
 * record with more rows than the grid was sized for comes back whole from DataRows().
 */
class Grid {
public:
    virtual ~Grid() = default;

    /** false before a batch of changes or reads, true after: the grid is drawn once, at the end. */
    virtual void SetDrawEnabled(bool enabled) = 0;
    /** Empties every cell, headings included, and takes back the row colours; sizes stay. */
    virtual void ClearGrid() = 0;

    /** Number of rows, the heading row included. */
    virtual int Rows() const = 0;
    virtual void SetRows(int rows) = 0;
    virtual int Cols() const = 0;
    virtual void SetCols(int cols) = 0;
    /** Heading rows at the top: always 1. */
    virtual void SetFixedRowCount(int rows) = 0;
    /** Label columns at the left, drawn like the heading and never edited: 0 or 1. */
    virtual void SetFixedColCount(int cols) = 0;

    /** The text of a cell; empty when blank or outside the grid. */
    virtual std::string CellText(int row, int col) const = 0;
    virtual void SetCellText(int row, int col, const std::string& text) = 0;
    /** Fills the row's cells from column 0 on with the tab-separated fields of `line`. */
    virtual void SetRowText(int row, const std::string& line) = 0;

    virtual int ColumnWidth(int col) const = 0;
    virtual void SetColumnWidth(int col, int twips) = 0;
    /** Height of every row, the heading's included. */
    virtual void SetRowHeight(int twips) = 0;
    virtual void SetGridStyle(GridStyle style) = 0;
    virtual void SetGridName(const std::string& name) = 0;
    /** true: column `col` holds labels (centred, never edited); false: it holds values. */
    virtual void ConfigureColumn(bool labels, int col) = 0;
    /** Whether the user may type into column `col`; value columns may by default. */
    virtual void SetColumnEditable(int col, bool editable) = 0;
    /** Background of data row `row`, as 0xBBGGRR. */
    virtual void SetRowBackColor(int row, std::uint32_t bgr) = 0;

    /**
     * Makes data cell (row, col) the current one, in sight, with the keyboard focus in the grid:
     * where the user is to correct what the dialog could not take.
     */
    virtual void SelectCell(int row, int col) = 0;

    /** The last row holding any text (0 when none does): a reader loops over rows 1..DataRows(). */
    virtual int DataRows() const = 0;

    /** Data rows scrolled out of sight above the shown ones; 0 at the top. */
    virtual int RowPosition() const = 0;
    virtual void SetRowPosition(int position) = 0;
    /** Raised with the new RowPosition whenever the shown rows move, by the user or the program. */
    std::function<void(int position)> RowPositionChanged;

    // --- the grid as a control of its dialog
    virtual int Width() const = 0;
    virtual void SetWidth(int twips) = 0;
    virtual int Left() const = 0;
    virtual void SetLeft(int twips) = 0;
};

}  // namespace chokusho
