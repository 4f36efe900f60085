#pragma once

#include "BlockData.h"
#include "SectionProperties.h"

namespace chokusho {

/**
 * The section of the block being edited, worked out again only when its points, segments or
 * line kinds changed: the shading and the status bar's area ask for it after every change and
 * at every repaint, and a full block's section costs about a millisecond, far more than a
 * repaint may spend on it.
 */
class SectionCache {
public:
    /** The region, area and centroid of `data`'s outline (its layers and Ｌ play no part). */
    const SectionResult& Of(const BlockData& data);
    /** How many times the section was worked out: for the tests that it is not done on every call. */
    int computations() const { return computations_; }

private:
    /** Only the outline of the record the result belongs to; the rest stays as a new record has it. */
    BlockData outline_;
    bool valid_ = false;
    SectionResult result_;
    int computations_ = 0;
};

}  // namespace chokusho
