#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace chokusho {

/** Fixed capacities of a block record. */
inline constexpr int kMaxPoints = 100;  // points are numbered 1..100
inline constexpr int kMaxLines = 200;   // segments are numbered 1..200
inline constexpr int kMaxLayers = 51;   // layer rows are numbered 0..50

/** Line kinds of a segment. */
inline constexpr std::int16_t kSolidLine = 0;
inline constexpr std::int16_t kDottedLine = 1;

/**
 * One block: identification, main dimensions, layer-volume table, points and segments.
 * A plain value: copying it copies every field, so a copy is a complete snapshot.
 * Element 0 of the point and segment arrays is never used.
 */
struct BlockData {
    std::string Name;  // 名称, UTF-8
    std::string Kind;  // 種別, UTF-8
    double B = 0;
    double L = 0;
    double H = 0;
    double Gx = 0;
    double Gy = 0;
    double V = 0;
    std::int16_t GxMode = 0;  // 0: one centroid X for all layers, 1: one per layer

    std::int16_t LayerCount = 0;
    std::array<double, kMaxLayers> LayerH{};
    std::array<double, kMaxLayers> LayerDV{};
    std::array<double, kMaxLayers> LayerV{};
    std::array<double, kMaxLayers> LayerGx{};

    std::int16_t PointCount = 0;
    std::array<double, kMaxPoints + 1> PointX{};
    std::array<double, kMaxPoints + 1> PointY{};

    std::int16_t LineCount = 0;
    std::array<std::int16_t, kMaxLines + 1> LineStart{};
    std::array<std::int16_t, kMaxLines + 1> LineEnd{};
    std::array<std::int16_t, kMaxLines + 1> LineKind{};

    bool operator==(const BlockData&) const = default;
};

/** How a segment is drawn. */
enum class LineType { Solid, Dotted };
/** Whether the layers share one centroid X or each has its own. */
enum class CentroidMode { Common, PerLayer };

/**
 * Segment k's LineKind as it is drawn: 0 solid, any other (1 as written, or a kind a file
 * brought) dotted. The field keeps the file's number.
 */
inline LineType LineTypeOf(const BlockData& data, int k)
{
    return data.LineKind[k] == kSolidLine ? LineType::Solid : LineType::Dotted;
}

/** GxMode as the program reads it: 0 one centroid X for all layers, any other one per layer. */
inline CentroidMode CentroidModeOf(const BlockData& data)
{
    return data.GxMode == 0 ? CentroidMode::Common : CentroidMode::PerLayer;
}

}  // namespace chokusho
