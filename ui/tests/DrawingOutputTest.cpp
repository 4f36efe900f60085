// The drawing on paper and in files: a segment of 1 m measures 1000 / scale mm in the PDF and
// the SVG, dashes measure the same at every scale, the PNG has the size its resolution says,
// the PDF's texts can be found, and no model, however far its points lie, stops the painting.

#include <QBuffer>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <optional>

#include "BlockFile.h"
#include "Drawing.h"
#include "DrawingOutput.h"
#include "QtText.h"
#include "SampleBlocks.h"

using namespace chokusho;

namespace {

constexpr double kMmPerPoint = 25.4 / 72;

/** A length of an SVG's root ("210mm", "595.276pt") in millimetres. */
double Millimetres(const QString& length)
{
    if (length.endsWith(QStringLiteral("mm")))
        return length.chopped(2).toDouble();
    if (length.endsWith(QStringLiteral("pt")))
        return length.chopped(2).toDouble() * kMmPerPoint;
    return length.toDouble() * kMmPerPoint;  // user units of a PDF's page: points
}

QTransform TransformOf(const QString& text)
{
    QTransform transform;
    static const QRegularExpression call(QStringLiteral(R"((matrix|translate|scale)\s*\(([^)]*)\))"));
    auto matches = call.globalMatch(text);
    QList<QTransform> steps;
    while (matches.hasNext()) {
        const auto match = matches.next();
        QList<double> n;
        for (const QString& part :
             match.captured(2).split(QRegularExpression(QStringLiteral("[ ,]+")), Qt::SkipEmptyParts))
            n << part.toDouble();
        const QString kind = match.captured(1);
        if (kind == QStringLiteral("matrix") && n.size() == 6)
            steps << QTransform(n[0], n[1], n[2], n[3], n[4], n[5]);
        else if (kind == QStringLiteral("translate") && !n.isEmpty())
            steps << QTransform::fromTranslate(n[0], n.size() > 1 ? n[1] : 0);
        else if (kind == QStringLiteral("scale") && !n.isEmpty())
            steps << QTransform::fromScale(n[0], n.size() > 1 ? n[1] : n[0]);
    }
    // "a b" applies b first.
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        transform = transform * *step;
    return transform;
}

/** The page size and every straight stroke of an SVG, in millimetres on the page. */
struct SvgPage {
    double widthMm = 0;
    double heightMm = 0;
    QList<QLineF> lines;
};

SvgPage ReadSvg(const QByteArray& svg)
{
    SvgPage page;
    QXmlStreamReader xml(svg);
    QList<QTransform> stack;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            if (!stack.isEmpty())
                stack.removeLast();
            continue;
        }
        if (!xml.isStartElement())
            continue;
        const auto attributes = xml.attributes();
        QTransform transform = TransformOf(attributes.value(QStringLiteral("transform")).toString());
        if (xml.name() == QStringLiteral("svg")) {
            page.widthMm = Millimetres(attributes.value(QStringLiteral("width")).toString());
            page.heightMm = Millimetres(attributes.value(QStringLiteral("height")).toString());
            const QStringList box = attributes.value(QStringLiteral("viewBox")).toString().split(QLatin1Char(' '));
            if (box.size() == 4)
                transform = QTransform::fromScale(page.widthMm / box[2].toDouble(), page.heightMm / box[3].toDouble());
        }
        if (!stack.isEmpty())
            transform = transform * stack.last();
        stack << transform;

        QList<QPointF> points;
        if (xml.name() == QStringLiteral("path")) {
            // Straight strokes only: "M x y L x y ...".
            const QStringList tokens =
                attributes.value(QStringLiteral("d"))
                    .toString()
                    .split(QRegularExpression(QStringLiteral(R"([\s,]+|(?=[A-Za-z])|(?<=[A-Za-z]))")),
                           Qt::SkipEmptyParts);
            QChar command;
            for (qsizetype i = 0; i < tokens.size(); ++i) {
                if (tokens[i].front().isLetter()) {
                    command = tokens[i].front();
                    if (command == QLatin1Char('M') && points.size() >= 2) {
                        for (qsizetype k = 1; k < points.size(); ++k)
                            page.lines << QLineF(points[k - 1], points[k]);
                    }
                    if (command == QLatin1Char('M'))
                        points.clear();
                    continue;
                }
                if ((command == QLatin1Char('M') || command == QLatin1Char('L')) && i + 1 < tokens.size()) {
                    points << transform.map(QPointF(tokens[i].toDouble(), tokens[i + 1].toDouble()));
                    ++i;
                }
            }
        } else if (xml.name() == QStringLiteral("polyline")) {
            for (const QString& pair :
                 attributes.value(QStringLiteral("points")).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QStringList xy = pair.split(QLatin1Char(','));
                if (xy.size() == 2)
                    points << transform.map(QPointF(xy[0].toDouble(), xy[1].toDouble()));
            }
        }
        for (qsizetype k = 1; k < points.size(); ++k)
            page.lines << QLineF(points[k - 1], points[k]);
    }
    return page;
}

