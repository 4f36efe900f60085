#include "DrawingOutput.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "BlockFile.h"
#include "DxfWriter.h"
#include "FileSystem.h"
#include "ProgressMeter.h"
#include "QtText.h"

namespace chokusho {

namespace {

// A PDF's own unit for placing things: fine enough that rounding never shows on paper.
constexpr int kPdfDpi = 1200;
// SVG user units per millimetre: its numbers keep a hundredth of a millimetre.
constexpr double kSvgUnitsPerMm = 10;
// Texts are set at this pixel size and scaled to their height, so that every height is exact
// whatever the device's resolution.
constexpr int kTextPixels = 100;

constexpr double kMmPerInch = 25.4;

// Where each part of an export ends, as the fraction of the whole that the progress tells: for a
// PNG of A3 at 600 dpi, the white page takes about a tenth of the time, the painting a tenth or
// less, the grey levels a third and the PNG encoding a half. PDF and SVG are painted, then finished
// and written.
constexpr double kPageReady = 0.1;
constexpr double kImagePainted = 0.2;
constexpr double kImageGrey = 0.5;
constexpr double kVectorPainted = 0.9;
constexpr double kEncoded = 0.97;

/**
 * The bytes of an encoded picture, whose writes fail once the export is to stop: the encoder,
 * which cannot tell how far it is, then gives up at its next write.
 */
class StoppableBuffer : public QBuffer {
public:
    StoppableBuffer(QByteArray* bytes, ProgressMeter& meter) : QBuffer(bytes), meter_(meter) {}

protected:
    qint64 writeData(const char* data, qint64 length) override
    {
        return meter_.goOn() ? QBuffer::writeData(data, length) : -1;
    }

private:
    ProgressMeter& meter_;
};

QColor InkOf(DrawingLayer layer)
{
    // The grid stays behind the section.
    return layer == DrawingLayer::Grid ? QColor(170, 170, 170) : QColor(Qt::black);
}

QPen PenOf(DrawingLayer layer, double dotsPerMm)
{
    QPen pen(InkOf(layer));
    const double width = LineWidthMm(layer) * dotsPerMm;
    pen.setWidthF(width);
    pen.setJoinStyle(Qt::RoundJoin);
    if (IsDashed(layer)) {
        // A dash pattern counts in pen widths; the dashes measure the same at every scale.
        pen.setDashPattern({kDashMm * dotsPerMm / width, kDashGapMm * dotsPerMm / width});
        pen.setCapStyle(Qt::FlatCap);
    } else {
        pen.setCapStyle(Qt::RoundCap);
    }
    return pen;
}

/**
 * The part of the line from `a` to `b` inside `rect` (Liang and Barsky), as the fractions of
 * its length where it enters and leaves; nullopt when none of it is inside. Painting engines
 * meet no coordinate far beyond the page this way, whatever the model holds.
 */
std::optional<std::pair<double, double>> ClipLine(QPointF a, QPointF b, const QRectF& rect)
{
    double enter = 0, leave = 1;
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const auto edge = [&](double p, double q) {
        if (p == 0)
            return q >= 0;
        const double t = q / p;
        if (p < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        return enter <= leave;
    };
    if (!(edge(-dx, a.x() - rect.left()) && edge(dx, rect.right() - a.x()) && edge(-dy, a.y() - rect.top()) &&
          edge(dy, rect.bottom() - a.y())))
        return std::nullopt;
    if (!std::isfinite(enter) || !std::isfinite(leave))
        return std::nullopt;
    return std::pair{enter, leave};
}

class Painter {
public:
    Painter(QPainter& painter, const Drawing& drawing, double dotsPerMm)
        : p_(painter),
          drawing_(drawing),
          dotsPerMm_(dotsPerMm),
          font_(DrawingFont(kTextPixels)),
          metrics_(font_, p_.device())
    {
        // The model's room, in paper millimetres, a little larger than the area so that a
        // line along its edge keeps its whole width; the painter clips exactly.
        const SheetRect& area = drawing.area;
        room_ = QRectF(area.left, area.top, area.width, area.height).adjusted(-1, -1, 1, 1);
    }

    /** The number of items that paint() paints, each a step of its meter. */
    static std::size_t Items(const Drawing& drawing)
    {
        return drawing.modelLines.size() + drawing.marks.size() + drawing.modelTexts.size() +
               drawing.sheetLines.size() + drawing.sheetTexts.size();
    }

    /** Paints every item, a step of `meter` each; false when the meter stopped it. */
    bool paint(ProgressMeter& meter)
    {
        const auto each = [&meter](const auto& items, const auto& paintItem) {
            for (const auto& item : items) {
                if (!meter.step())
                    return false;
                paintItem(item);
            }
            return true;
        };
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing);
        p_.setRenderHint(QPainter::TextAntialiasing);
        const SheetRect& area = drawing_.area;
        p_.setClipRect(device(QRectF(area.left, area.top, area.width, area.height)));
        bool painted = each(drawing_.modelLines, [this](const ModelLine& line) { modelLine(line); }) &&
                       each(drawing_.marks, [this](const ModelMark& mark) { modelMark(mark); }) &&
                       each(drawing_.modelTexts, [this](const ModelText& text) { modelText(text); });
        p_.setClipping(false);
        painted = painted && each(drawing_.sheetLines, [this](const SheetLine& line) {
                      drawLine(QPointF(line.x1, line.y1), QPointF(line.x2, line.y2), line.layer, 0);
                  }) && each(drawing_.sheetTexts, [this](const SheetText& text) {
                      drawText(QPointF(text.x, text.y), text.text, text.heightMm, text.align, text.maxWidthMm,
                               text.layer);
                  });
        p_.restore();
        return painted;
    }

private:
    QPointF paper(double modelX, double modelY) const { return {drawing_.PaperX(modelX), drawing_.PaperY(modelY)}; }
    QPointF device(QPointF mm) const { return mm * dotsPerMm_; }
    QRectF device(const QRectF& mm) const
    {
        return {mm.left() * dotsPerMm_, mm.top() * dotsPerMm_, mm.width() * dotsPerMm_, mm.height() * dotsPerMm_};
    }
    bool inRoom(QPointF mm) const { return room_.contains(mm); }

    void modelLine(const ModelLine& line)
    {
        const QPointF a = paper(line.x1, line.y1), b = paper(line.x2, line.y2);
        const auto part = ClipLine(a, b, room_);
        if (!part)
            return;
        const QPointF from = a + (b - a) * part->first;
        const QPointF to = a + (b - a) * part->second;
        // A dashed line cut at the room's edge keeps the dashes it has whole.
        const double skippedMm = std::hypot(from.x() - a.x(), from.y() - a.y());
        drawLine(from, to, line.layer, skippedMm);
    }

    void drawLine(QPointF fromMm, QPointF toMm, DrawingLayer layer, double skippedMm)
    {
        QPen pen = PenOf(layer, dotsPerMm_);
        if (IsDashed(layer) && skippedMm > 0) {
            const double period = kDashMm + kDashGapMm;
            pen.setDashOffset(std::fmod(skippedMm, period) * dotsPerMm_ / pen.widthF());
        }
        p_.setPen(pen);
        p_.drawLine(QLineF(device(fromMm), device(toMm)));
    }

    void modelMark(const ModelMark& mark)
    {
        const QPointF centre = paper(mark.x, mark.y);
        if (!inRoom(centre))
            return;
        p_.setPen(PenOf(mark.layer, dotsPerMm_));
        p_.setBrush(Qt::NoBrush);
        const double size = mark.sizeMm;
        if (mark.shape == ModelMark::Shape::Circle) {
            p_.drawEllipse(device(centre), size * dotsPerMm_, size * dotsPerMm_);
        } else {
            drawLine(centre + QPointF(-size, 0), centre + QPointF(size, 0), mark.layer, 0);
            drawLine(centre + QPointF(0, -size), centre + QPointF(0, size), mark.layer, 0);
        }
    }

    void modelText(const ModelText& text)
    {
        const QPointF at = paper(text.x, text.y);
        if (!inRoom(at))
            return;
        drawText(at + QPointF(text.dxMm, text.dyMm), text.text, text.heightMm, TextAlign::Left, 0, text.layer);
    }

    void drawText(QPointF baselineMm, const std::string& utf8, double heightMm, TextAlign align, double maxWidthMm,
                  DrawingLayer layer)
    {
        const QString text = Utf8(utf8);
        if (text.isEmpty() || !(heightMm > 0))
            return;
        // The font is set at kTextPixels and the painter scaled to the text's height; a text
        // wider than its room is condensed to fit.
        const double scale = heightMm * dotsPerMm_ / kTextPixels;
        const double naturalMm = metrics_.horizontalAdvance(text) * heightMm / kTextPixels;
        const double condense = maxWidthMm > 0 && naturalMm > maxWidthMm ? maxWidthMm / naturalMm : 1.0;
        const double widthMm = naturalMm * condense;
        double left = baselineMm.x();
        if (align == TextAlign::Center)
            left -= widthMm / 2;
        else if (align == TextAlign::Right)
            left -= widthMm;
        p_.save();
        p_.translate(device(QPointF(left, baselineMm.y())));
        p_.scale(scale * condense, scale);
        p_.setFont(font_);
        p_.setPen(InkOf(layer));
        p_.drawText(QPointF(0, 0), text);
        p_.restore();
    }

    QPainter& p_;
    const Drawing& drawing_;
    double dotsPerMm_;
    QFont font_;
    QFontMetricsF metrics_;
    QRectF room_;
};

QPageLayout PageLayoutOf(const Drawing& drawing)
{
    const bool landscape = drawing.paperWidthMm > drawing.paperHeightMm;
    // The page by the paper's size, which Qt knows by name where it is a standard one (JIS B4
    // and B5 among them).
    const QSizeF portrait(std::min(drawing.paperWidthMm, drawing.paperHeightMm),
                          std::max(drawing.paperWidthMm, drawing.paperHeightMm));
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

QSize PixelsOf(const Drawing& drawing, double dotsPerMm)
{
    return {static_cast<int>(std::lround(drawing.paperWidthMm * dotsPerMm)),
            static_cast<int>(std::lround(drawing.paperHeightMm * dotsPerMm))};
}

/** Paints `drawing` as PaintDrawing does, its items a part of `meter` that ends at `until`. */
bool Paint(QPainter& painter, const Drawing& drawing, double dotsPerMm, ProgressMeter& meter, double until)
{
    meter.part(until, Painter::Items(drawing));
    return Painter(painter, drawing, dotsPerMm).paint(meter);
}

// The outputs, each as far as `meter` lets it go: empty once it stopped.

QByteArray PdfOf(const Drawing& drawing, ProgressMeter& meter)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kPdfDpi);
        pdf.setPageLayout(PageLayoutOf(drawing));
        pdf.setTitle(Utf8(drawing.title));
        pdf.setCreator(QStringLiteral("chokusho"));
        QPainter painter(&pdf);
        if (!Paint(painter, drawing, kPdfDpi / kMmPerInch, meter, kVectorPainted))
            return {};
    }
    return bytes;
}

