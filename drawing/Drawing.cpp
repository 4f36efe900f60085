#include "Drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "Bounds.h"
#include "Dimensions.h"
#include "Numbers.h"
#include "PointNumbers.h"
#include "SheetLayout.h"
#include "TextWidth.h"

namespace chokusho {

namespace {

// Text heights and mark sizes on paper, from the usual series of drawing text heights.
constexpr double kTitleTextMm = 3.5;
constexpr double kSmallTextMm = 2.5;
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

/** The layer table's columns: a centroid X for each layer only where the block has one. */
std::vector<TableColumn> TableColumns(const BlockData& record)
{
    std::vector<TableColumn> columns = {{"No.", 9}, {"高さ(m)", 17}, {"⊿Ｖ(m3)", 19}, {"Ｖ(m3)", 19}};
    if (CentroidModeOf(record) == CentroidMode::PerLayer)
        columns.push_back({"重心X", 17});
    return columns;
}

double GroupWidth(const std::vector<TableColumn>& columns)
{
    double width = 0;
    for (const auto& column : columns)
        width += column.width;
    return width;
}

/** The layer-volume table in its place, its column groups from left to right. */
void AddLayerTable(Drawing& drawing, const TablePlace& place, const BlockData& record)
{
    const int layers = std::clamp<int>(record.LayerCount, 0, kMaxLayers);
    std::vector<TableColumn> columns = TableColumns(record);
    for (TableColumn& column : columns)
        column.width *= place.widthScale;
    const double groupWidth = GroupWidth(columns);
    const double gap = kTableGapMm * place.widthScale;
    for (int group = 0; group < place.groups; ++group) {
        const int first = group * place.rowsPerGroup;
        const int count = std::min(place.rowsPerGroup, layers - first);
        if (count <= 0)
            break;
        const double left = place.box.left + group * (groupWidth + gap);
        const SheetRect box{left, place.box.top, groupWidth, (count + 1) * kTableRowMm};
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

/** The segments between points that exist; solid ones outline the block. */
void AddSegments(Drawing& drawing, const BlockData& record)
{
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
}

/** The centroid's circle and cross with "G", where the record marks one. */
void AddCentroid(Drawing& drawing, const BlockData& record)
{
    if (!HasCentroid(record))
        return;
    drawing.marks.push_back({record.Gx, record.Gy, ModelMark::Shape::Circle, kCentroidCircleMm, DrawingLayer::Centroid});
    drawing.marks.push_back({record.Gx, record.Gy, ModelMark::Shape::Cross, kCentroidCrossMm, DrawingLayer::Centroid});
    drawing.modelTexts.push_back({record.Gx, record.Gy, kCentroidCrossMm + 0.5, -(kCentroidCrossMm + 0.5), "G",
                                  kTitleTextMm, DrawingLayer::Centroid});
}

/**
 * What the section asks of its area: its extent, and on each side the padding, or more where a
 * mark or text reaches further from its point, or the dimensions take more.
 */
SectionNeeds NeedsOf(const Bounds& bounds, const Drawing& labels, const SectionDimensions& dimensions)
{
    SectionNeeds needs;
    if (!bounds.empty()) {
        needs.widthM = bounds.width();
        needs.heightM = bounds.height();
    }
    needs.leftMm = needs.rightMm = needs.topMm = needs.bottomMm = kAreaPaddingMm;
    const auto reach = [&](double left, double top, double right, double bottom) {
        needs.leftMm = std::max(needs.leftMm, -left);
        needs.topMm = std::max(needs.topMm, -top);
        needs.rightMm = std::max(needs.rightMm, right);
        needs.bottomMm = std::max(needs.bottomMm, bottom);
    };
    for (const ModelMark& mark : labels.marks)
        reach(-mark.sizeMm, -mark.sizeMm, mark.sizeMm, mark.sizeMm);
    for (const ModelText& text : labels.modelTexts)
        reach(text.dxMm, text.dyMm - text.heightMm, text.dxMm + TextWidthMm(text.text, text.heightMm), text.dyMm);
    needs.leftMm = std::max(needs.leftMm, dimensions.leftMm());
    needs.bottomMm = std::max(needs.bottomMm, dimensions.bottomMm());
    return needs;
}

}  // namespace

Drawing BuildDrawing(const BlockData& record, const DrawingOptions& options, const std::string& fileName,
                     const std::string& date)
{
    Drawing drawing;
    drawing.title = record.Name;
    const auto [paperWidth, paperHeight] = PaperSizeMm(options);
    drawing.paperWidthMm = paperWidth;
    drawing.paperHeightMm = paperHeight;

    // The frame, and the title block in its bottom-right corner.
    const SheetRect frame{kSheetMarginMm, kSheetMarginMm, paperWidth - 2 * kSheetMarginMm,
                          paperHeight - 2 * kSheetMarginMm};
    AddRectangle(drawing, frame);
    const SheetRect titleBox{frame.right() - kTitleWidthMm, frame.bottom() - kTitleHeightMm, kTitleWidthMm,
                             kTitleHeightMm};
    drawing.reserved.push_back(titleBox);

    // Marks and numbers stand at the same paper distance from their points at every scale:
    // made first, they say how much paper the section keeps around its extent.
    Drawing labels;
    if (options.pointNumbers)
        AddPointNumbers(labels, record);
    AddCentroid(labels, record);

    // The table and the section's area, and the scale: fitted, the largest of the series at
    // which the section with its dimensions fits.
    const Bounds bounds = SectionBounds(record);
    const SectionDimensions dimensions(record, options.dimensions);
    const SectionNeeds needs = NeedsOf(bounds, labels, dimensions);
    std::optional<TableMeasure> table;
    if (options.layerTable && record.LayerCount > 0)
        table = TableMeasure{std::min<int>(record.LayerCount, kMaxLayers), GroupWidth(TableColumns(record))};
    const bool fixed = options.scale > 0 && std::isfinite(options.scale);
    const SheetPlan plan = PlanSheet(frame, titleBox, table, needs, fixed ? options.scale : kFitToPaper);
    if (plan.table) {
        AddLayerTable(drawing, *plan.table, record);
        drawing.reserved.push_back(plan.table->box);
    }
    drawing.area = plan.area;
    drawing.scale = fixed ? options.scale : StandardScale(plan.neededScale);
    // A hair of tolerance: a fitted section touches its room exactly.
    drawing.fits = bounds.empty() || drawing.scale >= plan.neededScale * (1 - 1e-9);

    // The section in the middle of what its area leaves it beside its margins. Halved before
    // they are added, so that no centre overflows.
    const SheetRect& area = drawing.area;
    const double centreX = bounds.empty() ? 0 : bounds.minX / 2 + bounds.maxX / 2;
    const double centreY = bounds.empty() ? 0 : bounds.minY / 2 + bounds.maxY / 2;
    const double roomCentreX = area.left + needs.leftMm + (area.width - needs.leftMm - needs.rightMm) / 2;
    const double roomCentreY = area.top + needs.topMm + (area.height - needs.topMm - needs.bottomMm) / 2;
    drawing.originXMm = roomCentreX - centreX / drawing.scale * 1000;
    drawing.originYMm = roomCentreY + centreY / drawing.scale * 1000;

    AddTitleBlock(drawing, titleBox, record, fileName, date);
    if (options.grid)
        AddGrid(drawing);
    AddSegments(drawing, record);
    drawing.marks = std::move(labels.marks);
    drawing.modelTexts = std::move(labels.modelTexts);
    dimensions.addTo(drawing, bounds);
    return drawing;
}

}  // namespace chokusho
