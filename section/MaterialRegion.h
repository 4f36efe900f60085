#pragma once

#include <vector>

#include "SectionPieces.h"
#include "SectionShapes.h"

namespace chokusho {

/** The material a set of solid segments encloses. */
struct MaterialRegion {
    /** The material faces, each with its holes, in model metres. */
    std::vector<SectionPolygon> polygons;
    /** The numbers of the segments none of whose pieces bounds a face, ascending, each once. */
    std::vector<int> dangling;
};

/**
 * The material region of `edges`: their arrangement in the plane (split where they cross and
 * where an end touches another's interior, ends and crossings within kMergeDistance merged,
 * zero-length and doubled pieces dropped), its faces, and as material the faces reached from
 * outside by crossing an odd number of lines at the fewest. Where every point joins an even
 * number of lines this is the even-odd rule (a closed loop inside the outline is a hole); a line
 * drawn across material leaves both sides material. A piece with the same face on both sides
 * (a line that ends in the open, or joins two loops) bounds nothing and counts for nothing.
 * Edges with a coordinate that is not finite are left out.
 */
MaterialRegion FindMaterialRegion(const std::vector<SectionEdge>& edges);

}  // namespace chokusho
