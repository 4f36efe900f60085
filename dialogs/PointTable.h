#pragma once

#include "BlockData.h"
#include "DocumentState.h"
#include "Grid.h"

namespace chokusho {

/**
 * The point table FrmEditPnt, without its widgets: the block's points as rows of a grid
 * (No., X, Y), typed over and confirmed as a whole.
 *
 *   load      FillPointGrid(QelGP, CurData)
 *   登  録    ConfirmPointTable(state, QelGP); close, confirmed
 *   ｷｬﾝｾﾙ     close; nothing changes
 *
 * The segments are not touched here: the caller joins them to the new points afterwards.
 */

inline constexpr const char* kPointTableCaption = "構成点編集";
inline constexpr const char* kPointTableHint = "外側４隅の点を右回りで最初に登録して下さい。";

/** Width of QelGP beyond its columns: the vertical scroll bar and the frame. */
inline constexpr int kPointGridMargin = 370;

/** Sizes the grid for 100 points and writes the record's points into rows 1..PointCount. */
void FillPointGrid(Grid& grid, const BlockData& data);

/**
 * Reads the points back from rows 1..DataRows(): a blank cell reads as -999, and the first row
 * whose two cells both read -999 ends the list. Column 0 (No.) is never read, and rows past the
 * 100th are ignored. Sets PointCount; the segments are left as they were.
 */
void ReadPointGrid(Grid& grid, BlockData& data);

/** 登  録: snapshots CurData for undo ("点編集"), then reads the grid into it. */
void ConfirmPointTable(DocumentState& state, Grid& grid);

}  // namespace chokusho
