#pragma once

#include <array>
#include <string>
#include <vector>

#include "Scale.h"

namespace chokusho {

/**
 * The drawing of a block for paper and files: its section at a scale on a sheet with a frame, a
 * title block and, optionally, the layer-volume table. Every output (print, PDF, SVG, PNG, DXF)
 * renders this one description and none reads the record itself.
 *
 * Two kinds of coordinates: the section in model metres (X to the right, Y up, as the record
 * holds it) and the sheet in paper millimetres (origin at the paper's top-left corner, Y down).
 * `PaperX`/`PaperY` place the model on the sheet. Sizes of marks, texts and dashes are paper
 * millimetres at every scale, so a drawing at 1:200 reads as well as one at 1:20.
 */

/** The papers a drawing is laid out on: ISO A4 and A3, JIS B4 and B5, or a size of its own. */
enum class PaperSize { A4, A3, B4, B5, Other };

/** Which dimensions the section carries. */
enum class DimensionStyle {
    None,
    Overall,     // the outline's width and height
    EveryPoint,  // and chains through every distinct X along the bottom and every Y along the left side
};

/** The white border between the paper's edge and the frame. */
inline constexpr double kSheetMarginMm = 15.0;
/** A dotted segment on paper: a dash, then a gap, repeated; the same at every scale. */
inline constexpr double kDashMm = 3.0;
inline constexpr double kDashGapMm = 1.5;

struct DrawingOptions {
    PaperSize paper = PaperSize::A4;
    /** The sides of a paper of PaperSize::Other, in millimetres. */
    double otherShortMm = 0;
    double otherLongMm = 0;
    bool landscape = false;
    /** The denominator n of 1:n, or kFitToPaper. */
    double scale = kFitToPaper;
    bool pointNumbers = false;
    bool grid = false;
    bool layerTable = false;
    DimensionStyle dimensions = DimensionStyle::Overall;
};

/** The parts of a drawing that outputs keep apart: DXF layers, pens. */
enum class DrawingLayer {
    Outline,       // solid segments
    Dotted,        // the other kind, drawn dashed
    Points,        // point crosses
    PointNumbers,  //
    Centroid,      // the centroid's circle, cross and "G"
    Grid,          // the 1-metre grid
    Frame,         // the frame and the rules of the title block and table
    Title,         // the title block's texts
    Table,         // the layer table's texts
    Dimensions,    // dimension, extension and tick lines and the lengths
};

/** The pen width of each layer's lines on paper, in millimetres. */
double LineWidthMm(DrawingLayer layer);
/** Whether the layer's lines are dashed (kDashMm, kDashGapMm). */
bool IsDashed(DrawingLayer layer);

enum class TextAlign { Left, Center, Right };

/** A straight line of the section, in model metres. */
struct ModelLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    DrawingLayer layer = DrawingLayer::Outline;
};

/** A mark of fixed paper size at a model point: a point's cross or the centroid's circle. */
struct ModelMark {
    enum class Shape { Cross, Circle };
    double x = 0, y = 0;
    Shape shape = Shape::Cross;
    /** The half-width of a cross, the radius of a circle. */
    double sizeMm = 0;
    DrawingLayer layer = DrawingLayer::Points;
};

/** A text beside a model point: its baseline's start lies `dxMm`, `dyMm` (Y down) from the point. */
struct ModelText {
    double x = 0, y = 0;
    double dxMm = 0, dyMm = 0;
    std::string text;  // UTF-8
    double heightMm = 0;
    DrawingLayer layer = DrawingLayer::PointNumbers;
};

/** A line of the sheet, in paper millimetres. */
struct SheetLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    DrawingLayer layer = DrawingLayer::Frame;
};

/** A text of the sheet: `x`, `y` is the baseline's left end, centre or right end by `align`. */
struct SheetText {
    double x = 0, y = 0;
    std::string text;  // UTF-8
    double heightMm = 0;
    TextAlign align = TextAlign::Left;
    DrawingLayer layer = DrawingLayer::Title;
    /** The width the text may take; a wider one is drawn condensed to it. 0: no limit. */
    double maxWidthMm = 0;
};

/** A rectangle of the sheet, in paper millimetres. */
struct SheetRect {
    double left = 0, top = 0, width = 0, height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

struct Drawing {
    double paperWidthMm = 0;
    double paperHeightMm = 0;
    /** The denominator n of 1:n: one model metre is 1000 / n paper millimetres. */
    double scale = 1;
    /** Where the model's origin lies on the sheet. */
    double originXMm = 0;
    double originYMm = 0;
    /** The part of the sheet the section is drawn in; outputs clip the model to it. */
    SheetRect area;
    /** Whether the section lies wholly inside `area`. */
    bool fits = true;
    /** The block's name, for a document's title. */
    std::string title;
    /** The title block's and the layer table's boxes, which the area keeps clear of. */
    std::vector<SheetRect> reserved;

    std::vector<ModelLine> modelLines;
    std::vector<ModelMark> marks;
    std::vector<ModelText> modelTexts;
    std::vector<SheetLine> sheetLines;
    std::vector<SheetText> sheetTexts;

    // Divided before multiplied, so that no far point overflows on its way to the paper.
    double PaperX(double modelX) const { return originXMm + modelX / scale * 1000.0; }
    double PaperY(double modelY) const { return originYMm - modelY / scale * 1000.0; }
};

/** A named paper's width and height in millimetres, turned for landscape. */
std::array<double, 2> PaperSizeMm(PaperSize paper, bool landscape);
/** The width and height of the options' paper, named or of its own size. */
std::array<double, 2> PaperSizeMm(const DrawingOptions& options);

/**
 * Sets the options' paper to one `widthMm` wide and `heightMm` high as it lies, landscape when
 * wider than high: a named paper when its sides are within a millimetre of one's (as printers
 * round them), else PaperSize::Other of this size.
 */
void SetPaper(DrawingOptions& options, double widthMm, double heightMm);

}  // namespace chokusho
