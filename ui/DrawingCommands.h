#pragma once

#include <QWidget>
#include <functional>

#include "DocumentState.h"
#include "Drawing.h"
#include "DrawingOutput.h"
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

/**
 * Runs `work`, an export, on a worker thread while the window waits for it, repainted but taking
 * no input. Once it has run for a moment, a progress dialog (エクスポート, modal to `parent`) shows
 * how far it has come, from the progress `work` is handed, and can cancel it; `work` then stops.
 * Returns what `work` returns, false when it stopped; an exception of `work` reaches the caller.
 */
bool RunWithProgress(QWidget* parent, const std::function<bool(const ExportProgress&)>& work);

}  // namespace chokusho