/** Whether `page` has a stroke from `a` to `b` (either way), within a hundredth of a millimetre. */
bool HasLine(const SvgPage& page, QPointF a, QPointF b)
{
    const auto near = [](QPointF p, QPointF q) { return std::hypot(p.x() - q.x(), p.y() - q.y()) < 0.01; };
    for (const QLineF& line : page.lines) {
        if ((near(line.p1(), a) && near(line.p2(), b)) || (near(line.p1(), b) && near(line.p2(), a)))
            return true;
    }
    return false;
}

Drawing SquareAt(int scale, PaperSize paper = PaperSize::A4, bool landscape = false)
{
    DrawingOptions options;
    options.scale = scale;
    options.paper = paper;
    options.landscape = landscape;
    return BuildDrawing(test::RectangleBlock(1, 1), options, "square.csv", "2026/12/07");
}

std::optional<QString> Tool(const char* name)
{
    const QString path = QStandardPaths::findExecutable(Utf8(name));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

/** Runs a tool on files of `dir`; false with a message when it fails. */
bool Run(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        qWarning() << tool << arguments << process.readAllStandardError();
        return false;
    }
    return true;
}

/** The lengths of the dark runs along row `y` of `image`, and of the light runs between them. */
QList<int> RunsAlong(const QImage& image, int y, int fromX, int toX)
{
    QList<int> runs;
    bool dark = false;
    int length = 0;
    for (int x = fromX; x < toX; ++x) {
        const bool pixelDark = qGray(image.pixel(x, y)) < 128;
        if (pixelDark != dark && length > 0) {
            runs << length;
            length = 0;
        }
        dark = pixelDark;
        ++length;
    }
    return runs;
}

}  // namespace

