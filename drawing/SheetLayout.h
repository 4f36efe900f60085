#pragma once

#include <optional>

#include "DrawingDescription.h"

namespace chokusho {

/** The layer table's rows and the gap it keeps from the frame and from what stands beside it. */
inline constexpr double kTableRowMm = 4.5;
inline constexpr double kTableGapMm = 3.0;

/** What the layer table holds: its rows (a heading above them) and the width of one group of its columns. */
struct TableMeasure {
    int rows = 0;
    double groupWidthMm = 0;
};

/** Where the layer table stands: its box, filled left to right by `groups` column groups of `rowsPerGroup` rows. */
struct TablePlace {
    SheetRect box;
    int groups = 1;
    int rowsPerGroup = 0;
    /** Below 1 where the table is narrowed to the frame, its texts condensed. */
    double widthScale = 1;
};

/**
 * What the section asks of its area: its extent in model metres, and the paper it keeps free
 * on each side for marks, numbers and dimensions, in millimetres.
 */
struct SectionNeeds {
    double widthM = 0;
    double heightM = 0;
    double leftMm = 0;
    double rightMm = 0;
    double topMm = 0;
    double bottomMm = 0;
};

/** The sheet laid out: the section's area, the table's place, and the scale the section needs there. */
struct SheetPlan {
    SheetRect area;
    std::optional<TablePlace> table;
    /** The denominator of the largest scale at which the section fits its area: 0 for one without extent, infinite where none. */
    double neededScale = 0;
};

/**
 * Lays out a frame whose title block stands in `titleBox` for a drawing at `scale` (or
 * kFitToPaper): the table (when there is one) above the title block or along the top, in as
 * many column groups as serve, and the section in a free rectangle of the frame. Of all the
 * places, one where the section gets the largest scale wins, so that it fits whenever it fits
 * beside the table and the title block; between equals, the table in fewer groups, then the
 * section with more room.
 */
SheetPlan PlanSheet(const SheetRect& frame, const SheetRect& titleBox, const std::optional<TableMeasure>& table,
                    const SectionNeeds& needs, double scale);

/** The scale the section needs in `area`: infinite when its margins leave no room. */
double NeededScale(const SheetRect& area, const SectionNeeds& needs);

}  // namespace chokusho
