#pragma once

#include "BlockData.h"

namespace chokusho {

/**
 * True when `current` differs from `saved` in anything the block file stores: names, figures,
 * GxMode, the used layer rows, points and segments with their kinds. Slots above the counts
 * are not stored and so not compared.
 */
[[nodiscard]] bool IsModified(const BlockData& current, const BlockData& saved);

}  // namespace chokusho
