// The backing picture of the canvas: what each drawing call puts into it, at any pixel ratio.

#include <QTest>
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "ImageCanvas.h"

using namespace chokusho;

namespace {

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kYellow = 0xFFFF00;

/** RGB of a logical pixel, read at its top-left device pixel. */
QRgb At(const QImage& image, int x, int y)
{
    const qreal ratio = image.devicePixelRatio();
    return image.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio)) & 0xFFFFFF;
}

int CountNotBlack(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != kBlack)
                ++count;
    return count;
}

/** The bounding rectangle, in device pixels, of everything that is not black. */
QRect DrawnArea(const QImage& image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != kBlack)
                area |= QRect(x, y, 1, 1);
    return area;
}

void AddRatios()
{
    QTest::addColumn<double>("ratio");
    for (const double ratio : {1.0, 1.25, 1.5, 2.0, 3.0})
        QTest::addRow("%g", ratio) << ratio;
}

}  // namespace

class ImageCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void resizeMakesABlackPictureOnlyWhenTheSizeChanges()
    {
        ImageCanvas canvas;
        QVERIFY(canvas.resize(QSize(20, 10), 1.0));
        // Black without pixels until drawn on: clearing keeps it so, showing it needs none.
        canvas.Clear();
        QVERIFY(canvas.isBlank());
        QCOMPARE(canvas.image().size(), QSize(20, 10));
        QVERIFY(!canvas.isBlank());
        QCOMPARE(CountNotBlack(canvas.image()), 0);

        canvas.PSet(3, 4, qb::kWhite);
        QVERIFY(!canvas.resize(QSize(20, 10), 1.0));
        QCOMPARE(At(canvas.image(), 3, 4), kWhite);  // kept

        QVERIFY(canvas.resize(QSize(30, 12), 2.0));
        QVERIFY(canvas.isBlank());
        canvas.Line(0, 0, 0, 0, qb::kBlack);
        QVERIFY(!canvas.isBlank());
        QCOMPARE(canvas.image().size(), QSize(60, 24));
        QCOMPARE(canvas.image().devicePixelRatio(), 2.0);
        QCOMPARE(canvas.logicalSize(), QSize(30, 12));
        QCOMPARE(CountNotBlack(canvas.image()), 0);

        canvas.Line(0, 0, 29, 11, qb::kWhite);
        canvas.Clear();
        QCOMPARE(CountNotBlack(canvas.image()), 0);
    }

    void lineIncludesBothEnds_data()
    {
        QTest::addColumn<QLine>("line");
        QTest::newRow("horizontal") << QLine(2, 5, 12, 5);
        QTest::newRow("horizontal leftwards") << QLine(12, 5, 2, 5);
        QTest::newRow("vertical") << QLine(7, 1, 7, 14);
        QTest::newRow("diagonal") << QLine(1, 1, 13, 13);
        QTest::newRow("steep") << QLine(3, 14, 6, 1);
        QTest::newRow("one pixel") << QLine(9, 9, 9, 9);
    }

    void lineIncludesBothEnds()
    {
        QFETCH(QLine, line);
        ImageCanvas canvas;
        canvas.resize(QSize(16, 16), 1.0);
        canvas.Line(line.x1(), line.y1(), line.x2(), line.y2(), qb::kWhite);
        const QImage& image = canvas.image();
        QCOMPARE(At(image, line.x1(), line.y1()), kWhite);
        QCOMPARE(At(image, line.x2(), line.y2()), kWhite);
        // Nothing beyond the ends and one pixel wide: as many pixels as the longer axis spans.
        const int span = std::max(std::abs(line.dx()), std::abs(line.dy())) + 1;
        QCOMPARE(CountNotBlack(image), span);
    }

    void linesAndPixelsCoverWholeCellsAtDoubleRatio()
    {
        ImageCanvas canvas;
        canvas.resize(QSize(12, 8), 2.0);
        canvas.Line(1, 1, 4, 1, qb::kWhite);
        canvas.PSet(6, 3, qb::kWhite);
        canvas.Line(9, 2, 9, 5, qb::kWhite);
        const QImage& image = canvas.image();
        // The horizontal line: logical pixels 1..4 of row 1 are device columns 2..9, rows 2..3.
        QCOMPARE(DrawnArea(image.copy(0, 0, 12, 5)), QRect(QPoint(2, 2), QPoint(9, 3)));
        QCOMPARE(CountNotBlack(image.copy(0, 0, 12, 5)), 16);
        // The pixel and the vertical line sit in the same cells as their logical pixels.
        QCOMPARE(DrawnArea(image.copy(12, 6, 2, 2)), QRect(0, 0, 2, 2));
        QCOMPARE(image.pixel(11, 6) & 0xFFFFFF, kBlack);
        QCOMPARE(DrawnArea(image.copy(16, 0, 8, 16)), QRect(QPoint(2, 4), QPoint(3, 11)));
    }

    void xorDrawingTwiceLeavesNothing()
    {
        ImageCanvas canvas;
        canvas.resize(QSize(20, 20), 1.0);
        canvas.Line(0, 10, 19, 10, qb::kWhite);
        const QImage before = canvas.image().copy();

        canvas.SetPenMode(PenMode::Xor);
        canvas.Line(2, 2, 17, 15, qb::kYellow);
        canvas.Box(3, 4, 16, 12, qb::kYellow);
        // Yellow over white gives blue: the colours are combined, not replaced.
        QCOMPARE(At(canvas.image(), 3, 10), QRgb(0x0000FF));
        canvas.Line(2, 2, 17, 15, qb::kYellow);
        canvas.Box(3, 4, 16, 12, qb::kYellow);
        canvas.SetPenMode(PenMode::Copy);

        QCOMPARE(canvas.image(), before);
    }

    void ringsFillEvenOddAndNeverXor_data() { AddRatios(); }

    void ringsFillEvenOddAndNeverXor()
    {
        QFETCH(qreal, ratio);
        ImageCanvas canvas;
        canvas.resize(QSize(20, 20), ratio);
        canvas.Line(0, 10, 19, 10, qb::kWhite);
        // The pen left in XOR by a rubber band: the shade still covers, it does not combine.
        canvas.SetPenMode(PenMode::Xor);
        const std::vector<PixelRing> rings = {{{2, 2}, {17, 2}, {17, 17}, {2, 17}},
                                              {{6, 6}, {6, 13}, {13, 13}, {13, 6}}};
        canvas.FillRings(rings, qb::kNavy);
        const QImage& image = canvas.image();
        QCOMPARE(At(image, 4, 4), QRgb(0x000080));
        QCOMPARE(At(image, 4, 10), QRgb(0x000080));  // over the line
        QCOMPARE(At(image, 9, 8), kBlack);           // the hole
        QCOMPARE(At(image, 19, 19), kBlack);         // outside
    }

    void boxDrawsEveryOutlinePixelOnce_data()
    {
        QTest::addColumn<QRect>("box");
        QTest::addColumn<int>("pixels");
        QTest::newRow("rectangle") << QRect(QPoint(3, 4), QPoint(12, 9)) << 2 * 10 + 2 * 6 - 4;
        QTest::newRow("corners swapped") << QRect(QPoint(12, 9), QPoint(3, 4)) << 2 * 10 + 2 * 6 - 4;
        QTest::newRow("two rows") << QRect(QPoint(3, 4), QPoint(12, 5)) << 20;
        QTest::newRow("one row") << QRect(QPoint(3, 4), QPoint(12, 4)) << 10;
        QTest::newRow("one column") << QRect(QPoint(5, 2), QPoint(5, 12)) << 11;
        QTest::newRow("one pixel") << QRect(QPoint(5, 5), QPoint(5, 5)) << 1;
    }

    void boxDrawsEveryOutlinePixelOnce()
    {
        QFETCH(QRect, box);
        QFETCH(int, pixels);
        ImageCanvas canvas;
        canvas.resize(QSize(16, 16), 1.0);
        // Under XOR a pixel drawn twice would vanish: every outline pixel must show.
        canvas.SetPenMode(PenMode::Xor);
        canvas.Box(box.left(), box.top(), box.right(), box.bottom(), qb::kYellow);
        const QImage& image = canvas.image();
        QCOMPARE(CountNotBlack(image), pixels);
        QCOMPARE(At(image, box.left(), box.top()), kYellow);
        QCOMPARE(At(image, box.right(), box.bottom()), kYellow);
        QCOMPARE(At(image, box.left(), box.bottom()), kYellow);
        QCOMPARE(At(image, box.right(), box.top()), kYellow);
    }

    void linesAndBoxesAreAsWideWhereverTheyLie_data() { AddRatios(); }

    void linesAndBoxesAreAsWideWhereverTheyLie()
    {
        QFETCH(double, ratio);
        const int width = std::max(1, static_cast<int>(ratio));  // what a logical pixel holds everywhere
        ImageCanvas canvas;
        canvas.resize(QSize(20, 20), ratio);
        // Every place a figure can take against the device pixels.
        for (int at = 1; at < 6; ++at) {
            canvas.Clear();
            canvas.Line(1, at, 14, at, qb::kWhite);
            QCOMPARE(DrawnArea(canvas.image()).height(), width);
            // A box: whole bands at top and bottom, and between them the two sides' bands alone,
            // with no pixel drawn twice (XOR would clear it) and no gap at a corner.
            canvas.Clear();
            canvas.SetPenMode(PenMode::Xor);
            canvas.Box(at, at + 1, at + 9, at + 7, qb::kYellow);
            canvas.SetPenMode(PenMode::Copy);
            const QImage image = canvas.image().copy();
            const QRect drawn = DrawnArea(image);
            for (int y = drawn.top(); y <= drawn.bottom(); ++y) {
                const bool band = y < drawn.top() + width || y > drawn.bottom() - width;
                const QImage row = image.copy(drawn.left(), y, drawn.width(), 1);
                QCOMPARE(CountNotBlack(row), band ? drawn.width() : 2 * width);
                QCOMPARE(CountNotBlack(row.copy(0, 0, width, 1)), width);
            }
        }
    }

    void rubberFiguresDrawnTwiceLeaveThePictureAsItWas_data() { AddRatios(); }

    void rubberFiguresDrawnTwiceLeaveThePictureAsItWas()
    {
        QFETCH(double, ratio);
        ImageCanvas canvas;
        canvas.resize(QSize(40, 30), ratio);
        canvas.SetPenStyle(PenStyle::Dotted);
        canvas.Line(5, 0, 25, 29, qb::kWhite);
        canvas.SetPenStyle(PenStyle::Solid);
        canvas.PSet(12, 12, qb::kLightMagenta);
        const QImage before = canvas.image().copy();
        // A rubber line and a rubber box as a drag moves them, each drawn and drawn again.
        canvas.SetPenMode(PenMode::Xor);
        for (int step = 0; step < 7; ++step) {
            canvas.Line(4, 6, 3 + step * 5, 2 + step * 4, qb::kYellow);
            canvas.Box(3, 7, 3 + step * 5, 2 + step * 4, qb::kYellow);
            QVERIFY(canvas.image() != before);
            canvas.Line(4, 6, 3 + step * 5, 2 + step * 4, qb::kYellow);
            canvas.Box(3, 7, 3 + step * 5, 2 + step * 4, qb::kYellow);
            QCOMPARE(canvas.image(), before);
        }
    }

    void dottedLinesLeaveGaps()
    {
        ImageCanvas canvas;
        canvas.resize(QSize(40, 4), 1.0);
        canvas.SetPenStyle(PenStyle::Dotted);
        canvas.Line(0, 1, 39, 1, qb::kWhite);
        canvas.SetPenStyle(PenStyle::Solid);
        canvas.Line(0, 3, 39, 3, qb::kWhite);
        const QImage& image = canvas.image();
        const int dotted = CountNotBlack(image.copy(0, 0, 40, 2));
        QVERIFY2(dotted > 5 && dotted < 30, qPrintable(QString::number(dotted)));
        QCOMPARE(CountNotBlack(image.copy(0, 2, 40, 2)), 40);
    }

    void extremeCoordinatesAreClippedToThePicture()
    {
        ImageCanvas canvas;
        canvas.resize(QSize(30, 20), 1.0);
        canvas.Line(-2000000000, 5, 2000000000, 5, qb::kWhite);
        canvas.Line(7, INT_MIN, 7, INT_MAX, qb::kWhite);
        canvas.Line(-2000000000, -2000000000, 2000000000, 2000000000, qb::kWhite);
        const QImage& image = canvas.image();
        for (int x = 0; x < 30; ++x)
            QCOMPARE(At(image, x, 5), kWhite);
        for (int y = 0; y < 20; ++y)
            QCOMPARE(At(image, 7, y), kWhite);
        QCOMPARE(At(image, 12, 12), kWhite);
        QCOMPARE(At(image, 12, 13), kBlack);
        QCOMPARE(CountNotBlack(image), 30 + 20 - 1 + 20 - 2);

        // Figures wholly outside draw nothing.
        canvas.Clear();
        canvas.Box(-2000000000, -2000000000, 2000000000, 2000000000, qb::kWhite);
        canvas.Line(-2000000000, -10, 2000000000, -10, qb::kWhite);
        canvas.PSet(INT_MAX, INT_MIN, qb::kWhite);
        canvas.SetTextPosition(INT_MIN, INT_MIN);
        canvas.Print("99", qb::kWhite);
        QCOMPARE(CountNotBlack(canvas.image()), 0);
    }

    void printPutsTheTopLeftCornerAtTheTextPosition()
    {
        ImageCanvas canvas;
        canvas.resize(QSize(80, 60), 1.0);
        canvas.SetTextPosition(10, 20);
        canvas.Print("8", qb::kWhite);
        QRect drawn = DrawnArea(canvas.image());
        QVERIFY(drawn.left() >= 10 && drawn.top() >= 20);  // below and right of it, not on a baseline
        QVERIFY(drawn.bottom() < 20 + QFontMetrics(QFont()).height());

        // PSet moves the text position too.
        canvas.Clear();
        canvas.PSet(40, 30, qb::kBlack);
        canvas.Print("1", qb::kLightCyan);
        drawn = DrawnArea(canvas.image());
        QVERIFY(drawn.left() >= 40 && drawn.top() >= 30);
        QCOMPARE(canvas.image().pixel(drawn.center()) & 0xFFFFFF, QRgb(0x00FFFF));

        // A font set after the picture was made places its text by its own ascent.
        QFont large;
        large.setPixelSize(40);
        canvas.setFont(large);
        canvas.Clear();
        canvas.Print("8", qb::kWhite);
        drawn = DrawnArea(canvas.image());
        QVERIFY(drawn.top() >= 30 && drawn.height() > 20);
    }
};

QTEST_MAIN(ImageCanvasTest)
#include "ImageCanvasTest.moc"
