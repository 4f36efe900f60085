#pragma once

#include <string>
#include <vector>

#include "BlockData.h"

namespace chokusho {

/**
 * The rules every block record of the program keeps: counts within 0..capacity, every
 * segment's ends within 1..PointCount, element 0 of the point and segment tables unused,
 * and segment slots above LineCount empty (the deletion of segments relies on it).
 * Returns the problems found; empty when all hold.
 */
std::vector<std::string> CheckDocumentInvariants(const BlockData& data);

}  // namespace chokusho
