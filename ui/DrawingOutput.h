#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <string>

#include "Drawing.h"
#include "ExportFormat.h"

class QPainter;
class QPrinter;

namespace chokusho {

/**
 * A block's drawing on paper and in files. Every output paints the one Drawing with the same
 * painter code: the page of a printer, a PDF (vector, its fonts embedded), an SVG and a PNG;
 * the DXF is written by the drawing library itself. At a fixed scale one model metre measures
 * 1000 / scale millimetres on every page.
 */

/**
 * The gothic families a drawing is lettered in, in the order they are preferred: the system's own
 * first. Each under its English and its Japanese name, for the font database of a Japanese
 * system gives the one, other systems the other.
 */
QStringList DrawingFamilies();

/**
 * The family a drawing gets among the `installed` ones: the first of DrawingFamilies() there is,
 * else a common sans face; empty when there is none of those either (Qt's generic sans then).
 */
QString DrawingFamily(const QStringList& installed);

/** The Japanese font of drawings, `heightPixels` high: the system's usual gothic, never a serif. */
QFont DrawingFont(int heightPixels);

/**
 * Paints `drawing` with `dotsPerMm` device dots to a paper millimetre, the paper's top-left
 * corner at the painter's origin. The section is clipped to the drawing's area; the paper
 * itself is not painted.
 */
void PaintDrawing(QPainter& painter, const Drawing& drawing, double dotsPerMm);

/** The drawing as a one-page PDF of its paper size. */
QByteArray DrawingPdf(const Drawing& drawing);
/** The drawing as SVG whose width and height are the paper's in millimetres. */
QByteArray DrawingSvg(const Drawing& drawing);
/** The drawing on white at `dpi` dots per inch. */
QImage DrawingImage(const Drawing& drawing, int dpi);
/** DrawingImage as PNG, with its resolution recorded. */
QByteArray DrawingPng(const Drawing& drawing, int dpi);

/**
 * Told, now and then while an export paints, encodes and before it writes, how far it has come
 * (0 to 1, never going back); answers whether to go on. Called on the thread of the export.
 */
using ExportProgress = std::function<bool(double done)>;

/**
 * Writes `drawing` to `path` in `format` (a PNG at `dpi`) so that a failure leaves an existing
 * file as it was. Throws FileWriteError with a Japanese reason. Returns false when `progress`
 * answered that it should stop: then nothing is written and an existing file stays as it was.
 * Reentrant: a worker thread may export while the window goes on.
 */
bool ExportDrawing(const Drawing& drawing, const std::string& path, ExportFormat format, int dpi,
                   const ExportProgress& progress = {});

/** Prints `drawing` on one page of `printer`, whose paper is set to the drawing's. */
void PrintDrawing(QPrinter& printer, const Drawing& drawing);

}  // namespace chokusho
