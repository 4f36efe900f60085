// The section's dimensions and point numbers: lengths as civil drawings write them, the
// outline's width and height, chains through every point, and numbers clear of their segments.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Dimensions.h"
#include "Drawing.h"
#include "RandomSheets.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using test::BlockBuilder;
using test::Section;

/** The dimensions' texts below the section (widths) and on its left (heights), the outermost first. */
struct DimensionTexts {
    std::vector<const SheetText*> widths;
    std::vector<const SheetText*> heights;
};

/** The texts stay `drawing`'s: it must outlive them. */
DimensionTexts TextsOf(const Drawing& drawing)
{
    DimensionTexts texts;
    for (const SheetText& text : drawing.sheetTexts) {
        if (text.layer == DrawingLayer::Dimensions)
            (text.align == TextAlign::Center ? texts.widths : texts.heights).push_back(&text);
    }
    std::sort(texts.widths.begin(), texts.widths.end(), [](auto* a, auto* b) { return a->y > b->y; });
    std::sort(texts.heights.begin(), texts.heights.end(), [](auto* a, auto* b) { return a->x < b->x; });
    return texts;
}

/** Half a label's width: its digits are half as wide as high in the drawing's gothic. */
template <typename Text>
double HalfWidth(const Text& text)
{
    return static_cast<double>(text.text.size()) * text.heightMm / 4;
}

TEST(Dimensions, LengthsInMillimetresWithDecimalsOnlyWhereTheyAreNotWhole)
{
    const std::pair<double, const char*> cases[] = {
        {6000, "6000"}, {3999.9999999995, "4000"}, {12.5, "12.5"}, {1234.56, "1234.56"}, {1234.5, "1234.5"},
        {0.125, "0.13"}, {0.001, "0"},
    };
    for (const auto& [millimetres, text] : cases)
        EXPECT_EQ(FormatMillimetres(millimetres), text) << millimetres;
}

