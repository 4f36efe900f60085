#include "ViewTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

namespace chokusho {
namespace {

BlockData WithPoints(const std::vector<std::pair<double, double>>& points)
{
    BlockData d;
    d.PointCount = static_cast<std::int16_t>(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        std::tie(d.PointX[i + 1], d.PointY[i + 1]) = points[i];
    return d;
}

/** The section 0..20 x 0..20 fitted to a 600 x 400 canvas. */
ViewTransform Fitted()
{
    ViewTransform v;
    v.Pic_width = 600, v.Pic_height = 400;
    v.Mk_Dan_xyminmax(WithPoints({{0, 0}, {20, 20}}));
    v.Mk_Dan_scl();
    return v;
}

void ExpectWindow(const ViewTransform& v, double xmin, double xmax, double ymin, double ymax)
{
    EXPECT_NEAR(v.Dan_xmin, xmin, 1e-9);
    EXPECT_NEAR(v.Dan_xmax, xmax, 1e-9);
    EXPECT_NEAR(v.Dan_ymin, ymin, 1e-9);
    EXPECT_NEAR(v.Dan_ymax, ymax, 1e-9);
}

TEST(ViewTransform, HomeWindowIsExtentsPlusMargin)
{
    BlockData tooMany = WithPoints(std::vector<std::pair<double, double>>(kMaxPoints, {5, 5}));
    tooMany.PointCount = 150;  // reading past point 100 would meet other fields' zeros
    BlockData negative = WithPoints({{50, 50}});
    negative.PointCount = -3;
    const struct {
        const char* name;
        BlockData data;
        double xmin, xmax, ymin, ymax;
    } cases[] = {
        {"no points", WithPoints({}), -1, 11, -1, 11},
        {"one point", WithPoints({{3, 4}}), 2, 4, 3, 5},
        {"spans 10 and 9.99", WithPoints({{5, 0}, {15, 9.99}}), 4, 16, -1, 10.99},
        {"span 20", WithPoints({{0, 0}, {20, 20}}), -2, 22, -2, 22},
        {"999.9 as smallest X is none", WithPoints({{999.9, 1}}), -99.99, 1099.89, 0, 2},
        {"-999.9 as largest Y is none", WithPoints({{1, -999.9}}), 0, 2, -1100.89, 110.99},
        {"count over capacity", tooMany, 4, 6, 4, 6},
        {"negative count", negative, -1, 11, -1, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewTransform v;
        v.Mk_Dan_xyminmax(c.data);
        ExpectWindow(v, c.xmin, c.xmax, c.ymin, c.ymax);
        EXPECT_EQ(std::tie(v.All_xmin, v.All_xmax, v.All_ymin, v.All_ymax),
                  std::tie(v.Dan_xmin, v.Dan_xmax, v.Dan_ymin, v.Dan_ymax));
    }
}

TEST(ViewTransform, FitWidensTheRoomierAxisOrLeavesAnUnfittableViewAlone)
{
    const ViewTransform v = Fitted();
    EXPECT_NEAR(v.Dan_scl, 400.0 / 24, 1e-12);
    ExpectWindow(v, -8, 28, -2, 22);
    EXPECT_EQ(std::pair(v.Dan_xc, v.Dan_yc), std::pair(10.0, 10.0));

    ViewTransform hidden = v, flat = v, inverted = v;
    hidden.Pic_height = 0;
    flat.Dan_ymax = flat.Dan_ymin;
    std::swap(inverted.Dan_xmin, inverted.Dan_xmax);
    for (ViewTransform u : {hidden, flat, inverted}) {
        const ViewTransform before = u;
        u.Mk_Dan_scl();
        EXPECT_EQ(std::tie(u.Dan_scl, u.Dan_xmin, u.Dan_xmax, u.Dan_ymin, u.Dan_ymax),
                  std::tie(before.Dan_scl, before.Dan_xmin, before.Dan_xmax, before.Dan_ymin, before.Dan_ymax));
    }
}

TEST(ViewTransform, PixelsAndMetres)
{
    const ViewTransform v = Fitted();
    const double pixel = 1 / v.Dan_scl, big = std::numeric_limits<double>::max(), nan = std::nan("");
    const struct {
        double kx, ky;
        int gx, gy;  // KzToGz: rounded down, 16 bits
        int px, py;  // painting: truncated, 32 bits
    } cases[] = {
        {0, 0, 133, 366, 133, 366},
        {-8 - 0.2 * pixel, 22 + 0.2 * pixel, -1, -1, 0, 0},
        {-8 - 1.5 * pixel, 22 + 1.5 * pixel, -2, -2, -1, -1},
        {1e9, -1e9, 32767, 32767, 2147483647, 2147483647},
        {-big, big, -32768, -32768, -2147483647 - 1, -2147483647 - 1},
        {nan, nan, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const CanvasPoint g = v.KzToGz(c.kx, c.ky);
        EXPECT_EQ(std::tuple(g.gx, g.gy, v.px(c.kx), v.py(c.ky)), std::tuple(c.gx, c.gy, c.px, c.py)) << c.kx;
    }
    EXPECT_EQ(v.GzToKz(0, 0), (ModelPoint{-8.0, 22.0}));

    ViewTransform unfitted;  // no scale yet: every pixel is the corner
    unfitted.Dan_xmin = 3, unfitted.Dan_ymax = 4;
    EXPECT_EQ(unfitted.GzToKz(100, 100), (ModelPoint{3.0, 4.0}));
}

TEST(ViewTransform, ZoomStepsAboutAPoint)
{
    const struct {
        int sclSw;
        double scl, xmin, xmax, ymin, ymax;
    } cases[] = {
        {0, 400.0 / 24 * 1.25, -9.4, 19.4, -4.6, 14.6},
        {1, 12.5, -19, 29, -11, 21},
        {-1, 12.5, -19, 29, -11, 21},
    };
    for (const auto& c : cases) {
        ViewTransform v = Fitted();
        v.Set_Dan_scl(c.sclSw, 5, 5);
        EXPECT_NEAR(v.Dan_scl, c.scl, 1e-12) << c.sclSw;
        ExpectWindow(v, c.xmin, c.xmax, c.ymin, c.ymax);
        EXPECT_EQ(std::pair(v.Dan_xc, v.Dan_yc), std::pair(5.0, 5.0));
    }
    // However far the user zooms, the view stays finite once doubles run out.
    for (const int sclSw : {0, 1}) {
        ViewTransform v = Fitted();
        for (int i = 0; i < 10'000; ++i)
            v.Set_Dan_scl(sclSw, 1e15, -1e15);
        EXPECT_TRUE(std::isfinite(v.Dan_scl) && v.Dan_scl > 0) << v.Dan_scl;
        EXPECT_TRUE(std::isfinite(v.Dan_xmin) && std::isfinite(v.Dan_xmax) && std::isfinite(v.Dan_ymin) &&
                    std::isfinite(v.Dan_ymax));
    }
}

}  // namespace
}  // namespace chokusho
