// Where the parts of a sheet go and at what scale: the fitted scale is the largest of the series
// that fits and the one drawn, nothing of the section meets the title block or the table, and
// the table leaves the section its room.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Drawing.h"
#include "RandomSheets.h"
#include "TestBlocks.h"

namespace chokusho {
namespace {

using test::BlockBuilder;

constexpr double kTolerance = 1e-6;

bool Inside(const SheetRect& rect, double left, double top, double right, double bottom)
{
    return left >= rect.left - kTolerance && right <= rect.right() + kTolerance && top >= rect.top - kTolerance &&
           bottom <= rect.bottom() + kTolerance;
}

bool Overlap(const SheetRect& a, const SheetRect& b)
{
    return a.left < b.right() - kTolerance && b.left < a.right() - kTolerance && a.top < b.bottom() - kTolerance &&
           b.top < a.bottom() - kTolerance;
}

/** How wide the tests take a label: digits and "G" are half as wide as high in the drawing's gothic. */
double LabelWidth(const std::string& text, double height) { return static_cast<double>(text.size()) * height / 2; }

TEST(SheetLayout, TheFittedScaleIsTheLargestOfTheSeriesThatFitsAndTheOneDrawnAndPrinted)
{
    for (const test::SheetCase& sheet : test::RandomSheets(300, 20261208)) {
        SCOPED_TRACE(sheet.name);
        const Drawing drawing = BuildDrawing(sheet.record, sheet.options, "", "");
        const double scale = drawing.scale;
        ASSERT_TRUE(drawing.fits);
        const auto standard = std::find(kDrawingScales.begin(), kDrawingScales.end(), scale);
        ASSERT_NE(standard, kDrawingScales.end()) << scale;
        // The title block prints the scale the section is drawn at, to the last digit.
        std::vector<std::string> titles;
        for (const SheetText& text : drawing.sheetTexts) {
            if (text.layer == DrawingLayer::Title)
                titles.push_back(text.text);
        }
        EXPECT_NE(std::find(titles.begin(), titles.end(), ScaleText(scale)), titles.end());
        EXPECT_EQ(ReadScale(ScaleText(scale)), scale);
        EXPECT_NEAR(drawing.PaperX(1) - drawing.PaperX(0), 1000 / scale, 1e-9);
        EXPECT_NEAR(drawing.PaperY(0) - drawing.PaperY(1), 1000 / scale, 1e-9);
        // The next larger scale of the series does not fit.
        if (standard != kDrawingScales.begin()) {
            DrawingOptions larger = sheet.options;
            larger.scale = *(standard - 1);
            EXPECT_FALSE(BuildDrawing(sheet.record, larger, "", "").fits) << "1:" << larger.scale;
        }
    }
}

TEST(SheetLayout, NothingOfTheSectionMeetsTheTitleBlockOrTheTable)
{
    for (const test::SheetCase& sheet : test::RandomSheets(300, 8)) {
        SCOPED_TRACE(sheet.name);
        const Drawing d = BuildDrawing(sheet.record, sheet.options, "file.csv", "2026/12/08");
        const SheetRect frame{kSheetMarginMm, kSheetMarginMm, d.paperWidthMm - 2 * kSheetMarginMm,
                              d.paperHeightMm - 2 * kSheetMarginMm};
        ASSERT_EQ(d.reserved.size(), sheet.options.layerTable && sheet.record.LayerCount > 0 ? 2u : 1u);
        const SheetRect& area = d.area;
        EXPECT_TRUE(Inside(frame, area.left, area.top, area.right(), area.bottom()));
        for (const SheetRect& box : d.reserved) {
            EXPECT_TRUE(Inside(frame, box.left, box.top, box.right(), box.bottom()));
            EXPECT_FALSE(Overlap(box, area));
        }
        if (d.reserved.size() == 2) {
            EXPECT_FALSE(Overlap(d.reserved[0], d.reserved[1]));
        }
        // The title block's and the table's texts stand in their boxes.
        for (const SheetText& text : d.sheetTexts) {
            if (text.layer == DrawingLayer::Title || text.layer == DrawingLayer::Table) {
                const SheetRect& box = d.reserved[text.layer == DrawingLayer::Title ? 0 : 1];
                EXPECT_TRUE(Inside(box, text.x, text.y - text.heightMm, text.x, text.y)) << text.text;
            }
        }

        // Everything of the section, its marks and texts and dimensions, lies in its area.
        for (const ModelLine& line : d.modelLines) {
            if (line.layer == DrawingLayer::Grid)
                continue;  // the grid fills the area, and is cut at its edges
            const double x1 = d.PaperX(line.x1), y1 = d.PaperY(line.y1), x2 = d.PaperX(line.x2), y2 = d.PaperY(line.y2);
            EXPECT_TRUE(Inside(area, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)))
                << static_cast<int>(line.layer);
        }
        for (const ModelMark& mark : d.marks) {
            const double x = d.PaperX(mark.x), y = d.PaperY(mark.y);
            EXPECT_TRUE(Inside(area, x - mark.sizeMm, y - mark.sizeMm, x + mark.sizeMm, y + mark.sizeMm));
        }
        for (const ModelText& text : d.modelTexts) {
            const double left = d.PaperX(text.x) + text.dxMm, baseline = d.PaperY(text.y) + text.dyMm;
            EXPECT_TRUE(Inside(area, left, baseline - text.heightMm, left + LabelWidth(text.text, text.heightMm),
                               baseline))
                << text.text;
        }
        for (const SheetText& text : d.sheetTexts) {
            if (text.layer != DrawingLayer::Dimensions)
                continue;
            const double width = LabelWidth(text.text, text.heightMm);
            const double left = text.align == TextAlign::Center  ? text.x - width / 2
                                : text.align == TextAlign::Right ? text.x - width
                                                                 : text.x;
            EXPECT_TRUE(Inside(area, left, text.y - text.heightMm, left + width, text.y)) << text.text;
        }
    }
}

TEST(SheetLayout, TheLayerTableLeavesTheSectionTheRoomBesideIt)
{
    // A 6 x 5 m block with ten layers needs 120 x 100 mm at 1:50: portrait A4 has it beside the
    // table and the title block; so has portrait A3 beside all 51 layers, and landscape B5 at 1:60.
    struct Case {
        PaperSize paper;
        bool landscape;
        int layers;
        double scale;
    };
    for (const Case& c : {Case{PaperSize::A4, false, 10, 50}, Case{PaperSize::A3, false, 51, 50},
                          Case{PaperSize::B5, true, 10, 60}}) {
        SCOPED_TRACE(std::to_string(c.layers) + " layers, paper " + std::to_string(static_cast<int>(c.paper)) +
                     (c.landscape ? " landscape" : ""));
        BlockBuilder block;
        block.rectangle(6, 5).centroid(3, 2.5).centroidPerLayer();
        for (int layer = 0; layer < c.layers; ++layer)
            block.layer(0.1, 0.6, 3);
        DrawingOptions options;
        options.paper = c.paper;
        options.landscape = c.landscape;
        options.scale = c.scale;
        options.layerTable = true;
        options.pointNumbers = true;
        const Drawing drawing = BuildDrawing(block, options, "", "");
        EXPECT_TRUE(drawing.fits);
        ASSERT_EQ(drawing.reserved.size(), 2u);
    }
}

TEST(SheetLayout, JisPapersAndAPaperOfItsOwnSize)
{
    struct Case {
        double width;
        double height;
        PaperSize paper;
        bool landscape;
    };
    // As a printer's page set-up gives them: in points, rounded.
    const Case cases[] = {
        {210, 297, PaperSize::A4, false},         {297.2, 209.9, PaperSize::A4, true},
        {420, 297, PaperSize::A3, true},          {257, 364, PaperSize::B4, false},
        {256.9, 182.2, PaperSize::B5, true},      {250, 353, PaperSize::Other, false},  // ISO B4
        {279.4, 215.9, PaperSize::Other, true},  // Letter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        DrawingOptions options;
        SetPaper(options, c.width, c.height);
        EXPECT_EQ(options.paper, c.paper);
        EXPECT_EQ(options.landscape, c.landscape);
        const Drawing drawing = BuildDrawing(test::SampleBlock(), options, "", "");
        const auto expected = c.paper == PaperSize::Other ? std::array<double, 2>{c.width, c.height}
                                                           : PaperSizeMm(c.paper, c.landscape);
        EXPECT_EQ((std::array<double, 2>{drawing.paperWidthMm, drawing.paperHeightMm}), expected);
        // The title block in the frame's bottom right corner, whatever the paper.
        EXPECT_NEAR(drawing.reserved.at(0).right(), expected[0] - kSheetMarginMm, 1e-9);
        EXPECT_NEAR(drawing.reserved.at(0).bottom(), expected[1] - kSheetMarginMm, 1e-9);
    }
    EXPECT_EQ(PaperSizeMm(PaperSize::B4, false), (std::array<double, 2>{257, 364}));
    EXPECT_EQ(PaperSizeMm(PaperSize::B5, true), (std::array<double, 2>{257, 182}));
}

}  // namespace
}  // namespace chokusho
