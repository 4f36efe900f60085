#include "PickerPreview.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace chokusho {

namespace {

/** The nearest int, halves to even; out-of-range values clamp and NaN gives 0. */
int ToScreen(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    if (rounded <= kLow)
        return std::numeric_limits<int>::min();
    if (rounded >= kHigh)
        return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}

}  // namespace

void DrawPickerPreview(Canvas& canvas, const BlockData& data, double width, double height)
{
    canvas.Clear();
    // Written so that NaN fails every test and falls out here as well.
    if (!(data.B + 1 > 0) || !(data.H + 1 > 0) || !(width > 0) || !(height > 0))
        return;
    const double scale = std::min(width / (data.B + 1), height / (data.H + 1));
    if (!std::isfinite(scale) || !(scale > 0))
        return;
    const double x0 = data.B / 2 - width / (2 * scale);
    const double ytop = data.H / 2 + height / (2 * scale);

    canvas.SetPenStyle(PenStyle::Solid);
    const int points = std::clamp<int>(data.PointCount, 0, kMaxPoints);
    const int lines = std::clamp<int>(data.LineCount, 0, kMaxLines);
    auto valid = [points](int p) { return p >= 1 && p <= points; };
    for (int k = 1; k <= lines; ++k) {
        const int p1 = data.LineStart[k];
        const int p2 = data.LineEnd[k];
        if (!valid(p1) || !valid(p2))
            continue;
        canvas.SetPenStyle(LineTypeOf(data, k) == LineType::Dotted ? PenStyle::Dotted : PenStyle::Solid);
        canvas.Line(ToScreen((data.PointX[p1] - x0) * scale), ToScreen((ytop - data.PointY[p1]) * scale),
                    ToScreen((data.PointX[p2] - x0) * scale), ToScreen((ytop - data.PointY[p2]) * scale), qb::kWhite);
    }
    canvas.SetPenStyle(PenStyle::Solid);
}

}  // namespace chokusho
