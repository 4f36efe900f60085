#pragma once

#include <string>
#include <vector>

namespace chokusho {

/**
 * What a DXF file holds for an import, read once: every line and arc of model space on a layer
 * that is shown, with the blocks' insertions already placed, in the file's own units. A block is
 * assembled from it as often as the choice of layers, unit and tolerance changes (DxfImport.h).
 */

/** Why a DXF file was not read, or what was chosen of it not imported. */
enum class DxfFailure {
    None,
    Binary,          // a binary DXF
    Dwg,             // a DWG drawing
    NotDxf,          // text that is no DXF file
    Truncated,       // a file that ends before its EOF, inside a section
    BadNumber,       // a coordinate that does not read as a finite number
    TooComplex,      // blocks inserted too deep, or more lines than the reader takes
    EmptySelection,  // nothing to import on the layers chosen
    TooLarge,        // more points or segments than a block holds
};

/** How many entities of the file do not come into the block, by why. */
struct DxfSkipCounts {
    int paperSpace = 0;     // drawn in paper space
    int hiddenLayer = 0;    // on a layer that is frozen or off
    int untickedLayer = 0;  // on a layer not chosen
    int texts = 0;          // texts, dimensions, attributes
    int otherKinds = 0;     // kinds of entity the import does not take (points, splines, hatches, ...)

    int total() const { return paperSpace + hiddenLayer + untickedLayer + texts + otherKinds; }
};

/** A layer of the file. */
struct DxfLayer {
    std::string name;  // UTF-8
    bool frozen = false;
    bool off = false;
    /** Entities on it that the import would take: lines, arcs, circles and polylines, inserted ones each time. */
    int entities = 0;

    bool hidden() const { return frozen || off; }
};

/** An affine map of the plane: x' = a x + b y + e, y' = c x + d y + f. */
struct DxfPlacement {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    double x(double px, double py) const { return a * px + b * py + e; }
    double y(double px, double py) const { return c * px + d * py + f; }
    /** This map after `inner`: the point goes through `inner` first. */
    DxfPlacement after(const DxfPlacement& inner) const;
    /** How much the map stretches a length at most (its largest singular value). */
    double stretch() const;
};

/** A straight piece, in file units, already placed. */
struct DxfLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int layer = 0;  // index into DxfDrawing::layers
    bool dotted = false;
};

/**
 * A circular arc in its own plane, mapped onto the drawing by `placement` (a block's insertion,
 * a mirror): from angle `start` (radians) by `sweep` (radians, positive counter-clockwise).
 * Chords are made only when the tolerance is known.
 */
struct DxfArc {
    double cx = 0, cy = 0, r = 0, start = 0, sweep = 0;
    DxfPlacement placement;
    int layer = 0;
    bool dotted = false;
};

struct DxfDrawing {
    std::vector<DxfLayer> layers;
    std::vector<DxfLine> lines;
    std::vector<DxfArc> arcs;
    /** The header's $INSUNITS, 0 when the file has none. */
    int insUnits = 0;
    /** Entities left out whatever layers are chosen. */
    DxfSkipCounts skipped;
};

}  // namespace chokusho
