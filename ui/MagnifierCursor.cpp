#include "MagnifierCursor.h"

#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QtMath>

namespace chokusho {

QCursor MagnifierCursor(qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int side = qCeil(kMagnifierCursorSize * ratio);
    QPixmap pixmap(side, side);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);

    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);

    const QPointF lensCentre(10.5, 10.5);
    const qreal lensRadius = 8.0;
    const QLineF handle(QPointF(17.0, 17.0), QPointF(28.5, 28.5));

    // The black outline first, then the white glass on top of it.
    painter.setPen(QPen(Qt::black, 6.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handle);
    painter.setPen(QPen(Qt::black, 4.0));
    painter.drawEllipse(lensCentre, lensRadius, lensRadius);

    painter.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(handle);
    painter.setPen(QPen(Qt::white, 2.0));
    painter.drawEllipse(lensCentre, lensRadius, lensRadius);
    painter.end();

    return QCursor(pixmap, 0, 0);
}

}  // namespace chokusho
