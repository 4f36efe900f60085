#include "TestBlocks.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "BlockFile.h"
#include "Cp932.h"
#include "DocumentInvariants.h"

namespace chokusho::test {

std::ostream& operator<<(std::ostream& out, const Point& point)
{
    return out << "(" << point.x << ", " << point.y << ")";
}

std::ostream& operator<<(std::ostream& out, const Segment& segment)
{
    out << segment.start << "-" << segment.end;
    if (segment.kind == kDottedLine)
        return out << " dotted";
    if (segment.kind != kSolidLine)
        return out << " kind " << segment.kind;
    return out;
}

BlockBuilder& BlockBuilder::named(std::string name, std::string kind)
{
    data_.Name = std::move(name);
    data_.Kind = std::move(kind);
    return *this;
}

BlockBuilder& BlockBuilder::size(double b, double h, double l, double v)
{
    data_.B = b;
    data_.H = h;
    data_.L = l;
    data_.V = v;
    return *this;
}

BlockBuilder& BlockBuilder::centroid(double gx, double gy)
{
    data_.Gx = gx;
    data_.Gy = gy;
    return *this;
}

BlockBuilder& BlockBuilder::layer(double height, double volume, double gx)
{
    const int row = data_.LayerCount;
    if (row >= kMaxLayers)
        throw std::length_error("a block holds no more than 51 layers");
    data_.LayerH[row] = height;
    data_.LayerDV[row] = volume;
    data_.LayerV[row] = (row > 0 ? data_.LayerV[row - 1] : 0) + volume;
    data_.LayerGx[row] = gx;
    ++data_.LayerCount;
    return *this;
}

BlockBuilder& BlockBuilder::centroidPerLayer()
{
    data_.GxMode = 1;
    return *this;
}

BlockBuilder& BlockBuilder::point(double x, double y)
{
    if (data_.PointCount >= kMaxPoints)
        throw std::length_error("a block holds no more than 100 points");
    ++data_.PointCount;
    data_.PointX[data_.PointCount] = x;
    data_.PointY[data_.PointCount] = y;
    return *this;
}

BlockBuilder& BlockBuilder::points(const std::vector<Point>& points)
{
    for (const Point& p : points)
        point(p.x, p.y);
    return *this;
}

BlockBuilder& BlockBuilder::segment(int start, int end, int kind)
{
    if (data_.LineCount >= kMaxLines)
        throw std::length_error("a block holds no more than 200 segments");
    ++data_.LineCount;
    data_.LineStart[data_.LineCount] = static_cast<std::int16_t>(start);
    data_.LineEnd[data_.LineCount] = static_cast<std::int16_t>(end);
    data_.LineKind[data_.LineCount] = static_cast<std::int16_t>(kind);
    return *this;
}

BlockBuilder& BlockBuilder::segments(const std::vector<Segment>& segments)
{
    for (const Segment& s : segments)
        segment(s.start, s.end, s.kind);
    return *this;
}

BlockBuilder& BlockBuilder::rectangle(double b, double h)
{
    const int first = data_.PointCount + 1;
    points({{0, 0}, {b, 0}, {b, h}, {0, h}});
    for (int side = 0; side < 4; ++side)
        segment(first + side, first + (side + 1) % 4);
    return *this;
}

BlockBuilder Section(const std::vector<Point>& points, const std::vector<Segment>& segments)
{
    BlockBuilder builder;
    builder.points(points).segments(segments);
    return builder;
}

std::vector<Point> PointsOf(const BlockData& data)
{
    std::vector<Point> points;
    for (int i = 1; i <= data.PointCount; ++i)
        points.push_back({data.PointX[i], data.PointY[i]});
    return points;
}

std::vector<Segment> SegmentsOf(const BlockData& data)
{
    std::vector<Segment> segments;
    for (int k = 1; k <= data.LineCount; ++k)
        segments.push_back({data.LineStart[k], data.LineEnd[k], data.LineKind[k]});
    return segments;
}

::testing::AssertionResult Sound(const BlockData& data)
{
    const std::vector<std::string> problems = CheckDocumentInvariants(data);
    if (problems.empty())
        return ::testing::AssertionSuccess();
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    for (const std::string& problem : problems)
        failure << problem << "; ";
    return failure;
}

BlockData SampleBlock()
{
    return BlockBuilder()
        .named("消波A", "2.0t型")
        .size(4, 3, 2, 10)
        .centroid(2, 1.5)
        .centroidPerLayer()
        .layer(1.5, 4, 1.9)
        .layer(1.5, 6, 2.1)
        .points({{0, 0}, {4, 0}, {4, 3}})
        .segments({{1, 2}, {2, 3, kDottedLine}});
}

BlockData Span20() { return Section({{0, 0}, {20, 20}}, {{1, 2}}); }

BlockData FullRecord(int variant)
{
    const auto thousandths = [variant](long long count) { return static_cast<double>(count + variant) / 1000.0; };
    BlockData r;
    r.Name = "全容量ブロック" + std::to_string(variant) + " ソ表能 ";
    r.Name += std::string(kMaxNameBytes - Cp932Width(r.Name), 'N');
    r.Kind = "直立消波（Ｃ型）";
    r.B = thousandths(12'500);
    r.H = thousandths(-3'250);
    r.L = thousandths(1'000'000'000);
    r.V = thousandths(1);
    r.Gx = thousandths(4'125);
    r.Gy = thousandths(2'500);
    r.GxMode = 1;
    r.LayerCount = kMaxLayers;
    for (int row = 0; row < kMaxLayers; ++row) {
        r.LayerH[row] = thousandths(250 * row);
        r.LayerDV[row] = thousandths(1'000 * row + 500);
        r.LayerV[row] = thousandths(-1'125 * row);
        r.LayerGx[row] = thousandths(3 * row);
    }
    r.PointCount = kMaxPoints;
    for (int i = 1; i <= kMaxPoints; ++i) {
        r.PointX[i] = thousandths(123 * i);
        r.PointY[i] = thousandths(-7'500 * i);
    }
    r.LineCount = kMaxLines;
    for (int k = 1; k <= kMaxLines; ++k) {
        r.LineStart[k] = static_cast<std::int16_t>(1 + k % kMaxPoints);
        r.LineEnd[k] = static_cast<std::int16_t>(1 + (k * 7) % kMaxPoints);
        r.LineKind[k] = static_cast<std::int16_t>(k % 2);
    }
    return r;
}

}  // namespace chokusho::test
