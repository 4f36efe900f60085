// The icon set of the window, its toolbar and the version box: drawn when the program is built,
// as Qt SVG would draw them when it runs.

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

    void iconsAreDrawnBeforehandAsQtSvgDrawsThem_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QList<int>>("sides");
        const QList<int> toolbar{16, 24, 32};  // 16 pixels at 100 %, 150 % and 200 %
        for (const char* name : {"add-point.svg", "connect.svg", "delete-line.svg", "delete-point.svg", "grid.svg",
                                 "help.svg", "new.svg", "open.svg", "redo.svg", "redraw.svg", "save.svg",
                                 "show-all.svg", "undo.svg", "zoom-in.svg", "zoom-out.svg"})
            QTest::newRow(name) << QString::fromUtf8(name) << toolbar;
        // The sizes in which a window system takes a window's icon.
        QTest::newRow("chokusho.svg") << QStringLiteral("chokusho.svg") << QList<int>{16, 32, 64, 128};
    }

    void iconsAreDrawnBeforehandAsQtSvgDrawsThem()
    {
        QFETCH(QString, file);
        QFETCH(QList<int>, sides);
        const QIcon icon = UiIcon(file);
        QList<QSize> drawnSizes;
        for (const int side : sides)
            drawnSizes << QSize(side, side);
        QCOMPARE(icon.availableSizes(), drawnSizes);

        // Every side, drawn beforehand or not (20: 125 %), and the greyed look of a disabled
        // button, as Qt SVG's icon engine draws them from the same file.
        const QIcon svg(QStringLiteral(":/icons/") + file);
        for (const int side : sides + QList<int>{20}) {
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                const QSize size(side, side);
                QCOMPARE(icon.actualSize(size, mode), svg.actualSize(size, mode));
                QCOMPARE(icon.pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                         svg.pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied));
            }
        }
    }
};

QTEST_MAIN(IconsTest)
#include "IconsTest.moc"
