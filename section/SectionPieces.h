#pragma once

#include <cstddef>
#include <numeric>
#include <vector>

#include "SectionShapes.h"

namespace chokusho {

/** Ends and crossings closer than this (metres: 0.1 mm) are one point of the section. */
inline constexpr double kMergeDistance = 1e-4;

/** Beyond this (metres) a coordinate is no point of a block, and its products would overflow. */
inline constexpr double kLargestCoordinate = 1e9;

/** The most edges taken (a block has at most 200 segments); any beyond are left out. */
inline constexpr std::size_t kMaxEdges = 1000;

/** A solid segment of the section, by its ends, and its number in the block (not negative). */
struct SectionEdge {
    SectionPoint a;
    SectionPoint b;
    int id = 0;
};

/** A piece of the arrangement between two of its points, and the segments it is part of. */
struct SectionPiece {
    int from;
    int to;
    std::vector<int> ids;
};

/**
 * The pieces of `edges`: each split where another crosses it or where another's end touches its
 * interior, ends and crossings within kMergeDistance taken as one point, zero-length pieces
 * dropped and each piece drawn more than once kept once. `points` receives the points the
 * pieces' `from` and `to` number (ends first, then crossings); a class of merged points goes by
 * its first. Edges with a coordinate that is not finite, or beyond kLargestCoordinate, are left out.
 */
std::vector<SectionPiece> SplitIntoPieces(const std::vector<SectionEdge>& edges, std::vector<SectionPoint>& points);

/** Classes of numbers 0..n-1 joined two at a time. */
class DisjointSets {
public:
    explicit DisjointSets(int size) : parent_(static_cast<std::size_t>(size))
    {
        std::iota(parent_.begin(), parent_.end(), 0);
    }

    int Find(int i)
    {
        while (parent_[i] != i) {
            parent_[i] = parent_[parent_[i]];
            i = parent_[i];
        }
        return i;
    }

    /** The lower number stays the root, so a class is known by its first member. */
    void Join(int a, int b)
    {
        a = Find(a);
        b = Find(b);
        if (a < b)
            parent_[b] = a;
        else if (b < a)
            parent_[a] = b;
    }

private:
    std::vector<int> parent_;
};

}  // namespace chokusho
