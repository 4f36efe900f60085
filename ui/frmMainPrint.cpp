#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "BlockFile.h"
#include "DrawingDialogs.h"
#include "FileDialogs.h"
#include "FileMessages.h"
#include "FileNames.h"
#include "FileSystem.h"
#include "QtText.h"
#include "frmMain.h"

namespace chokusho {

namespace {

constexpr const char* kExportCaption = "エクスポート";

struct ExportType {
    ExportFormat format;
    const char* filter;
};
constexpr ExportType kExportTypes[] = {
    {ExportFormat::Pdf, "PDF 文書 (*.pdf)"},
    {ExportFormat::Svg, "SVG 画像 (*.svg)"},
    {ExportFormat::Png, "PNG 画像 (*.png)"},
    {ExportFormat::Dxf, "DXF 図面 (*.dxf)"},
};

QString FilterOf(ExportFormat format)
{
    for (const ExportType& type : kExportTypes) {
        if (type.format == format)
            return Utf8(type.filter);
    }
    return {};
}

ExportFormat FormatOfFilter(const QString& filter)
{
    for (const ExportType& type : kExportTypes) {
        if (Utf8(type.filter) == filter)
            return type.format;
    }
    return ExportFormat::Pdf;
}

/** The file an export writes: the chosen name, with the type's extension unless it has one. */
std::string ExportTarget(const std::string& chosen, ExportFormat type)
{
    if (ExportFormatOf(Utf8(chosen)))
        return chosen;
    return chosen + "." + ToUtf8(ExportSuffix(type));
}

}  // namespace

void frmMain::buildDrawingItems()
{
    QAction* end = nullptr;
    for (QAction* action : items_.value(QStringLiteral("mnuFile"))->menu()->actions()) {
        if (action->objectName() == QStringLiteral("mnuFileSep"))
            end = action;
    }
    QMenu* menu = items_.value(QStringLiteral("mnuFile"))->menu();
    menu->insertSeparator(end);

    QAction* print = addItem(QStringLiteral("mnuFilePrint"), QStringLiteral("印刷(&P)..."), false);
    print->setShortcut(QKeySequence::Print);
    connect(print, &QAction::triggered, this, &frmMain::printDrawing);
    menu->insertAction(end, print);

    QAction* exportItem = addItem(QStringLiteral("mnuFileExport"), QStringLiteral("エクスポート(&E)..."), false);
    connect(exportItem, &QAction::triggered, this, &frmMain::exportDrawing);
    menu->insertAction(end, exportItem);
}

Drawing frmMain::drawingOf(const DrawingOptions& options) const
{
    const std::string file = state_.BlkFile.empty() ? std::string() : DisplayFileName(state_.BlkFile);
    return BuildDrawing(state_.CurData, options, file,
                        ToUtf8(QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))));
}

void frmMain::printDrawing()
{
    ShowPrintPreview(
        this, [this](const DrawingOptions& options) { return drawingOf(options); }, drawingOptions_);
}

void frmMain::exportDrawing()
{
    // The file first: its type decides what the options offer.
    const QString folder = Utf8(state_.DataPath);
    ExportFormat type = exportFormat_;
    QString filters;
    for (const ExportType& entry : kExportTypes)
        filters += (filters.isEmpty() ? QString() : QStringLiteral(";;")) + Utf8(entry.filter);
    SaveFileDialog dialog(this, Utf8(kExportCaption), folder, filters,
                          [&type](const std::string& chosen) { return ExportTarget(chosen, type); });
    dialog.setObjectName(QStringLiteral("ExportDialog"));
    dialog.selectNameFilter(FilterOf(type));
    dialog.setDefaultSuffix(ExportSuffix(type));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &type](const QString& filter) {
        type = FormatOfFilter(filter);
        dialog.setDefaultSuffix(ExportSuffix(type));
    });
    // The block's name as the window's caption shows it, whatever bytes its file name holds.
    dialog.selectFile(Utf8(DisplayFileName(state_.BlkName)) + QLatin1Char('.') + ExportSuffix(type));
    const std::string chosen = dialog.run();
    if (chosen.empty())
        return;
    const std::string path = ExportTarget(chosen, type);
    const ExportFormat format = ExportFormatOf(Utf8(path)).value_or(type);

    const QString name = Utf8(DisplayFileName(PathToUtf8(PathFromUtf8(path).filename())));
    ExportOptionsDialog options(format, name, drawingOptions_, exportDpi_, this);
    if (options.exec() != QDialog::Accepted)
        return;
    drawingOptions_ = options.options();
    exportDpi_ = options.dpi();
    exportFormat_ = format;

    DrawingOptions chosenOptions = drawingOptions_;
    Drawing drawing = drawingOf(chosenOptions);
    if (!drawing.fits) {
        chosenOptions.scale = kFitToPaper;
        Drawing fitted = drawingOf(chosenOptions);
        switch (AskToFit(this, Utf8(kExportCaption), fitted.scale)) {
        case FitAnswer::Fit: drawing = std::move(fitted); break;
        case FitAnswer::AsItIs: break;
        case FitAnswer::Cancel: return;
        }
    }

    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ExportDrawing(drawing, path, format, exportDpi_);
        QApplication::restoreOverrideCursor();
    } catch (const FileWriteError& error) {
        QApplication::restoreOverrideCursor();
        messageBox(FailedWriteMessage(path, error.reason()));
    }
}

}  // namespace chokusho
