// Drawing at capacity on the Qt canvas: a full repaint, and a pointer move with a rubber band,
// each against the same marks drawn with a bare QPainter.

#include <benchmark/benchmark.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QString>
#include <vector>

#include "BenchData.h"
#include "BenchPort.h"
#include "BenchRegistry.h"
#include "FrameLogic.h"
#include "ImageCanvas.h"
#include "Painting.h"
#include "RecordingCanvas.h"
#include "SectionCache.h"

namespace chokusho::bench {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

/** The full block fitted to a full-HD canvas, with the grid and the point numbers on. */
struct Scene {
    BlockData data = FullCapacityBlock();
    ViewTransform view;
    DisplaySwitches display{.grid = true, .pointNumbers = true};

    Scene()
    {
        view.Pic_width = kWidth;
        view.Pic_height = kHeight;
        view.FitAll(data);
    }
};

void Repaint(benchmark::State& state)
{
    const Scene scene;
    ImageCanvas canvas;
    canvas.resize(QSize(kWidth, kHeight), 1.0);
    for (auto _ : state) {
        Picture1_Paint(canvas, scene.data, scene.view, scene.display);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}

/**
 * The same repaint with 断面の塗り on, as the frame makes it: the section from the cache, which
 * holds it while the outline stays, then the shade under the picture.
 */
void RepaintShaded(benchmark::State& state)
{
    Scene scene;
    scene.display.sectionShade = true;
    SectionCache cache;
    ImageCanvas canvas;
    canvas.resize(QSize(kWidth, kHeight), 1.0);
    for (auto _ : state) {
        Picture1_Paint(canvas, scene.data, scene.view, scene.display, cache.Of(scene.data).region);
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}

/** One mark of the picture, ready for a QPainter. */
struct Mark {
    RecordingCanvas::Kind kind;
    int x1, y1, x2, y2;
    QPen pen;
    QString text;
};

void RepaintFloor(benchmark::State& state)
{
    const Scene scene;
    RecordingCanvas recording;
    Picture1_Paint(recording, scene.data, scene.view, scene.display);
    std::vector<Mark> marks;
    for (const RecordingCanvas::Op& op : recording.ops) {
        QPen pen(QColor(static_cast<QRgb>(QBColor(op.color.value_or(PaletteColor::Black)))));
        pen.setStyle(op.style == PenStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
        if (op.kind == RecordingCanvas::Kind::Line || op.kind == RecordingCanvas::Kind::PSet ||
            op.kind == RecordingCanvas::Kind::Print)
            marks.push_back({op.kind, op.x1, op.y1, op.x2, op.y2, pen, QString::fromStdString(op.text)});
    }

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QFont font;
    font.setStyleStrategy(QFont::NoAntialias);
    const int ascent = QFontMetrics(font, &image).ascent();
    for (auto _ : state) {
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setFont(font);
        const QPen* pen = nullptr;
        for (const Mark& mark : marks) {
            if (pen == nullptr || *pen != mark.pen) {
                painter.setPen(mark.pen);
                pen = &mark.pen;
            }
            switch (mark.kind) {
            case RecordingCanvas::Kind::Line: painter.drawLine(mark.x1, mark.y1, mark.x2, mark.y2); break;
            case RecordingCanvas::Kind::PSet: painter.fillRect(mark.x1, mark.y1, 1, 1, mark.pen.color()); break;
            default: painter.drawText(QPoint(mark.x1, mark.y1 + ascent), mark.text); break;
            }
        }
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["marks"] = static_cast<double>(marks.size());
}

/** A pointer position that keeps the band changing: a slow sweep to and fro over the canvas. */
QPoint SweepPosition(std::int64_t step)
{
    const int t = static_cast<int>(step % 400);
    const int along = t < 200 ? t : 400 - t;
    return {700 + 4 * along, 400 + 2 * along};
}

void RubberBandMove(benchmark::State& state)
{
    DocumentState document;
    BenchPort port;
    FrameLogic logic(document, port);
    logic.Form_Load("");
    document.CurData = FullCapacityBlock();
    document.SavedData = document.CurData;
    logic.mnuDispGrid_Click();
    logic.Form_Resize(kWidth, kHeight, false);

    // Zoom by area, the left button pressed at the anchor and held.
    logic.mnuDispKaku_Click();
    logic.modes().Picture1_MouseDown(MouseButton::Left, 600, 300);

    std::int64_t step = 0;
    for (auto _ : state) {
        const QPoint at = SweepPosition(++step);
        // The port shows the picture whenever the logic says it changed, ending its painting.
        logic.modes().Picture1_MouseMove(MouseButton::Left, at.x(), at.y());
        benchmark::ClobberMemory();
    }
}

void RubberBandFloor(benchmark::State& state)
{
    // Erasing the band where it was and drawing it where the pointer is: two XOR rectangles.
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    const QPen pen(QColor(static_cast<QRgb>(QBColor(qb::kYellow))));
    QPoint previous(600, 300);
    std::int64_t step = 0;
    for (auto _ : state) {
        const QPoint at = SweepPosition(++step);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(pen);
        painter.drawRect(QRect(QPoint(600, 300), previous).normalized());
        painter.drawRect(QRect(QPoint(600, 300), at).normalized());
        painter.end();
        previous = at;
        benchmark::DoNotOptimize(image.constBits());
    }
}

}  // namespace

void RegisterPaintBenchmarks()
{
    Register("paint/full_repaint", Repaint);
    Register("paint/floor_qpainter", RepaintFloor);
    Register("paint/full_repaint_shaded", RepaintShaded);
    Register("mouse/rubber_band_move", RubberBandMove);
    Register("mouse/floor_xor_boxes", RubberBandFloor);
}

}  // namespace chokusho::bench
