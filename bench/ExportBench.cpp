// Export of a full-capacity block's drawing (numbers, grid, layer table and overall dimensions
// on) to each format, from the record to the file on disk, and the layout alone: the drawing
// built from the record, also with the chains of dimensions through every point. The floors: for SVG and DXF, writing the same bytes the
// same safe way; for PDF and PNG, a bare QPainter drawing the same lines and texts on the same
// device, and its bytes written the same way.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <string>

#include "BenchData.h"
#include "BenchRegistry.h"
#include "Drawing.h"
#include "DrawingOutput.h"
#include "DxfWriter.h"
#include "FileSystem.h"
#include "TestFiles.h"

namespace chokusho::bench {
namespace {

constexpr int kPngDpi = kDefaultPngDpi;

DrawingOptions FullOptions()
{
    DrawingOptions options;
    options.scale = kFitToPaper;
    options.paper = PaperSize::A3;
    options.landscape = true;
    options.pointNumbers = true;
    options.grid = true;
    options.layerTable = true;
    return options;
}

Drawing FullDrawing() { return BuildDrawing(FullCapacityBlock(), FullOptions(), "full.csv", "2026/12/07"); }

const test::TempFolder& Folder()
{
    static const test::TempFolder folder;
    return folder;
}

void Write(const std::string& path, const QByteArray& bytes)
{
    WriteFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void Export(benchmark::State& state, ExportFormat format, const char* name)
{
    const BlockData record = FullCapacityBlock();
    const std::string path = Folder().dataPath() + name;
    for (auto _ : state) {
        const Drawing drawing = BuildDrawing(record, FullOptions(), "full.csv", "2026/12/07");
        ExportDrawing(drawing, path, format, kPngDpi);
    }
}

void Layout(benchmark::State& state, DimensionStyle dimensions)
{
    const BlockData record = FullCapacityBlock();
    DrawingOptions options = FullOptions();
    options.dimensions = dimensions;
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildDrawing(record, options, "full.csv", "2026/12/07"));
}

void LayoutOverall(benchmark::State& state) { Layout(state, DimensionStyle::Overall); }
void LayoutEveryPoint(benchmark::State& state) { Layout(state, DimensionStyle::EveryPoint); }

void ExportPdf(benchmark::State& state) { Export(state, ExportFormat::Pdf, "full.pdf"); }
void ExportSvg(benchmark::State& state) { Export(state, ExportFormat::Svg, "full.svg"); }
void ExportPng(benchmark::State& state) { Export(state, ExportFormat::Png, "full.png"); }
void ExportDxf(benchmark::State& state) { Export(state, ExportFormat::Dxf, "full.dxf"); }

/** The same bytes, written the same way. */
void WriteSameBytes(benchmark::State& state, const QByteArray& bytes, const char* name)
{
    const std::string path = Folder().dataPath() + name;
    for (auto _ : state)
        Write(path, bytes);
}

void FloorSvg(benchmark::State& state) { WriteSameBytes(state, DrawingSvg(FullDrawing()), "floor.svg"); }

void FloorDxf(benchmark::State& state)
{
    const std::string bytes = FormatDxf(FullDrawing());
    WriteSameBytes(state, QByteArray::fromStdString(bytes), "floor.dxf");
}

/** Every line and text of the drawing with one pen and one font: what any painter must draw. */
void PaintBare(QPainter& painter, const Drawing& drawing, double dotsPerMm)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 0.35 * dotsPerMm));
    for (const ModelLine& line : drawing.modelLines)
        painter.drawLine(QLineF(drawing.PaperX(line.x1) * dotsPerMm, drawing.PaperY(line.y1) * dotsPerMm,
                                drawing.PaperX(line.x2) * dotsPerMm, drawing.PaperY(line.y2) * dotsPerMm));
    for (const SheetLine& line : drawing.sheetLines)
        painter.drawLine(QLineF(line.x1 * dotsPerMm, line.y1 * dotsPerMm, line.x2 * dotsPerMm, line.y2 * dotsPerMm));
    QFont font = DrawingFont(static_cast<int>(std::lround(3 * dotsPerMm)));
    painter.setFont(font);
    for (const ModelText& text : drawing.modelTexts)
        painter.drawText(QPointF(drawing.PaperX(text.x) * dotsPerMm, drawing.PaperY(text.y) * dotsPerMm),
                         QString::fromStdString(text.text));
    for (const SheetText& text : drawing.sheetTexts)
        painter.drawText(QPointF(text.x * dotsPerMm, text.y * dotsPerMm), QString::fromStdString(text.text));
}

void FloorPdf(benchmark::State& state)
{
    const Drawing drawing = FullDrawing();
    const std::string path = Folder().dataPath() + "floor.pdf";
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&buffer);
            pdf.setResolution(1200);
            pdf.setPageSize(QPageSize(QPageSize::A3));
            pdf.setPageOrientation(QPageLayout::Landscape);
            QPainter painter(&pdf);
            PaintBare(painter, drawing, 1200 / 25.4);
        }
        Write(path, bytes);
    }
}

void FloorPng(benchmark::State& state)
{
    const Drawing drawing = FullDrawing();
    const std::string path = Folder().dataPath() + "floor.png";
    const double dotsPerMm = kPngDpi / 25.4;
    for (auto _ : state) {
        QImage image(static_cast<int>(std::lround(drawing.paperWidthMm * dotsPerMm)),
                     static_cast<int>(std::lround(drawing.paperHeightMm * dotsPerMm)), QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            PaintBare(painter, drawing, dotsPerMm);
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.convertToFormat(QImage::Format_Grayscale8).save(&buffer, "PNG");
        Write(path, bytes);
    }
}

}  // namespace

void RegisterExportBenchmarks()
{
    Register("export/layout", LayoutOverall)->Unit(benchmark::kMicrosecond);
    Register("export/layout_every_point", LayoutEveryPoint)->Unit(benchmark::kMicrosecond);
    Register("export/pdf", ExportPdf)->Unit(benchmark::kMillisecond);
    Register("export/floor_pdf", FloorPdf)->Unit(benchmark::kMillisecond);
    Register("export/svg", ExportSvg)->Unit(benchmark::kMillisecond);
    Register("export/floor_svg", FloorSvg)->Unit(benchmark::kMillisecond);
    Register("export/png", ExportPng)->Unit(benchmark::kMillisecond);
    Register("export/floor_png", FloorPng)->Unit(benchmark::kMillisecond);
    Register("export/dxf", ExportDxf)->Unit(benchmark::kMillisecond);
    Register("export/floor_dxf", FloorDxf)->Unit(benchmark::kMillisecond);
}

}  // namespace chokusho::bench
