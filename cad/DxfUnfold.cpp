// Places the entities of model space, and of the blocks inserted there, on the drawing: each
// piece in the file's units with its layer and line kind, as the import takes them.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "DxfRaw.h"
#include "DxfReader.h"

namespace chokusho {

DxfPlacement DxfPlacement::after(const DxfPlacement& inner) const
{
    return DxfPlacement{a * inner.a + b * inner.c, a * inner.b + b * inner.d,     c * inner.a + d * inner.c,
                        c * inner.b + d * inner.d, a * inner.e + b * inner.f + e, c * inner.e + d * inner.f + f};
}

double DxfPlacement::stretch() const
{
    const double sum = a * a + b * b + c * c + d * d;
    const double det = a * d - b * c;
    return std::sqrt((sum + std::sqrt(std::max(0.0, sum * sum - 4 * det * det))) / 2);
}

namespace dxf {
namespace {

constexpr double kDegree = std::numbers::pi / 180;

class Unfolder {
public:
    Unfolder(const File& file, DxfDrawing& drawing) : file_(file), drawing_(drawing)
    {
        for (const LineType& type : file.lineTypes)
            typeDotted_.push_back(type.gapped || IsDottedLineTypeName(type.key));
        for (const Layer& layer : file.layers) {
            layerDotted_.push_back(layer.lineType >= 0 && typeDotted_[static_cast<std::size_t>(layer.lineType)]);
            drawing.layers.push_back(DxfLayer{DecodeName(file, layer.bytes), layer.frozen, layer.off, 0});
            if (layer.bytes == "0")
                layerZero_ = static_cast<int>(drawing.layers.size()) - 1;
        }
        drawing.insUnits = file.insUnits;
    }

    void run() { place(file_.entities, DxfPlacement{}, -1, false); }

private:
    /**
     * Takes `pieces` from what the blocks may still unfold into; refuses a file that wants more.
     * What model space holds itself is no more than its bytes, and is not counted.
     */
    void spend(long long pieces)
    {
        if (depth_ == 0)
            return;
        budget_ -= pieces;
        if (budget_ < 0)
            throw Refusal{DxfFailure::TooComplex};
    }

    bool dotted(int lineType, int layer, bool byBlock) const
    {
        if (lineType == kByLayer)
            return layerDotted_[static_cast<std::size_t>(layer)];
        if (lineType == kByBlock)
            return byBlock;
        return typeDotted_[static_cast<std::size_t>(lineType)];
    }

    /**
     * The entities of `list` placed by `at`. Inside a block (`insertLayer` set), entities on layer
     * "0" take the insertion's layer and BYBLOCK its line kind, `insertDotted`.
     */
    void place(const std::vector<Entity>& list, const DxfPlacement& at, int insertLayer, bool insertDotted)
    {
        DxfSkipCounts& skipped = drawing_.skipped;
        for (const Entity& e : list) {
            spend(1);
            if (depth_ == 0 && e.paperSpace) {
                ++skipped.paperSpace;
                continue;
            }
            if (e.kind == Kind::Text || e.kind == Kind::Other) {
                ++(e.kind == Kind::Text ? skipped.texts : skipped.otherKinds);
                continue;
            }
            const int layer = insertLayer >= 0 && e.layer == layerZero_ ? insertLayer : e.layer;
            if (drawing_.layers[static_cast<std::size_t>(layer)].hidden()) {
                ++skipped.hiddenLayer;
                continue;
            }
            const bool isDotted = dotted(e.lineType, layer, insertDotted);
            // An extrusion downwards turns the entity's own plane over: its X runs to the left.
            const DxfPlacement own = e.mirrored ? at.after(DxfPlacement{-1, 0, 0, 1, 0, 0}) : at;
            if (e.kind == Kind::Insert) {
                insert(e, own, layer, isDotted);
                continue;
            }
            ++drawing_.layers[static_cast<std::size_t>(layer)].entities;
            switch (e.kind) {
            case Kind::Line:
                line(at, e.v[0], e.v[1], e.v[2], e.v[3], layer, isDotted);  // LINE is in world coordinates
                break;
            case Kind::Arc: {
                double sweep = std::fmod(e.v[4] - e.v[3], 360.0);
                if (!(sweep > 0))
                    sweep += 360;
                arc(own, e.v[0], e.v[1], e.v[2], e.v[3] * kDegree, sweep * kDegree, layer, isDotted);
                break;
            }
            case Kind::Circle: arc(own, e.v[0], e.v[1], e.v[2], 0, 2 * std::numbers::pi, layer, isDotted); break;
            case Kind::Polyline: polyline(e, own, layer, isDotted); break;
            default: break;
            }
        }
    }

