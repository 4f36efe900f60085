#include "MaterialRegion.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <utility>

namespace chokusho {

namespace {

int Count(std::size_t size) { return static_cast<int>(size); }

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
    Faces(const std::vector<SectionPiece>& pieces, const std::vector<SectionPoint>& points);

    /** The material region; takes the walks' rings, so it is called once. */
    MaterialRegion Region(const std::vector<SectionPiece>& pieces);

private:
    void WalkCycles();
    void FindParents();
    std::vector<int> Depths(const std::vector<SectionPiece>& pieces) const;
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

Faces::Faces(const std::vector<SectionPiece>& pieces, const std::vector<SectionPoint>& points)
{
    // Vertices numbered densely, in the order of the points they stand for.
    std::vector<int> vertexOf(points.size(), -1);
    for (const SectionPiece& piece : pieces) {
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

std::vector<int> Faces::Depths(const std::vector<SectionPiece>& pieces) const
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

MaterialRegion Faces::Region(const std::vector<SectionPiece>& pieces)
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
    for (const SectionPiece& piece : pieces)
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
    const std::vector<SectionPiece> pieces = SplitIntoPieces(edges, points);
    if (pieces.empty())
        return {};
    return Faces(pieces, points).Region(pieces);
}

}  // namespace chokusho
