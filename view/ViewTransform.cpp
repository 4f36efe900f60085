#include "ViewTransform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <limits>

namespace chokusho {
namespace {

// Extents start inverted so that the first point sets both ends; an end still holding its
// start value afterwards had no point and falls back to the default window.
constexpr double kNoMin = 999.9;
constexpr double kNoMax = -999.9;

/** Truncates towards zero; values beyond the int range stick to its ends and NaN gives 0. */
int TruncateToInt(double v)
{
    if (std::isnan(v))
        return 0;
    // Every double strictly between these two bounds truncates to a representable int.
    if (v >= 2147483648.0)
        return std::numeric_limits<int>::max();
    if (v <= -2147483649.0)
        return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

/** Rounds down into the 16-bit range that the mouse coordinates of the canvas use. */
std::int16_t FloorToInt16(double v)
{
    if (std::isnan(v))
        return 0;
    const double f = std::clamp(std::floor(v), -32768.0, 32767.0);
    return static_cast<std::int16_t>(f);
}

bool AllFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

void AddMargin(double& lo, double& hi)
{
    const double span = hi - lo;
    const double margin = span >= 10 ? span * 0.1 : 1.0;
    hi += margin;
    lo -= margin;
}

}  // namespace

void ViewTransform::GzToKz(int gx, int gy, double& kx, double& ky) const
{
    if (Dan_scl == 0) {
        // Before the first fit there is no scale; every pixel stands for the window's corner.
        kx = Dan_xmin;
        ky = Dan_ymax;
        return;
    }
    kx = (gx - Pic_left) / Dan_scl + Dan_xmin;
    ky = -(gy - Pic_top) / Dan_scl + Dan_ymax;
}

void ViewTransform::KzToGz(double kx, double ky, std::int16_t& gx, std::int16_t& gy) const
{
    gx = FloorToInt16((kx - Dan_xmin) * Dan_scl);
    gy = FloorToInt16((Dan_ymax - ky) * Dan_scl);
}

void ViewTransform::Mk_Dan_xyminmax(const BlockData& data)
{
    double xmin = kNoMin, xmax = kNoMax, ymin = kNoMin, ymax = kNoMax;
    const int count = std::clamp<int>(data.PointCount, 0, kMaxPoints);
    for (int i = 1; i <= count; ++i) {
        const double x = data.PointX[static_cast<std::size_t>(i)];
        const double y = data.PointY[static_cast<std::size_t>(i)];
        if (x < xmin)
            xmin = x;
        if (x > xmax)
            xmax = x;
        if (y < ymin)
            ymin = y;
        if (y > ymax)
            ymax = y;
    }
    if (xmin == kNoMin)
        xmin = 0;
    if (xmax == kNoMax)
        xmax = 10;
    if (ymin == kNoMin)
        ymin = 0;
    if (ymax == kNoMax)
        ymax = 10;
    AddMargin(xmin, xmax);
    AddMargin(ymin, ymax);

    Dan_xmin = All_xmin = xmin;
    Dan_xmax = All_xmax = xmax;
    Dan_ymin = All_ymin = ymin;
    Dan_ymax = All_ymax = ymax;
}

void ViewTransform::Mk_Dan_scl()
{
    const int w = Pic_width - Pic_left;
    const int h = Pic_height - Pic_top;
    const double spanX = Dan_xmax - Dan_xmin;
    const double spanY = Dan_ymax - Dan_ymin;
    // A hidden canvas or a degenerate window has no scale that fits; the old view is the
    // best that can be shown until the next fit.
    if (w <= 0 || h <= 0 || !(spanX > 0) || !(spanY > 0))
        return;
    const double sx = w / spanX;
    const double sy = h / spanY;
    const double scl = (sx >= sy) ? sy : sx;
    if (!std::isfinite(scl) || !(scl > 0))
        return;
    CentreWindow(scl, (Dan_xmax + Dan_xmin) / 2, (Dan_ymax + Dan_ymin) / 2);
}

void ViewTransform::CentreWindow(double scl, double xc, double yc)
{
    const int w = Pic_width - Pic_left;
    const int h = Pic_height - Pic_top;
    const double xmin = xc - w / scl / 2;
    const double ymin = yc - h / scl / 2;
    const double xmax = xc + w / scl / 2;
    const double ymax = yc + h / scl / 2;
    // The user may zoom as far as doubles reach; past that the view stays where it was.
    if (!AllFinite({xc, yc, xmin, ymin, xmax, ymax}))
        return;
    Dan_scl = scl;
    Dan_xc = xc;
    Dan_yc = yc;
    Dan_xmin = xmin;
    Dan_ymin = ymin;
    Dan_xmax = xmax;
    Dan_ymax = ymax;
}

void ViewTransform::Set_Dan_scl(int sclSw, double kx, double ky)
{
    const double scl = Dan_scl * (sclSw == 0 ? 1.25 : 0.75);
    if (!std::isfinite(scl) || !(scl > 0))
        return;
    CentreWindow(scl, kx, ky);
}

int ViewTransform::px(double x) const
{
    return TruncateToInt((x - Dan_xmin) * Dan_scl);
}

int ViewTransform::py(double y) const
{
    return TruncateToInt((Dan_ymax - y) * Dan_scl);
}

}  // namespace chokusho
