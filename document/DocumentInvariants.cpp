#include "DocumentInvariants.h"

#include <algorithm>

namespace chokusho {

namespace {

std::string Num(long long value) { return std::to_string(value); }

}  // namespace

std::vector<std::string> CheckDocumentInvariants(const BlockData& data)
{
    std::vector<std::string> problems;

    if (data.PointCount < 0 || data.PointCount > kMaxPoints)
        problems.push_back("PointCount " + Num(data.PointCount) + " is outside 0.." + Num(kMaxPoints));
    if (data.LineCount < 0 || data.LineCount > kMaxLines)
        problems.push_back("LineCount " + Num(data.LineCount) + " is outside 0.." + Num(kMaxLines));
    if (data.LayerCount < 0 || data.LayerCount > kMaxLayers)
        problems.push_back("LayerCount " + Num(data.LayerCount) + " is outside 0.." + Num(kMaxLayers));

    // A broken count must not make the checker itself read outside the tables, so the
    // per-slot checks work on the counts clamped to the capacities.
    const int points = std::clamp<int>(data.PointCount, 0, kMaxPoints);
    const int lines = std::clamp<int>(data.LineCount, 0, kMaxLines);

    for (int k = 1; k <= lines; ++k) {
        const int a = data.LineStart[k];
        const int b = data.LineEnd[k];
        if (a < 1 || a > points)
            problems.push_back("segment " + Num(k) + " starts at " + Num(a) + ", not a point 1.." + Num(points));
        if (b < 1 || b > points)
            problems.push_back("segment " + Num(k) + " ends at " + Num(b) + ", not a point 1.." + Num(points));
    }

    if (data.PointX[0] != 0 || data.PointY[0] != 0)
        problems.push_back("point slot 0 is not empty");
    if (data.LineStart[0] != 0 || data.LineEnd[0] != 0 || data.LineKind[0] != 0)
        problems.push_back("segment slot 0 is not empty");

    for (int k = lines + 1; k <= kMaxLines; ++k) {
        if (data.LineStart[k] != 0 || data.LineEnd[k] != 0 || data.LineKind[k] != 0)
            problems.push_back("segment slot " + Num(k) + " above LineCount " + Num(data.LineCount) + " holds " +
                               Num(data.LineStart[k]) + "-" + Num(data.LineEnd[k]) + " of kind " +
                               Num(data.LineKind[k]));
    }
    for (int i = points + 1; i <= kMaxPoints; ++i) {
        if (data.PointX[i] != 0 || data.PointY[i] != 0)
            problems.push_back("point slot " + Num(i) + " above PointCount " + Num(data.PointCount) + " is not empty");
    }

    return problems;
}

}  // namespace chokusho
