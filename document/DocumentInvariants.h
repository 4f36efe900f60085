#pragma once

#include <string>
#include <vector>

#include "BlockData.h"

namespace chokusho {

/**
 * The rules every block record of the program keeps: counts within 0..capacity, every
 * segment's ends within 1..PointCount, element 0 of the point and segment tables unused,
 * and the point and segment slots above their counts empty, line kinds included (the deletion
 * of segments relies on it, and a slot taken again must not bring back an old value).
 * Returns the problems found; empty when all hold.
 */
std::vector<std::string> CheckDocumentInvariants(const BlockData& data);

}  // namespace chokusho
