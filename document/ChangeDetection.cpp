#include "ChangeDetection.h"

#include <algorithm>

namespace chokusho {

namespace {

/** Elements first..last-1 of two tables are equal; `last` is clamped to the table. */
template <typename Table>
bool SameRows(const Table& a, const Table& b, int first, int last)
{
    last = std::clamp<int>(last, first, static_cast<int>(a.size()));
    return std::equal(a.begin() + first, a.begin() + last, b.begin() + first);
}

}  // namespace

bool IsModified(const BlockData& c, const BlockData& s)
{
    if (c.Name != s.Name || c.Kind != s.Kind)
        return true;
    if (c.B != s.B || c.L != s.L || c.H != s.H || c.Gx != s.Gx || c.Gy != s.Gy || c.V != s.V)
        return true;
    if (c.GxMode != s.GxMode || c.LayerCount != s.LayerCount)
        return true;
    const int layers = c.LayerCount;
    if (!SameRows(c.LayerH, s.LayerH, 0, layers) || !SameRows(c.LayerDV, s.LayerDV, 0, layers) ||
        !SameRows(c.LayerV, s.LayerV, 0, layers) || !SameRows(c.LayerGx, s.LayerGx, 0, layers))
        return true;
    if (c.PointCount != s.PointCount)
        return true;
    if (!SameRows(c.PointX, s.PointX, 1, c.PointCount + 1) || !SameRows(c.PointY, s.PointY, 1, c.PointCount + 1))
        return true;
    if (c.LineCount != s.LineCount)
        return true;
    const int lines = c.LineCount + 1;
    return !SameRows(c.LineStart, s.LineStart, 1, lines) || !SameRows(c.LineEnd, s.LineEnd, 1, lines) ||
           !SameRows(c.LineKind, s.LineKind, 1, lines);
}

}  // namespace chokusho