    void insert(const Entity& e, const DxfPlacement& at, int layer, bool isDotted)
    {
        if (e.block < 0)
            return;
        if (depth_ + 1 > kMaxDxfInsertDepth)
            throw Refusal{DxfFailure::TooComplex};
        ++depth_;
        const Block& block = file_.blocks[static_cast<std::size_t>(e.block)];
        const int columns = std::max(1, e.columns);
        const int rows = std::max(1, e.rows);
        spend(static_cast<long long>(columns) * rows);
        const double sx = e.v[2], sy = e.v[3];
        const double cosine = std::cos(e.v[4] * kDegree), sine = std::sin(e.v[4] * kDegree);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                // Scaled about the block's base point, moved along the rotated rows and columns,
                // turned, and set at the insertion point.
                const double qx = column * e.v[5] - sx * block.baseX;
                const double qy = row * e.v[6] - sy * block.baseY;
                const DxfPlacement local{cosine * sx,
                                         -sine * sy,
                                         sine * sx,
                                         cosine * sy,
                                         e.v[0] + cosine * qx - sine * qy,
                                         e.v[1] + sine * qx + cosine * qy};
                place(block.entities, at.after(local), layer, isDotted);
            }
        }
        --depth_;
    }

    void line(const DxfPlacement& at, double x1, double y1, double x2, double y2, int layer, bool isDotted)
    {
        spend(1);
        drawing_.lines.push_back(DxfLine{at.x(x1, y1), at.y(x1, y1), at.x(x2, y2), at.y(x2, y2), layer, isDotted});
    }

    void arc(const DxfPlacement& at, double cx, double cy, double r, double start, double sweep, int layer,
             bool isDotted)
    {
        if (!(r > 0))
            return;
        spend(1);
        drawing_.arcs.push_back(DxfArc{cx, cy, r, start, sweep, at, layer, isDotted});
    }

    void polyline(const Entity& e, const DxfPlacement& at, int layer, bool isDotted)
    {
        const auto first = file_.vertices.begin() + e.firstVertex;
        const std::uint32_t count = e.vertexCount;
        const std::uint32_t pieces = e.closed && count >= 2 ? count : count - std::min<std::uint32_t>(count, 1);
        for (std::uint32_t i = 0; i < pieces; ++i) {
            const Vertex& p = first[i];
            const Vertex& q = first[(i + 1) % count];
            bulge(at, p, q, layer, isDotted);
        }
    }

    /**
     * The piece from `p` to `q`: straight, or with p's bulge (the tangent of a quarter of the
     * arc's angle, positive counter-clockwise) an arc whose centre lies on the chord's left
     * normal (1 - bulge²) / (4 bulge) chord lengths from its middle.
     */
    void bulge(const DxfPlacement& at, const Vertex& p, const Vertex& q, int layer, bool isDotted)
    {
        const double b = p.bulge;
        if (b != 0) {
            const double k = (1 - b * b) / (4 * b);
            const double cx = (p.x + q.x) / 2 - (q.y - p.y) * k;
            const double cy = (p.y + q.y) / 2 + (q.x - p.x) * k;
            const double r = std::hypot(p.x - cx, p.y - cy);
            if (std::isfinite(cx) && std::isfinite(cy) && std::isfinite(r) && (p.x != q.x || p.y != q.y)) {
                arc(at, cx, cy, r, std::atan2(p.y - cy, p.x - cx), 4 * std::atan(b), layer, isDotted);
                return;
            }
        }
        line(at, p.x, p.y, q.x, q.y, layer, isDotted);
    }

    const File& file_;
    DxfDrawing& drawing_;
    std::vector<bool> typeDotted_;
    std::vector<bool> layerDotted_;
    int layerZero_ = -1;
    long long budget_ = kMaxDxfPieces;
    /** How deep in blocks the entities being placed lie: 0 in model space. */
    int depth_ = 0;
};

}  // namespace

void Unfold(const File& file, DxfDrawing& drawing) { Unfolder(file, drawing).run(); }

}  // namespace dxf
}  // namespace chokusho
