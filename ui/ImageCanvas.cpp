#include "ImageCanvas.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <QString>
#include <QTransform>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <utility>

namespace chokusho {

namespace {

/**
 * Lines are clipped to the picture widened by this many pixels, so that a clipped end, which
 * is no longer a whole pixel, lies outside what shows.
 */
constexpr double kClipMargin = 2.0;
/** A text this far left of or above the picture cannot reach it. */
constexpr int kTextReach = 4096;

/**
 * Shifts drawing by half a logical pixel, so that a line through pixel (x, y) runs through the
 * middle of the cell that a filled pixel (x, y) covers, at every device pixel ratio.
 */
const QTransform& PixelCentres()
{
    static const QTransform transform = QTransform::fromTranslate(0.5, 0.5);
    return transform;
}

QColor QColorOf(PaletteColor color)
{
    return QColor(static_cast<QRgb>(QBColor(color)));  // QColor(QRgb) makes the colour opaque
}

/** Clips the segment to the rectangle [left, right] x [top, bottom]; false when it misses it. */
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right, double bottom)
{
    // Liang-Barsky: the parts of the segment x = x1 + t * dx, y = y1 + t * dy, 0 <= t <= 1,
    // inside each of the four half-planes.
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0.0;
    double t1 = 1.0;
    // clang-format off
    const std::pair<double, double> edges[] = {
        {-dx, x1 - left},
        {dx, right - x1},
        {-dy, y1 - top},
        {dy, bottom - y1},
    };
    // clang-format on
    for (const auto& [p, q] : edges) {
        if (p == 0.0) {
            if (q < 0.0)
                return false;  // parallel to this edge and outside it
            continue;
        }
        const double t = q / p;
        if (p < 0.0) {
            if (t > t1)
                return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0)
                return false;
            t1 = std::min(t1, t);
        }
    }
    // Ends inside stay exactly as they were.
    const double ox = x1;
    const double oy = y1;
    if (t1 < 1.0) {
        x2 = ox + t1 * dx;
        y2 = oy + t1 * dy;
    }
    if (t0 > 0.0) {
        x1 = ox + t0 * dx;
        y1 = oy + t0 * dy;
    }
    return true;
}

}  // namespace

ImageCanvas::ImageCanvas()
{
    // Width in device pixels whatever the ratio; a painter's scale does not widen it.
    pen_.setCosmetic(true);
    pen_.setWidth(lineWidth_);
    pen_.setCapStyle(Qt::SquareCap);  // an aliased line with square caps includes its last pixel
    pen_.setJoinStyle(Qt::MiterJoin);
    pen_.setColor(QColorOf(qb::kWhite));
    setFont(QFont());
}

ImageCanvas::~ImageCanvas() { endPainting(); }

bool ImageCanvas::resize(QSize logicalSize, qreal devicePixelRatio)
{
    logicalSize = logicalSize.expandedTo(QSize(0, 0));
    if (logicalSize == logicalSize_ && (logicalSize.isEmpty() || devicePixelRatio_ == devicePixelRatio))
        return false;
    endPainting();
    logicalSize_ = logicalSize;
    devicePixelRatio_ = devicePixelRatio;
    // Black without pixels until something is drawn: a window that starts with nothing to show
    // needs no picture for its first paint.
    image_ = QImage();
    ascent_.reset();
    // A hair more than the ratio still counts as the ratio: 2.0000001 draws two pixels wide.
    lineWidth_ = std::max(1, static_cast<int>(std::floor(devicePixelRatio + 1e-6)));
    pen_.setWidth(lineWidth_);
    return true;
}

void ImageCanvas::makePixels()
{
    if (!image_.isNull() || logicalSize_.isEmpty())
        return;
    const QSize deviceSize(qCeil(logicalSize_.width() * devicePixelRatio_),
                           qCeil(logicalSize_.height() * devicePixelRatio_));
    image_ = QImage(deviceSize, QImage::Format_RGB32);
    image_.setDevicePixelRatio(devicePixelRatio_);
    image_.fill(Qt::black);
}

void ImageCanvas::setFont(const QFont& font)
{
    font_ = font;
    font_.setStyleStrategy(QFont::NoAntialias);
    ascent_.reset();
    if (painter_.isActive())
        painter_.setFont(font_);
}

const QImage& ImageCanvas::image()
{
    endPainting();
    makePixels();
    return image_;
}

QPainter& ImageCanvas::painter()
{
    if (!painter_.isActive()) {
        makePixels();
        painter_.begin(&image_);
        painter_.setRenderHint(QPainter::Antialiasing, false);
        painter_.setRenderHint(QPainter::TextAntialiasing, false);
        painter_.setBackgroundMode(Qt::TransparentMode);
        painter_.setFont(font_);
        painter_.setBrush(Qt::NoBrush);
        painter_.setPen(pen_);
        painter_.setTransform(PixelCentres());
        painter_.setCompositionMode(mode_ == PenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                          : QPainter::CompositionMode_SourceOver);
    }
    return painter_;
}

void ImageCanvas::endPainting()
{
    if (painter_.isActive())
        painter_.end();
}

void ImageCanvas::usePenColor(PaletteColor color)
{
    const QColor wanted = QColorOf(color);
    QPainter& p = painter();
    if (pen_.color() != wanted) {
        pen_.setColor(wanted);
        p.setPen(pen_);
    }
}

void ImageCanvas::Clear()
{
    endPainting();
    if (!image_.isNull())
        image_.fill(Qt::black);
}

