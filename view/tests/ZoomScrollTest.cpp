#include "ZoomScroll.h"

#include <gtest/gtest.h>

#include <algorithm>
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
using test::Span20;
using test::WindowIs;

constexpr double kEps = 1e-9;

TEST(Layout, PlacesControlsFromTheirTwips)
{
    // clang-format off
    const struct {
        const char* what;
        int twips;
        int pixels;
    } conversions[] = {
        {"under half a pixel rounds down", 7, 0},
        {"over half a pixel rounds up", 8, 1},
        {"a scroll bar's width", 255, 17},
        {"negative, over half a pixel", -8, -1},
    };
    // clang-format on
    for (const auto& c : conversions)
        EXPECT_EQ(TwipsToPixels(c.twips), c.pixels) << c.what;

    const auto rect = [](const ControlRect& r) { return std::tuple(r.left, r.top, r.width, r.height); };
    const FrameLayout first = LayoutFrame(kInitialClientWidth, kInitialClientHeight);
    EXPECT_EQ(rect(first.canvas), std::tuple(0, 0, 741, 510));
    EXPECT_EQ(rect(first.vScroll), std::tuple(740, 0, 17, 510));
    EXPECT_EQ(rect(first.hScroll), std::tuple(0, 509, 741, 17));
    // clang-format off
    const struct {
        const char* what;
        int width, height;
    } clients[] = {
        {"no room",            0, 0},
        {"a negative width",   -5, 3},
        {"a huge client area", 1 << 30, 1 << 30},
    };
    // clang-format on
    for (const auto& c : clients) {
        const FrameLayout layout = LayoutFrame(c.width, c.height);
        for (const ControlRect& r : {layout.canvas, layout.vScroll, layout.hScroll})
            EXPECT_TRUE(r.width >= 1 && r.height >= 1) << c.what;
    }
}

TEST(Scroll, ShiftsByTheBarsTravelAgainstTheHomeWindow)
{
    // clang-format off
    const struct {
        const char* what;
        bool vertical;
        int value;
        double xmin, xmax, ymin, ymax;
    } cases[] = {
        {"a step right",                      false, 52, -7.52, 28.48, -2, 22},
        {"the right end",                     false, 100, 4, 40, -2, 22},
        {"the left end",                      false, 0, -20, 16, -2, 22},
        {"thumb down, view down",             true, 52, -8, 28, -2.48, 21.52},
        {"past the bottom, held at the end",  true, 500, -8, 28, -14, 10},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ViewTransform v = FittedView(Span20());
        ScrollState s;
        EXPECT_TRUE(c.vertical ? VScroll1_Change(v, s, c.value) : HScroll1_Change(v, s, c.value));
        EXPECT_TRUE(WindowIs(v, c.xmin, c.xmax, c.ymin, c.ymax));
        EXPECT_NEAR(v.Dan_scl, 400.0 / 24, kEps);
        EXPECT_NEAR(v.Dan_xc, 10, kEps);  // the centre stays where the last fit put it
        EXPECT_EQ(c.vertical ? s.VScr_old : s.HScr_old, std::min(c.value, kScrollMax));
    }

    // Two steps of 2 add up to one of 4.
    ViewTransform v = FittedView(Span20());
    ScrollState s;
    HScroll1_Change(v, s, 52);
    HScroll1_Change(v, s, 54);
    EXPECT_TRUE(WindowIs(v, -7.04, 28.96, -2, 22));

    ViewTransform locked = FittedView(Span20());
    ScrollState lock;
    lock.HScr_lock = lock.VScr_lock = 1;
    EXPECT_FALSE(HScroll1_Change(locked, lock, 80));
    EXPECT_FALSE(VScroll1_Change(locked, lock, 80));
    EXPECT_TRUE(WindowIs(locked, -8, 28, -2, 22));
    EXPECT_EQ(std::tuple(lock.HScr_old, lock.VScr_old), std::tuple(50, 50));
}

