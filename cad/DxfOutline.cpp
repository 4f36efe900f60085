#include "DxfOutline.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "Numbers.h"

namespace chokusho::dxf {

namespace {

struct Cell {
    std::int64_t x = 0, y = 0;
    bool operator==(const Cell&) const = default;
};

struct CellHash {
    std::size_t operator()(const Cell& cell) const
    {
        return std::hash<std::uint64_t>()(static_cast<std::uint64_t>(cell.x) * 0x9E3779B97F4A7C15ULL ^
                                          static_cast<std::uint64_t>(cell.y));
    }
};

/** The cell of a coordinate; far ones share the outermost cells, where only the distances decide. */
std::int64_t CellOf(double value, double size)
{
    constexpr double kFarthest = 4.0e15;
    return static_cast<std::int64_t>(std::clamp(std::floor(value / size), -kFarthest, kFarthest));
}

class PointGrid {
public:
    PointGrid(Outline& outline, double tolerance) : outline_(outline), tolerance_(tolerance) {}

    int pointAt(double x, double y)
    {
        const Cell cell{CellOf(x, tolerance_), CellOf(y, tolerance_)};
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const auto found = heads_.find(Cell{cell.x + dx, cell.y + dy});
                for (int p = found == heads_.end() ? -1 : found->second; p >= 0; p = next_[p]) {
                    if (std::hypot(outline_.x[p] - x, outline_.y[p] - y) <= tolerance_)
                        return p;
                }
            }
        }
        const int added = static_cast<int>(outline_.x.size());
        outline_.x.push_back(x);
        outline_.y.push_back(y);
        const auto [head, inserted] = heads_.try_emplace(cell, -1);
        (void)inserted;
        next_.push_back(head->second);
        head->second = added;
        return added;
    }

private:
    Outline& outline_;
    double tolerance_;
    std::unordered_map<Cell, int, CellHash> heads_;
    std::vector<int> next_;
};

/** The value a block file gives back for `value` once written: its "0.000" text read again. */
bool RoundAsWritten(double& value)
{
    const auto read = ReadReal(Format000(value));
    if (!read || !std::isfinite(*read))
        return false;
    value = *read;
    return true;
}

}  // namespace

Outline MergeEnds(const std::vector<Piece>& pieces, double tolerance)
{
    Outline outline;
    PointGrid grid(outline, tolerance);
    outline.edges.reserve(pieces.size());
    for (const Piece& piece : pieces)
        outline.edges.push_back({grid.pointAt(piece.x1, piece.y1), grid.pointAt(piece.x2, piece.y2), piece.dotted});
    return outline;
}

bool PlaceAtOrigin(Outline& outline)
{
    double left = INFINITY, bottom = INFINITY;
    for (const auto& edge : outline.edges) {
        if (edge.a == edge.b)
            continue;
        for (const int p : {edge.a, edge.b}) {
            left = std::min(left, outline.x[p]);
            bottom = std::min(bottom, outline.y[p]);
        }
    }
    if (!std::isfinite(left))
        return true;
    for (std::size_t p = 0; p < outline.x.size(); ++p) {
        outline.x[p] -= left;
        outline.y[p] -= bottom;
        if (!RoundAsWritten(outline.x[p]) || !RoundAsWritten(outline.y[p]))
            return false;
    }
    return true;
}

void Simplify(Outline& outline)
{
    // Rounding may have brought two points onto one place.
    std::map<std::pair<double, double>, int> places;
    std::vector<int> same(outline.x.size());
    for (std::size_t p = 0; p < outline.x.size(); ++p)
        same[p] = places.try_emplace({outline.x[p], outline.y[p]}, static_cast<int>(p)).first->second;

    // A solid segment wins over a dotted one on the same ends: a visible edge that a hidden line
    // runs along is still seen, and the drawing shows it solid.
    std::map<std::pair<int, int>, std::size_t> kept;
    std::vector<Outline::Edge> edges;
    for (const auto& edge : outline.edges) {
        const int a = same[edge.a], b = same[edge.b];
        if (a == b)
            continue;
        const auto [at, added] = kept.try_emplace({std::min(a, b), std::max(a, b)}, edges.size());
        if (added)
            edges.push_back({a, b, edge.dotted});
        else
            edges[at->second].dotted = edges[at->second].dotted && edge.dotted;
    }

    std::vector<int> index(outline.x.size(), -1);
    Outline simple;
    for (auto& edge : edges) {
        for (int* p : {&edge.a, &edge.b}) {
            if (index[*p] < 0) {
                index[*p] = static_cast<int>(simple.x.size());
                simple.x.push_back(outline.x[*p]);
                simple.y.push_back(outline.y[*p]);
            }
            *p = index[*p];
        }
    }
    simple.edges = std::move(edges);
    outline = std::move(simple);
}

