#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Drawing.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using test::BlockBuilder;
using test::FullRecord;
using test::SampleBlock;
using test::Section;

std::vector<ModelLine> LinesOn(const Drawing& drawing, DrawingLayer layer)
{
    std::vector<ModelLine> lines;
    std::copy_if(drawing.modelLines.begin(), drawing.modelLines.end(), std::back_inserter(lines),
                 [layer](const ModelLine& line) { return line.layer == layer; });
    return lines;
}

std::vector<std::string> TextsOn(const Drawing& drawing, DrawingLayer layer)
{
    std::vector<std::string> texts;
    for (const auto& text : drawing.sheetTexts) {
        if (text.layer == layer)
            texts.push_back(text.text);
    }
    for (const auto& text : drawing.modelTexts) {
        if (text.layer == layer)
            texts.push_back(text.text);
    }
    return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TEST(Drawing, TheSampleBlocksSegmentsMarksAndTitle)
{
    DrawingOptions options;
    options.scale = 50;
    options.pointNumbers = true;
    const Drawing drawing = BuildDrawing(SampleBlock(), options, "消波A.csv", "2026/12/07");

    // Segment 1 is solid, segment 2 dotted, each between its points in model metres.
    const auto outline = LinesOn(drawing, DrawingLayer::Outline);
    const auto dotted = LinesOn(drawing, DrawingLayer::Dotted);
    ASSERT_EQ(outline.size(), 1u);
    ASSERT_EQ(dotted.size(), 1u);
    EXPECT_EQ((std::vector<double>{outline[0].x1, outline[0].y1, outline[0].x2, outline[0].y2}),
              (std::vector<double>{0, 0, 4, 0}));
    EXPECT_EQ((std::vector<double>{dotted[0].x1, dotted[0].y1, dotted[0].x2, dotted[0].y2}),
              (std::vector<double>{4, 0, 4, 3}));
    EXPECT_TRUE(IsDashed(DrawingLayer::Dotted));
    EXPECT_FALSE(IsDashed(DrawingLayer::Outline));
    EXPECT_TRUE(LinesOn(drawing, DrawingLayer::Grid).empty()) << "the grid is off unless asked for";

    // Three point crosses with their numbers; the centroid's circle and cross with "G".
    const auto crosses = std::count_if(drawing.marks.begin(), drawing.marks.end(),
                                       [](const ModelMark& mark) { return mark.layer == DrawingLayer::Points; });
    EXPECT_EQ(crosses, 3);
    EXPECT_EQ(TextsOn(drawing, DrawingLayer::PointNumbers), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(TextsOn(drawing, DrawingLayer::Centroid), (std::vector<std::string>{"G"}));

    const auto title = TextsOn(drawing, DrawingLayer::Title);
    for (const char* text : {"名称", "消波A",   "種別", "2.0t型",     "Ｂ",       "4.000 m",  "Ｈ", "3.000 m",
                             "Ｌ",   "2.000 m", "Ｖ",   "10.000 m3",  "Gx",       "2.000 m",  "Gy", "1.500 m",
                             "縮尺", "1:50",    "日付", "2026/12/07", "ファイル", "消波A.csv"})
        EXPECT_TRUE(Contains(title, text)) << text;
    EXPECT_TRUE(TextsOn(drawing, DrawingLayer::Table).empty()) << "the layer table is off unless asked for";
}

TEST(Drawing, AMetreIsAThousandOverTheScaleInMillimetresOnPaper)
{
    for (const double scale : kDrawingScales) {
        DrawingOptions options;
        options.scale = scale;
        const Drawing drawing = BuildDrawing(Section({{0, 0}, {1, 0}}, {{1, 2}}), options, "", "");
        const ModelLine line = LinesOn(drawing, DrawingLayer::Outline).at(0);
        EXPECT_NEAR(drawing.PaperX(line.x2) - drawing.PaperX(line.x1), 1000.0 / scale, 1e-9) << "1:" << scale;
        // Up in the model is up on paper, whose Y runs down.
        EXPECT_NEAR(drawing.PaperY(0) - drawing.PaperY(1), 1000.0 / scale, 1e-9);
    }
}

TEST(Drawing, TheFrameKeepsItsMarginAndTheSectionItsArea)
{
    DrawingOptions options;
    options.paper = PaperSize::A3;
    options.landscape = true;
    options.scale = 50;
    const Drawing drawing = BuildDrawing(SampleBlock(), options, "", "");
    EXPECT_EQ(drawing.paperWidthMm, 420);
    EXPECT_EQ(drawing.paperHeightMm, 297);
    // The frame keeps the 15 mm margin; every line of the sheet lies within it.
    for (const auto& line : drawing.sheetLines) {
        for (const double x : {line.x1, line.x2})
            EXPECT_TRUE(x >= kSheetMarginMm - 1e-9 && x <= 420 - kSheetMarginMm + 1e-9) << x;
        for (const double y : {line.y1, line.y2})
            EXPECT_TRUE(y >= kSheetMarginMm - 1e-9 && y <= 297 - kSheetMarginMm + 1e-9) << y;
    }
    // The section (0..4 x 0..3 m) lies in its area, which lies in the frame.
    EXPECT_GT(drawing.PaperX(0), drawing.area.left);
    EXPECT_LT(drawing.PaperX(4), drawing.area.right());
    EXPECT_GT(drawing.PaperY(3), drawing.area.top);
    EXPECT_LT(drawing.PaperY(0), drawing.area.bottom());
    EXPECT_GE(drawing.area.left, kSheetMarginMm);
    EXPECT_LE(drawing.area.right(), 420 - kSheetMarginMm);
}

TEST(Drawing, ASectionTooLargeForTheScaleIsSaidSoAndFitsOnRequest)
{
    // 20 m at 1:50 is 400 mm: more than an A4 sheet holds either way.
    DrawingOptions options;
    options.scale = 50;
    EXPECT_FALSE(BuildDrawing(test::Span20(), options, "", "").fits);
    options.scale = 200;
    EXPECT_TRUE(BuildDrawing(test::Span20(), options, "", "").fits);

    options.scale = kFitToPaper;
    const Drawing fitted = BuildDrawing(test::Span20(), options, "", "");
    EXPECT_TRUE(fitted.fits);
    EXPECT_EQ(ScaleText(fitted.scale), "1:150");
    EXPECT_TRUE(Contains(TextsOn(fitted, DrawingLayer::Title), "1:150"));
}

TEST(Drawing, TheLayerTableListsEveryLayerInColumnsThatFitTheSheet)
{
    DrawingOptions options;
    options.scale = kFitToPaper;
    options.layerTable = true;
    const auto table = TextsOn(BuildDrawing(SampleBlock(), options, "", ""), DrawingLayer::Table);
    // Headings, then per layer: number, height, volume, cumulative volume, centroid X.
    for (const char* text : {"No.", "高さ(m)", "⊿Ｖ(m3)", "Ｖ(m3)", "重心X", "1", "2", "1.500", "4.000", "6.000",
                             "10.000", "1.900", "2.100"})
        EXPECT_TRUE(Contains(table, text)) << text;
    // One centroid X for the whole block: no column for it.
    BlockData one = SampleBlock();
    one.GxMode = 0;
    EXPECT_FALSE(Contains(TextsOn(BuildDrawing(one, options, "", ""), DrawingLayer::Table), "重心X"));
    // A mode other than 0 that a file brought is one per layer, as the block parameters show it.
    one.GxMode = 2;
    EXPECT_TRUE(Contains(TextsOn(BuildDrawing(one, options, "", ""), DrawingLayer::Table), "重心X"));

    // 51 layers on A4 landscape wrap into several column groups.
    options.landscape = true;
    const auto texts = TextsOn(BuildDrawing(FullRecord(), options, "", ""), DrawingLayer::Table);
    EXPECT_TRUE(Contains(texts, "1"));
    EXPECT_TRUE(Contains(texts, "51"));
}

TEST(Drawing, TheGridRunsEveryMetreAcrossTheArea)
{
    DrawingOptions options;
    options.scale = 50;
    options.grid = true;
    const Drawing drawing = BuildDrawing(SampleBlock(), options, "", "");
    const auto grid = LinesOn(drawing, DrawingLayer::Grid);
    ASSERT_FALSE(grid.empty());
    for (const auto& line : grid) {
        const bool vertical = line.x1 == line.x2;
        EXPECT_EQ(vertical ? line.x1 : line.y1, std::round(vertical ? line.x1 : line.y1));
        EXPECT_GE(drawing.PaperX(std::min(line.x1, line.x2)), drawing.area.left - 1e-9);
        EXPECT_LE(drawing.PaperX(std::max(line.x1, line.x2)), drawing.area.right() + 1e-9);
    }
    // At 1:50 an A4 portrait area (180 mm wide) spans 9 m: nine or ten vertical lines.
    const auto vertical = std::count_if(grid.begin(), grid.end(), [](const ModelLine& l) { return l.x1 == l.x2; });
    EXPECT_TRUE(vertical == 9 || vertical == 10) << vertical;
}

TEST(Drawing, BrokenRecordsDrawWhatTheyCan)
{
    // Segments naming missing points, a point at infinity, counts beyond the tables: skipped.
    BlockData broken = Section({{0, 0}, {1, 1}, {2, 0}}, {{1, 2}, {2, 9}, {0, 1}, {2, 3}});
    broken.PointY[3] = std::numeric_limits<double>::infinity();
    const Drawing drawing = BuildDrawing(broken, DrawingOptions{}, "", "");
    EXPECT_EQ(LinesOn(drawing, DrawingLayer::Outline).size(), 1u);
    EXPECT_TRUE(std::isfinite(drawing.scale) && drawing.scale > 0);

    broken.PointCount = 30000;
    broken.LineCount = -5;
    broken.LayerCount = 999;
    DrawingOptions everything;
    everything.pointNumbers = everything.grid = everything.layerTable = true;
    const Drawing wild = BuildDrawing(broken, everything, "", "");
    EXPECT_TRUE(LinesOn(wild, DrawingLayer::Outline).empty());

    // A section spanning nearly all of the doubles: a finite scale, named, and every point
    // finite on paper.
    const BlockData vast = Section({{-1.7e308, -1.7e308}, {1.7e308, 1.7e308}, {1.7e308, -1.7e308}}, {{1, 2}, {2, 3}});
    const Drawing far = BuildDrawing(vast, everything, "", "");
    EXPECT_TRUE(std::isfinite(far.scale) && far.scale > 0);
    EXPECT_TRUE(Contains(TextsOn(far, DrawingLayer::Title), ScaleText(far.scale)));
    EXPECT_EQ(ScaleText(far.scale).rfind("1:1.80E+", 0), 0u) << ScaleText(far.scale);
    for (const ModelLine& line : far.modelLines) {
        EXPECT_TRUE(std::isfinite(far.PaperX(line.x1)) && std::isfinite(far.PaperY(line.y1)) &&
                    std::isfinite(far.PaperX(line.x2)) && std::isfinite(far.PaperY(line.y2)));
    }

    // Nothing at all: an empty sheet with its frame and title block.
    const Drawing empty = BuildDrawing(BlockData{}, everything, "", "");
    EXPECT_TRUE(empty.fits);
    EXPECT_FALSE(empty.sheetLines.empty());
    EXPECT_TRUE(LinesOn(empty, DrawingLayer::Outline).empty());
    EXPECT_TRUE(empty.marks.empty()) << "a centroid at (0, 0) is not marked";
}

}  // namespace
}  // namespace chokusho
