#include "Painting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "RecordingCanvas.h"
#include "SectionCache.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;
using test::BlockBuilder;
using test::Section;

ViewTransform View(double xmin, double xmax, double ymin, double ymax, double scl, int width = 600, int height = 400)
{
    ViewTransform v;
    v.Dan_xmin = xmin, v.Dan_xmax = xmax, v.Dan_ymin = ymin, v.Dan_ymax = ymax, v.Dan_scl = scl;
    v.Pic_width = static_cast<std::int16_t>(width), v.Pic_height = static_cast<std::int16_t>(height);
    return v;
}

/** The fitted view of a section spanning 0..20 both ways on a 600 x 400 canvas. */
const ViewTransform kHome = View(-8, 28, -2, 22, 400.0 / 24);

RecordingCanvas Paint(const BlockData& data, const ViewTransform& view, DisplaySwitches display)
{
    RecordingCanvas canvas;
    Picture1_Paint(canvas, data, view, display);
    return canvas;
}

/** Grid lines, vertical then horizontal, as painted with the grid switched on. */
std::pair<std::vector<Op>, std::vector<Op>> GridOf(const ViewTransform& view)
{
    std::vector<Op> vertical, horizontal;
    for (const Op& op : Paint({}, view, {true, false}).Of(Kind::Line)) {
        EXPECT_EQ(std::tie(op.color, op.style), std::tuple(qb::kGrey, PenStyle::Dotted));
        (op.x1 == op.x2 && op.y2 == 0 ? vertical : horizontal).push_back(op);
    }
    return {vertical, horizontal};
}

std::tuple<int, int, int, int> Ends(const Op& op) { return {op.x1, op.y1, op.x2, op.y2}; }

TEST(Painting, GridOneLinePerMetre)
{
    const auto [vertical, horizontal] = GridOf(kHome);
    ASSERT_EQ(vertical.size(), 37u);                              // metres -8..28
    ASSERT_EQ(horizontal.size(), 25u);                            // metres -2..22
    EXPECT_EQ(Ends(vertical.front()), std::tuple(0, 400, 0, 0));  // the edge's own metre, at pixel 0
    EXPECT_EQ(Ends(vertical[1]), std::tuple(16, 400, 16, 0));
    EXPECT_EQ(Ends(vertical.back()), std::tuple(600, 400, 600, 0));
    EXPECT_EQ(Ends(horizontal.front()), std::tuple(0, 400, 600, 400));
    EXPECT_EQ(Ends(horizontal.back()), std::tuple(0, 0, 600, 0));
    // An edge between metres: the first line is the metre below it, left of the canvas.
    EXPECT_EQ(GridOf(View(-7.5, 28.5, -2, 22, 400.0 / 24)).first.front().x1, -8);
    EXPECT_EQ(Paint({}, kHome, {false, false}).Count(Kind::Line), 0u);
}

TEST(Painting, DenseGridIsTheSamePictureWithinTheCanvas)
{
    // clang-format off
    const struct {
        const char* what;
        double xmin, xmax, ymin, ymax, scl;
        int width, height;
    } cases[] = {
        {"half a pixel a metre",                               0, 100, 0, 80, 0.5, 50, 40},
        {"edges between metres",                               -3.3, 157.1, 2.2, 99.9, 0.37, 59, 36},
        {"just under a pixel a metre",                         -0.5, 60.6, -9.1, 44.2, 0.999, 61, 53},
        {"a window wider than the canvas, not a fitted view", -1000.5, 1000.5, -900, 900, 3, 50, 40},
        {"a window far from the origin",                       10.25, 5000, 7.75, 3000, 1.5, 33, 27},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ViewTransform v = View(c.xmin, c.xmax, c.ymin, c.ymax, c.scl, c.width, c.height);
        const auto [vertical, horizontal] = GridOf(v);
        EXPECT_LE(vertical.size(), c.width + 2u);
        EXPECT_LE(horizontal.size(), c.height + 2u);
        // What one line per metre would show on the canvas, metre by metre.
        std::set<int> xs, ys, everyX, everyY;
        for (const Op& op : vertical)
            if (op.x1 >= 0 && op.x1 <= c.width)
                xs.insert(op.x1);
        for (const Op& op : horizontal)
            if (op.y1 >= 0 && op.y1 <= c.height)
                ys.insert(op.y1);
        for (double m = std::floor(c.xmin); m <= c.xmax; ++m)
            if (v.px(m) >= 0 && v.px(m) <= c.width)
                everyX.insert(v.px(m));
        for (double m = std::floor(c.ymin); m <= c.ymax; ++m)
            if (v.py(m) >= 0 && v.py(m) <= c.height)
                everyY.insert(v.py(m));
        EXPECT_EQ(xs, everyX);
        EXPECT_EQ(ys, everyY);
    }
}

