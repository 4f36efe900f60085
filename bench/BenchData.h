#pragma once

#include <string>

#include "BlockData.h"

namespace chokusho::bench {

/**
 * A block at every capacity, shaped like a real section: 51 layer rows, 100 points on the
 * outline and inside of a block some 20 m wide, 200 segments, solid and dotted, and names in
 * full-width text. `variant` shifts the figures so that the files of a folder differ.
 */
BlockData FullCapacityBlock(int variant = 0);

/** The model name of the processor, from /proc/cpuinfo; "unknown" when it cannot be read. */
std::string CpuModelName();

}  // namespace chokusho::bench
