#pragma once

#include <string>

#include "Drawing.h"

namespace chokusho {

/**
 * A drawing as an ASCII DXF file of AutoCAD Release 12 (AC1009), the version that every CAD
 * program reads, Jw_cad and the Japanese AutoCAD LT among them. Texts are cp932 ($DWGCODEPAGE
 * ANSI_932), lines end in CR LF.
 *
 * The file is at real size in millimetres: a model point (x, y) metres lies at (1000 x, 1000 y),
 * the model's origin at the file's origin. The sheet (frame, title block, table) lies around the
 * section as it lies on the paper, enlarged by the drawing's scale, and so do the sizes of texts,
 * marks and dashes: the file plotted at 1:scale is the printed sheet.
 *
 * Each DrawingLayer is a DXF layer of its own (DxfLayerName). An entity with a coordinate or
 * size that is not a finite number is left out, and so is an empty text. A text is cut to the
 * 255 bytes that Release 12 holds.
 */

/** The file's bytes. */
std::string FormatDxf(const Drawing& drawing);

/** Writes the file through WriteFileAtomically; throws FileWriteError as it does. */
void WriteDxf(const Drawing& drawing, const std::string& path);

/** The name of a drawing layer's DXF layer, such as "OUTLINE" or "DOTTED". */
const char* DxfLayerName(DrawingLayer layer);

}  // namespace chokusho
