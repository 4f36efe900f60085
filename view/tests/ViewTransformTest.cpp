#include "ViewTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "TestBlocks.h"
#include "TestViews.h"

namespace chokusho {
namespace {

using test::FittedView;
using test::Section;
using test::Span20;
using test::WindowIs;

TEST(ViewTransform, HomeWindowIsExtentsPlusMargin)
{
    BlockData tooMany = Section(std::vector<test::Point>(kMaxPoints, {5, 5}));
    tooMany.PointCount = 150;  // reading past point 100 would meet other fields' zeros
    BlockData negative = Section({{50, 50}});
    negative.PointCount = -3;
    const struct {
        const char* name;
        BlockData data;
        double xmin, xmax, ymin, ymax;
    } cases[] = {
        {"no points", Section({}), -1, 11, -1, 11},
        {"one point", Section({{3, 4}}), 2, 4, 3, 5},
        {"spans 10 and 9.99", Section({{5, 0}, {15, 9.99}}), 4, 16, -1, 10.99},
        {"span 20", Span20(), -2, 22, -2, 22},
        {"999.9 as smallest X is none", Section({{999.9, 1}}), -99.99, 1099.89, 0, 2},
        {"-999.9 as largest Y is none", Section({{1, -999.9}}), 0, 2, -1100.89, 110.99},
        {"count over capacity", tooMany, 4, 6, 4, 6},
        {"negative count", negative, -1, 11, -1, 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ViewTransform v;
        v.Mk_Dan_xyminmax(c.data);
        EXPECT_TRUE(WindowIs(v, c.xmin, c.xmax, c.ymin, c.ymax));
        EXPECT_EQ(std::tie(v.All_xmin, v.All_xmax, v.All_ymin, v.All_ymax),
                  std::tie(v.Dan_xmin, v.Dan_xmax, v.Dan_ymin, v.Dan_ymax));
    }
}

TEST(ViewTransform, FitWidensTheRoomierAxisOrLeavesAnUnfittableViewAlone)
{
    const ViewTransform v = FittedView(Span20());
    EXPECT_NEAR(v.Dan_scl, 400.0 / 24, 1e-12);
    EXPECT_TRUE(WindowIs(v, -8, 28, -2, 22));
    EXPECT_EQ(std::pair(v.Dan_xc, v.Dan_yc), std::pair(10.0, 10.0));

    ViewTransform hidden = v, flat = v, inverted = v;
    hidden.Pic_height = 0;
    flat.Dan_ymax = flat.Dan_ymin;
    std::swap(inverted.Dan_xmin, inverted.Dan_xmax);
    const struct {
        const char* what;
        ViewTransform view;
    } unfittable[] = {{"no canvas height", hidden}, {"a window of no height", flat}, {"a window inside out", inverted}};
    for (const auto& c : unfittable) {
        SCOPED_TRACE(c.what);
        ViewTransform u = c.view;
        const ViewTransform before = u;
        u.Mk_Dan_scl();
        EXPECT_EQ(std::tie(u.Dan_scl, u.Dan_xmin, u.Dan_xmax, u.Dan_ymin, u.Dan_ymax),
                  std::tie(before.Dan_scl, before.Dan_xmin, before.Dan_xmax, before.Dan_ymin, before.Dan_ymax));
    }
}

TEST(ViewTransform, PixelsAndMetres)
{
    const ViewTransform v = FittedView(Span20());
    const double pixel = 1 / v.Dan_scl, big = std::numeric_limits<double>::max(), nan = std::nan("");
    // clang-format off
    const struct {
        const char* what;
        double kx, ky;
        int gx, gy;  // KzToGz: rounded down, 16 bits
        int px, py;  // painting: truncated, 32 bits
    } cases[] = {
        {"the origin",                             0, 0, 133, 366, 133, 366},
        {"a fifth of a pixel beyond the corner",   -8 - 0.2 * pixel, 22 + 0.2 * pixel, -1, -1, 0, 0},
        {"a pixel and a half beyond the corner",   -8 - 1.5 * pixel, 22 + 1.5 * pixel, -2, -2, -1, -1},
        {"far out",                                1e9, -1e9, 32767, 32767, 2147483647, 2147483647},
        {"the ends of the doubles",                -big, big, -32768, -32768, -2147483647 - 1, -2147483647 - 1},
        {"NaN",                                    nan, nan, 0, 0, 0, 0},
    };
    // clang-format on
    for (const auto& c : cases) {
        const CanvasPoint g = v.KzToGz(c.kx, c.ky);
        EXPECT_EQ(std::tuple(g.gx, g.gy, v.px(c.kx), v.py(c.ky)), std::tuple(c.gx, c.gy, c.px, c.py)) << c.what;
    }
    EXPECT_EQ(v.GzToKz(0, 0), (ModelPoint{-8.0, 22.0}));

    ViewTransform unfitted;  // no scale yet: every pixel is the corner
    unfitted.Dan_xmin = 3, unfitted.Dan_ymax = 4;
    EXPECT_EQ(unfitted.GzToKz(100, 100), (ModelPoint{3.0, 4.0}));
}

TEST(ViewTransform, ZoomStepsAboutAPoint)
{
    // clang-format off
    const struct {
        const char* what;
        ZoomStep sclSw;
        double scl, xmin, xmax, ymin, ymax;
    } cases[] = {
        {"in",  ZoomStep::In,  400.0 / 24 * 1.25, -9.4, 19.4, -4.6, 14.6},
        {"out", ZoomStep::Out, 12.5, -19, 29, -11, 21},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ViewTransform v = FittedView(Span20());
        v.Set_Dan_scl(c.sclSw, 5, 5);
        EXPECT_NEAR(v.Dan_scl, c.scl, 1e-12);
        EXPECT_TRUE(WindowIs(v, c.xmin, c.xmax, c.ymin, c.ymax));
        EXPECT_EQ(std::pair(v.Dan_xc, v.Dan_yc), std::pair(5.0, 5.0));
    }
    // However far the user zooms, the view stays finite once doubles run out.
    for (const ZoomStep sclSw : {ZoomStep::In, ZoomStep::Out}) {
        SCOPED_TRACE(sclSw == ZoomStep::In ? "in" : "out");
        ViewTransform v = FittedView(Span20());
        for (int i = 0; i < 10'000; ++i)
            v.Set_Dan_scl(sclSw, 1e15, -1e15);
        EXPECT_TRUE(std::isfinite(v.Dan_scl) && v.Dan_scl > 0) << v.Dan_scl;
        EXPECT_TRUE(std::isfinite(v.Dan_xmin) && std::isfinite(v.Dan_xmax) && std::isfinite(v.Dan_ymin) &&
                    std::isfinite(v.Dan_ymax));
    }
}

}  // namespace
TEST(ViewTransform, WheelZoomKeepsThePointUnderThePointer)
{
    // clang-format off
    const struct { const char* what; int gx, gy; } pointers[] = {
        {"corner", 0, 0}, {"centre", 300, 200}, {"far corner", 599, 399}, {"off centre", 37, 201},
    };
    // clang-format on
    for (const auto& p : pointers) {
        for (const ZoomStep sclSw : {ZoomStep::In, ZoomStep::Out}) {
            SCOPED_TRACE(std::string(p.what) + (sclSw == ZoomStep::In ? " in" : " out"));
            ViewTransform v = FittedView(Span20());
            const ModelPoint before = v.GzToKz(p.gx, p.gy);
            const double scale = v.Dan_scl;
            ASSERT_TRUE(v.ZoomAbout(sclSw, p.gx, p.gy));
            EXPECT_NEAR(v.Dan_scl, scale * (sclSw == ZoomStep::In ? 1.25 : 0.75), 1e-12);
            const ModelPoint after = v.GzToKz(p.gx, p.gy);
            EXPECT_NEAR(after.kx, before.kx, 1e-9);
            EXPECT_NEAR(after.ky, before.ky, 1e-9);
            // The window still spans the canvas at the new scale.
            EXPECT_NEAR((v.Dan_xmax - v.Dan_xmin) * v.Dan_scl, v.Pic_width - v.Pic_left, 1e-9);
            EXPECT_NEAR((v.Dan_ymax - v.Dan_ymin) * v.Dan_scl, v.Pic_height - v.Pic_top, 1e-9);
        }
    }
    // Without a scale, or once doubles run out, the view stays as it was.
    ViewTransform unfitted;
    EXPECT_FALSE(unfitted.ZoomAbout(ZoomStep::In, 10, 10));
    ViewTransform v = FittedView(Span20());
    int steps = 0;
    while (v.ZoomAbout(ZoomStep::In, 17, 3) && steps < 100'000)
        ++steps;
    EXPECT_LT(steps, 100'000);
    const ViewTransform last = v;
    EXPECT_FALSE(v.ZoomAbout(ZoomStep::In, 17, 3));
    EXPECT_EQ(v.Dan_scl, last.Dan_scl);
    EXPECT_TRUE(std::isfinite(v.Dan_xmin) && std::isfinite(v.Dan_ymax));
}

}  // namespace chokusho