class DrawingOutputTest : public QObject {
    Q_OBJECT

private slots:
    void aMetreMeasuresItsScaleInTheSvg_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("1:50 A4") << 50 << static_cast<int>(PaperSize::A4) << false;
        QTest::newRow("1:20 A3 landscape") << 20 << static_cast<int>(PaperSize::A3) << true;
    }
    void aMetreMeasuresItsScaleInTheSvg()
    {
        QFETCH(int, scale);
        QFETCH(int, paper);
        QFETCH(bool, landscape);
        const Drawing drawing = SquareAt(scale, static_cast<PaperSize>(paper), landscape);
        const SvgPage page = ReadSvg(DrawingSvg(drawing));

        QCOMPARE(page.widthMm, drawing.paperWidthMm);
        QCOMPARE(page.heightMm, drawing.paperHeightMm);
        // The lower side, (0, 0) to (1, 0): 1000 / scale mm long where the drawing puts it.
        const QPointF start(drawing.PaperX(0), drawing.PaperY(0));
        const QPointF end(drawing.PaperX(1), drawing.PaperY(0));
        QCOMPARE(end.x() - start.x(), 1000.0 / scale);
        QVERIFY(HasLine(page, start, end));
        QVERIFY(HasLine(page, QPointF(drawing.PaperX(1), drawing.PaperY(1)),
                        QPointF(drawing.PaperX(0), drawing.PaperY(1))));
    }

    void aMetreMeasuresItsScaleInThePdf_data()
    {
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("landscape");
        QTest::newRow("1:50 A4") << 50 << static_cast<int>(PaperSize::A4) << false;
        QTest::newRow("1:20 JIS B4 landscape") << 20 << static_cast<int>(PaperSize::B4) << true;
    }
    void aMetreMeasuresItsScaleInThePdf()
    {
        QFETCH(int, scale);
        QFETCH(int, paper);
        QFETCH(bool, landscape);
        const auto pdftocairo = Tool("pdftocairo");
        if (!pdftocairo)
            QSKIP("poppler's pdftocairo is not installed");
        QTemporaryDir dir;
        const Drawing drawing = SquareAt(scale, static_cast<PaperSize>(paper), landscape);
        ExportDrawing(drawing, ToUtf8(dir.filePath(QStringLiteral("square.pdf"))), ExportFormat::Pdf, 0);
        QVERIFY(Run(*pdftocairo, {QStringLiteral("-svg"), dir.filePath(QStringLiteral("square.pdf")),
                                  dir.filePath(QStringLiteral("square.svg"))}));
        QFile svg(dir.filePath(QStringLiteral("square.svg")));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const SvgPage page = ReadSvg(svg.readAll());

        // The drawing's paper as Qt writes it: in whole points (A4 595 x 842).
        QVERIFY(std::abs(page.widthMm - drawing.paperWidthMm) < 0.2);
        QVERIFY(std::abs(page.heightMm - drawing.paperHeightMm) < 0.2);
        const QPointF start(drawing.PaperX(0), drawing.PaperY(0));
        const QPointF end(drawing.PaperX(1), drawing.PaperY(0));
        QCOMPARE(end.x() - start.x(), 1000.0 / scale);
        QVERIFY(HasLine(page, start, end));
    }

    void thePdfsTextsCanBeFoundAndCopied()
    {
        const auto pdftotext = Tool("pdftotext");
        if (!pdftotext)
            QSKIP("poppler's pdftotext is not installed");
        QTemporaryDir dir;
        DrawingOptions options;
        options.scale = 50;
        options.layerTable = true;
        const Drawing drawing = BuildDrawing(test::LayeredBlock(), options, "消波A.csv", "2026/12/07");
        ExportDrawing(drawing, ToUtf8(dir.filePath(QStringLiteral("a.pdf"))), ExportFormat::Pdf, 0);
        QVERIFY(Run(*pdftotext, {dir.filePath(QStringLiteral("a.pdf")), dir.filePath(QStringLiteral("a.txt"))}));
        QFile text(dir.filePath(QStringLiteral("a.txt")));
        QVERIFY(text.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(text.readAll());
        for (const char* expected : {"名称", "消波A", "2.0t型", "1:50", "2026/12/07", "消波A.csv", "⊿Ｖ(m3)"})
            QVERIFY2(content.contains(Utf8(expected)), expected);
    }

    void thePngHasThePixelsOfItsResolution_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QSize>("pixels");
        // 210 mm x 297 mm: 8.268 x 11.693 inches.
        QTest::newRow("300 dpi") << 300 << false << QSize(2480, 3508);
        QTest::newRow("150 dpi landscape") << 150 << true << QSize(1754, 1240);
    }
    void thePngHasThePixelsOfItsResolution()
    {
        QFETCH(int, dpi);
        QFETCH(bool, landscape);
        QFETCH(QSize, pixels);
        QImage image;
        QVERIFY(image.loadFromData(DrawingPng(SquareAt(50, PaperSize::A4, landscape), dpi), "PNG"));
        QCOMPARE(image.size(), pixels);
        QCOMPARE(image.dotsPerMeterX(), static_cast<int>(std::lround(dpi / 0.0254)));
        // Black ink on white paper.
        QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
        QVERIFY(image.allGray());
    }

    void dashesMeasureTheSameAtEveryScale_data()
    {
        QTest::addColumn<int>("scale");
        QTest::newRow("1:10") << 10;
        QTest::newRow("1:200") << 200;
    }
    void dashesMeasureTheSameAtEveryScale()
    {
        QFETCH(int, scale);
        // A dotted line of 10 m along the X axis, at 254 dpi: ten pixels to the millimetre. At
        // 1:10 it reaches beyond the area, which cuts it.
        BlockData record = test::RectangleBlock(10, 1);
        record.LineKind[1] = kDottedLine;
        DrawingOptions options;
        options.scale = scale;
        const Drawing drawing = BuildDrawing(record, options, "", "");
        const QImage image = DrawingImage(drawing, 254);
        const int y = static_cast<int>(std::lround(drawing.PaperY(0) * 10));
        const int from = static_cast<int>(std::ceil(std::max(drawing.PaperX(0), drawing.area.left) * 10)) + 2;
        const int to = static_cast<int>(std::floor(std::min(drawing.PaperX(10), drawing.area.right()) * 10)) - 2;
        QList<int> runs = RunsAlong(image, y, from, to);
        // The runs cut at either end are not whole.
        QVERIFY(runs.size() >= 6);
        runs = runs.mid(1, runs.size() - 2);
        // 3 mm dashes and 1.5 mm gaps; a pixel either way is anti-aliasing.
        for (qsizetype i = 0; i < runs.size(); ++i) {
            const bool dash = qGray(image.pixel(from + 1, y)) < 128 ? i % 2 == 1 : i % 2 == 0;
            const int expected = dash ? 30 : 15;
            QVERIFY2(std::abs(runs[i] - expected) <= 1,
                     qPrintable(QStringLiteral("run %1: %2 px").arg(i).arg(runs[i])));
        }
    }

    void pointsFarBeyondThePaperAreClippedAway()
    {
        // At 1:10 the section reaches far beyond the sheet: only what lies on it is painted,
        // without the painter meeting coordinates beyond any device's.
        BlockData record = test::RectangleBlock(1, 1);
        record.PointX[3] = 1e300;
        record.PointY[3] = -1e300;
        record.PointX[4] = 1e-300;
        DrawingOptions options;
        options.scale = 10;
        options.pointNumbers = true;
        const Drawing drawing = BuildDrawing(record, options, "", "");
        QVERIFY(!drawing.fits);
        const QImage image = DrawingImage(drawing, 100);
        QVERIFY(!image.isNull());
        const SvgPage page = ReadSvg(DrawingSvg(drawing));
        for (const QLineF& line : page.lines) {
            for (const QPointF end : {line.p1(), line.p2()}) {
                QVERIFY(end.x() > -2 && end.x() < drawing.paperWidthMm + 2);
                QVERIFY(end.y() > -2 && end.y() < drawing.paperHeightMm + 2);
            }
        }
    }

    void anExportToldToStopWritesNothing_data()
    {
        QTest::addColumn<int>("format");
        for (const ExportFormat format : kExportFormats)
            QTest::newRow(ExportSuffix(format).data()) << static_cast<int>(format);
    }
    void anExportToldToStopWritesNothing()
    {
        QFETCH(int, format);
        QTemporaryDir dir;
        const Drawing drawing = BuildDrawing(test::LayeredBlock(), {.pointNumbers = true, .layerTable = true}, "a.csv",
                                             "2026/12/07");
        const auto type = static_cast<ExportFormat>(format);
        const QString suffix = Utf8(ExportSuffix(type));
        // Every word of progress in a whole export is a place where it may be stopped.
        QList<double> told;
        QVERIFY(ExportDrawing(drawing, ToUtf8(dir.filePath(QStringLiteral("whole.") + suffix)), type, 100,
                              [&told](double done) {
                                  told << done;
                                  return true;
                              }));
        QVERIFY(told.size() >= 2);
        QVERIFY(std::is_sorted(told.begin(), told.end()) && told.front() >= 0 && told.back() <= 1);

        const QString old = dir.filePath(QStringLiteral("old.") + suffix);
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("old") == 3);
        file.close();
        for (const qsizetype stop : {qsizetype{1}, told.size() / 2, told.size() - 1, told.size()}) {
            qsizetype asked = 0;
            QVERIFY(!ExportDrawing(drawing, ToUtf8(old), type, 100, [&asked, stop](double) { return ++asked < stop; }));
            QCOMPARE(asked, stop);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("old"));
            file.close();
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
        }
    }

    void aDrawingIsLetteredInAGothicUnderEitherName_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("family");
        const auto names = [](std::initializer_list<const char*> families) {
            QStringList list;
            for (const char* family : families)
                list << Utf8(family);
            return list;
        };
        QTest::newRow("Japanese Windows' names") << names({"DejaVu Serif", "メイリオ"}) << Utf8("メイリオ");
        QTest::newRow("IPA's Japanese name") << names({"IPA明朝", "IPAゴシック"}) << Utf8("IPAゴシック");
