#include "SectionPieces.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace chokusho {

namespace {

int Count(std::size_t size) { return static_cast<int>(size); }

double Cross(SectionPoint o, SectionPoint a, SectionPoint b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

double Distance2(SectionPoint a, SectionPoint b)
{
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

bool Usable(SectionPoint p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) <= kLargestCoordinate &&
           std::fabs(p.y) <= kLargestCoordinate;
}

/**
 * The first of each point's class, the classes being joined by distances up to kMergeDistance.
 * Points are bucketed in columns kMergeDistance wide and sorted by height within them, so that
 * each point looks only at its neighbours in its own column and the next.
 */
std::vector<int> MergeClose(const std::vector<SectionPoint>& points)
{
    const int n = Count(points.size());
    struct Key {
        std::int64_t column;
        double y;
        int index;
    };
    std::vector<Key> keys;
    keys.reserve(points.size());
    for (int i = 0; i < n; ++i)
        keys.push_back({static_cast<std::int64_t>(std::floor(points[i].x / kMergeDistance)), points[i].y, i});
    const auto before = [](const Key& a, const Key& b) {
        return a.column != b.column ? a.column < b.column : a.y != b.y ? a.y < b.y : a.index < b.index;
    };
    std::sort(keys.begin(), keys.end(), before);
    DisjointSets sets(n);
    const double limit2 = kMergeDistance * kMergeDistance;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const Key& key = keys[i];
        for (std::int64_t column = key.column; column <= key.column + 1; ++column) {
            // In its own column only the points after it; in the next, from kMergeDistance below.
            auto it = column == key.column
                          ? keys.begin() + static_cast<std::ptrdiff_t>(i + 1)
                          : std::lower_bound(keys.begin(), keys.end(), Key{column, key.y - kMergeDistance, -1}, before);
            for (; it != keys.end() && it->column == column && it->y <= key.y + kMergeDistance; ++it) {
                if (Distance2(points[key.index], points[it->index]) <= limit2)
                    sets.Join(key.index, it->index);
            }
        }
    }
    std::vector<int> root(points.size());
    for (int i = 0; i < n; ++i)
        root[i] = sets.Find(i);
    return root;
}

/** A segment being split: its ends as point numbers, and the points found along it by parameter. */
struct Split {
    int a;
    int b;
    int id;
    std::vector<std::pair<double, int>> cuts;
};

/** Where point `p` lies on the interior of segment `s`, more than kMergeDistance from its ends; or -1. */
double TouchParameter(const std::vector<SectionPoint>& points, const Split& s, SectionPoint p)
{
    const SectionPoint a = points[s.a];
    const SectionPoint b = points[s.b];
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double limit2 = kMergeDistance * kMergeDistance;
    if (length2 <= limit2)
        return -1;
    const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2;
    if (t <= 0 || t >= 1)
        return -1;
    const double cross = Cross(a, b, p);
    if (cross * cross > limit2 * length2 || Distance2(p, a) <= limit2 || Distance2(p, b) <= limit2)
        return -1;
    return t;
}

/** Splits each of the two segments where the other's end touches it, or where they cross. */
void CutPair(std::vector<SectionPoint>& points, Split& s, Split& r)
{
    const SectionPoint a = points[s.a];
    const SectionPoint b = points[s.b];
    const SectionPoint c = points[r.a];
    const SectionPoint d = points[r.b];
    const auto outside = [](double p1, double p2, double q1, double q2) {
        return std::max(p1, p2) + kMergeDistance < std::min(q1, q2) || std::max(q1, q2) + kMergeDistance < std::min(p1, p2);
    };
    if (outside(a.x, b.x, c.x, d.x) || outside(a.y, b.y, c.y, d.y))
        return;
    // Each end's side of the other line, times that line's length: an end can touch the other
    // segment only where this is within kMergeDistance of the line.
    const double d1 = Cross(c, d, a);
    const double d2 = Cross(c, d, b);
    const double d3 = Cross(a, b, c);
    const double d4 = Cross(a, b, d);
    const double nearS = kMergeDistance * kMergeDistance * Distance2(a, b);
    const double nearR = kMergeDistance * kMergeDistance * Distance2(c, d);
    bool touched = false;
    const auto touch = [&](Split& on, int end, SectionPoint endPoint) {
        const double t = TouchParameter(points, on, endPoint);
        if (t >= 0) {
            on.cuts.emplace_back(t, end);
            touched = true;
        }
    };
    if (d3 * d3 <= nearS)
        touch(s, r.a, c);
    if (d4 * d4 <= nearS)
        touch(s, r.b, d);
    if (d1 * d1 <= nearR)
        touch(r, s.a, a);
    if (d2 * d2 <= nearR)
        touch(r, s.b, b);
    if (touched)
        return;
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
        const double t = d1 / (d1 - d2);
        const double u = d3 / (d3 - d4);
        const int crossing = Count(points.size());
        points.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
        s.cuts.emplace_back(t, crossing);
        r.cuts.emplace_back(u, crossing);
    }
}

}  // namespace

std::vector<SectionPiece> SplitIntoPieces(const std::vector<SectionEdge>& edges, std::vector<SectionPoint>& points)
{
    std::vector<Split> splits;
    for (const SectionEdge& edge : edges) {
        if (!Usable(edge.a) || !Usable(edge.b) || splits.size() == kMaxEdges)
            continue;
        const int first = Count(points.size());
        points.push_back(edge.a);
        points.push_back(edge.b);
        splits.push_back({first, first + 1, edge.id, {{0.0, first}, {1.0, first + 1}}});
    }
    for (std::size_t i = 0; i < splits.size(); ++i) {
        for (std::size_t j = i + 1; j < splits.size(); ++j)
            CutPair(points, splits[i], splits[j]);
    }
    const std::vector<int> root = MergeClose(points);
    // Each piece as one number, its ends and its segment's place in `splits`, so that sorting
    // brings the copies of a piece together: kMaxEdges edges make fewer than 2^21 points.
    std::vector<std::uint64_t> raw;
    for (std::size_t i = 0; i < splits.size(); ++i) {
        Split& split = splits[i];
        std::sort(split.cuts.begin(), split.cuts.end());
        for (std::size_t k = 0; k + 1 < split.cuts.size(); ++k) {
            const auto u = static_cast<std::uint64_t>(root[split.cuts[k].second]);
            const auto v = static_cast<std::uint64_t>(root[split.cuts[k + 1].second]);
            if (u != v)
                raw.push_back(std::min(u, v) << 42 | std::max(u, v) << 21 | i);
        }
    }
    std::sort(raw.begin(), raw.end());
    constexpr std::uint64_t kMask = (1u << 21) - 1;
    std::vector<SectionPiece> pieces;
    for (const std::uint64_t r : raw) {
        const int from = static_cast<int>(r >> 42);
        const int to = static_cast<int>(r >> 21 & kMask);
        const int id = splits[r & kMask].id;
        if (pieces.empty() || pieces.back().from != from || pieces.back().to != to)
            pieces.push_back({from, to, {}});
        if (std::find(pieces.back().ids.begin(), pieces.back().ids.end(), id) == pieces.back().ids.end())
            pieces.back().ids.push_back(id);
    }
    return pieces;
}

}  // namespace chokusho
