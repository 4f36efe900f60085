#pragma once

#include <QWidget>

#include "ImageCanvas.h"

namespace chokusho {

/**
 * The black drawing area of the main window ("Picture1"). It shows its backing picture and
 * nothing else: a system expose only copies the picture, it never rebuilds it. Mouse events
 * leave as signals in logical pixels rounded to whole numbers, for the mouse modes.
 */
class CanvasWidget : public QWidget {
    Q_OBJECT

public:
    explicit CanvasWidget(QWidget* parent = nullptr);

    /** The backing picture, into which all drawing goes. */
    ImageCanvas& canvas() { return canvas_; }

    /**
     * Makes the backing picture match the widget's size and pixel ratio now, black when it had
     * to be made anew. Safe to call any time; a widget not yet shown gets its picture here.
     */
    void syncPictureSize();

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    /**
     * Zoom steps asked for over (x, y): wheel notches (positive away from the user) or a
     * touchpad's pinch, whole steps only; the rest is kept for the next turn.
     */
    void zoomSteps(int steps, Qt::MouseButtons buttons, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

private:
    ImageCanvas canvas_;
    // What the wheel and the pinch turned short of a whole step.
    int wheelRest_ = 0;
    double pinchRest_ = 0;
};

}  // namespace chokusho
