#include "MaterialRegion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <tuple>
#include <utility>

namespace chokusho {

namespace {

/** Beyond this (metres) a coordinate is no point of a block, and its products would overflow. */
constexpr double kLargestCoordinate = 1e9;

int Count(std::size_t size) { return static_cast<int>(size); }

class DisjointSets {
public:
    explicit DisjointSets(int size) : parent_(static_cast<std::size_t>(size)) { std::iota(parent_.begin(), parent_.end(), 0); }

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

/** A piece of the arrangement between two vertices, with the segments it belongs to. */
struct Piece {
    int from;
    int to;
    std::vector<int> ids;
};

std::vector<Piece> Pieces(const std::vector<SectionEdge>& edges, std::vector<SectionPoint>& points)
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
    std::vector<Piece> pieces;
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

bool Inside(const SectionRing& ring, SectionPoint p)
{
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const SectionPoint& a = ring[i];
        const SectionPoint& b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

/** The half-edge structure of the pieces and its boundary walks. */
class Faces {
public:
    Faces(const std::vector<Piece>& pieces, const std::vector<SectionPoint>& points);

    /** The material region; takes the walks' rings, so it is called once. */
    MaterialRegion Region(const std::vector<Piece>& pieces);

private:
    void WalkCycles();
    void FindParents();
    std::vector<int> Depths(const std::vector<Piece>& pieces) const;
    int FaceOfCycle(int cycle) const
    {
        return cycleFace_[cycle] >= 0 ? cycleFace_[cycle] : parentFace_[component_[cycle]];
    }

    std::vector<SectionPoint> vertices_;
    std::vector<int> origin_;  // half-edge 2p runs from piece p's `from` to its `to`, 2p + 1 back
    std::vector<int> next_;
    std::vector<int> cycleOf_;
    std::vector<SectionRing> rings_;
    std::vector<double> area_;
    std::vector<int> component_;   // of each cycle
    std::vector<int> cycleFace_;   // a bounded cycle's face, -1 for a component's outer boundary
    std::vector<int> outerCycle_;  // of each component
    std::vector<int> parentFace_;  // the face each component lies in; faces_ for the unbounded one
    std::vector<int> componentOfVertex_;
    int faces_ = 0;
    int components_ = 0;
};

Faces::Faces(const std::vector<Piece>& pieces, const std::vector<SectionPoint>& points)
{
    // Vertices numbered densely, in the order of the points they stand for.
    std::vector<int> vertexOf(points.size(), -1);
    for (const Piece& piece : pieces) {
        vertexOf[piece.from] = 0;
        vertexOf[piece.to] = 0;
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (vertexOf[i] == 0) {
            vertexOf[i] = Count(vertices_.size());
            vertices_.push_back(points[i]);
        }
    }
    const int halfEdges = Count(pieces.size() * 2);
    origin_.resize(static_cast<std::size_t>(halfEdges));
    DisjointSets connected(Count(vertices_.size()));
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        origin_[2 * p] = vertexOf[pieces[p].from];
        origin_[2 * p + 1] = vertexOf[pieces[p].to];
        connected.Join(origin_[2 * p], origin_[2 * p + 1]);
    }
    // Each vertex's outgoing half-edges anticlockwise by direction: bucketed by vertex, then
    // sorted by a pseudo-angle that grows with the angle from -pi to pi, as atan2 does.
    std::vector<double> angle(static_cast<std::size_t>(halfEdges));
    for (int h = 0; h < halfEdges; ++h) {
        const SectionPoint from = vertices_[origin_[h]];
        const SectionPoint to = vertices_[origin_[h ^ 1]];
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const double p = dy / (std::fabs(dx) + std::fabs(dy));  // -1..1
        angle[h] = dx >= 0 ? p : (dy >= 0 ? 2 - p : -2 - p);
    }
    std::vector<int> first(vertices_.size() + 1, 0);
    for (int h = 0; h < halfEdges; ++h)
        ++first[origin_[h] + 1];
    std::partial_sum(first.begin(), first.end(), first.begin());
    std::vector<int> order(static_cast<std::size_t>(halfEdges));
    {
        std::vector<int> fill(first.begin(), first.end() - 1);
        for (int h = 0; h < halfEdges; ++h)
            order[fill[origin_[h]]++] = h;
    }
    for (std::size_t v = 0; v < vertices_.size(); ++v) {
        std::sort(order.begin() + first[v], order.begin() + first[v + 1],
                  [&angle](int x, int y) { return angle[x] != angle[y] ? angle[x] < angle[y] : x < y; });
    }
    std::vector<int> position(static_cast<std::size_t>(halfEdges));
    for (int k = 0; k < halfEdges; ++k)
        position[order[k]] = k;
    // The face on the left of a half-edge goes on along the next half-edge clockwise from its
    // twin about the vertex it reaches.
    next_.resize(static_cast<std::size_t>(halfEdges));
    for (int h = 0; h < halfEdges; ++h) {
        const int twin = h ^ 1;
        const int v = origin_[twin];
        const int k = position[twin];
        next_[h] = order[k == first[v] ? first[v + 1] - 1 : k - 1];
    }
    componentOfVertex_.resize(vertices_.size());
    std::vector<int> componentNumber(vertices_.size(), -1);
    for (std::size_t v = 0; v < vertices_.size(); ++v) {
        const int r = connected.Find(static_cast<int>(v));
        if (componentNumber[r] < 0)
            componentNumber[r] = components_++;
        componentOfVertex_[v] = componentNumber[r];
    }
    WalkCycles();
    FindParents();
}

void Faces::WalkCycles()
{
    const int halfEdges = Count(next_.size());
    cycleOf_.assign(next_.size(), -1);
    // Moments about the first vertex keep the sums small where the block lies far from 0.
    const SectionPoint origin = vertices_.empty() ? SectionPoint{} : vertices_[0];
    for (int h = 0; h < halfEdges; ++h) {
        if (cycleOf_[h] >= 0)
            continue;
        const int cycle = Count(rings_.size());
        SectionRing ring;
        // next_ is a permutation, so the walk comes back to h; the bound only guards that.
        for (int e = h, steps = 0; cycleOf_[e] < 0 && steps < halfEdges; e = next_[e], ++steps) {
            cycleOf_[e] = cycle;
            ring.push_back(vertices_[origin_[e]]);
        }
        area_.push_back(RingMoments(ring, origin).area);
        component_.push_back(componentOfVertex_[origin_[h]]);
        rings_.push_back(std::move(ring));
    }
    // A component's outer boundary runs clockwise about all of it: its most negative walk.
    outerCycle_.assign(static_cast<std::size_t>(components_), -1);
    for (std::size_t c = 0; c < rings_.size(); ++c) {
        int& outer = outerCycle_[component_[c]];
        if (outer < 0 || area_[c] < area_[outer])
            outer = static_cast<int>(c);
    }
    cycleFace_.assign(rings_.size(), -1);
    for (std::size_t c = 0; c < rings_.size(); ++c) {
        if (outerCycle_[component_[c]] != static_cast<int>(c))
            cycleFace_[c] = faces_++;
    }
}

void Faces::FindParents()
{
    // A component lies in the smallest bounded walk of another that holds its lowest-left vertex.
    std::vector<int> lowest(static_cast<std::size_t>(components_), -1);
    for (std::size_t v = 0; v < vertices_.size(); ++v) {
        int& l = lowest[componentOfVertex_[v]];
        if (l < 0 || vertices_[v].x < vertices_[l].x || (vertices_[v].x == vertices_[l].x && vertices_[v].y < vertices_[l].y))
            l = static_cast<int>(v);
    }
    parentFace_.assign(static_cast<std::size_t>(components_), faces_);
    std::vector<double> parentArea(static_cast<std::size_t>(components_), 0);
    for (std::size_t c = 0; c < rings_.size(); ++c) {
        if (cycleFace_[c] < 0)
            continue;
        double minX = rings_[c][0].x, maxX = minX, minY = rings_[c][0].y, maxY = minY;
        for (const SectionPoint& p : rings_[c]) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        for (int k = 0; k < components_; ++k) {
            const SectionPoint p = vertices_[lowest[k]];
            if (k == component_[c] || p.x < minX || p.x > maxX || p.y < minY || p.y > maxY)
                continue;
            if (parentFace_[k] != faces_ && parentArea[k] <= area_[c])
                continue;
            if (Inside(rings_[c], p)) {
                parentFace_[k] = cycleFace_[c];
                parentArea[k] = area_[c];
            }
        }
    }
}

std::vector<int> Faces::Depths(const std::vector<Piece>& pieces) const
{
    // The faces' neighbours across the pieces, in one array by face.
    std::vector<std::pair<int, int>> links;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const int left = cycleOf_[2 * p];
        const int right = cycleOf_[2 * p + 1];
        if (left == right)
            continue;
        const int f = FaceOfCycle(left);
        const int g = FaceOfCycle(right);
        if (f != g) {
            links.emplace_back(f, g);
            links.emplace_back(g, f);
        }
    }
    std::vector<int> first(static_cast<std::size_t>(faces_ + 2), 0);
    for (const auto& link : links)
        ++first[link.first + 1];
    std::partial_sum(first.begin(), first.end(), first.begin());
    std::vector<int> neighbours(links.size());
    {
        std::vector<int> fill(first.begin(), first.end() - 1);
        for (const auto& [f, g] : links)
            neighbours[fill[f]++] = g;
    }
    std::vector<int> depth(static_cast<std::size_t>(faces_ + 1), -1);
    std::vector<int> queue{faces_};
    depth[faces_] = 0;
    for (std::size_t q = 0; q < queue.size(); ++q) {
        const int f = queue[q];
        for (int k = first[f]; k < first[f + 1]; ++k) {
            const int g = neighbours[k];
            if (depth[g] < 0) {
                depth[g] = depth[f] + 1;
                queue.push_back(g);
            }
        }
    }
    return depth;
}

MaterialRegion Faces::Region(const std::vector<Piece>& pieces)
{
    MaterialRegion region;
    const std::vector<int> depth = Depths(pieces);
    std::vector<bool> hasFaces(static_cast<std::size_t>(components_), false);
    for (std::size_t c = 0; c < rings_.size(); ++c)
        hasFaces[component_[c]] = hasFaces[component_[c]] || cycleFace_[c] >= 0;
    std::vector<int> polygonOfFace(static_cast<std::size_t>(faces_), -1);
    for (std::size_t c = 0; c < rings_.size(); ++c) {
        const int f = cycleFace_[c];
        if (f >= 0 && depth[f] % 2 == 1) {
            polygonOfFace[f] = Count(region.polygons.size());
            region.polygons.push_back({std::move(rings_[c]), {}});
        }
    }
    for (int k = 0; k < components_; ++k) {
        const int parent = parentFace_[k];
        if (hasFaces[k] && parent < faces_ && polygonOfFace[parent] >= 0)
            region.polygons[polygonOfFace[parent]].holes.push_back(std::move(rings_[outerCycle_[k]]));
    }
    // A segment bounds something when one of its pieces has two different walks beside it.
    int lastId = 0;
    for (const Piece& piece : pieces)
        lastId = std::max(lastId, *std::max_element(piece.ids.begin(), piece.ids.end()));
    std::vector<char> drawn(static_cast<std::size_t>(lastId) + 1, 0);  // 1: bounds nothing so far, 2: bounds
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const char bounds = cycleOf_[2 * p] != cycleOf_[2 * p + 1] ? 2 : 1;
        for (const int id : pieces[p].ids) {
            if (id >= 0)
                drawn[id] = std::max(drawn[id], bounds);
        }
    }
    for (int id = 0; id <= lastId; ++id) {
        if (drawn[id] == 1)
            region.dangling.push_back(id);
    }
    return region;
}

}  // namespace

MaterialRegion FindMaterialRegion(const std::vector<SectionEdge>& edges)
{
    std::vector<SectionPoint> points;
    const std::vector<Piece> pieces = Pieces(edges, points);
    if (pieces.empty())
        return {};
    return Faces(pieces, points).Region(pieces);
}

}  // namespace chokusho
