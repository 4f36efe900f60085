#pragma once

#include <span>

#include "BlockData.h"
#include "Canvas.h"
#include "SectionShapes.h"
#include "ViewTransform.h"

namespace chokusho {

/** The display switches of the 表示 menu. */
struct DisplaySwitches {
    bool grid = false;          // グリッド, unticked at start
    bool pointNumbers = true;   // 点名表示, ticked at start
    bool sectionShade = false;  // 断面の塗り, unticked at start
};

/**
 * Rebuilds the whole picture: the section's material shaded while 断面の塗り is on (`region`,
 * the faces that ComputeSection found; their holes stay black), grid, segments, points with
 * numbers, centroid mark.
 */
void Picture1_Paint(Canvas& canvas, const BlockData& data, const ViewTransform& view, const DisplaySwitches& display,
                    std::span<const SectionPolygon> region = {});

/**
 * Draws point n's cross in `markerColor` and, while point numbers are shown, its number in
 * `textColor` one pixel below the point, with a blank before and after the digits.
 */
void Pnt_disp(Canvas& canvas, const BlockData& data, const ViewTransform& view, const DisplaySwitches& display, int n,
              PaletteColor markerColor, PaletteColor textColor);

}  // namespace chokusho
