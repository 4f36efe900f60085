#pragma once

#include "BlockData.h"
#include "DrawingDescription.h"

namespace chokusho {

/**
 * The crosses of the points that lie somewhere, each with its number in the largest free angle
 * between the segments that meet at it, as near the cross as the number's box clears them: a
 * number never sits on a segment of its own point, and on the outline it stands outside.
 */
void AddPointNumbers(Drawing& drawing, const BlockData& record);

}  // namespace chokusho
