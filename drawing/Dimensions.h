#pragma once

#include <string>
#include <vector>

#include "BlockData.h"
#include "Bounds.h"
#include "DrawingDescription.h"

namespace chokusho {

/**
 * A section's dimensions as Japanese civil drawings give them: thin dimension lines with
 * extension lines and oblique ticks, outside the section, the widths below it and the heights
 * on its left, each length in millimetres written on its line (FormatMillimetres). The overall
 * width and height run between the outline's extreme points (the ends of its solid segments,
 * or every point where it has none). Chains through every distinct X and Y of the points lie
 * nearer the section, their neighbouring lengths merged where their texts would overlap.
 *
 * They are lines and texts of DrawingLayer::Dimensions, in model metres and paper millimetres
 * like the rest, so that every output draws them as it draws the section.
 */
class SectionDimensions {
public:
    SectionDimensions(const BlockData& record, DimensionStyle style);

    /** The paper the dimensions take beyond the section's extent on its left and below it, in millimetres. */
    double leftMm() const { return leftBandMm_; }
    double bottomMm() const { return bottomBandMm_; }

    /**
     * Adds the lines and texts to `drawing`, whose scale, origin and area are set, around
     * `section`, the extent of everything the section marks. A text that would leave the area
     * (a section that does not fit) is left out.
     */
    void addTo(Drawing& drawing, const Bounds& section) const;

    /** A place where a dimension stops: its coordinate along the dimension, and the point's across it. */
    struct Stop {
        double along = 0;
        double across = 0;
    };

private:
    /** Dimensions of one side, from the section outwards: each tier's stops in order. */
    struct Side {
        bool heights = false;
        std::vector<std::vector<Stop>> tiers;
        std::vector<double> offsetsMm;
    };

    void addSide(Drawing& drawing, const Side& side, double edge) const;

    Side bottom_;
    Side left_;
    double leftBandMm_ = 0;
    double bottomBandMm_ = 0;
};

/** A length in millimetres as a dimension writes it: "6000", "12.5"; hundredths at most. */
std::string FormatMillimetres(double millimetres);

}  // namespace chokusho