QByteArray SvgOf(const Drawing& drawing, ProgressMeter& meter)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // The size in user units and a resolution at which it is the paper's in millimetres.
    svg.setResolution(static_cast<int>(std::lround(kSvgUnitsPerMm * kMmPerInch)));
    svg.setSize(PixelsOf(drawing, kSvgUnitsPerMm));
    svg.setViewBox(QRectF(0, 0, drawing.paperWidthMm * kSvgUnitsPerMm, drawing.paperHeightMm * kSvgUnitsPerMm));
    svg.setTitle(Utf8(drawing.title));
    {
        QPainter painter(&svg);
        painter.fillRect(QRectF(0, 0, drawing.paperWidthMm * kSvgUnitsPerMm, drawing.paperHeightMm * kSvgUnitsPerMm),
                         Qt::white);
        if (!Paint(painter, drawing, kSvgUnitsPerMm, meter, kVectorPainted))
            return {};
    }
    return bytes;
}

QImage ImageOf(const Drawing& drawing, int dpi, ProgressMeter& meter)
{
    const double dotsPerMm = dpi / kMmPerInch;
    QImage image(PixelsOf(drawing, dotsPerMm), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const int dotsPerMetre = static_cast<int>(std::lround(dotsPerMm * 1000));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    if (!meter.check(kPageReady))
        return {};
    QPainter painter(&image);
    if (!Paint(painter, drawing, dotsPerMm, meter, kImagePainted))
        return {};
    return image;
}

QByteArray PngOf(const Drawing& drawing, int dpi, ProgressMeter& meter)
{
    // Black on white with grey anti-aliasing: grey levels are all a PNG needs to keep.
    const QImage image = ImageOf(drawing, dpi, meter).convertToFormat(QImage::Format_Grayscale8);
    QByteArray bytes;
    if (image.isNull() || !meter.check(kImageGrey))
        return bytes;
    StoppableBuffer buffer(&bytes, meter);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        bytes.clear();
    return bytes;
}

/** An ExportProgress that is never told anything. */
ProgressMeter Unwatched() { return ProgressMeter(ExportProgress()); }

}  // namespace

