#include "CanvasWidget.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace chokusho {

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Picture1"));
    setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers every pixel
    setMouseTracking(true);                 // moves without a button report the coordinates
    setFocusPolicy(Qt::ClickFocus);
    canvas_.setFont(font());
}

void CanvasWidget::syncPictureSize() { canvas_.resize(size(), devicePixelRatioF()); }

void CanvasWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QImage& picture = canvas_.image();
    if (picture.isNull()) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    // Normally the picture is exactly the widget; while a new size or screen is on its way
    // it is shown stretched until the frame redraws it.
    if (picture.devicePixelRatio() == devicePixelRatioF() && canvas_.logicalSize() == size())
        painter.drawImage(QPoint(0, 0), picture);
    else
        painter.drawImage(rect(), picture);
}

void CanvasWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    syncPictureSize();
}

void CanvasWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        canvas_.setFont(font());
}

void CanvasWidget::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit mousePressed(event->button(), event->modifiers(), at.x(), at.y());
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit mouseMoved(event->buttons(), event->modifiers(), at.x(), at.y());
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    emit mouseReleased(event->button(), event->modifiers(), at.x(), at.y());
}

}  // namespace chokusho
