#pragma once

#include <cstdint>

#include "BlockData.h"

namespace chokusho {

/**
 * Showing all the data counts points farther out than this as lying at this distance; they
 * lie beyond the window's edges. The fitted window, with its margin and widened for the most
 * oblong canvas, then stays so far within doubles that its scale, the coordinates of every
 * pixel and a scroll across the whole travel of both bars do too.
 */
inline constexpr double kFitLimit = 0x1p1000;  // about 1.07e301 metres

/** A point of the model, in metres, Y upwards. */
struct ModelPoint {
    double kx = 0;
    double ky = 0;
    bool operator==(const ModelPoint&) const = default;
};

/** A zoom step's way, by the switch the zoom commands have always passed: 0 in, 1 out. */
enum class ZoomStep { In = 0, Out = 1 };

/** A canvas position in the 16-bit range in which mouse positions are kept, held at its ends. */
inline std::int16_t ClampToInt16(int value)
{
    return static_cast<std::int16_t>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
}

/** A pixel of the canvas, Y downwards, in the 16-bit range of the mouse positions. */
struct CanvasPoint {
    std::int16_t gx = 0;
    std::int16_t gy = 0;
    bool operator==(const CanvasPoint&) const = default;
};

/**
 * The mapping between model metres (Y upwards) and canvas pixels (Y downwards): the visible
 * window in metres and one scale, equal on both axes, so the section is never distorted.
 * Every field is 0 until the first fit.
 *
 * Once fitted to a canvas of at least one pixel each way the view stays consistent: every
 * change below either leaves a finite window that spans the canvas exactly at the scale, or
 * changes nothing.
 */
struct ViewTransform {
    double Dan_xmin = 0, Dan_xmax = 0, Dan_ymin = 0, Dan_ymax = 0;
    double Dan_xc = 0, Dan_yc = 0;  // centre as last set by a fit or a zoom step; scrolling keeps it
    double Dan_scl = 0;             // pixels per metre
    std::int16_t Pic_left = 0, Pic_width = 0, Pic_top = 0, Pic_height = 0;
    double All_xmin = 0, All_xmax = 0, All_ymin = 0, All_ymax = 0;  // home window of the last Mk_Dan_xyminmax

    /** Canvas pixel (Gz, 画面座標) to model point (Kz, 空間座標). */
    [[nodiscard]] ModelPoint GzToKz(int gx, int gy) const;
    /** Model point to canvas pixel, rounded down and clamped to -32768..32767. */
    [[nodiscard]] CanvasPoint KzToGz(double kx, double ky) const;
    /**
     * Window = extents of all points, as far as kFitLimit, plus a margin; also remembered as the
     * home window. NaN coordinates are left out.
     */
    void Mk_Dan_xyminmax(const BlockData& data);
    /** Fits the window to the canvas with one scale, centred, widened along the roomier axis. */
    void Mk_Dan_scl();
    /** The home window (全表示): every point of `data` with its margin, fitted to the canvas. */
    void FitAll(const BlockData& data)
    {
        Mk_Dan_xyminmax(data);
        Mk_Dan_scl();
    }
    /**
     * Fits the given window as Mk_Dan_scl does. Returns false, changing nothing, when there is
     * no canvas or the fitted window would not fit within doubles or their precision.
     */
    bool FitWindow(double xmin, double xmax, double ymin, double ymax);
    /** One zoom step about (kx, ky): in by 1.25, or out by 0.75. */
    void Set_Dan_scl(ZoomStep sclSw, double kx, double ky);
    /**
     * The same zoom step, keeping the model point under canvas pixel (gx, gy) under it, as the
     * wheel zooms. Returns false, changing nothing, when there is no scale yet or the zoomed
     * window would leave doubles or their precision.
     */
    bool ZoomAbout(ZoomStep sclSw, int gx, int gy);
    /**
     * Moves the window by (dx, dy) metres at the same scale. Returns false, changing nothing,
     * when the moved window would leave doubles or their precision.
     */
    bool ShiftWindow(double dx, double dy);

    /** Canvas X and Y of a model point as painting computes them: truncated, clamped to 32 bits. */
    int px(double x) const;
    int py(double y) const;

private:
    /** Scale `scl` with the window centred on (xc, yc); false and unchanged when that does not fit. */
    bool CentreWindow(double scl, double xc, double yc);
};

}  // namespace chokusho