TEST(Zoom, DraggedRectangles)
{
    // clang-format off
    const struct {
        const char* what;
        bool in;
        int gxa, gya, gxb, gyb;
        ZoomResult result;
        double scl, xmin, xmax, ymin, ymax;
    } cases[] = {
        {"in",                                   true, 100, 50, 300, 250, ZoomResult::Refitted, 400 / 12.24, -5.18, 13.18, 6.88, 19.12},
        {"in, dragged the other way",            true, 300, 250, 100, 50, ZoomResult::Refitted, 400 / 12.24, -5.18, 13.18, 6.88, 19.12},
        {"in, too narrow",                       true, 100, 50, 104, 250, ZoomResult::RepaintOnly, 400.0 / 24, -8, 28, -2, 22},
        {"in, too flat",                         true, 100, 50, 300, 54, ZoomResult::RepaintOnly, 400.0 / 24, -8, 28, -2, 22},
        {"out, about the centre",                false, 150, 100, 450, 300, ZoomResult::Refitted, 400.0 / 48, -26, 46, -14, 34},
        {"out, about a quarter",                 false, 300, 0, 600, 200, ZoomResult::Refitted, 400.0 / 48, -44, 28, -26, 22},
        {"out, a rectangle of no height",        false, 100, 200, 500, 200, ZoomResult::Nothing, 400.0 / 24, -8, 28, -2, 22},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ViewTransform v = FittedView(Span20());
        const ZoomResult r = c.in ? Kakudai_disp(v, c.gxa, c.gya, c.gxb, c.gyb)
                                  : Shukusho_disp(v, c.gxa, c.gya, c.gxb, c.gyb);
        EXPECT_EQ(r, c.result);
        EXPECT_NEAR(v.Dan_scl, c.scl, kEps);
        EXPECT_TRUE(WindowIs(v, c.xmin, c.xmax, c.ymin, c.ymax, 1e-6));
    }
    ViewTransform unfitted;
    EXPECT_EQ(Kakudai_disp(unfitted, 0, 0, 100, 100), ZoomResult::Nothing);
    EXPECT_EQ(Shukusho_disp(unfitted, 0, 0, 100, 100), ZoomResult::Nothing);
}

TEST(Zoom, RepeatedRectanglesEndWithoutLeavingTheDoubles)
{
    ViewTransform in = FittedView(Span20());
    int steps = 0;
    while (Kakudai_disp(in, 200, 100, 400, 300) == ZoomResult::Refitted)
        ASSERT_LT(++steps, 100);  // ends when a rectangle spans less than 0.3 m

    ViewTransform out = FittedView(Span20());
    steps = 0;
    while (Shukusho_disp(out, 0, 0, 300, 200) == ZoomResult::Refitted)
        ASSERT_LT(++steps, 5000);
    EXPECT_GT(steps, 900);
    EXPECT_TRUE(std::isfinite(out.Dan_xmin) && std::isfinite(out.Dan_ymax));
    EXPECT_GT(out.Dan_scl, 0);
}

/**
 * A consistent view: finite, with one positive scale at which the window spans the canvas,
 * every canvas pixel at a finite model point and a finite home window; from it, either bar's
 * full travel each way leads to such a view again or, where `mayStay`, changes nothing.
 */
void ExpectConsistent(const ViewTransform& v, bool mayStay, bool scroll = true)
{
    const int w = v.Pic_width - v.Pic_left, h = v.Pic_height - v.Pic_top;
    for (const double f : {v.Dan_xmin, v.Dan_xmax, v.Dan_ymin, v.Dan_ymax, v.Dan_xc, v.Dan_yc, v.Dan_scl, v.All_xmin,
                           v.All_xmax, v.All_ymin, v.All_ymax})
        ASSERT_TRUE(std::isfinite(f)) << f;
    ASSERT_TRUE(v.Dan_scl > 0 && v.Dan_xmin < v.Dan_xmax && v.Dan_ymin < v.Dan_ymax);
    EXPECT_NEAR((v.Dan_xmax - v.Dan_xmin) * v.Dan_scl / w, 1, 1e-9);
    EXPECT_NEAR((v.Dan_ymax - v.Dan_ymin) * v.Dan_scl / h, 1, 1e-9);
    const int last = std::max(w, h) - 1;  // after a scroll the corners stand for every pixel
    for (int g = 0; g <= last; g += scroll ? 1 : std::max(last, 1)) {
        const auto [kx, ky] = v.GzToKz(std::min(g, w - 1), std::min(g, h - 1));
        ASSERT_TRUE(std::isfinite(kx) && std::isfinite(ky)) << "pixel " << g;
    }
    for (int run = 0; scroll && run < 4; ++run) {
        SCOPED_TRACE(testing::Message() << "scroll run " << run);
        const auto bar = run < 2 ? HScroll1_Change : VScroll1_Change;
        ViewTransform u = v;
        ScrollState s;
        for (const int value : {run % 2 * kScrollMax, kScrollMax - run % 2 * kScrollMax}) {
            const auto before = std::tuple(u.Dan_xmin, u.Dan_xmax, u.Dan_ymin, u.Dan_ymax, s.HScr_old, s.VScr_old);
            if (bar(u, s, value)) {
                ExpectConsistent(u, mayStay, false);
            } else {
                EXPECT_TRUE(mayStay);
                EXPECT_EQ(std::tuple(u.Dan_xmin, u.Dan_xmax, u.Dan_ymin, u.Dan_ymax, s.HScr_old, s.VScr_old), before);
            }
        }
    }
}