TEST(Painting, ExtremeZoomsStayBounded)
{
    const BlockData d = Section({{1e15, 1e15}, {-1e300, 1e300}}, {{1, 2}}).centroid(1e300, -1e300);
    const double max = std::numeric_limits<double>::max(), inf = std::numeric_limits<double>::infinity();
    const ViewTransform far = View(-3e11, 3e11, -2e11, 2e11, 1e-9);
    // clang-format off
    const struct {
        const char* what;
        ViewTransform view;
    } cases[] = {
        {"zoomed far out",                         far},
        {"zoomed far in, far from the origin",     View(1e15, 1e15 + 6e-10, 1e15, 1e15 + 4e-10, 1e12)},
        {"zoomed far out, far from the origin",    View(1e15 - 3e11, 1e15 + 3e11, 1e15 - 2e11, 1e15 + 2e11, 1e-9)},
        {"no scale",                               View(-1e15, 1e15, -1e15, 1e15, 0)},
        {"the whole of the doubles",               View(-max, max, -max, max, 1e-300)},
        {"an infinite scale",                      View(0, 1, 0, 1, inf)},
        {"a NaN edge",                             View(std::nan(""), 1, 0, 1, 1)},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_LE(Paint(d, c.view, {true, true}).ops.size(), 1100u) << c.what;
    const auto [vertical, horizontal] = GridOf(far);
    EXPECT_EQ(vertical.size(), 601u);  // every column holds a line
    EXPECT_EQ(horizontal.size(), 401u);
}

TEST(Painting, SegmentsDottedByKindAndOnlyBetweenExistingPoints)
{
    // The last two segments name point 0 and point 4, which are not there.
    const BlockData d = Section({{0, 0}, {10, 0}, {10, 10}},
                                {{1, 2}, {2, 3, kDottedLine}, {3, 1}, {0, 1}, {3, 4, kDottedLine}});
    std::set<std::tuple<int, int, int, int, PenStyle, std::optional<PaletteColor>>> drawn;
    for (const Op& op : Paint(d, kHome, {false, false}).Of(Kind::Line))
        drawn.insert({op.x1, op.y1, op.x2, op.y2, op.style, op.color});
    // clang-format off
    const std::set<std::tuple<int, int, int, int, PenStyle, std::optional<PaletteColor>>> expected = {
        {133, 366, 300, 366, PenStyle::Solid, qb::kWhite},
        {300, 366, 300, 200, PenStyle::Dotted, qb::kWhite},
        {300, 200, 133, 366, PenStyle::Solid, qb::kWhite},
    };
    // clang-format on
    EXPECT_EQ(drawn, expected);
}

TEST(Painting, PointCrossesNumbersAndCentroid)
{
    std::vector<test::Point> points(11);  // at the origin, pixel (133, 366)
    points.push_back({10, 10});           // pixel (300, 200)
    const BlockData d = Section(points).centroid(10, 10);
    const RecordingCanvas canvas = Paint(d, kHome, {false, true});
    std::vector<std::tuple<Kind, int, int, int, std::string>> tail;
    for (auto op = canvas.ops.end() - 14; op != canvas.ops.end(); ++op)
        if (op->kind != Kind::SetPenStyle && op->kind != Kind::SetPenMode)
            tail.emplace_back(op->kind, op->x1, op->y1, op->colorIndex(), op->text);
    // clang-format off
    const std::vector<std::tuple<Kind, int, int, int, std::string>> expected = {
        {Kind::PSet, 300, 200, 13, ""}, {Kind::PSet, 299, 200, 13, ""}, {Kind::PSet, 301, 200, 13, ""},
        {Kind::PSet, 300, 199, 13, ""}, {Kind::PSet, 300, 201, 13, ""}, {Kind::Print, 300, 201, 15, " 12 "},
        {Kind::PSet, 300, 200, 11, ""}, {Kind::PSet, 299, 200, 11, ""}, {Kind::PSet, 301, 200, 11, ""},
        {Kind::PSet, 300, 199, 11, ""}, {Kind::PSet, 300, 201, 11, ""}, {Kind::SetTextPosition, 305, 195, -1, ""},
        {Kind::Print, 305, 195, 15, "G"},
    };
    // clang-format on
    EXPECT_EQ(tail, expected);
    EXPECT_EQ(canvas.Of(Kind::Print).front().text, " 1 ");
    EXPECT_EQ(canvas.Count(Kind::PSet), 65u);

    const RecordingCanvas silent = Paint(d, kHome, {false, false});
    EXPECT_EQ(std::pair(silent.Count(Kind::PSet), silent.Count(Kind::Print)),
              std::pair(std::size_t{65}, std::size_t{1}));

    RecordingCanvas outside;
    for (const int n : {0, 13, -1})
        Pnt_disp(outside, d, kHome, {false, true}, n, qb::kYellow, qb::kYellow);
    EXPECT_TRUE(outside.ops.empty());
}

TEST(Painting, CentroidMarkedUnlessExactlyAtOrigin)
{
    // clang-format off
    const struct {
        const char* what;
        double gx, gy;
        bool marked;
    } cases[] = {
        {"at the origin",                 0, 0, false},
        {"at the origin, X negative zero", -0.0, 0, false},
        {"above the origin",              0, 0.5, true},
        {"right of the origin",           3, 0, true},
        {"a hair right of the origin",    1e-300, 0, true},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(Paint(BlockBuilder().centroid(c.gx, c.gy), kHome, {false, false}).MarkCount(), c.marked ? 6u : 0u)
            << c.what;
}

TEST(Painting, StartsFromBlackInCopyMode)
{
    RecordingCanvas canvas;
    canvas.SetPenMode(PenMode::Xor);  // as a rubber band leaves it
    canvas.Forget();
    Picture1_Paint(canvas, Section({{0, 0}}).centroid(1, 0), kHome, {true, true});
    EXPECT_EQ(canvas.ops[0].kind, Kind::Clear);
    EXPECT_EQ(std::tie(canvas.ops[1].kind, canvas.ops[1].mode), std::tuple(Kind::SetPenMode, PenMode::Copy));
    for (std::size_t i = 1; i < canvas.ops.size(); ++i)
        EXPECT_EQ(canvas.ops[i].mode, PenMode::Copy) << i;

    const RecordingCanvas empty = Paint({}, kHome, {false, true});
    EXPECT_EQ(empty.MarkCount(), 0u);
    EXPECT_EQ(std::tie(empty.ops[0].kind, empty.ops[0].color), std::tuple(Kind::Clear, qb::kBlack));
}

TEST(Painting, ShadeLiesUnderEverythingWithItsHolesAndOnlyWhileSwitchedOn)
{
    // A 20 m square with a 10 m chamber: one face, its hole clockwise.
    const BlockData block = BlockBuilder()
                                .points({{0, 0}, {20, 0}, {20, 20}, {0, 20}, {5, 5}, {15, 5}, {15, 15}, {5, 15}})
                                .segments({{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7}, {7, 8}, {8, 5}});
    SectionCache cache;
    const std::vector<SectionPolygon>& region = cache.Of(block).region;
    ASSERT_EQ(region.size(), 1u);

    RecordingCanvas canvas;
    Picture1_Paint(canvas, block, kHome, {true, true, true}, region);
    ASSERT_EQ(canvas.Count(Kind::FillRings), 1u);
    std::size_t fill = 0;
    while (canvas.ops[fill].kind != Kind::FillRings)
        ++fill;
    for (std::size_t i = 0; i < fill; ++i)
        EXPECT_LE(canvas.ops[i].colorIndex(), 0) << "nothing is drawn before the shade: " << i;
    EXPECT_EQ(canvas.ops[fill].color, qb::kNavy);
    const std::vector<PixelRing>& rings = canvas.filledRings.at(0);
    ASSERT_EQ(rings.size(), 2u);
    // Every corner of the outline and of the chamber, where the view puts it.
    std::multiset<std::pair<int, int>> corners, expected;
    for (const PixelRing& ring : rings) {
        for (const PixelPoint& p : ring)
            corners.insert({p.x, p.y});
    }
    for (std::size_t n = 1; n <= 8; ++n)
        expected.insert({kHome.px(block.PointX[n]), kHome.py(block.PointY[n])});
    EXPECT_EQ(corners, expected);

    EXPECT_EQ(Paint(block, kHome, {true, true, false}).Count(Kind::FillRings), 0u);
    RecordingCanvas noRegion;
    Picture1_Paint(noRegion, block, kHome, {true, true, true}, {});
    EXPECT_EQ(noRegion.Count(Kind::FillRings), 0u);
}

TEST(SectionCache, WorksTheSectionOutAgainOnlyWhenTheOutlineChanged)
{
    BlockData block = BlockBuilder().rectangle(4, 3);
    SectionCache cache;
    EXPECT_DOUBLE_EQ(cache.Of(block).area, 12);
    struct Change {
        const char* what;
        void (*change)(BlockData&);
        bool outline;
    };
    // clang-format off
    const Change changes[] = {
        {"nothing",                    [](BlockData&) {}, false},
        {"figures, names and layers",  [](BlockData& d) { d.V = 9; d.L = 2; d.Name = "x"; d.LayerCount = 1; d.LayerH[0] = 1; }, false},
        {"a point past the count",     [](BlockData& d) { d.PointX[50] = 7; }, false},
        {"a point moved",              [](BlockData& d) { d.PointX[2] = 5; }, true},
        {"a side dotted",              [](BlockData& d) { d.LineKind[1] = kDottedLine; }, true},
        {"a side taken away",          [](BlockData& d) { d.LineCount = 3; }, true},
    };
    // clang-format on
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        const int before = cache.computations();
        c.change(block);
        const double area = cache.Of(block).area;
        EXPECT_EQ(cache.computations() - before, c.outline ? 1 : 0);
        EXPECT_DOUBLE_EQ(area, ComputeSection(block).area);
    }
}

}  // namespace
}  // namespace chokusho
