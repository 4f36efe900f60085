#pragma once

#include <optional>
#include <vector>

#include "BlockData.h"
#include "SectionProblems.h"
#include "SectionShapes.h"

namespace chokusho {

/** The rectangle about the points of the solid segments, in model metres. */
struct SectionExtents {
    double minX = 0;
    double minY = 0;
    double maxX = 0;
    double maxY = 0;

    double height() const { return maxY - minY; }
};

/** One layer's slice of the section: between the row before's top (or the bottom) and its own. */
struct SectionLayer {
    double bottom = 0;     // metres above the section's bottom
    double top = 0;        // the row's LayerH
    double area = 0;       // m²
    double volume = 0;     // ⊿Ｖ = area × Ｌ (m³); 0 without Ｌ
    double centroidX = 0;  // from the section's lower-left corner (m); 0 for an empty slice
    /** Against the record's row of the same number, where it has one. */
    bool volumeDiffers = false;
    bool centroidDiffers = false;
};

/** The figures of a block's section, and what is wrong with the block against them. */
struct SectionResult {
    SectionExtents extents;
    double area = 0;  // m²
    /** The centroid from the lower-left corner of the extents, as Gx and Gy are measured. */
    double centroidX = 0;
    double centroidY = 0;
    /** Area × Ｌ (m³) when Ｌ > 0. */
    std::optional<double> volume;
    std::vector<SectionLayer> layers;
    /** The material: faces with their holes, in model metres, for shading. */
    std::vector<SectionPolygon> region;
    std::vector<SectionProblem> problems;
    /** Whether the entered Ｖ and centroid differ from these (the notices' limits). */
    bool volumeDiffers = false;
    bool centroidXDiffers = false;
    bool centroidYDiffers = false;

    /** Whether some problem is more than a notice. */
    bool hasErrors() const;
};

/**
 * The section of `data`: the material bounded by its solid segments (dotted ones are hidden
 * lines and bound nothing), its area, centroid and prism volume, the slices of its layer rows
 * (LayerH of rows 0..LayerCount-1, heights above the section's bottom), and the problems,
 * entered figures checked against computed ones. Any record is taken, also one with counts or
 * numbers no file holds.
 */
SectionResult ComputeSection(const BlockData& data);

/** The same with these layer tops in place of the record's (the rows the dialog holds). */
SectionResult ComputeSection(const BlockData& data, const std::vector<double>& layerTops);

/**
 * The computed figures as the block parameters' boxes and rows take them, in thousandths: Gx, Gy,
 * each row's centroid X, and with Ｌ each row's ⊿Ｖ and Ｖ. With layers Ｖ is the sum of the
 * rounded ⊿Ｖ, so that the table adds up to Ｖ as 登録 requires; without Ｌ there are no volumes.
 */
struct SectionEntry {
    std::optional<double> V;
    double Gx = 0;
    double Gy = 0;
    std::vector<double> layerDV;  // empty without Ｌ
    std::vector<double> layerGx;
};
SectionEntry EntryFigures(const SectionResult& result);

/** The sum of the record's ⊿Ｖ over its layer rows, as entered. */
double EnteredLayerSum(const BlockData& data);

/**
 * Layer tops for an empty table: one row per metre of the section's height, the top row at its
 * top (3.5 m gives 1, 2, 3, 3.5). A section higher than the table's rows in metres takes a step
 * of as many whole metres as keep it within them. Empty without a section.
 */
std::vector<double> ProposeLayerTops(const BlockData& data);

}  // namespace chokusho
