#include "CanvasWidget.h"

#include <QEvent>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

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
    if (canvas_.isBlank()) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    const QImage& picture = canvas_.image();
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

void CanvasWidget::wheelEvent(QWheelEvent* event)
{
    // A notch is 120; fine-grained wheels and touchpads send parts of one.
    constexpr int kNotch = 120;
    wheelRest_ += event->angleDelta().y();
    const int steps = wheelRest_ / kNotch;
    wheelRest_ -= steps * kNotch;
    const QPoint at = event->position().toPoint();
    if (steps != 0)
        emit zoomSteps(steps, event->buttons(), at.x(), at.y());
    event->accept();
}

bool CanvasWidget::event(QEvent* event)
{
    if (event->type() == QEvent::NativeGesture) {
        auto* gesture = static_cast<QNativeGestureEvent*>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture) {
            // A pinch reports how much it grew; a quarter more or less is one zoom step.
            constexpr double kStep = 0.25;
            pinchRest_ += gesture->value();
            const int steps = static_cast<int>(std::trunc(pinchRest_ / kStep));
            pinchRest_ -= steps * kStep;
            const QPoint at = gesture->position().toPoint();
            if (steps != 0)
                emit zoomSteps(steps, Qt::NoButton, at.x(), at.y());
            return true;
        }
    }
    return QWidget::event(event);
}

}  // namespace chokusho
