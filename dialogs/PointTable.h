#pragma once

#include <optional>
#include <string>

#include "BlockData.h"
#include "DocumentState.h"
#include "Grid.h"

namespace chokusho {

/**
 * The point table FrmEditPnt, without its widgets: the block's points as rows of a grid
 * (No., X, Y), typed over and confirmed as a whole.
 *
 *   load      FillPointGrid(QelGP, CurData)
 *   登  録    CheckPointGrid(QelGP): a problem is shown and its cell selected, the table stays
 *             open; else ConfirmedPoints(QelGP, CurData) is the result; close, confirmed
 *   ｷｬﾝｾﾙ     close; nothing changes
 *
 * The dialog changes nothing itself: the caller records the undo snapshot, takes the points and
 * joins the segments to them.
 */

inline constexpr const char* kPointTableCaption = "構成点編集";
inline constexpr const char* kPointTableHint = "外側４隅の点を右回りで最初に登録して下さい。";

/** Width of QelGP beyond its columns: the vertical scroll bar and the frame. */
inline constexpr int kPointGridMargin = 370;

/**
 * Sizes the grid for 100 points, numbers every one of its rows in column 0 and writes the
 * record's points into rows 1..PointCount.
 */
void FillPointGrid(Grid& grid, const BlockData& data);

/**
 * Reads the points back from rows 1..DataRows(): a blank cell reads as -999, and the first row
 * whose two cells both read -999 ends the list. Column 0 (No.) is never read, and rows past the
 * 100th are ignored. Sets PointCount; the segments are left as they were.
 */
void ReadPointGrid(Grid& grid, BlockData& data);

/** A cell the dialog cannot take as typed: where it is and what to tell the user. */
struct CellProblem {
    int row = 0;
    int col = 0;
    std::string message;
};

/**
 * The first cell, among those ReadPointGrid would read, holding a number too large for a real;
 * nullopt when all can be read. Such a number is never stored as anything else.
 */
[[nodiscard]] std::optional<CellProblem> CheckPointGrid(const Grid& grid);

/** 登  録: a copy of `current` whose points are the grid's. */
BlockData ConfirmedPoints(Grid& grid, const BlockData& current);

}  // namespace chokusho