int CountTJunctions(const Outline& outline, double tolerance)
{
    int count = 0;
    for (std::size_t p = 0; p < outline.x.size(); ++p) {
        for (const auto& edge : outline.edges) {
            if (edge.a == static_cast<int>(p) || edge.b == static_cast<int>(p))
                continue;
            const double ax = outline.x[edge.a], ay = outline.y[edge.a];
            const double dx = outline.x[edge.b] - ax, dy = outline.y[edge.b] - ay;
            const double px = outline.x[p] - ax, py = outline.y[p] - ay;
            const double length2 = dx * dx + dy * dy;
            const double t = (px * dx + py * dy) / length2;
            if (t > 0 && t < 1 && std::fabs(px * dy - py * dx) / std::sqrt(length2) <= tolerance) {
                ++count;
                break;
            }
        }
    }
    return count;
}

void WalkInOrder(Outline& outline)
{
    const std::size_t n = outline.x.size();
    std::vector<std::vector<int>> at(n);
    for (std::size_t e = 0; e < outline.edges.size(); ++e) {
        at[outline.edges[e].a].push_back(static_cast<int>(e));
        at[outline.edges[e].b].push_back(static_cast<int>(e));
    }
    std::vector<int> starts(n);
    std::iota(starts.begin(), starts.end(), 0);
    std::sort(starts.begin(), starts.end(), [&](int p, int q) {
        return std::pair(outline.y[p], outline.x[p]) < std::pair(outline.y[q], outline.x[q]);
    });

    std::vector<int> number(n, -1);
    std::vector<bool> walked(outline.edges.size(), false);
    Outline ordered;
    const auto visit = [&](int p) {
        if (number[p] < 0) {
            number[p] = static_cast<int>(ordered.x.size());
            ordered.x.push_back(outline.x[p]);
            ordered.y.push_back(outline.y[p]);
        }
    };
    struct Step {
        int point;
        double dx, dy;  // the way it was reached; (0, 0) at a chain's start
    };
    for (const int start : starts) {
        std::vector<Step> path{{start, 0, 0}};
        while (!path.empty()) {
            const Step step = path.back();
            int best = -1;
            double bestTurn = 0;
            for (const int e : at[step.point]) {
                if (walked[e])
                    continue;
                const auto& edge = outline.edges[e];
                const int q = edge.a == step.point ? edge.b : edge.a;
                const double vx = outline.x[q] - outline.x[step.point], vy = outline.y[q] - outline.y[step.point];
                double turn = 0;
                if (step.dx == 0 && step.dy == 0) {
                    // From the lowest point: the first way counter-clockwise from the right.
                    turn = std::atan2(vy, vx);
                    if (turn < 0)
                        turn += 2 * std::numbers::pi;
                } else {
                    turn = std::atan2(step.dx * vy - step.dy * vx, step.dx * vx + step.dy * vy);
                    if (turn <= -std::numbers::pi)
                        turn = std::numbers::pi;  // turning back is the last choice, whichever way round
                }
                if (best < 0 || turn < bestTurn) {
                    best = e;
                    bestTurn = turn;
                }
            }
            if (best < 0) {
                path.pop_back();
                continue;
            }
            walked[best] = true;
            const auto& edge = outline.edges[best];
            const int q = edge.a == step.point ? edge.b : edge.a;
            visit(step.point);
            visit(q);
            ordered.edges.push_back({number[step.point], number[q], edge.dotted});
            path.push_back({q, outline.x[q] - outline.x[step.point], outline.y[q] - outline.y[step.point]});
        }
    }
    outline = std::move(ordered);
}

BlockData ToBlock(const Outline& outline)
{
    BlockData block;
    block.PointCount = static_cast<std::int16_t>(outline.x.size());
    for (std::size_t p = 0; p < outline.x.size(); ++p) {
        block.PointX[p + 1] = outline.x[p];
        block.PointY[p + 1] = outline.y[p];
    }
    block.LineCount = static_cast<std::int16_t>(outline.edges.size());
    for (std::size_t k = 0; k < outline.edges.size(); ++k) {
        block.LineStart[k + 1] = static_cast<std::int16_t>(outline.edges[k].a + 1);
        block.LineEnd[k + 1] = static_cast<std::int16_t>(outline.edges[k].b + 1);
        block.LineKind[k + 1] = outline.edges[k].dotted ? kDottedLine : kSolidLine;
    }
    return block;
}

}  // namespace chokusho::dxf
