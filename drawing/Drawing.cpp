#include "Drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Bounds.h"
#include "Numbers.h"

namespace chokusho {

namespace {

// Text heights and mark sizes on paper, from the usual series of drawing text heights.
constexpr double kTitleTextMm = 3.5;
constexpr double kSmallTextMm = 2.5;
constexpr double kPointCrossMm = 1.0;
constexpr double kCentroidCircleMm = 1.5;
constexpr double kCentroidCrossMm = 2.5;
// Room kept free around the section inside its area, for marks and numbers at its edge.
constexpr double kAreaPaddingMm = 5.0;
// More grid lines than this in either direction carry no information: the grid is left out.
constexpr int kMaxGridLines = 400;

// The title block: rows of 7 mm, label cells of 14 mm, value cells of 26 mm.
constexpr double kTitleRowMm = 7.0;
constexpr double kTitleLabelMm = 14.0;
constexpr double kTitleValueMm = 26.0;
constexpr double kTitleWidthMm = 3 * (kTitleLabelMm + kTitleValueMm);
constexpr int kTitleRows = 6;
constexpr double kTitleHeightMm = kTitleRows * kTitleRowMm;

// The layer table: rows of 4.5 mm.
constexpr double kTableRowMm = 4.5;
constexpr double kTableGapMm = 3.0;

/** Texts keep this far from the sides of their cells. */
constexpr double kCellPadMm = 1.5;

bool Finite(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

bool HasCentroid(const BlockData& record)
{
    return !(record.Gx == 0 && record.Gy == 0) && Finite(record.Gx, record.Gy);
}

/** The points that exist and lie somewhere, and the centroid when it is marked. */
Bounds SectionBounds(const BlockData& record)
{
    Bounds bounds;
    const int points = std::clamp<int>(record.PointCount, 0, kMaxPoints);
    for (int n = 1; n <= points; ++n) {
        if (Finite(record.PointX[n], record.PointY[n]))
            bounds.add(record.PointX[n], record.PointY[n]);
    }
    if (HasCentroid(record))
        bounds.add(record.Gx, record.Gy);
    return bounds;
}

/** A cell of a row of texts: its left edge and width. */
struct Cell {
    double left;
    double width;
};

void AddRule(Drawing& drawing, double x1, double y1, double x2, double y2)
{
    drawing.sheetLines.push_back({x1, y1, x2, y2, DrawingLayer::Frame});
}

void AddRectangle(Drawing& drawing, const SheetRect& rect)
{
    AddRule(drawing, rect.left, rect.top, rect.right(), rect.top);
    AddRule(drawing, rect.right(), rect.top, rect.right(), rect.bottom());
    AddRule(drawing, rect.right(), rect.bottom(), rect.left, rect.bottom());
    AddRule(drawing, rect.left, rect.bottom(), rect.left, rect.top);
}

/**
 * A text in a cell of a row `rowHeight` high whose bottom is `bottom`: centred in the row's
 * height, padded from the cell's sides and kept to the cell's width.
 */
void AddCellText(Drawing& drawing, const Cell& cell, double bottom, double rowHeight, const std::string& text,
                 double height, TextAlign align, DrawingLayer layer)
{
    SheetText sheetText;
    // The baseline sits a little above the middle: glyphs reach further up than down.
    sheetText.y = bottom - (rowHeight - height) / 2 - 0.12 * height;
    sheetText.text = text;
    sheetText.heightMm = height;
    sheetText.align = align;
    sheetText.layer = layer;
    sheetText.maxWidthMm = cell.width - 2 * kCellPadMm;
    switch (align) {
    case TextAlign::Left: sheetText.x = cell.left + kCellPadMm; break;
    case TextAlign::Center: sheetText.x = cell.left + cell.width / 2; break;
    case TextAlign::Right: sheetText.x = cell.left + cell.width - kCellPadMm; break;
    }
    drawing.sheetTexts.push_back(std::move(sheetText));
}

std::string Metres(double value) { return Format000(value) + " m"; }

/** The title block in `box`: name, kind, the six dimensions, scale, date and file. */
void AddTitleBlock(Drawing& drawing, const SheetRect& box, const BlockData& record, const std::string& fileName,
                   const std::string& date)
{
    AddRectangle(drawing, box);
    for (int row = 1; row < kTitleRows; ++row)
        AddRule(drawing, box.left, box.top + row * kTitleRowMm, box.right(), box.top + row * kTitleRowMm);

    const double pair = kTitleLabelMm + kTitleValueMm;
    const auto label = [&](int column) { return Cell{box.left + column * pair, kTitleLabelMm}; };
    const auto value = [&](int column, int span) {
        return Cell{box.left + column * pair + kTitleLabelMm, span * pair - kTitleLabelMm};
    };
    // Each row: its cells' labels and values, and the vertical rules between them.
    const auto row = [&](int index, std::initializer_list<std::pair<const char*, std::string>> cells,
                         std::initializer_list<int> spans) {
        const double top = box.top + index * kTitleRowMm;
        const double bottom = top + kTitleRowMm;
        int column = 0;
        auto span = spans.begin();
        for (const auto& [caption, text] : cells) {
            const Cell labelCell = label(column);
            const Cell valueCell = value(column, *span);
            AddCellText(drawing, labelCell, bottom, kTitleRowMm, caption, kTitleTextMm, TextAlign::Center,
                        DrawingLayer::Title);
            AddCellText(drawing, valueCell, bottom, kTitleRowMm, text, kTitleTextMm, TextAlign::Left,
                        DrawingLayer::Title);
            AddRule(drawing, valueCell.left, top, valueCell.left, bottom);
            column += *span;
            if (column < 3)
                AddRule(drawing, box.left + column * pair, top, box.left + column * pair, bottom);
            ++span;
        }
    };
    row(0, {{"名称", record.Name}}, {3});
    row(1, {{"種別", record.Kind}}, {3});
    row(2, {{"Ｂ", Metres(record.B)}, {"Ｈ", Metres(record.H)}, {"Ｌ", Metres(record.L)}}, {1, 1, 1});
    row(3, {{"Ｖ", Format000(record.V) + " m3"}, {"Gx", Metres(record.Gx)}, {"Gy", Metres(record.Gy)}}, {1, 1, 1});
    row(4, {{"縮尺", ScaleText(drawing.scale)}, {"日付", date}}, {1, 2});
    row(5, {{"ファイル", fileName}}, {3});
}

struct TableColumn {
    const char* heading;
    double width;
};

/**
 * The layer-volume table against the right edge of `space`, in as many column groups as its
 * height needs; returns the width it takes.
 */
double AddLayerTable(Drawing& drawing, const SheetRect& space, const BlockData& record)
{
    const int layers = std::clamp<int>(record.LayerCount, 0, kMaxLayers);
    if (layers == 0)
        return 0;
    std::vector<TableColumn> columns = {{"No.", 9}, {"高さ(m)", 17}, {"⊿Ｖ(m3)", 19}, {"Ｖ(m3)", 19}};
    if (CentroidModeOf(record) == CentroidMode::PerLayer)
        columns.push_back({"重心X", 17});
    double groupWidth = 0;
    for (const auto& column : columns)
        groupWidth += column.width;

    const int rowsPerGroup = std::max(1, static_cast<int>(std::floor(space.height / kTableRowMm)) - 1);
    const int groups = (layers + rowsPerGroup - 1) / rowsPerGroup;
    for (int group = 0; group < groups; ++group) {
        const int first = group * rowsPerGroup;
        const int count = std::min(rowsPerGroup, layers - first);
        // The first rows stand furthest left, so the table reads left to right.
        const double left = space.right() - (groups - group) * groupWidth - (groups - 1 - group) * kTableGapMm;
        const SheetRect box{left, space.top, groupWidth, (count + 1) * kTableRowMm};
        AddRectangle(drawing, box);
        AddRule(drawing, left, box.top + kTableRowMm, box.right(), box.top + kTableRowMm);
        double x = left;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const Cell cell{x, columns[c].width};
            AddCellText(drawing, cell, box.top + kTableRowMm, kTableRowMm, columns[c].heading, kSmallTextMm,
                        TextAlign::Center, DrawingLayer::Table);
            for (int r = 0; r < count; ++r) {
                const int layer = first + r;
                std::string text;
                switch (c) {
                case 0: text = FormatInteger(layer + 1); break;
                case 1: text = FormatGrid(record.LayerH[layer]); break;
                case 2: text = FormatGrid(record.LayerDV[layer]); break;
                case 3: text = FormatGrid(record.LayerV[layer]); break;
                default: text = FormatGrid(record.LayerGx[layer]); break;
                }
                AddCellText(drawing, cell, box.top + (r + 2) * kTableRowMm, kTableRowMm, text, kSmallTextMm,
                            c == 0 ? TextAlign::Center : TextAlign::Right, DrawingLayer::Table);
            }
            if (c > 0)
                AddRule(drawing, x, box.top, x, box.bottom());
            x += columns[c].width;
        }
    }
    return groups * groupWidth + (groups - 1) * kTableGapMm;
}

/** The 1-metre grid over the drawing's area, unless it would be too dense to read. */
void AddGrid(Drawing& drawing)
{
    const SheetRect& area = drawing.area;
    const double metresPerMm = drawing.scale / 1000.0;
    const double left = (area.left - drawing.originXMm) * metresPerMm;
    const double right = (area.right() - drawing.originXMm) * metresPerMm;
    const double top = (drawing.originYMm - area.top) * metresPerMm;
    const double bottom = (drawing.originYMm - area.bottom()) * metresPerMm;
    const double firstX = std::ceil(left), lastX = std::floor(right);
    const double firstY = std::ceil(bottom), lastY = std::floor(top);
    if (lastX - firstX > kMaxGridLines || lastY - firstY > kMaxGridLines)
        return;
    for (double x = firstX; x <= lastX; ++x)
        drawing.modelLines.push_back({x, bottom, x, top, DrawingLayer::Grid});
    for (double y = firstY; y <= lastY; ++y)
        drawing.modelLines.push_back({left, y, right, y, DrawingLayer::Grid});
}

}  // namespace

double LineWidthMm(DrawingLayer layer)
{
    switch (layer) {
    case DrawingLayer::Outline: return 0.5;
    case DrawingLayer::Dotted: return 0.35;
    case DrawingLayer::Frame: return 0.35;
    case DrawingLayer::Grid: return 0.1;
    default: return 0.18;
    }
}

bool IsDashed(DrawingLayer layer) { return layer == DrawingLayer::Dotted; }

std::array<double, 2> PaperSizeMm(PaperSize paper, bool landscape)
{
    const double shortSide = paper == PaperSize::A4 ? 210 : 297;
    const double longSide = paper == PaperSize::A4 ? 297 : 420;
    return landscape ? std::array<double, 2>{longSide, shortSide} : std::array<double, 2>{shortSide, longSide};
}

std::string ScaleText(double scale)
{
    // Beyond what a whole number holds, as the read-out writes far coordinates: "1:1.23E+20".
    if (!(scale < 1e15))
        return "1:" + FormatReadout(scale);
    const double rounded = std::round(scale * 10) / 10;
    if (rounded == std::round(rounded))
        return "1:" + FormatInteger(static_cast<long long>(rounded));
    return "1:" + FormatFixed(rounded, 1);
}

Drawing BuildDrawing(const BlockData& record, const DrawingOptions& options, const std::string& fileName,
                     const std::string& date)
{
    Drawing drawing;
    drawing.title = record.Name;
    const auto [paperWidth, paperHeight] = PaperSizeMm(options.paper, options.landscape);
    drawing.paperWidthMm = paperWidth;
    drawing.paperHeightMm = paperHeight;

    // The frame, the title block in its bottom-right corner, the table to the right of the section.
    const SheetRect frame{kSheetMarginMm, kSheetMarginMm, paperWidth - 2 * kSheetMarginMm,
                          paperHeight - 2 * kSheetMarginMm};
    AddRectangle(drawing, frame);
    const SheetRect titleBox{frame.right() - kTitleWidthMm, frame.bottom() - kTitleHeightMm, kTitleWidthMm,
                             kTitleHeightMm};
    SheetRect area{frame.left, frame.top, frame.width, frame.height - kTitleHeightMm};
    if (options.layerTable) {
        const SheetRect space{frame.left + kTableGapMm, frame.top + kTableGapMm, frame.width - 2 * kTableGapMm,
                              area.height - 2 * kTableGapMm};
        const double width = AddLayerTable(drawing, space, record);
        if (width > 0)
            area.width -= width + 2 * kTableGapMm;
    }
    area.width = std::max(area.width, 1.0);
    drawing.area = area;

    // The scale, and the section centred in its area.
    const Bounds bounds = SectionBounds(record);
    const double roomX = std::max(area.width - 2 * kAreaPaddingMm, 1.0);
    const double roomY = std::max(area.height - 2 * kAreaPaddingMm, 1.0);
    if (options.scale != kFitToPaper) {
        drawing.scale = options.scale;
    } else if (bounds.empty() || (bounds.width() == 0 && bounds.height() == 0)) {
        drawing.scale = kDrawingScales.front();
    } else {
        drawing.scale = std::max(bounds.width() * 1000 / roomX, bounds.height() * 1000 / roomY);
        // A section spanning nearly all of the doubles fits at no finite scale: the largest.
        if (!std::isfinite(drawing.scale))
            drawing.scale = std::numeric_limits<double>::max();
    }
    // Halved before they are added, so that no centre overflows.
    const double centreX = bounds.empty() ? 0 : bounds.minX / 2 + bounds.maxX / 2;
    const double centreY = bounds.empty() ? 0 : bounds.minY / 2 + bounds.maxY / 2;
    drawing.originXMm = area.left + area.width / 2 - centreX / drawing.scale * 1000;
    drawing.originYMm = area.top + area.height / 2 + centreY / drawing.scale * 1000;
    // A hair of tolerance: a fitted section touches its room exactly.
    constexpr double kTolerance = 1e-9;
    drawing.fits = bounds.empty() || (bounds.width() * 1000 / drawing.scale <= roomX * (1 + kTolerance) &&
                                      bounds.height() * 1000 / drawing.scale <= roomY * (1 + kTolerance));

    AddTitleBlock(drawing, titleBox, record, fileName, date);
    if (options.grid)
        AddGrid(drawing);

    // The segments between points that exist; solid ones outline the block.
    const int points = std::clamp<int>(record.PointCount, 0, kMaxPoints);
    const int lines = std::clamp<int>(record.LineCount, 0, kMaxLines);
    for (int k = 1; k <= lines; ++k) {
        const int p = record.LineStart[k];
        const int q = record.LineEnd[k];
        if (p < 1 || p > points || q < 1 || q > points)
            continue;
        const auto sp = static_cast<std::size_t>(p), sq = static_cast<std::size_t>(q);
        if (!Finite(record.PointX[sp], record.PointY[sp]) || !Finite(record.PointX[sq], record.PointY[sq]))
            continue;
        drawing.modelLines.push_back({record.PointX[sp], record.PointY[sp], record.PointX[sq], record.PointY[sq],
                                      LineTypeOf(record, k) == LineType::Solid ? DrawingLayer::Outline
                                                                               : DrawingLayer::Dotted});
    }

    if (options.pointNumbers) {
        for (int n = 1; n <= points; ++n) {
            const auto sn = static_cast<std::size_t>(n);
            if (!Finite(record.PointX[sn], record.PointY[sn]))
                continue;
            drawing.marks.push_back(
                {record.PointX[sn], record.PointY[sn], ModelMark::Shape::Cross, kPointCrossMm, DrawingLayer::Points});
            drawing.modelTexts.push_back({record.PointX[sn], record.PointY[sn], kPointCrossMm + 0.5,
                                          kPointCrossMm + 0.5 + kSmallTextMm, FormatInteger(n), kSmallTextMm,
                                          DrawingLayer::PointNumbers});
        }
    }

    if (HasCentroid(record)) {
        drawing.marks.push_back(
            {record.Gx, record.Gy, ModelMark::Shape::Circle, kCentroidCircleMm, DrawingLayer::Centroid});
        drawing.marks.push_back(
            {record.Gx, record.Gy, ModelMark::Shape::Cross, kCentroidCrossMm, DrawingLayer::Centroid});
        drawing.modelTexts.push_back({record.Gx, record.Gy, kCentroidCrossMm + 0.5, -(kCentroidCrossMm + 0.5), "G",
                                      kTitleTextMm, DrawingLayer::Centroid});
    }
    return drawing;
}

}  // namespace chokusho
