#include "SectionProperties.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <utility>

#include "MaterialRegion.h"
#include "Numbers.h"

namespace chokusho {

namespace {

std::ptrdiff_t RecordRows(const BlockData& data) { return std::clamp<int>(data.LayerCount, 0, kMaxLayers); }

std::vector<double> RecordTops(const BlockData& data)
{
    return {data.LayerH.begin(), data.LayerH.begin() + RecordRows(data)};
}

std::string Int(int value) { return FormatInteger(value); }

/** "No.3": a layer row as the grid numbers it. */
std::string Row(std::size_t k) { return "No." + FormatInteger(static_cast<long long>(k) + 1); }

std::string RowList(const std::vector<int>& rows)
{
    std::string text;
    for (const int k : rows)
        text += (text.empty() ? "" : ", ") + Row(static_cast<std::size_t>(k));
    return text;
}

void Add(SectionResult& result, SectionProblemKind kind, std::string text, std::vector<int> points = {},
         std::vector<int> segments = {}, std::vector<int> layers = {})
{
    result.problems.push_back({kind, std::move(points), std::move(segments), std::move(layers), std::move(text)});
}

bool Usable(double value) { return std::isfinite(value) && std::fabs(value) <= kLargestCoordinate; }

/** The solid segments as edges, with the problems of those whose ends are no usable points. */
std::vector<SectionEdge> SolidEdges(const BlockData& data, SectionResult& result, bool& anySolid)
{
    const int points = std::clamp<int>(data.PointCount, 0, kMaxPoints);
    const int lines = std::clamp<int>(data.LineCount, 0, kMaxLines);
    std::vector<SectionEdge> edges;
    std::vector<bool> told(kMaxPoints + 1, false);
    anySolid = false;
    for (int k = 1; k <= lines; ++k) {
        if (LineTypeOf(data, k) != LineType::Solid)
            continue;
        anySolid = true;
        const int s = data.LineStart[k];
        const int e = data.LineEnd[k];
        bool usable = true;
        for (const int p : {s, e}) {
            if (p < 1 || p > points) {
                Add(result, SectionProblemKind::BadPoint, "線分 " + Int(k) + " の端の点 " + Int(p) + " がありません。", {},
                    {k});
                usable = false;
            } else if (!Usable(data.PointX[p]) || !Usable(data.PointY[p])) {
                if (!told[p])
                    Add(result, SectionProblemKind::BadPoint, "点 " + Int(p) + " の座標が数値として扱えません。", {p}, {k});
                told[p] = true;
                usable = false;
            }
        }
        if (usable)
            edges.push_back({{data.PointX[s], data.PointY[s]}, {data.PointX[e], data.PointY[e]}, k});
    }
    return edges;
}

SectionExtents ExtentsOf(const std::vector<SectionEdge>& edges)
{
    if (edges.empty())
        return {};
    SectionExtents x{edges[0].a.x, edges[0].a.y, edges[0].a.x, edges[0].a.y};
    for (const SectionEdge& edge : edges) {
        for (const SectionPoint& p : {edge.a, edge.b}) {
            x.minX = std::min(x.minX, p.x);
            x.minY = std::min(x.minY, p.y);
            x.maxX = std::max(x.maxX, p.x);
            x.maxY = std::max(x.maxY, p.y);
        }
    }
    return x;
}

void TellOutline(const BlockData& data, const MaterialRegion& region, bool anySolid, SectionResult& result)
{
    if (!anySolid) {
        Add(result, SectionProblemKind::NoOutline, "実線の線分がありません。断面の外形を実線で描いてください。");
        return;
    }
    for (const int k : region.dangling) {
        const int s = data.LineStart[k];
        const int e = data.LineEnd[k];
        Add(result, SectionProblemKind::OpenOutline,
            "線分 " + Int(s) + "–" + Int(e) + " がどの面も囲んでいません (点 " + Int(s) + ", " + Int(e) + ")。", {s, e},
            {k});
    }
    if (!(result.area > 0))
        Add(result, SectionProblemKind::OpenOutline, "実線の線分が閉じた面を作っていません。");
}

void SliceLayers(const std::vector<double>& tops, double length, SectionResult& result)
{
    const SectionPoint origin{result.extents.minX, result.extents.minY};
    const double height = result.extents.height();
    const bool outline = result.area > 0;
    // Each face's heights, holes inside it: a row passes by the faces that it does not meet.
    std::vector<std::pair<double, double>> spans;
    for (const SectionPolygon& polygon : result.region) {
        const auto [low, high] = std::minmax_element(polygon.outer.begin(), polygon.outer.end(),
                                                     [](const SectionPoint& a, const SectionPoint& b) { return a.y < b.y; });
        spans.emplace_back(low->y, high->y);
    }
    for (std::size_t k = 0; k < tops.size(); ++k) {
        SectionLayer layer;
        layer.bottom = k == 0 ? 0.0 : tops[k - 1];
        layer.top = tops[k];
        SectionMoments m;
        for (std::size_t i = 0; i < result.region.size(); ++i) {
            if (spans[i].first < origin.y + layer.top && spans[i].second > origin.y + layer.bottom)
                m += PolygonBandMoments(result.region[i], origin.y + layer.bottom, origin.y + layer.top, origin);
        }
        layer.area = std::max(0.0, m.area);
        layer.volume = layer.area * length;
        layer.centroidX = layer.area > 0 ? m.mx / m.area : 0.0;
        result.layers.push_back(layer);
        if (!(layer.top >= layer.bottom))
            Add(result, SectionProblemKind::LayersAbove,
                k == 0 ? Row(k) + " の高さ " + Format000(layer.top) + " m が断面の底より低くなっています。"
                       : Row(k) + " の高さ " + Format000(layer.top) + " m が " + Row(k - 1) + " の高さ " +
                             Format000(layer.bottom) + " m より低くなっています。",
                {}, {}, {static_cast<int>(k)});
        else if (outline && layer.top > height + kMergeDistance)
            Add(result, SectionProblemKind::LayersAbove,
                Row(k) + " の高さ " + Format000(layer.top) + " m が断面の高さ " + Format000(height) + " m を超えています。",
                {}, {}, {static_cast<int>(k)});
    }
}

/** The entered figures against the computed ones: the notices, and the flags the dialog shows. */
void CompareEntered(const BlockData& data, bool hasLength, SectionResult& result)
{
    if (!(result.area > 0))
        return;
    if (!hasLength) {
        Add(result, SectionProblemKind::NoLength, "体積の計算には寸法 Ｌ が必要です。面積と重心だけを計算しました。");
    } else {
        result.volumeDiffers = VolumeDiffers(data.V, *result.volume, data.V);
        if (result.volumeDiffers)
            Add(result, SectionProblemKind::VolumeDiffers,
                "体積 Ｖ " + Format000(data.V) + " m³ が断面からの計算値 " + Format000(*result.volume) +
                    " m³ と 1 % を超えて違います。");
    }
    result.centroidXDiffers = CentroidDiffers(data.Gx, result.centroidX);
    result.centroidYDiffers = CentroidDiffers(data.Gy, result.centroidY);
    if (result.centroidXDiffers || result.centroidYDiffers)
        Add(result, SectionProblemKind::CentroidDiffers,
            "重心 (" + Format000(data.Gx) + ", " + Format000(data.Gy) + ") m が断面からの計算値 (" +
                Format000(result.centroidX) + ", " + Format000(result.centroidY) + ") m と 1 cm を超えて違います。");

    // Rows the record has; in the common mode every row holds the block's Gx, which is checked above.
    const std::size_t rows = std::min(result.layers.size(), static_cast<std::size_t>(RecordRows(data)));
    std::vector<int> volumeRows;
    std::vector<int> centroidRows;
    for (std::size_t k = 0; k < rows; ++k) {
        SectionLayer& layer = result.layers[k];
        layer.volumeDiffers = hasLength && VolumeDiffers(data.LayerDV[k], layer.volume, data.V);
        layer.centroidDiffers =
            CentroidModeOf(data) == CentroidMode::PerLayer && layer.area > 0 && CentroidDiffers(data.LayerGx[k], layer.centroidX);
        if (layer.volumeDiffers)
            volumeRows.push_back(static_cast<int>(k));
        if (layer.centroidDiffers)
            centroidRows.push_back(static_cast<int>(k));
    }
    if (!volumeRows.empty())
        Add(result, SectionProblemKind::VolumeDiffers,
            RowList(volumeRows) + " の ⊿Ｖ が断面からの計算値と Ｖ の 1 % を超えて違います。", {}, {}, volumeRows);
    if (!centroidRows.empty())
        Add(result, SectionProblemKind::CentroidDiffers,
            RowList(centroidRows) + " の重心X が断面からの計算値と 1 cm を超えて違います。", {}, {}, centroidRows);
}


}  // namespace

double EnteredLayerSum(const BlockData& data)
{
    double sum = 0;
    for (std::ptrdiff_t k = 0; k < RecordRows(data); ++k)
        sum += data.LayerDV[static_cast<std::size_t>(k)];
    return sum;
}

bool SectionResult::hasErrors() const
{
    return std::any_of(problems.begin(), problems.end(), [](const SectionProblem& p) { return !p.notice(); });
}

SectionResult ComputeSection(const BlockData& data) { return ComputeSection(data, RecordTops(data)); }

SectionResult ComputeSection(const BlockData& data, const std::vector<double>& layerTops)
{
    SectionResult result;
    bool anySolid = false;
    const std::vector<SectionEdge> edges = SolidEdges(data, result, anySolid);
    result.extents = ExtentsOf(edges);
    MaterialRegion region = FindMaterialRegion(edges);
    result.region = std::move(region.polygons);
    const SectionPoint origin{result.extents.minX, result.extents.minY};
    SectionMoments m;
    for (const SectionPolygon& polygon : result.region)
        m += PolygonMoments(polygon, origin);
    if (m.area > 0) {
        result.area = m.area;
        result.centroidX = m.mx / m.area;
        result.centroidY = m.my / m.area;
    }
    TellOutline(data, region, anySolid, result);

    const bool hasLength = std::isfinite(data.L) && data.L > 0;
    if (hasLength)
        result.volume = result.area * data.L;
    SliceLayers(layerTops, hasLength ? data.L : 0.0, result);

    if (data.LayerCount >= 1) {
        const double sum = EnteredLayerSum(data);
        if (LayerSumDiffers(data.V, sum))
            Add(result, SectionProblemKind::LayerSum,
                "層別体積の合計 " + FormatFixed(sum, 4) + " m³ が体積 Ｖ " + FormatFixed(data.V, 4) + " m³ と合いません。");
    }
    CompareEntered(data, hasLength, result);
    return result;
}

SectionEntry EntryFigures(const SectionResult& result)
{
    const auto thousandths = [](double value) { return std::round(value * 1000.0) / 1000.0; };
    SectionEntry entry;
    entry.Gx = thousandths(result.centroidX);
    entry.Gy = thousandths(result.centroidY);
    double sum = 0;
    for (const SectionLayer& layer : result.layers) {
        entry.layerGx.push_back(thousandths(layer.centroidX));
        if (result.volume) {
            entry.layerDV.push_back(thousandths(layer.volume));
            sum = thousandths(sum + entry.layerDV.back());
        }
    }
    if (result.volume)
        entry.V = result.layers.empty() ? thousandths(*result.volume) : sum;
    return entry;
}

std::vector<double> ProposeLayerTops(const BlockData& data)
{
    SectionResult scratch;
    bool anySolid = false;
    const SectionExtents extents = ExtentsOf(SolidEdges(data, scratch, anySolid));
    const double height = extents.height();
    if (!(height > kMergeDistance))
        return {};
    // Whole metres below the top, as many as the table leaves room for beside the top row.
    const double step = std::max(1.0, std::ceil(height / kMaxLayers));
    std::vector<double> tops;
    for (double top = step; top < height - kMergeDistance; top += step)
        tops.push_back(top);
    tops.push_back(height);
    return tops;
}

}  // namespace chokusho