void ImageCanvas::SetPenStyle(PenStyle style)
{
    pen_.setStyle(style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    if (painter_.isActive())
        painter_.setPen(pen_);
}

void ImageCanvas::SetPenMode(PenMode mode)
{
    mode_ = mode;
    if (painter_.isActive())
        painter_.setCompositionMode(mode == PenMode::Xor ? QPainter::RasterOp_SourceXorDestination
                                                         : QPainter::CompositionMode_SourceOver);
}

void ImageCanvas::drawPixel(int x, int y, PaletteColor color)
{
    if (x < 0 || y < 0 || x >= logicalSize_.width() || y >= logicalSize_.height())
        return;
    usePenColor(color);
    // The cell of pixel (x, y) in the half-pixel-shifted system.
    painter_.fillRect(QRectF(x - 0.5, y - 0.5, 1.0, 1.0), pen_.color());
}

void ImageCanvas::drawClippedLine(double x1, double y1, double x2, double y2)
{
    const double right = logicalSize_.width() - 1 + kClipMargin;
    const double bottom = logicalSize_.height() - 1 + kClipMargin;
    if (!ClipSegment(x1, y1, x2, y2, -kClipMargin, -kClipMargin, right, bottom))
        return;
    painter_.drawLine(QLineF(x1, y1, x2, y2));
}

void ImageCanvas::Line(int x1, int y1, int x2, int y2, PaletteColor color)
{
    if (logicalSize_.isEmpty())
        return;
    if (x1 == x2 && y1 == y2) {
        drawPixel(x1, y1, color);
        return;
    }
    usePenColor(color);
    drawClippedLine(x1, y1, x2, y2);
}

int ImageCanvas::bandStart(int at) const
{
    // The band of lineWidth_ device pixels centred on the logical pixel's centre, as the
    // aliased pen fills it: the pixels whose centres lie inside. Far-off places are held just
    // outside the picture, where nothing of them shows.
    const double ratio = image_.devicePixelRatio();
    const double start = std::floor((at + 0.5) * ratio - lineWidth_ / 2.0 + 0.5);
    const double outside = std::max(image_.width(), image_.height()) + lineWidth_ + 1.0;
    return static_cast<int>(std::clamp(start, -(lineWidth_ + 1.0), outside));
}

void ImageCanvas::fillDevice(int left, int top, int right, int bottom)
{
    const QRect cells = QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)) & image_.rect();
    if (cells.isEmpty())
        return;
    // A quarter of a device pixel inside each edge: whether the engine rounds the edges or
    // samples the pixels' centres, exactly these pixels are filled.
    const double ratio = image_.devicePixelRatio();
    const QRectF logical((cells.left() + 0.25) / ratio - 0.5, (cells.top() + 0.25) / ratio - 0.5,
                         (cells.width() - 0.5) / ratio, (cells.height() - 0.5) / ratio);
    painter().fillRect(logical, pen_.color());
}

void ImageCanvas::Box(int x1, int y1, int x2, int y2, PaletteColor color)
{
    if (logicalSize_.isEmpty())
        return;
    usePenColor(color);
    // Four bands of the lines' width that share no pixel, so that an XOR box drawn twice leaves
    // nothing behind; a box too small for a hole inside is filled.
    const int w = lineWidth_;
    const int left = bandStart(std::min(x1, x2));
    const int right = bandStart(std::max(x1, x2)) + w;
    const int top = bandStart(std::min(y1, y2));
    const int bottom = bandStart(std::max(y1, y2)) + w;
    if (right - left <= 2 * w || bottom - top <= 2 * w) {
        fillDevice(left, top, right, bottom);
        return;
    }
    fillDevice(left, top, right, top + w);
    fillDevice(left, bottom - w, right, bottom);
    fillDevice(left, top + w, left + w, bottom - w);
    fillDevice(right - w, top + w, right, bottom - w);
}

void ImageCanvas::PSet(int x, int y, PaletteColor color)
{
    textX_ = x;
    textY_ = y;
    if (!logicalSize_.isEmpty())
        drawPixel(x, y, color);
}

void ImageCanvas::SetTextPosition(int x, int y)
{
    textX_ = x;
    textY_ = y;
}

void ImageCanvas::Print(std::string_view text, PaletteColor color)
{
    if (logicalSize_.isEmpty() || text.empty())
        return;
    if (textX_ >= logicalSize_.width() || textY_ >= logicalSize_.height() || textX_ < -kTextReach ||
        textY_ < -kTextReach)
        return;
    usePenColor(color);
    if (!ascent_)
        ascent_ = QFontMetrics(font_, &image_).ascent();
    // Text goes on whole pixels: its top-left corner at the text position.
    painter_.setTransform(QTransform());
    painter_.drawText(QPoint(textX_, textY_ + *ascent_),
                      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    painter_.setTransform(PixelCentres());
}

void ImageCanvas::FillRings(const std::vector<PixelRing>& rings, PaletteColor color)
{
    if (logicalSize_.isEmpty() || rings.empty())
        return;
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const PixelRing& ring : rings) {
        QPolygon polygon;
        polygon.reserve(static_cast<qsizetype>(ring.size()));
        for (const PixelPoint& point : ring)
            polygon << QPoint(point.x, point.y);
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    // A shade is laid down, never XORed: the rubber band's mode must not reach it.
    QPainter& p = painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.fillPath(path, QColorOf(color));
    if (mode_ == PenMode::Xor)
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
}

}  // namespace chokusho
