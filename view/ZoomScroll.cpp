#include "ZoomScroll.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace chokusho {
namespace {

// The frame's own layout is kept in twips, as it was first drawn up: a client area of
// SW x SH twips with the toolbar on top and the status bar at the bottom.
constexpr int kToolbarTwips = 420;
constexpr int kStatusBarTwips = 315;
constexpr int kBarThicknessTwips = 255;
constexpr int kCanvasRightGapTwips = 270;    // SW - canvas width
constexpr int kVBarLeftGapTwips = 285;       // SW - vertical bar's left
constexpr int kCanvasHeightGapTwips = 1020;  // SH - canvas height
constexpr int kHBarTopGapTwips = 615;        // SH - horizontal bar's top

struct Corners {
    double xa, ya, xb, yb;
};

Corners ToModel(const ViewTransform& view, int gxa, int gya, int gxb, int gyb)
{
    const ModelPoint a = view.GzToKz(gxa, gya);
    const ModelPoint b = view.GzToKz(gxb, gyb);
    return {a.kx, a.ky, b.kx, b.ky};
}

/**
 * How far a bar's travel moves the window along one axis: the full travel of the bar spans
 * twice the distance from the view's centre to the farther edge of the home window, so from
 * any view the whole section can be scrolled into sight.
 */
double ScrollShift(double centre, double homeLo, double homeHi, int travel)
{
    if (travel == 0)
        return 0;
    const double reach = std::max(std::fabs(homeHi - centre), std::fabs(homeLo - centre));
    return travel / static_cast<double>(kScrollMax - kScrollMin) * reach * 2;
}

}  // namespace

int TwipsToPixels(int twips) { return static_cast<int>(std::lround(twips / static_cast<double>(kTwipsPerPixel))); }

FrameLayout LayoutFrame(int width, int height)
{
    // Keeps the twips of any int size within int.
    constexpr int kMaxSide = (std::numeric_limits<int>::max() - kToolbarTwips - kStatusBarTwips) / kTwipsPerPixel;
    width = std::clamp(width, 0, kMaxSide);
    height = std::clamp(height, 0, kMaxSide);
    const int sw = width * kTwipsPerPixel;
    const int sh = height * kTwipsPerPixel + kToolbarTwips + kStatusBarTwips;
    const auto size = [](int twips) { return std::max(TwipsToPixels(twips), 1); };
    // Tops are measured from the toolbar's lower edge, which is where this area begins.
    const auto top = [](int twips) { return TwipsToPixels(twips - kToolbarTwips); };

    FrameLayout layout;
    layout.canvas = {0, top(kToolbarTwips), size(sw - kCanvasRightGapTwips), size(sh - kCanvasHeightGapTwips)};
    layout.vScroll = {TwipsToPixels(sw - kVBarLeftGapTwips), top(kToolbarTwips), size(kBarThicknessTwips),
                      size(sh - kCanvasHeightGapTwips)};
    layout.hScroll = {0, top(sh - kHBarTopGapTwips), size(sw - kCanvasRightGapTwips), size(kBarThicknessTwips)};
    return layout;
}

ZoomResult Kakudai_disp(ViewTransform& view, int gxa, int gya, int gxb, int gyb)
{
    if (!(view.Dan_scl > 0))
        return ZoomResult::Nothing;
    const Corners c = ToModel(view, gxa, gya, gxb, gyb);
    // A click or a sliver of a drag is no rectangle; the repaint wipes its rubber band.
    if (!(std::fabs(c.xa - c.xb) >= 0.3) || !(std::fabs(c.ya - c.yb) >= 0.3))
        return ZoomResult::RepaintOnly;

    double xmax = std::max(c.xa, c.xb), xmin = std::min(c.xa, c.xb);
    double ymax = std::max(c.ya, c.yb), ymin = std::min(c.ya, c.yb);
    const auto pad = [](double& lo, double& hi) {
        const double span = hi - lo;
        const double margin = span >= 10 ? span * 0.01 : 0.1;
        hi += margin;
        lo -= margin;
    };
    pad(xmin, xmax);
    pad(ymin, ymax);
    // Zoomed in as far as doubles resolve, the rectangle has nothing more to show.
    if (!view.FitWindow(xmin, xmax, ymin, ymax))
        return ZoomResult::RepaintOnly;
    return ZoomResult::Refitted;
}

ZoomResult Shukusho_disp(ViewTransform& view, int gxa, int gya, int gxb, int gyb)
{
    if (!(view.Dan_scl > 0))
        return ZoomResult::Nothing;
    const Corners c = ToModel(view, gxa, gya, gxb, gyb);
    if (!(std::fabs(c.xa - c.xb) >= 0.01) || !(std::fabs(c.ya - c.yb) >= 0.01))
        return ZoomResult::Nothing;

    const double rx = (c.xb + c.xa) / 2, ry = (c.ya + c.yb) / 2;
    const double vx = (view.Dan_xmax + view.Dan_xmin) / 2, vy = (view.Dan_ymin + view.Dan_ymax) / 2;
    const double right = view.Dan_xmax - rx, left = rx - view.Dan_xmin;
    const double top = view.Dan_ymax - ry, bottom = ry - view.Dan_ymin;
    const double fx = std::fabs(c.xa - c.xb) / (view.Dan_xmax - view.Dan_xmin);
    const double fy = std::fabs(c.ya - c.yb) / (view.Dan_ymax - view.Dan_ymin);
    const double f = (fx >= fy) ? fy : fx;
    const double xmax = right / f + vx, xmin = vx - left / f;
    const double ymax = top / f + vy, ymin = vy - bottom / f;
    // Zoomed out as far as doubles reach, a further step has nowhere to go.
    if (!view.FitWindow(xmin, xmax, ymin, ymax))
        return ZoomResult::Nothing;
    return ZoomResult::Refitted;
}

bool HScroll1_Change(ViewTransform& view, ScrollState& scroll, int value)
{
    if (scroll.HScr_lock == 1)
        return false;
    // The bar cannot report a value outside its range.
    value = std::clamp(value, kScrollMin, kScrollMax);
    // A move the window cannot make leaves the bar's last value, so that the view keeps
    // answering to it.
    if (!view.ShiftWindow(ScrollShift(view.Dan_xc, view.All_xmin, view.All_xmax, value - scroll.HScr_old), 0))
        return false;
    scroll.HScr_old = static_cast<std::int16_t>(value);
    return true;
}

bool VScroll1_Change(ViewTransform& view, ScrollState& scroll, int value)
{
    if (scroll.VScr_lock == 1)
        return false;
    value = std::clamp(value, kScrollMin, kScrollMax);
    // The thumb runs downwards, Y upwards.
    if (!view.ShiftWindow(0, ScrollShift(view.Dan_yc, view.All_ymin, view.All_ymax, -(value - scroll.VScr_old))))
        return false;
    scroll.VScr_old = static_cast<std::int16_t>(value);
    return true;
}

}  // namespace chokusho
