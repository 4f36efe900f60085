#pragma once

#include "BlockData.h"
#include "Canvas.h"
#include "ViewTransform.h"

namespace chokusho {

/** The two display switches of the 表示 menu. */
struct DisplaySwitches {
    bool grid = false;         // グリッド, unticked at start
    bool pointNumbers = true;  // 点名表示, ticked at start
};

/** Rebuilds the whole picture: grid, segments, points with numbers, centroid mark. */
void Picture1_Paint(Canvas& canvas, const BlockData& data, const ViewTransform& view, const DisplaySwitches& display);

/**
 * Draws point n's cross in `markerColor` and, while point numbers are shown, its number in
 * `textColor` one pixel below the point, with a blank before and after the digits.
 */
void Pnt_disp(Canvas& canvas, const BlockData& data, const ViewTransform& view, const DisplaySwitches& display, int n,
              PaletteColor markerColor, PaletteColor textColor);

}  // namespace chokusho