bool ZoomSteps(ViewTransform& v, ZoomStep sclSw, int count)
{
    for (int i = 0; i < count; ++i) {
        const auto [kx, ky] = v.GzToKz(v.Pic_width / 4, v.Pic_height / 4);
        v.Set_Dan_scl(sclSw, kx, ky);
    }
    return true;
}

bool Rectangle(ViewTransform& v, bool in)
{
    const int w = v.Pic_width, h = v.Pic_height;
    return (in ? Kakudai_disp : Shukusho_disp)(v, w / 4, h / 4, 3 * w / 4, 3 * h / 4) == ZoomResult::Refitted;
}

bool FullScroll(ViewTransform& v, int h, int vert)
{
    ScrollState s;
    return HScroll1_Change(v, s, h) && VScroll1_Change(v, s, vert);
}

TEST(Consistency, EveryViewOfAnyBlockFillsTheCanvasAndScrolls)
{
    const double big = 1e308, inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const struct {
        const char* name;
        std::vector<test::Point> points;
    } blocks[] = {
        {"points at +-1e308", {{-big, -big}, {big, big}}},
        {"one point at 1e308", {{big, big}}},
        {"a point at 1e308 and one at 0", {{0, 0}, {big, big}}},
        {"the largest doubles", {{std::numeric_limits<double>::max(), std::numeric_limits<double>::lowest()}}},
        {"points 1e-300 apart", {{1e-300, 0}, {2e-300, 1e-300}}},
        {"two points at 1e300", {{1e300, 1e300}, {1e300, 1e300}}},
        {"two points at -1e300", {{-1e300, -1e300}, {-1e300, -1e300}}},
        {"a single ordinary point", {{3, 4}}},
        {"no points", {}},
        {"NaN among ordinary points", {{0, 0}, {nan, 5}, {20, 20}}},
        {"infinities among ordinary points", {{0, 0}, {inf, 5}, {20, -inf}}},
    };
    // Each step starts from the fitted view; true when it must change a 600 x 400 one.
    const struct {
        const char* name;
        bool (*apply)(ViewTransform&);
        bool mayStay;  // zoomed to the end of doubles, a scroll may have nowhere to go
    } steps[] = {
        {"fit", [](ViewTransform&) { return false; }, false},
        {"zoom step in", [](ViewTransform& v) { return ZoomSteps(v, ZoomStep::In, 1); }, false},
        {"zoom step out", [](ViewTransform& v) { return ZoomSteps(v, ZoomStep::Out, 1); }, false},
        {"full scroll right and up", [](ViewTransform& v) { return FullScroll(v, kScrollMax, kScrollMin); }, false},
        {"full scroll left and down", [](ViewTransform& v) { return FullScroll(v, kScrollMin, kScrollMax); }, false},
        {"rectangle zoom in", [](ViewTransform& v) { return Rectangle(v, true); }, false},
        {"rectangle zoom out", [](ViewTransform& v) { return Rectangle(v, false); }, false},
        {"zoom steps in to the end", [](ViewTransform& v) { return ZoomSteps(v, ZoomStep::In, 4000); }, true},
        {"zoom steps out to the end", [](ViewTransform& v) { return ZoomSteps(v, ZoomStep::Out, 4000); }, true},
    };
    for (const auto& block : blocks) {
        const BlockData d = test::Section(block.points);
        for (const auto& [w, h] : {std::pair(600, 400), std::pair(32767, 1), std::pair(1, 32767)}) {
            SCOPED_TRACE(testing::Message() << block.name << ", " << w << " x " << h);
            const ViewTransform fitted = FittedView(d, w, h);
            // What can be shown is shown; the rest lies beyond an edge that reaches the limit.
            const auto expectShown = [](double c, double lo, double hi) {
                if (std::fabs(c) <= kFitLimit) {
                    EXPECT_TRUE(lo < c && c < hi) << c << " in " << lo << ".." << hi;
                } else {
                    EXPECT_GE(c > 0 ? hi : -lo, kFitLimit * (1 - 1e-12)) << c << " beyond " << lo << ".." << hi;
                }
            };
            for (const auto& [x, y] : block.points) {
                if (!std::isnan(x) && !std::isnan(y)) {
                    expectShown(x, fitted.Dan_xmin, fitted.Dan_xmax);
                    expectShown(y, fitted.Dan_ymin, fitted.Dan_ymax);
                }
            }
            for (const auto& step : steps) {
                SCOPED_TRACE(step.name);
                ViewTransform v = fitted;
                if (step.apply(v) && w == 600) {
                    EXPECT_NE(std::pair(v.Dan_scl, v.Dan_xmin), std::pair(fitted.Dan_scl, fitted.Dan_xmin));
                }
                ExpectConsistent(v, step.mayStay);
            }
        }
    }
}

}  // namespace
}  // namespace chokusho
