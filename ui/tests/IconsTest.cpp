// The icon set of the window, its toolbar and the version box.

#include <QIcon>
#include <QImage>
#include <QSvgRenderer>
#include <QTest>

#include "Icons.h"

using namespace chokusho;

class IconsTest : public QObject {
    Q_OBJECT

private slots:
    void everyIconIsAValidTransparentPicture_data()
    {
        QTest::addColumn<QString>("file");
        for (const char* name :
             {"chokusho.svg", "connect.svg", "delete-line.svg", "delete-point.svg", "grid.svg", "help.svg", "new.svg",
              "open.svg", "redraw.svg", "save.svg", "show-all.svg", "undo.svg", "zoom-in.svg", "zoom-out.svg"})
            QTest::newRow(name) << QString::fromUtf8(name);
    }

    void everyIconIsAValidTransparentPicture()
    {
        QFETCH(QString, file);
        const QIcon icon = UiIcon(file);  // also registers the resource
        QSvgRenderer svg(QStringLiteral(":/icons/") + file);
        QVERIFY(svg.isValid());
        // The icon engine draws it at any scale: 16 pixels at 100 %, 32 at 200 %.
        for (const int side : {16, 32}) {
            const QImage image = icon.pixmap(QSize(side, side)).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            int drawn = 0;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x)
                    drawn += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
            QVERIFY2(drawn > side * side / 16, qPrintable(QString::number(drawn)));
        }
    }
};

QTEST_MAIN(IconsTest)
#include "IconsTest.moc"
