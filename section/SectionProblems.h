#pragma once

#include <string>
#include <vector>

namespace chokusho {

/**
 * What can be wrong with a block against its section. The last three are notices: a real block
 * has openings and bevels that its section does not show, so entered figures may rightly differ
 * from the section's, and a block without Ｌ still has an area and a centroid.
 */
enum class SectionProblemKind {
    OpenOutline,      // "open-outline": a solid segment that bounds nothing, or no closed face at all
    NoOutline,        // "no-outline": no solid segment
    BadPoint,         // "bad-point": a segment's end that is no point, or a point that is no number
    LayerSum,         // "layer-sum": the layers' ⊿Ｖ do not add up to Ｖ
    LayersAbove,      // "layers-above": a layer top below the one before it, or above the section
    NoLength,         // "no-length": Ｌ is 0, so there are no volumes
    VolumeDiffers,    // "volume-differs": Ｖ or a layer's ⊿Ｖ against the section's
    CentroidDiffers,  // "centroid-differs": Gx, Gy or a layer's centroid X against the section's
};

/** The kind's name in the command line's report, such as "open-outline". */
const char* ProblemKindName(SectionProblemKind kind);

/** Whether a problem of this kind only tells (the block may well be right). */
bool IsNotice(SectionProblemKind kind);

/** One problem: its kind, what it concerns, and the sentence that tells the user. */
struct SectionProblem {
    SectionProblemKind kind;
    std::vector<int> points;    // point numbers, 1..100
    std::vector<int> segments;  // segment numbers, 1..200
    std::vector<int> layers;    // layer rows, 0-based (the grid shows No. row + 1)
    std::string text;           // Japanese, one sentence or two

    bool notice() const { return IsNotice(kind); }
};

/** Entered and computed differ by more than the notices allow. */
bool VolumeDiffers(double entered, double computed, double blockVolume);
bool CentroidDiffers(double entered, double computed);

/** The layer table's volumes miss Ｖ by more than the block parameters allow (0.0001 m³). */
bool LayerSumDiffers(double blockVolume, double layerSum);

}  // namespace chokusho
