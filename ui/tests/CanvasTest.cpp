// The canvas widget, which shows the backing picture and forwards the mouse, and the zoom
// cursor it takes in the zoom modes.

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "CanvasWidget.h"
#include "MagnifierCursor.h"

using namespace chokusho;

namespace {

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xFFFFFF;

}  // namespace

class CanvasTest : public QObject {
    Q_OBJECT

private slots:
    void widgetShowsThePictureWithoutRedrawingIt()
    {
        CanvasWidget widget;
        QCOMPARE(widget.objectName(), QStringLiteral("Picture1"));
        widget.resize(40, 30);
        widget.syncPictureSize();
        QCOMPARE(widget.canvas().logicalSize(), QSize(40, 30));
        widget.canvas().Line(0, 10, 39, 10, qb::kWhite);
        const QImage shown = widget.grab().toImage();
        QCOMPARE(shown.pixel(20, 10) & 0xFFFFFF, kWhite);
        QCOMPARE(shown.pixel(20, 11) & 0xFFFFFF, kBlack);
        // An expose shows the same picture again.
        QCOMPARE(widget.grab().toImage(), shown);
    }

    void widgetForwardsTheMouseInWholePixels()
    {
        CanvasWidget widget;
        widget.resize(100, 80);
        widget.show();
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QSignalSpy pressed(&widget, &CanvasWidget::mousePressed);
        QSignalSpy moved(&widget, &CanvasWidget::mouseMoved);
        QSignalSpy released(&widget, &CanvasWidget::mouseReleased);

        QTest::mousePress(&widget, Qt::LeftButton, Qt::ShiftModifier, QPoint(12, 7));
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(0).value<Qt::MouseButton>(), Qt::LeftButton);
        QCOMPARE(pressed.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::KeyboardModifiers(Qt::ShiftModifier));
        QCOMPARE(pressed.at(0).at(2).toInt(), 12);
        QCOMPARE(pressed.at(0).at(3).toInt(), 7);

        // A drag: the move carries the held button.
        const QPointF at(20.6, 9.4);
        QMouseEvent drag(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&widget, &drag);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(moved.at(0).at(0).value<Qt::MouseButtons>(), Qt::MouseButtons(Qt::LeftButton));
        QCOMPARE(moved.at(0).at(2).toInt(), 21);
        QCOMPARE(moved.at(0).at(3).toInt(), 9);

        QTest::mouseRelease(&widget, Qt::RightButton, Qt::NoModifier, QPoint(30, 40));
        QCOMPARE(released.count(), 1);
        QCOMPARE(released.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(released.at(0).at(2).toInt(), 30);
        QCOMPARE(released.at(0).at(3).toInt(), 40);
    }

    // --- the zoom cursor

    void magnifierCursorIsAWhiteGlassWithItsHotSpotTopLeft()
    {
        const QCursor cursor = MagnifierCursor(1.0);
        QCOMPARE(cursor.shape(), Qt::BitmapCursor);
        QCOMPARE(cursor.hotSpot(), QPoint(0, 0));
        const QImage image = cursor.pixmap().toImage();
        QCOMPARE(image.size(), QSize(kMagnifierCursorSize, kMagnifierCursorSize));
        QCOMPARE(qAlpha(image.pixel(31, 0)), 0);  // upper right and the lens: clear
        QCOMPARE(qAlpha(image.pixel(10, 10)), 0);
        QCOMPARE(image.pixel(10, 2), 0xFFFFFFFFu);  // the lens ring, white, outlined in black
        QCOMPARE(image.pixel(10, 0) & 0xFFFFFF, 0u);
        QCOMPARE(image.pixel(23, 23), 0xFFFFFFFFu);  // the handle, lower right

        const QPixmap sharp = MagnifierCursor(2.0).pixmap();
        QCOMPARE(sharp.size(), QSize(64, 64));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
    }
};

QTEST_MAIN(CanvasTest)
#include "CanvasTest.moc"
