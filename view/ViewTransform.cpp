#include "ViewTransform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
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

// How closely a window must span its canvas at the view's scale: far tighter than anything the
// user could see, loose enough for the rounding of the window's ends. A window too narrow for
// its distance from the origin fails it before it collapses to one value.
constexpr double kSpanTolerance = 0x1p-31;

/** Whether [lo, hi] spans `pixels` canvas pixels at `scl` pixels per metre. */
bool SpansCanvas(double lo, double hi, double scl, int pixels)
{
    if (!(std::isfinite(lo) && std::isfinite(hi) && lo < hi) || !(std::isfinite(scl) && scl > 0) || pixels <= 0)
        return false;
    const double span = hi - lo;
    return std::isfinite(span) && std::fabs(span * scl - pixels) <= kSpanTolerance * pixels;
}

/** Moves [lo, hi] by `shift`; false, leaving both alone, when the moved window would not span its canvas. */
bool MoveAxis(double& lo, double& hi, double shift, double scl, int pixels)
{
    if (shift == 0)
        return true;
    const double newLo = lo + shift;
    const double newHi = hi + shift;
    if (!SpansCanvas(newLo, newHi, scl, pixels))
        return false;
    lo = newLo;
    hi = newHi;
    return true;
}

void AddMargin(double& lo, double& hi)
{
    const double span = hi - lo;
    const double margin = span >= 10 ? span * 0.1 : 1.0;
    hi += margin;
    lo -= margin;
}

}  // namespace

ModelPoint ViewTransform::GzToKz(int gx, int gy) const
{
    // Before the first fit there is no scale; every pixel stands for the window's corner.
    if (Dan_scl == 0)
        return {Dan_xmin, Dan_ymax};
    return {(gx - Pic_left) / Dan_scl + Dan_xmin, -(gy - Pic_top) / Dan_scl + Dan_ymax};
}

CanvasPoint ViewTransform::KzToGz(double kx, double ky) const
{
    return {FloorToInt16((kx - Dan_xmin) * Dan_scl), FloorToInt16((Dan_ymax - ky) * Dan_scl)};
}

void ViewTransform::Mk_Dan_xyminmax(const BlockData& data)
{
    double xmin = kNoMin, xmax = kNoMax, ymin = kNoMin, ymax = kNoMax;
    const int count = std::clamp<int>(data.PointCount, 0, kMaxPoints);
    for (int i = 1; i <= count; ++i) {
        // Points beyond the limit, infinite ones too, count as lying on it, so the window
        // reaches as close to them as it may go. A NaN coordinate fails every comparison
        // below and has no say.
        const double x = std::clamp(data.PointX[i], -kFitLimit, kFitLimit);
        const double y = std::clamp(data.PointY[i], -kFitLimit, kFitLimit);
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
    // A smallest X above 999.9 leaves kNoMin and falls back to 0, and likewise for the other
    // ends: the extents always reach to within 999.9 of the origin, so a window far out is
    // about as wide as it is far and its margin never drowns in rounding.
    AddMargin(xmin, xmax);
    AddMargin(ymin, ymax);

    Dan_xmin = All_xmin = xmin;
    Dan_xmax = All_xmax = xmax;
    Dan_ymin = All_ymin = ymin;
    Dan_ymax = All_ymax = ymax;
}

void ViewTransform::Mk_Dan_scl()
{
    // A hidden canvas or a degenerate window has no scale that fits; the old view is the
    // best that can be shown until the next fit. The home window always fits a canvas.
    FitWindow(Dan_xmin, Dan_xmax, Dan_ymin, Dan_ymax);
}

bool ViewTransform::FitWindow(double xmin, double xmax, double ymin, double ymax)
{
    const int w = Pic_width - Pic_left;
    const int h = Pic_height - Pic_top;
    const double spanX = xmax - xmin;
    const double spanY = ymax - ymin;
    if (w <= 0 || h <= 0 || !(spanX > 0) || !(spanY > 0))
        return false;
    const double sx = w / spanX;
    const double sy = h / spanY;
    const double scl = (sx >= sy) ? sy : sx;
    if (!std::isfinite(scl) || !(scl > 0))
        return false;
    return CentreWindow(scl, (xmax + xmin) / 2, (ymax + ymin) / 2);
}

bool ViewTransform::CentreWindow(double scl, double xc, double yc)
{
    const int w = Pic_width - Pic_left;
    const int h = Pic_height - Pic_top;
    const double xmin = xc - w / scl / 2;
    const double ymin = yc - h / scl / 2;
    const double xmax = xc + w / scl / 2;
    const double ymax = yc + h / scl / 2;
    // The user may zoom as far as doubles reach; past that the view stays where it was.
    if (!std::isfinite(xc) || !std::isfinite(yc) || !SpansCanvas(xmin, xmax, scl, w) ||
        !SpansCanvas(ymin, ymax, scl, h))
        return false;
    Dan_scl = scl;
    Dan_xc = xc;
    Dan_yc = yc;
    Dan_xmin = xmin;
    Dan_ymin = ymin;
    Dan_xmax = xmax;
    Dan_ymax = ymax;
    return true;
}

void ViewTransform::Set_Dan_scl(ZoomStep sclSw, double kx, double ky)
{
    const double scl = Dan_scl * (sclSw == ZoomStep::In ? 1.25 : 0.75);
    if (!std::isfinite(scl) || !(scl > 0))
        return;
    CentreWindow(scl, kx, ky);
}

bool ViewTransform::ZoomAbout(ZoomStep sclSw, int gx, int gy)
{
    if (!(Dan_scl > 0))
        return false;
    const double scl = Dan_scl * (sclSw == ZoomStep::In ? 1.25 : 0.75);
    if (!std::isfinite(scl))
        return false;
    // The pixel's model point keeps its offset from the window's corner in pixels.
    const ModelPoint fixed = GzToKz(gx, gy);
    const double xmin = fixed.kx - (gx - Pic_left) / scl;
    const double ymax = fixed.ky + (gy - Pic_top) / scl;
    const double xc = xmin + (Pic_width - Pic_left) / scl / 2;
    const double yc = ymax - (Pic_height - Pic_top) / scl / 2;
    return CentreWindow(scl, xc, yc);
}

bool ViewTransform::ShiftWindow(double dx, double dy)
{
    double xmin = Dan_xmin, xmax = Dan_xmax, ymin = Dan_ymin, ymax = Dan_ymax;
    if (!MoveAxis(xmin, xmax, dx, Dan_scl, Pic_width - Pic_left) ||
        !MoveAxis(ymin, ymax, dy, Dan_scl, Pic_height - Pic_top))
        return false;
    Dan_xmin = xmin;
    Dan_xmax = xmax;
    Dan_ymin = ymin;
    Dan_ymax = ymax;
    return true;
}

int ViewTransform::px(double x) const { return TruncateToInt((x - Dan_xmin) * Dan_scl); }

int ViewTransform::py(double y) const { return TruncateToInt((Dan_ymax - y) * Dan_scl); }

}  // namespace chokusho
