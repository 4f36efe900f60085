#pragma once

#include <QWidget>

#include "DocumentState.h"
#include "Drawing.h"
#include "ExportFormat.h"

namespace chokusho {

/**
 * 印刷 and エクスポート of the block being edited: its drawing through the print preview, or to
 * a file the user chooses. What the last print or export chose is offered again the next time;
 * first a scale that engineers measure, 1:50. Both read the block and never change it.
 */
class DrawingCommands {
public:
    DrawingCommands(QWidget& window, const DocumentState& state) : window_(window), state_(state) {}

    void print();
    void exportToFile();

private:
    Drawing drawingOf(const DrawingOptions& options) const;

    QWidget& window_;
    const DocumentState& state_;
    DrawingOptions options_{.scale = 50};
    ExportFormat format_ = ExportFormat::Pdf;
    int dpi_ = kDefaultPngDpi;
};

}  // namespace chokusho
