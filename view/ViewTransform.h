#pragma once

#include <cstdint>

#include "BlockData.h"

namespace chokusho {

/**
 * The mapping between model metres (Y upwards) and canvas pixels (Y downwards): the visible
 * window in metres and one scale, equal on both axes, so the section is never distorted.
 * Every field is 0 until the first fit.
 */
struct ViewTransform {
    double Dan_xmin = 0, Dan_xmax = 0, Dan_ymin = 0, Dan_ymax = 0;
    double Dan_xc = 0, Dan_yc = 0;  // centre as last set by a fit or a zoom step; scrolling keeps it
    double Dan_scl = 0;             // pixels per metre
    std::int16_t Pic_left = 0, Pic_width = 0, Pic_top = 0, Pic_height = 0;
    double All_xmin = 0, All_xmax = 0, All_ymin = 0, All_ymax = 0;  // home window of the last Mk_Dan_xyminmax

    /** Canvas pixel to model point. */
    void GzToKz(int gx, int gy, double& kx, double& ky) const;
    /** Model point to canvas pixel, rounded down and clamped to -32768..32767. */
    void KzToGz(double kx, double ky, std::int16_t& gx, std::int16_t& gy) const;
    /** Window = extents of all points plus a margin; also remembered as the home window. */
    void Mk_Dan_xyminmax(const BlockData& data);
    /** Fits the window to the canvas with one scale, centred, widened along the roomier axis. */
    void Mk_Dan_scl();
    /** One zoom step about (kx, ky): in by 1.25 when sclSw is 0, out by 0.75 otherwise. */
    void Set_Dan_scl(int sclSw, double kx, double ky);

    /** Canvas X and Y of a model point as painting computes them: truncated, clamped to 32 bits. */
    int px(double x) const;
    int py(double y) const;

private:
    /** Scale `scl` with the window centred on (xc, yc); unchanged when that is not finite. */
    void CentreWindow(double scl, double xc, double yc);
};

}  // namespace chokusho
