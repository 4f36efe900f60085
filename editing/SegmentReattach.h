#pragma once

#include "BlockData.h"

namespace chokusho {

/*
 * The segments of a block whose points were confirmed in the point table. The table renumbers
 * points freely, so a segment follows its two ends by their coordinates: an end is the lowest
 * new point at the place where the old point stood (as the table showed it, to three decimals),
 * and a segment one of whose ends is at no new point's place is dropped. Both functions match
 * the points the same way; they live with the point-table command in EditCommands.cpp.
 */

/**
 * Rebuilds the segment table of `data` from `before`'s for `data`'s points, keeping the
 * segments whose two ends were found.
 */
void ReattachSegments(const BlockData& before, BlockData& data);

/**
 * How many of `before`'s segments ReattachSegments drops when the points become `after`'s: a
 * segment counts once, however many of its ends are gone.
 */
[[nodiscard]] int DroppedSegmentCount(const BlockData& before, const BlockData& after);

}  // namespace chokusho
