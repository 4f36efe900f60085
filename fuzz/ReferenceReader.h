#pragma once

#include <string_view>

#include "BlockData.h"

namespace chokusho::fuzz {

/**
 * The block file reader written plainly: line by line, each line cut into its parts, each part
 * read by the lenient number readers. The program's reader takes shortcuts through the lines
 * the writer writes; on every input it must end as this one does, with the same record.
 */
bool ReferenceParse(BlockData& record, std::string_view bytes);

}  // namespace chokusho::fuzz
