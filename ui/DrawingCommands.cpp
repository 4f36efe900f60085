#include "DrawingCommands.h"

#include <QApplication>
#include <QDate>

#include "DrawingDialogs.h"
#include "DrawingOutput.h"
#include "FileDialogs.h"
#include "FileMessages.h"
#include "FileNames.h"
#include "FileSystem.h"
#include "MessageBox.h"
#include "QtText.h"

namespace chokusho {

namespace {

constexpr const char* kExportCaption = "エクスポート";

/** The wait cursor for as long as it lives, whichever way the work ends. */
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString SuffixOf(ExportFormat format) { return Utf8(ExportSuffix(format)); }

}  // namespace

Drawing DrawingCommands::drawingOf(const DrawingOptions& options) const
{
    const std::string file = state_.BlkFile.empty() ? std::string() : DisplayFileName(state_.BlkFile);
    return BuildDrawing(state_.CurData, options, file,
                        ToUtf8(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))));
}

void DrawingCommands::print()
{
    ShowPrintPreview(
        &window_, [this](const DrawingOptions& options) { return drawingOf(options); }, options_);
}

void DrawingCommands::exportToFile()
{
    // The file first: its type decides what the options offer.
    ExportFormat type = format_;
    QStringList filters;
    for (const ExportFormat format : kExportFormats)
        filters << Utf8(ExportFilter(format));
    SaveFileDialog dialog(&window_, Utf8(kExportCaption), Utf8(state_.DataPath), filters.join(QStringLiteral(";;")),
                          [&type](const std::string& chosen) { return ExportTarget(chosen, type); });
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.selectNameFilter(Utf8(ExportFilter(type)));
    dialog.setDefaultSuffix(SuffixOf(type));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &type](const QString& filter) {
        type = FormatOfFilter(ToUtf8(filter)).value_or(ExportFormat::Pdf);
        dialog.setDefaultSuffix(SuffixOf(type));
    });
    // The block's name as the window's caption shows it, whatever bytes its file name holds.
    dialog.selectFile(Utf8(DisplayFileName(state_.BlkName)) + QLatin1Char('.') + SuffixOf(type));
    const std::string chosen = dialog.run();
    if (chosen.empty())
        return;
    const std::string path = ExportTarget(chosen, type);
    const ExportFormat format = ExportFormatOf(path).value_or(type);

    const QString name = Utf8(DisplayFileName(PathToUtf8(PathFromUtf8(path).filename())));
    ExportOptionsDialog options(format, name, options_, dpi_, &window_);
    if (options.exec() != QDialog::Accepted)
        return;
    options_ = options.options();
    dpi_ = options.dpi();
    format_ = format;

    DrawingOptions chosenOptions = options_;
    Drawing drawing = drawingOf(chosenOptions);
    if (!drawing.fits) {
        chosenOptions.scale = kFitToPaper;
        Drawing fitted = drawingOf(chosenOptions);
        switch (AskToFit(&window_, Utf8(kExportCaption), fitted.scale)) {
        case FitAnswer::Fit: drawing = std::move(fitted); break;
        case FitAnswer::AsItIs: break;
        case FitAnswer::Cancel: return;
        }
    }

    try {
        const WaitCursor waiting;
        ExportDrawing(drawing, path, format, dpi_);
    } catch (const FileWriteError& error) {
        ShowMessageBox(&window_, FailedWriteMessage(path, error.reason()));
    }
}

}  // namespace chokusho
