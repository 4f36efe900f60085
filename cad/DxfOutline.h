#pragma once

#include <vector>

#include "BlockData.h"

namespace chokusho::dxf {

/** The straight pieces of an import, in metres, on their way to a block's points and segments (DxfImport.cpp). */
struct Piece {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool dotted = false;
};

/** Points and the segments between them, by index from 0. */
struct Outline {
    struct Edge {
        int a = 0, b = 0;
        bool dotted = false;
    };
    std::vector<double> x, y;
    std::vector<Edge> edges;
};

/**
 * The pieces' ends as points: an end within `tolerance` of a point already made is that point.
 * A grid of cells as wide as the tolerance finds it among the points of nine cells.
 */
Outline MergeEnds(const std::vector<Piece>& pieces, double tolerance);

/**
 * Moves the outline so that the lower-left corner of its segments' extents is (0, 0), and rounds
 * every coordinate to what a block file holds of it; false when one is too large to write.
 */
bool PlaceAtOrigin(Outline& outline);

/**
 * Points at the same place become one; segments of no length go; of a segment met twice, either
 * way round, one stays; points no segment ends at go.
 */
void Simplify(Outline& outline);

/** How many points lie inside a segment they do not end it, within `tolerance`. */
int CountTJunctions(const Outline& outline, double tolerance);

/**
 * Numbers points and segments along the outline: from the lowest point (the leftmost of the
 * lowest) each chain is walked, keeping to the rightmost way at a fork, so that an outline runs
 * counter-clockwise from its lower-left corner; then the next chain from the lowest point left.
 */
void WalkInOrder(Outline& outline);

/** The outline as a block record's points and segments; the rest of the record cleared. */
BlockData ToBlock(const Outline& outline);

}  // namespace chokusho::dxf
