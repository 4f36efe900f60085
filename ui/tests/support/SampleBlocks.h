#pragma once

#include "BlockData.h"

namespace chokusho::test {

/**
 * A `b` x `h` rectangle: points 1..4 anticlockwise from the origin (1 and 2 on the lower side,
 * 3 at the upper right), four solid sides 1-2, 2-3, 3-4, 4-1, and its centroid in the middle.
 */
BlockData RectangleBlock(double b, double h);

/**
 * A rectangle as the picker lists it: named, with its main dimensions (L = 2 m), its volume,
 * and a dotted diagonal from point 1 to point 3 as a fifth segment.
 */
BlockData ListedBlock(const char* name, const char* kind, double b, double h);

/**
 * A 4 m x 3 m block "消波A" of kind "2.0t型" with two layers and a centroid X per layer: points
 * (0, 0), (4, 0), (4, 3), segments 1-2 (solid) and 2-3 (dotted), Ｖ = 10 m3 in layers of 4 and 6.
 */
BlockData LayeredBlock();

}  // namespace chokusho::test
