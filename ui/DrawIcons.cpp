// Draws the program's SVG icons at the sides the windows ask for, when the program is built, so
// that starting the program neither parses SVG nor decodes pictures: each picture is its pixels
// as they lie in memory, premultiplied RGBA, one byte a channel, row after row.
//
//   draw_icons OUTPUT_FOLDER SIDES SVG_FILE...
//   SIDES: pixel sides separated by commas ("16,24,32"); writes OUTPUT_FOLDER/NAME-SIDE.rgba
//   for each SVG_FILE NAME.svg and side; exits 1 when a file cannot be read or written.

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <QSvgRenderer>
#include <cstdio>

namespace {

/** The icon at `side` pixels, drawn as Qt SVG's icon engine draws it. The icons are square. */
QImage Draw(QSvgRenderer& svg, int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    svg.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

bool Write(const QImage& image, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (int y = 0; y < image.height(); ++y) {
        const auto row = reinterpret_cast<const char*>(image.constScanLine(y));
        if (file.write(row, static_cast<qsizetype>(image.width()) * 4) != static_cast<qsizetype>(image.width()) * 4)
            return false;
    }
    return file.flush();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER SIDES SVG_FILE...\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QList<int> sides;
    for (const QString& side : QString::fromLocal8Bit(argv[2]).split(QLatin1Char(','))) {
        bool number = false;
        sides << side.toInt(&number);
        if (!number || sides.last() <= 0) {
            std::fprintf(stderr, "not a side: %s\n", qPrintable(side));
            return 2;
        }
    }
    for (int i = 3; i < argc; ++i) {
        const QString file = QString::fromLocal8Bit(argv[i]);
        QSvgRenderer svg(file);
        if (!svg.isValid() || svg.defaultSize().width() != svg.defaultSize().height()) {
            std::fprintf(stderr, "cannot read %s, or it is not square\n", argv[i]);
            return 1;
        }
        const QString name = QFileInfo(file).completeBaseName();
        for (const int side : sides) {
            const QString out = QStringLiteral("%1/%2-%3.rgba").arg(folder, name).arg(side);
            if (!Write(Draw(svg, side), out)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
                return 1;
            }
        }
    }
    return 0;
}
