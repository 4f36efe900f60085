#pragma once

#include <string>
#include <string_view>

#include "BlockData.h"
#include "SectionProperties.h"

namespace chokusho {

/**
 * What "chokusho --check" says of a block file, in two forms: a few lines for a person (figures
 * and problems in words), or a CSV row for a spreadsheet or a script (figures with 4 decimals,
 * the problems' kinds, each once, joined by ";"). Figures that do not exist (a prism volume without Ｌ, a layer
 * sum without layers) leave their field empty.
 */
inline constexpr const char* kCheckCsvHeader =
    "file,area_m2,centroid_x_m,centroid_y_m,prism_volume_m3,V_m3,Gx_m,Gy_m,layer_sum_m3,problems";

/** The problem kind of a file that could not be read, in its CSV row. */
inline constexpr const char* kUnreadableKind = "unreadable";

/** `text` as one CSV field: as it is, or in double quotes (inner quotes doubled) where it holds a comma, a quote or a line break. */
std::string CsvField(std::string_view text);

/** The CSV row of the block read from `file` (as the user named it), without its line end. */
std::string CheckCsvRow(std::string_view file, const BlockData& data, const SectionResult& result);

/** The CSV row of a file that could not be read. */
std::string UnreadableCsvRow(std::string_view file);

/** The report's lines of the block read from `file`, each ending in a line feed. */
std::string CheckReport(std::string_view file, const BlockData& data, const SectionResult& result);

}  // namespace chokusho