QStringList DrawingFamilies()
{
    const QStringList windows = {QStringLiteral("Yu Gothic"), QStringLiteral("游ゴシック"),
                                 QStringLiteral("MS Gothic"), QStringLiteral("ＭＳ ゴシック"),
                                 QStringLiteral("Meiryo"),    QStringLiteral("メイリオ")};
    const QStringList elsewhere = {QStringLiteral("IPAGothic"),        QStringLiteral("IPAゴシック"),
                                   QStringLiteral("IPAPGothic"),       QStringLiteral("IPA Pゴシック"),
                                   QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL Gothic"),
                                   QStringLiteral("VL ゴシック"),      QStringLiteral("TakaoGothic"),
                                   QStringLiteral("Takaoゴシック")};
#ifdef Q_OS_WIN
    return windows + elsewhere;
#else
    return elsewhere + windows;
#endif
}

QString DrawingFamily(const QStringList& installed)
{
    // Without a Japanese gothic, a sans face that most systems have: its look is nearer the
    // drawing's than a serif's, which a bare QFont() may resolve to.
    const QStringList sans = {QStringLiteral("Segoe UI"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"),
                              QStringLiteral("Liberation Sans"), QStringLiteral("Noto Sans")};
    for (const QStringList& families : {DrawingFamilies(), sans}) {
        for (const QString& family : families) {
            if (installed.contains(family))
                return family;
        }
    }
    return {};
}

QFont DrawingFont(int heightPixels)
{
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    const QString family = DrawingFamily(QFontDatabase::families());
    font.setFamily(family.isEmpty() ? font.defaultFamily() : family);
    font.setPixelSize(heightPixels);
    // Advances that scale exactly with the size: a text measured at one size fits at another.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

void PaintDrawing(QPainter& painter, const Drawing& drawing, double dotsPerMm)
{
    ProgressMeter meter = Unwatched();
    Paint(painter, drawing, dotsPerMm, meter, 1);
}

QByteArray DrawingPdf(const Drawing& drawing)
{
    ProgressMeter meter = Unwatched();
    return PdfOf(drawing, meter);
}

QByteArray DrawingSvg(const Drawing& drawing)
{
    ProgressMeter meter = Unwatched();
    return SvgOf(drawing, meter);
}

QImage DrawingImage(const Drawing& drawing, int dpi)
{
    ProgressMeter meter = Unwatched();
    return ImageOf(drawing, dpi, meter);
}

QByteArray DrawingPng(const Drawing& drawing, int dpi)
{
    ProgressMeter meter = Unwatched();
    return PngOf(drawing, dpi, meter);
}

bool ExportDrawing(const Drawing& drawing, const std::string& path, ExportFormat format, int dpi,
                   const ExportProgress& progress)
{
    ProgressMeter meter(progress);
    const auto write = [&](std::string_view bytes) {
        // The last moment to stop: a file being replaced is replaced whole.
        if (!meter.check(kEncoded))
            return false;
        WriteFileAtomically(path, bytes);
        return true;
    };
    if (!meter.check(0))
        return false;
    QByteArray bytes;
    switch (format) {
    case ExportFormat::Pdf: bytes = PdfOf(drawing, meter); break;
    case ExportFormat::Svg: bytes = SvgOf(drawing, meter); break;
    case ExportFormat::Png: bytes = PngOf(drawing, std::clamp(dpi, kMinPngDpi, kMaxPngDpi), meter); break;
    case ExportFormat::Dxf: return write(FormatDxf(drawing));
    }
    if (meter.stopped())
        return false;
    if (bytes.isEmpty())
        throw FileWriteError(path, "図を描けませんでした。");
    return write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void PrintDrawing(QPrinter& printer, const Drawing& drawing)
{
    // The whole sheet from the paper's corner: the drawing keeps its own margin, and the scale
    // stays exact whatever the printer cannot reach.
    printer.setFullPage(true);
    QPainter painter(&printer);
    PaintDrawing(painter, drawing, printer.resolution() / kMmPerInch);
}

}  // namespace chokusho
