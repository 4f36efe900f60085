#include "Painting.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace chokusho {
namespace {

/** a + b, held at the ends of the int range: marks next to a clamped point must not wrap. */
int SaturatingAdd(int a, int b)
{
    const std::int64_t sum = std::int64_t{a} + b;
    return static_cast<int>(
        std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int ClampedCount(std::int16_t count, int capacity) { return std::clamp<int>(count, 0, capacity); }

/**
 * Draws the grid lines of one direction: one per whole metre from floor(lo) to floor(hi),
 * `pixelOf(m)` giving the pixel of metre m, `drawAt(p)` drawing the line at pixel p.
 *
 * Zoomed far out, the window holds more whole metres than the canvas has pixels, and the
 * straightforward loop would run for as long as the window is wide. Then every pixel that any
 * metre lands on is visited once instead and drawn if a metre in range lands on it, which is
 * the same picture within the canvas for a loop no longer than the canvas. `metreNear(p)` is
 * the (unrounded) metre at pixel p; the metre that lands on p is its floor or the next one,
 * and pixelOf decides which, so the rounding is the same as in the straightforward loop.
 */
template <class PixelOf, class MetreNear, class DrawAt>
void DrawGridDirection(double lo, double hi, double scl, int extent, bool pixelsRunWithMetres, PixelOf pixelOf,
                       MetreNear metreNear, DrawAt drawAt)
{
    const double first = std::floor(lo);
    const double last = std::floor(hi);
    const double count = last - first + 1;
    if (!(count >= 1))
        return;
    extent = std::max(extent, 0);

    if (count <= extent + 2.0) {
        const auto n = static_cast<std::int64_t>(count);
        for (std::int64_t k = 0; k < n; ++k)
            drawAt(pixelOf(first + static_cast<double>(k)));
        return;
    }
    if (scl == 0) {
        // Without a scale every metre collapses onto the corner.
        drawAt(pixelOf(first));
        return;
    }
    for (int step = 0; step <= extent; ++step) {
        const int p = pixelsRunWithMetres ? step : extent - step;
        const double base = std::floor(metreNear(p));
        for (const double m : {base, base + 1}) {
            if (m >= first && m <= last && pixelOf(m) == p) {
                drawAt(p);
                break;
            }
        }
    }
}

void DrawGrid(Canvas& canvas, const ViewTransform& view)
{
    const double xmin = view.Dan_xmin, xmax = view.Dan_xmax;
    const double ymin = view.Dan_ymin, ymax = view.Dan_ymax;
    const double scl = view.Dan_scl;
    if (!std::isfinite(xmin) || !std::isfinite(xmax) || !std::isfinite(ymin) || !std::isfinite(ymax))
        return;
    const int width = view.Pic_width - view.Pic_left;
    const int height = view.Pic_height - view.Pic_top;
    const int bottom = view.py(ymin);
    const int right = view.px(xmax);

    DrawGridDirection(
        xmin, xmax, scl, width, true, [&](double m) { return view.px(m); }, [&](int p) { return xmin + p / scl; },
        [&](int x) { canvas.Line(x, bottom, x, 0, qb::kGrey); });
    // Metres grow upwards and rows downwards: visit the rows bottom first, like the metres.
    DrawGridDirection(
        ymin, ymax, scl, height, false, [&](double m) { return view.py(m); }, [&](int p) { return ymax - p / scl; },
        [&](int y) { canvas.Line(0, y, right, y, qb::kGrey); });
}

/** The rings of the region's faces and holes, in pixels: filled even-odd, the holes stay out. */
std::vector<PixelRing> RingsOnCanvas(std::span<const SectionPolygon> region, const ViewTransform& view)
{
    std::vector<PixelRing> rings;
    const auto onCanvas = [&view](const SectionRing& ring) {
        PixelRing pixels;
        pixels.reserve(ring.size());
        for (const SectionPoint& point : ring)
            pixels.push_back({view.px(point.x), view.py(point.y)});
        return pixels;
    };
    for (const SectionPolygon& polygon : region) {
        rings.push_back(onCanvas(polygon.outer));
        for (const SectionRing& hole : polygon.holes)
            rings.push_back(onCanvas(hole));
    }
    return rings;
}

}  // namespace

void Pnt_disp(Canvas& canvas, const BlockData& data, const ViewTransform& view, const DisplaySwitches& display, int n,
              PaletteColor markerColor, PaletteColor textColor)
{
    if (n < 1 || n > ClampedCount(data.PointCount, kMaxPoints))
        return;
    canvas.SetPenStyle(PenStyle::Solid);
    canvas.SetPenMode(PenMode::Copy);
    const int x = view.px(data.PointX[n]);
    const int y = view.py(data.PointY[n]);
    // The last pixel set leaves the text position one pixel below the point, where the
    // number goes.
    canvas.PSet(x, y, markerColor);
    canvas.PSet(SaturatingAdd(x, -1), y, markerColor);
    canvas.PSet(SaturatingAdd(x, 1), y, markerColor);
    canvas.PSet(x, SaturatingAdd(y, -1), markerColor);
    canvas.PSet(x, SaturatingAdd(y, 1), markerColor);
    if (display.pointNumbers) {
        // Built by appending: GCC 12 misreads `" " + std::to_string(n)` at -O2 as an overlapping copy.
        std::string label = " ";
        label += std::to_string(n);
        label += ' ';
        canvas.Print(label, textColor);
    }
}

void Picture1_Paint(Canvas& canvas, const BlockData& data, const ViewTransform& view, const DisplaySwitches& display,
                    std::span<const SectionPolygon> region)
{
    canvas.Clear();
    // A rubber band may have left the pen in XOR mode.
    canvas.SetPenMode(PenMode::Copy);

    // Under everything else, so that the grid, the segments and the points show on it.
    if (display.sectionShade && !region.empty())
        canvas.FillRings(RingsOnCanvas(region, view), qb::kNavy);

    if (display.grid) {
        canvas.SetPenStyle(PenStyle::Dotted);
        DrawGrid(canvas, view);
    }

    const int points = ClampedCount(data.PointCount, kMaxPoints);
    const int lines = ClampedCount(data.LineCount, kMaxLines);
    for (int k = 1; k <= lines; ++k) {
        const auto idx = static_cast<std::size_t>(k);
        const int p = data.LineStart[idx];
        const int q = data.LineEnd[idx];
        if (p < 1 || p > points || q < 1 || q > points)
            continue;
        canvas.SetPenStyle(LineTypeOf(data, k) == LineType::Dotted ? PenStyle::Dotted : PenStyle::Solid);
        const auto ps = static_cast<std::size_t>(p);
        const auto qs = static_cast<std::size_t>(q);
        canvas.Line(view.px(data.PointX[ps]), view.py(data.PointY[ps]), view.px(data.PointX[qs]),
                    view.py(data.PointY[qs]), qb::kWhite);
    }
    canvas.SetPenStyle(PenStyle::Solid);

    for (int n = 1; n <= points; ++n)
        Pnt_disp(canvas, data, view, display, n, qb::kLightMagenta, qb::kWhite);

    // A centroid of exactly (0, 0) means none has been computed yet.
    if (data.Gx == 0 && data.Gy == 0)
        return;
    const int gx = view.px(data.Gx);
    const int gy = view.py(data.Gy);
    canvas.PSet(gx, gy, qb::kLightCyan);
    canvas.PSet(SaturatingAdd(gx, -1), gy, qb::kLightCyan);
    canvas.PSet(SaturatingAdd(gx, 1), gy, qb::kLightCyan);
    canvas.PSet(gx, SaturatingAdd(gy, -1), qb::kLightCyan);
    canvas.PSet(gx, SaturatingAdd(gy, 1), qb::kLightCyan);
    canvas.SetTextPosition(SaturatingAdd(gx, 5), SaturatingAdd(gy, -5));
    canvas.Print("G", qb::kWhite);
}

}  // namespace chokusho
