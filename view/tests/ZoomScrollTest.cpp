#include "ZoomScroll.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

namespace chokusho {
namespace {

constexpr double kEps = 1e-9;

/** Points spanning 0..20 both ways on a 600 x 400 canvas: home -2..22, view -8..28 x -2..22. */
ViewTransform Fitted()
{
    BlockData d;
    d.PointCount = 2;
    d.PointX[2] = 20, d.PointY[2] = 20;
    ViewTransform v;
    v.Pic_width = 600, v.Pic_height = 400;
    v.Mk_Dan_xyminmax(d);
    v.Mk_Dan_scl();
    return v;
}

void ExpectWindow(const ViewTransform& v, double xmin, double xmax, double ymin, double ymax, double eps = kEps)
{
    EXPECT_NEAR(v.Dan_xmin, xmin, eps);
    EXPECT_NEAR(v.Dan_xmax, xmax, eps);
    EXPECT_NEAR(v.Dan_ymin, ymin, eps);
    EXPECT_NEAR(v.Dan_ymax, ymax, eps);
}

TEST(Layout, PlacesControlsFromTheirTwips)
{
    for (const auto& [twips, pixels] : {std::pair(7, 0), std::pair(8, 1), std::pair(255, 17), std::pair(-8, -1)})
        EXPECT_EQ(TwipsToPixels(twips), pixels) << twips;

    const auto rect = [](const ControlRect& r) { return std::tuple(r.left, r.top, r.width, r.height); };
    const FrameLayout first = LayoutFrame(kInitialClientWidth, kInitialClientHeight);
    EXPECT_EQ(rect(first.canvas), std::tuple(0, 0, 741, 510));
    EXPECT_EQ(rect(first.vScroll), std::tuple(740, 0, 17, 510));
    EXPECT_EQ(rect(first.hScroll), std::tuple(0, 509, 741, 17));
    for (const auto& [w, h] : {std::pair(0, 0), std::pair(-5, 3), std::pair(1 << 30, 1 << 30)})
        for (const ControlRect& r : {LayoutFrame(w, h).canvas, LayoutFrame(w, h).vScroll, LayoutFrame(w, h).hScroll})
            EXPECT_TRUE(r.width >= 1 && r.height >= 1) << w;
}

TEST(Scroll, ShiftsByTheBarsTravelAgainstTheHomeWindow)
{
    const struct {
        bool vertical;
        int value;
        double xmin, xmax, ymin, ymax;
    } cases[] = {
        {false, 52, -7.52, 28.48, -2, 22},
        {false, 100, 4, 40, -2, 22},
        {false, 0, -20, 16, -2, 22},
        {true, 52, -8, 28, -2.48, 21.52},  // thumb down, view down
        {true, 500, -8, 28, -14, 10},      // held at the bar's end
    };
    for (const auto& c : cases) {
        ViewTransform v = Fitted();
        ScrollState s;
        EXPECT_TRUE(c.vertical ? VScroll1_Change(v, s, c.value) : HScroll1_Change(v, s, c.value));
        ExpectWindow(v, c.xmin, c.xmax, c.ymin, c.ymax);
        EXPECT_NEAR(v.Dan_scl, 400.0 / 24, kEps);
        EXPECT_NEAR(v.Dan_xc, 10, kEps);  // the centre stays where the last fit put it
        EXPECT_EQ(c.vertical ? s.VScr_old : s.HScr_old, std::min(c.value, kScrollMax));
    }

    // Two steps of 2 add up to one of 4.
    ViewTransform v = Fitted();
    ScrollState s;
    HScroll1_Change(v, s, 52);
    HScroll1_Change(v, s, 54);
    ExpectWindow(v, -7.04, 28.96, -2, 22);

    ViewTransform locked = Fitted();
    ScrollState lock;
    lock.HScr_lock = lock.VScr_lock = 1;
    EXPECT_FALSE(HScroll1_Change(locked, lock, 80));
    EXPECT_FALSE(VScroll1_Change(locked, lock, 80));
    ExpectWindow(locked, -8, 28, -2, 22);
    EXPECT_EQ(std::tuple(lock.HScr_old, lock.VScr_old), std::tuple(50, 50));
}

TEST(Zoom, DraggedRectangles)
{
    const struct {
        bool in;
        int gxa, gya, gxb, gyb;
        ZoomResult result;
        double scl, xmin, xmax, ymin, ymax;
    } cases[] = {
        {true, 100, 50, 300, 250, ZoomResult::Refitted, 400 / 12.24, -5.18, 13.18, 6.88, 19.12},
        {true, 300, 250, 100, 50, ZoomResult::Refitted, 400 / 12.24, -5.18, 13.18, 6.88, 19.12},
        {true, 100, 50, 104, 250, ZoomResult::RepaintOnly, 400.0 / 24, -8, 28, -2, 22},
        {true, 100, 50, 300, 54, ZoomResult::RepaintOnly, 400.0 / 24, -8, 28, -2, 22},
        {false, 150, 100, 450, 300, ZoomResult::Refitted, 400.0 / 48, -26, 46, -14, 34},
        {false, 300, 0, 600, 200, ZoomResult::Refitted, 400.0 / 48, -44, 28, -26, 22},
        {false, 100, 200, 500, 200, ZoomResult::Nothing, 400.0 / 24, -8, 28, -2, 22},
    };
    for (const auto& c : cases) {
        ViewTransform v = Fitted();
        const ZoomResult r = c.in ? Kakudai_disp(v, c.gxa, c.gya, c.gxb, c.gyb) : Shukusho_disp(v, c.gxa, c.gya, c.gxb, c.gyb);
        SCOPED_TRACE(testing::Message() << c.gxa << "," << c.gya << " " << c.gxb << "," << c.gyb);
        EXPECT_EQ(r, c.result);
        EXPECT_NEAR(v.Dan_scl, c.scl, kEps);
        ExpectWindow(v, c.xmin, c.xmax, c.ymin, c.ymax, 1e-6);
    }
    ViewTransform unfitted;
    EXPECT_EQ(Kakudai_disp(unfitted, 0, 0, 100, 100), ZoomResult::Nothing);
    EXPECT_EQ(Shukusho_disp(unfitted, 0, 0, 100, 100), ZoomResult::Nothing);
}

TEST(Zoom, RepeatedRectanglesEndWithoutLeavingTheDoubles)
{
    ViewTransform in = Fitted();
    int steps = 0;
    while (Kakudai_disp(in, 200, 100, 400, 300) == ZoomResult::Refitted)
        ASSERT_LT(++steps, 100);  // ends when a rectangle spans less than 0.3 m

    ViewTransform out = Fitted();
    steps = 0;
    while (Shukusho_disp(out, 0, 0, 300, 200) == ZoomResult::Refitted)
        ASSERT_LT(++steps, 5000);
    EXPECT_GT(steps, 900);
    EXPECT_TRUE(std::isfinite(out.Dan_xmin) && std::isfinite(out.Dan_ymax));
    EXPECT_GT(out.Dan_scl, 0);
}

}  // namespace
}  // namespace chokusho
