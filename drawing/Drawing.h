#pragma once

#include <string>

#include "BlockData.h"
#include "DrawingDescription.h"

namespace chokusho {

// The description every output renders is in DrawingDescription.h; this builds it from a record.

/**
 * The drawing of `record` with `options`. `fileName` and `date` are shown in the title block as
 * given. A fixed scale at which the section does not fit still gives a drawing, with `fits`
 * false: the caller says so and may ask again with kFitToPaper.
 */
Drawing BuildDrawing(const BlockData& record, const DrawingOptions& options, const std::string& fileName,
                     const std::string& date);

}  // namespace chokusho
