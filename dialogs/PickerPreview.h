#pragma once

#include "BlockData.h"
#include "Canvas.h"

namespace chokusho {

/**
 * Draws the picker's preview of `data`: its segments in white, dotted ones dotted, fitted to
 * the preview with a margin of half a unit of the block's own length all round and centred.
 * Points and the centroid are left out; the preview shows the outline only.
 *
 * `width` and `height` are the preview's inner size in the canvas's units. A block with no
 * extent to fit, or a preview with no area, is only cleared. Coordinates beyond the int range
 * are clamped, so a degenerate block cannot overflow.
 */
void DrawPickerPreview(Canvas& canvas, const BlockData& data, double width, double height);

}  // namespace chokusho