TEST(Dimensions, TheOverallOnesGiveTheOutlinesWidthAndHeight)
{
    int checked = 0;
    for (test::SheetCase& sheet : test::RandomSheets(200, 5)) {
        SCOPED_TRACE(sheet.name);
        // The outline's extents in whole millimetres, from its corners as the cases build them.
        const BlockData& r = sheet.record;
        const long long width = std::llround((r.PointX[2] - r.PointX[1]) * 1000);
        const long long height = std::llround((r.PointY[4] - r.PointY[1]) * 1000);
        const Drawing drawing = BuildDrawing(r, sheet.options, "", "");
        const DimensionTexts texts = TextsOf(drawing);
        if (sheet.options.dimensions == DimensionStyle::None) {
            EXPECT_TRUE(texts.widths.empty() && texts.heights.empty());
            continue;
        }
        ASSERT_FALSE(texts.widths.empty());
        ASSERT_FALSE(texts.heights.empty());
        EXPECT_EQ(texts.widths.front()->text, std::to_string(width));
        EXPECT_EQ(texts.heights.front()->text, std::to_string(height));
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST(Dimensions, ChainsThroughEveryPointMergeLengthsWhoseTextsWouldOverlap)
{
    // At 1:50 the 100 mm lengths from 1.0 to 1.2 m are 2 mm on paper, their texts 3.75 mm wide:
    // they merge into one, and the stop at 1.1 m goes.
    const BlockData block = Section({{0, 0}, {1, 0}, {1.1, 0}, {1.2, 0}, {3, 0}, {3, 2}, {0, 2}},
                                    {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 1}});
    DrawingOptions options;
    options.scale = 50;
    options.dimensions = DimensionStyle::EveryPoint;
    const Drawing drawing = BuildDrawing(block, options, "", "");
    const DimensionTexts texts = TextsOf(drawing);
    std::vector<std::string> widths;
    for (const SheetText* text : texts.widths)
        widths.push_back(text->text);
    std::vector<std::string> chain(widths.begin() + 1, widths.end());
    std::sort(chain.begin(), chain.end());
    EXPECT_EQ(widths.front(), "3000");
    EXPECT_EQ(chain, (std::vector<std::string>{"1000", "1800", "200"}));
    // Two points differ in Y: the chain of heights would be the overall height, which stands alone.
    ASSERT_EQ(texts.heights.size(), 1u);
    EXPECT_EQ(texts.heights.front()->text, "2000");

    // The widths' extension lines stand at the stops that are left, and only there.
    std::set<double> extensions;
    for (const ModelLine& line : drawing.modelLines) {
        if (line.layer == DrawingLayer::Dimensions && line.x1 == line.x2 && std::max(line.y1, line.y2) < 0)
            extensions.insert(line.x1);
    }
    EXPECT_EQ(extensions, (std::set<double>{0, 1, 1.2, 3}));

    // The chain's texts never overlap, and they add up to the whole.
    for (const test::SheetCase& sheet : test::RandomSheets(100, 11)) {
        SCOPED_TRACE(sheet.name);
        DrawingOptions every = sheet.options;
        every.dimensions = DimensionStyle::EveryPoint;
        const Drawing chained = BuildDrawing(sheet.record, every, "", "");
        const DimensionTexts all = TextsOf(chained);
        std::map<double, std::vector<const SheetText*>> lines;
        for (const SheetText* text : all.widths)
            lines[text->y].push_back(text);
        if (lines.size() < 2)
            continue;
        std::vector<const SheetText*> links = lines.begin()->second;  // the line nearest the section
        std::sort(links.begin(), links.end(), [](auto* a, auto* b) { return a->x < b->x; });
        double sum = 0;
        for (std::size_t i = 0; i < links.size(); ++i) {
            sum += std::stod(links[i]->text);
            if (i > 0) {
                const double gap = (links[i]->x - HalfWidth(*links[i])) - (links[i - 1]->x + HalfWidth(*links[i - 1]));
                EXPECT_GE(gap, 1 - 1e-9) << links[i - 1]->text << " " << links[i]->text;
            }
        }
        EXPECT_NEAR(sum, std::stod(all.widths.front()->text), 0.011 * static_cast<double>(links.size()));
    }
}

/** Whether the segment from (x1, y1) to (x2, y2) passes through the box. */
bool Crosses(double x1, double y1, double x2, double y2, double left, double top, double right, double bottom)
{
    double enter = 0, leave = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    for (const auto& [p, q] : {std::pair{-dx, x1 - left}, {dx, right - x1}, {-dy, y1 - top}, {dy, bottom - y1}}) {
        if (p == 0) {
            if (q < 0)
                return false;
        } else if (p < 0) {
            enter = std::max(enter, q / p);
        } else {
            leave = std::min(leave, q / p);
        }
    }
    return enter <= leave;
}

TEST(Dimensions, PointNumbersStandInTheFreeAngleClearOfTheirSegments)
{
    // A block with a sloping face from point 2 up to point 3, a chamber wall from 3 down to 5
    // and a point of its own.
    const BlockData sloped = Section({{0, 0}, {6, 0}, {4, 5}, {0, 5}, {3, 0}, {2, 2.5}},
                                     {{1, 5}, {5, 2}, {2, 3}, {3, 4}, {4, 1}, {3, 5, kDottedLine}});
    DrawingOptions options;
    options.scale = 50;
    options.pointNumbers = true;
    const Drawing drawing = BuildDrawing(sloped, options, "", "");
    ASSERT_EQ(drawing.modelTexts.size(), 6u);
    for (const ModelText& number : drawing.modelTexts) {
        SCOPED_TRACE(number.text);
        const double left = drawing.PaperX(number.x) + number.dxMm;
        const double bottom = drawing.PaperY(number.y) + number.dyMm;
        const double right = left + 2 * HalfWidth(number), top = bottom - number.heightMm;
        for (const ModelLine& line : drawing.modelLines) {
            if (line.layer != DrawingLayer::Outline && line.layer != DrawingLayer::Dotted)
                continue;
            EXPECT_FALSE(Crosses(drawing.PaperX(line.x1), drawing.PaperY(line.y1), drawing.PaperX(line.x2),
                                 drawing.PaperY(line.y2), left, top, right, bottom))
                << line.x1 << "," << line.y1 << " - " << line.x2 << "," << line.y2;
        }
        // Beside its cross, not far from it.
        const double cx = (left + right) / 2 - drawing.PaperX(number.x);
        const double cy = (top + bottom) / 2 - drawing.PaperY(number.y);
        EXPECT_LT(std::hypot(cx, cy), 7.0);
        EXPECT_GT(std::hypot(cx, cy), 1.5);
    }
    // On the outline the numbers stand outside: point 1's below left of its corner.
    EXPECT_LT(drawing.modelTexts[0].dxMm, 0);
    EXPECT_GT(drawing.modelTexts[0].dyMm, 0);
}

}  // namespace
}  // namespace chokusho