#ifdef Q_OS_WIN
        QTest::newRow("the system's own first") << names({"IPAGothic", "ＭＳ ゴシック"}) << Utf8("ＭＳ ゴシック");
#else
        QTest::newRow("the system's own first") << names({"ＭＳ ゴシック", "IPAGothic"}) << Utf8("IPAGothic");
#endif
        QTest::newRow("no gothic: a sans face")
            << names({"DejaVu Serif", "Noto Serif CJK JP", "DejaVu Sans"}) << Utf8("DejaVu Sans");
        QTest::newRow("only serifs: Qt's generic sans") << names({"DejaVu Serif", "IPA明朝"}) << QString();
    }
    void aDrawingIsLetteredInAGothicUnderEitherName()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, family);
        QCOMPARE(DrawingFamily(installed), family);
    }

    void theDrawingsFontIsAGothicOrASansFace()
    {
        // What the font database hands out for the drawing's font on this system.
        const QString family = QFontInfo(DrawingFont(40)).family();
        const bool listed = DrawingFamilies().contains(family);
        const bool sans = family.contains(QStringLiteral("Sans"), Qt::CaseInsensitive) &&
                          !family.contains(QStringLiteral("Serif"), Qt::CaseInsensitive);
        QVERIFY2(listed || sans, qPrintable(family));
        for (const char* serif : {"Serif", "Mincho", "明朝", "Times"})
            QVERIFY2(!family.contains(Utf8(serif), Qt::CaseInsensitive), qPrintable(family));
    }

    void aWriteThatFailsLeavesNoFileAndSaysWhy()
    {
        QTemporaryDir dir;
        const std::string path = ToUtf8(dir.filePath(QStringLiteral("missing/a.png")));
        for (const ExportFormat format : {ExportFormat::Pdf, ExportFormat::Svg, ExportFormat::Png, ExportFormat::Dxf}) {
            try {
                ExportDrawing(SquareAt(50), path, format, kDefaultPngDpi);
                QFAIL("the write into a missing folder succeeded");
            } catch (const FileWriteError& error) {
                QVERIFY(!error.reason().empty());
            }
        }
    }
};

QTEST_MAIN(DrawingOutputTest)
#include "DrawingOutputTest.moc"
