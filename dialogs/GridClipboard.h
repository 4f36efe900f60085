#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Grid.h"

namespace chokusho {

/**
 * Cells moved between the dialogs' grids and a spreadsheet through the clipboard. A spreadsheet
 * puts a block of cells there as rows of tab-separated fields; text typed elsewhere may separate
 * them by commas or blanks instead. The grids copy their cells as a spreadsheet pastes them:
 * tab-separated rows, each ended by a line break.
 */

/** Rows of fields: a rectangle, shorter rows filled with empty fields. */
using CellBlock = std::vector<std::vector<std::string>>;

/**
 * The fields of `text`, one row per line (CR LF, LF or CR; the line break after the last row
 * ends it, it adds no row). Fields are separated by tabs where the text holds one, else by
 * half-width commas where it holds one, else by runs of blanks; blanks around a field and one
 * pair of double quotes around it go.
 */
CellBlock SplitCellText(std::string_view text);

/**
 * Pastes `text` into `grid` with its top-left field at data row `row` and the fields of each
 * row in `columns`, the value columns from the current one rightwards that take input. Every
 * field must be empty (the cell is emptied) or a number as the user may type it (full-width
 * forms taken); it is written as its ASCII form. The rows must fit in the grid's rows.
 *
 * Either everything is pasted and nullopt returned, or nothing is and the message says why:
 * the first cell whose text is not a number, named by its row and heading, or how many rows
 * or columns fit from here.
 */
[[nodiscard]] std::optional<std::string> PasteCells(Grid& grid, int row, const std::vector<int>& columns,
                                                    std::string_view text);

/** Cells (row, col) for rows `firstRow..lastRow` and `columns`, as tab-separated rows. */
std::string CopyCells(const Grid& grid, int firstRow, int lastRow, const std::vector<int>& columns);

/** The whole table's `columns`: CopyCells of data rows 1 to the last with text in one of them. */
std::string CopyTable(const Grid& grid, const std::vector<int>& columns);

}  // namespace chokusho
