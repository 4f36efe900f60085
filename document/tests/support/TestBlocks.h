#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "BlockData.h"

namespace chokusho::test {

/** A point of a section as the tests write it, in metres. */
struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Point& point);

/** A segment as the tests write it: the numbers of the points it joins, and its line kind. */
struct Segment {
    int start = 0;
    int end = 0;
    int kind = kSolidLine;
    bool operator==(const Segment&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Segment& segment);

/**
 * Builds a block record piece by piece, each table row after those already there:
 *
 *     BlockBuilder().named("堤体", "A型").size(4, 2).rectangle(4, 2).segment(1, 3, kDottedLine)
 *
 * and stands for the record wherever a BlockData is expected. Rows are taken as given, also
 * segments whose ends name no point, so that tests can build the broken tables the program must
 * survive; only the capacities hold, since the arrays end there (std::length_error).
 */
class BlockBuilder {
public:
    BlockBuilder& named(std::string name, std::string kind = {});
    /** The main dimensions, in the order the file holds them. */
    BlockBuilder& size(double b, double h, double l = 0, double v = 0);
    BlockBuilder& centroid(double gx, double gy);
    /** A layer row below the others; its cumulative volume adds its volume to theirs. */
    BlockBuilder& layer(double height, double volume, double gx = 0);
    /** Each layer with its own centroid X rather than one for the whole block (GxMode 1). */
    BlockBuilder& centroidPerLayer();
    BlockBuilder& point(double x, double y);
    BlockBuilder& points(const std::vector<Point>& points);
    BlockBuilder& segment(int start, int end, int kind = kSolidLine);
    BlockBuilder& segments(const std::vector<Segment>& segments);
    /**
     * The corners of a b x h rectangle anticlockwise from the origin, (0, 0), (b, 0), (b, h),
     * (0, h), numbered after the points already there, and its four sides as solid segments.
     */
    BlockBuilder& rectangle(double b, double h);

    BlockData build() const { return data_; }
    operator BlockData() const { return data_; }

private:
    BlockData data_;
};

/** A builder started with these points, numbered from 1, and these segments. */
BlockBuilder Section(const std::vector<Point>& points, const std::vector<Segment>& segments = {});

/** Points 1..PointCount and segments 1..LineCount of a record, as the tests write them. */
std::vector<Point> PointsOf(const BlockData& data);
std::vector<Segment> SegmentsOf(const BlockData& data);

/** Whether the record keeps the document's invariants; a failure lists every one it breaks. */
::testing::AssertionResult Sound(const BlockData& data);

/**
 * 消波A, kind 2.0t型: 4 m x 3 m, L 2 m, centroid (2, 1.5), V 10 m3 in two layers of 1.5 m with
 * 4 and 6 m3 and a centroid X each (1.9, 2.1). Points 1 (0, 0), 2 (4, 0), 3 (4, 3); segment 1
 * joins 1-2 solid, segment 2 joins 2-3 dotted.
 */
BlockData SampleBlock();

/**
 * Points 1 (0, 0) and 2 (20, 20) joined by one solid segment: a section spanning 0..20 m both
 * ways, whose fitted view on a 600 x 400 canvas is -8..28 x -2..22 m.
 */
BlockData Span20();

/**
 * A record at every capacity: 51 layers, 100 points, 200 segments of both kinds, and a name of
 * the longest length that holds cp932 characters whose second byte is a backslash. Every real
 * is a whole number of thousandths, so it survives a save and a load exactly; records of two
 * variants differ in every real.
 */
BlockData FullRecord(int variant = 0);

}  // namespace chokusho::test
