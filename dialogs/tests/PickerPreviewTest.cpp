#include "PickerPreview.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>
#include <vector>

#include "RecordingCanvas.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using Segment = std::tuple<int, int, int, int, PenStyle>;
constexpr auto kSolid = PenStyle::Solid;
constexpr auto kDotted = PenStyle::Dotted;

/** A block of extent b x h with two points and these segments, by default one between them. */
BlockData Block(double b, double h, test::Point first, test::Point second,
                const std::vector<test::Segment>& joins = {{1, 2}})
{
    return test::Section({first, second}, joins).size(b, h);
}

TEST(PickerPreview, Drawing)
{
    constexpr int kMax = std::numeric_limits<int>::max(), kMin = std::numeric_limits<int>::min();
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const double tiny = std::nextafter(-1.0, 0.0);  // B + 1 > 0, yet the scale overflows
    BlockData tooMany = Block(4, 2, {0, 0}, {4, 2});
    tooMany.PointCount = tooMany.LineCount = 500;
    struct Case {
        const char* what;
        BlockData data;
        double width, height;
        std::vector<Segment> expected;
    };
    // clang-format off
    const Case cases[] = {
        // scale 666.67, x0 -1, ytop 2.5
        {"a 4 x 2 block is centred with half a metre to spare above and below", Block(4, 2, {0, 0}, {4, 2}, {{1, 2}, {2, 1, kDottedLine}}), 4000, 2000,
         {{667, 1667, 3333, 333, kSolid}, {3333, 333, 667, 1667, kDotted}}},
        // scale 1, x0 -0.5, ytop 1.5: every end falls on a half
        {"halves to even", Block(1, 1, {0, 0}, {1, 1}), 2, 2, {{0, 2, 2, 0, kSolid}}},
        {"ends outside the table", Block(4, 2, {0, 0}, {4, 2}, {{0, 1}, {1, 3}, {2, -1, kDottedLine}}), 4000, 2000, {}},
        {"counts beyond the tables", tooMany, 4000, 2000, {{667, 1667, 3333, 333, kSolid}}},
        {"huge and NaN points", Block(4, 2, {-1e300, -1e300}, {nan, 0}), 4000, 2000, {{kMin, kMax, 0, 1667, kSolid}}},
        {"B + 1 = 0", Block(-1, 2, {0, 0}, {1, 1}), 4000, 2000, {}},
        {"H + 1 < 0", Block(4, -3, {0, 0}, {1, 1}), 4000, 2000, {}},
        {"no width", Block(4, 2, {0, 0}, {1, 1}), 0, 2000, {}},
        {"negative height", Block(4, 2, {0, 0}, {1, 1}), 4000, -1, {}},
        {"NaN B", Block(nan, 2, {0, 0}, {1, 1}), 4000, 2000, {}},
        {"infinite size", Block(4, 2, {0, 0}, {1, 1}), inf, inf, {}},
        {"scale overflows", Block(tiny, tiny, {0, 0}, {1, 1}), 1e300, 1e300, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        RecordingCanvas canvas;
        canvas.style = kDotted;  // left over from an earlier drawing
        DrawPickerPreview(canvas, c.data, c.width, c.height);
        std::vector<Segment> drawn;
        for (const auto& op : canvas.Of(RecordingCanvas::Kind::Line)) {
            EXPECT_EQ(op.color, qb::kWhite) << c.what;
            drawn.emplace_back(op.x1, op.y1, op.x2, op.y2, op.style);
        }
        EXPECT_EQ(canvas.ops.front().kind, RecordingCanvas::Kind::Clear) << c.what;
        EXPECT_EQ(canvas.MarkCount(), drawn.size()) << c.what;
        EXPECT_EQ(drawn, c.expected) << c.what;
        EXPECT_TRUE(drawn.empty() || canvas.style == kSolid) << c.what;
    }
}

}  // namespace
}  // namespace chokusho
