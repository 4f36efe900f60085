#include "PickerPreviewWidget.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

#include "PickerPreview.h"
#include "ZoomScroll.h"

namespace chokusho {

namespace {

/** Twips to whole pixels for drawing; values far outside the picture stay in the int range. */
int DrawTwips(int twips)
{
    const double pixels = std::nearbyint(twips / static_cast<double>(kTwipsPerPixel));
    return static_cast<int>(std::clamp(pixels, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

}  // namespace

// --- TwipsCanvas

void TwipsCanvas::Line(int x1, int y1, int x2, int y2, PaletteColor color)
{
    pixels_.Line(DrawTwips(x1), DrawTwips(y1), DrawTwips(x2), DrawTwips(y2), color);
}

void TwipsCanvas::Box(int x1, int y1, int x2, int y2, PaletteColor color)
{
    pixels_.Box(DrawTwips(x1), DrawTwips(y1), DrawTwips(x2), DrawTwips(y2), color);
}

void TwipsCanvas::PSet(int x, int y, PaletteColor color) { pixels_.PSet(DrawTwips(x), DrawTwips(y), color); }

void TwipsCanvas::SetTextPosition(int x, int y) { pixels_.SetTextPosition(DrawTwips(x), DrawTwips(y)); }

void TwipsCanvas::FillRings(const std::vector<PixelRing>& rings, PaletteColor color)
{
    std::vector<PixelRing> pixels = rings;
    for (PixelRing& ring : pixels) {
        for (PixelPoint& point : ring)
            point = {DrawTwips(point.x), DrawTwips(point.y)};
    }
    pixels_.FillRings(pixels, color);
}

// --- PickerPreviewWidget

PickerPreviewWidget::PickerPreviewWidget(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PickerPreviewWidget::showBlock(const BlockData& block)
{
    data_ = block;
    redraw();
}

void PickerPreviewWidget::redraw()
{
    const QSize inner = contentsRect().size();
    canvas_.resize(inner, devicePixelRatioF());
    TwipsCanvas twips(canvas_);
    DrawPickerPreview(twips, data_, static_cast<double>(inner.width()) * kTwipsPerPixel,
                      static_cast<double>(inner.height()) * kTwipsPerPixel);
    update();
}

void PickerPreviewWidget::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect inner = contentsRect();
    painter.fillRect(inner, Qt::black);
    painter.drawImage(inner.topLeft(), canvas_.image());
}

void PickerPreviewWidget::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    redraw();
}

}  // namespace chokusho
